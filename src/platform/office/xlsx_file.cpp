// Writing a workbook held in memory to a file with libxlsxwriter. The file is made
// whole in a private temporary folder and then copied over the target with
// win::copyFile, so a failure (folder missing, disk full) never leaves a half file.
#include "platform/office/workbook_data.h"

#include "platform/office/error.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"

#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace office {

namespace {

Error writerError(lxw_error error)
{
    return Error(1004, QStringLiteral("工作簿不能保存：") + QString::fromUtf8(lxw_strerror(error)));
}

// One libxlsxwriter format per distinct effective style of the workbook.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook* book) : book_(book) {}

    lxw_format* formatFor(const CellStyle& style, bool isDate)
    {
        CellStyle effective = style;
        if (isDate && !effective.numberFormat) effective.numberFormat = QStringLiteral("yyyy-mm-dd");
        if (effective.isDefault()) return nullptr;

        const QString key = effective.fontName.value_or(QString()) + u'\x1f'
                            + (effective.fontSize ? QString::number(*effective.fontSize) : QString()) + u'\x1f'
                            + (effective.bold ? QString::number(*effective.bold) : QString()) + u'\x1f'
                            + effective.numberFormat.value_or(QString());
        lxw_format*& format = formats_[key];
        if (!format) {
            format = workbook_add_format(book_);
            if (effective.fontName) format_set_font_name(format, effective.fontName->toUtf8().constData());
            if (effective.fontSize) format_set_font_size(format, *effective.fontSize);
            if (effective.bold.value_or(false)) format_set_bold(format);
            if (effective.numberFormat) format_set_num_format(format, effective.numberFormat->toUtf8().constData());
        }
        return format;
    }

private:
    lxw_workbook* book_;
    std::map<QString, lxw_format*> formats_;
};

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const vb::Variant& value,
                    lxw_format* format)
{
    switch (value.type()) {
    case vb::Variant::Type::Null: return format ? worksheet_write_blank(sheet, row, column, format) : LXW_NO_ERROR;
    case vb::Variant::Type::Number:
    case vb::Variant::Type::Currency: return worksheet_write_number(sheet, row, column, value.toDouble(), format);
    case vb::Variant::Type::Date: {
        const QDate date = value.toDate();
        if (date.year() >= 1900) {   // the earliest date a workbook can hold
            lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0};
            return worksheet_write_datetime(sheet, row, column, &when, format);
        }
        break;
    }
    case vb::Variant::Type::Text: break;
    }
    return worksheet_write_string(sheet, row, column, value.toString().toUtf8().constData(), format);
}

void writeSheet(lxw_worksheet* sheet, const SheetData& data, FormatCache& formats)
{
    for (const auto& [column, width] : data.columnWidths) {
        const lxw_error error = worksheet_set_column(sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr);
        if (error != LXW_NO_ERROR) throw writerError(error);
    }
    for (const auto& [position, cell] : data.cells) {
        const bool isDate = cell.value.type() == vb::Variant::Type::Date;
        lxw_format* format = formats.formatFor(cell.style.over(data.sheetStyle), isDate);
        const lxw_error error = writeCell(sheet, lxw_row_t(position.first - 1), lxw_col_t(position.second - 1),
                                          cell.value, format);
        if (error != LXW_NO_ERROR) throw writerError(error);
    }
}

// Owns the libxlsxwriter workbook until it is closed (which writes the file).
struct OpenWorkbook {
    lxw_workbook* book = nullptr;
    ~OpenWorkbook()
    {
        if (book) lxw_workbook_free(book);
    }
};

}  // namespace

void writeXlsx(const WorkbookData& data, const QString& hostPath)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) throw win::fileAccessError();
    const QByteArray scratchPath = QFile::encodeName(scratch.path());
    const QString built = scratch.filePath(QStringLiteral("workbook.xlsx"));

    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(scratchPath.constData());
    OpenWorkbook open;
    open.book = workbook_new_opt(QFile::encodeName(built).constData(), &options);
    if (!open.book) throw win::fileAccessError();

    FormatCache formats(open.book);
    for (const std::shared_ptr<SheetData>& sheet : data.sheets) {
        lxw_worksheet* target = workbook_add_worksheet(open.book, sheet->name.toUtf8().constData());
        if (!target) throw writerError(LXW_ERROR_SHEETNAME_ALREADY_USED);
        writeSheet(target, *sheet, formats);
    }
    lxw_workbook* book = open.book;
    open.book = nullptr;   // closing frees it, whatever the outcome
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) throw writerError(closed);

    win::copyFile(built, hostPath);
}

}  // namespace office
