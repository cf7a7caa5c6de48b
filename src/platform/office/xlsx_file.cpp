// Writing workbooks with libxlsxwriter: one held in memory, written as a whole, and a
// one-sheet stream written row by row (sheet_stream.h). The file is made whole in a
// private temporary folder and then copied over the target with win::copyFile, so a
// failure (folder missing, disk full) never leaves a half file.
#include "platform/office/sheet_stream.h"
#include "platform/office/workbook_data.h"

#include "platform/office/error.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"
#include "platform/win/paths.h"

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

// A libxlsxwriter workbook made in a private temporary folder, owned until it is
// closed (which writes the file) and copied over its target.
class ScratchWorkbook {
public:
    explicit ScratchWorkbook(bool constantMemory)
    {
        if (!scratch_.isValid()) throw win::fileAccessError();
        scratchPath_ = QFile::encodeName(scratch_.path());
        lxw_workbook_options options{};
        options.tmpdir = scratchPath_.data();
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        book_ = workbook_new_opt(QFile::encodeName(built()).constData(), &options);
        if (!book_) throw win::fileAccessError();
    }
    ~ScratchWorkbook()
    {
        if (book_) lxw_workbook_free(book_);
    }

    lxw_workbook* book() const { return book_; }

    void saveAs(const QString& hostPath)
    {
        lxw_workbook* book = book_;
        book_ = nullptr;   // closing frees it, whatever the outcome
        const lxw_error closed = workbook_close(book);
        if (closed != LXW_NO_ERROR) throw writerError(closed);
        win::copyFile(built(), hostPath);
    }

private:
    QString built() const { return scratch_.filePath(QStringLiteral("workbook.xlsx")); }

    QTemporaryDir scratch_;
    QByteArray scratchPath_;
    lxw_workbook* book_ = nullptr;
};

}  // namespace

void writeXlsx(const WorkbookData& data, const QString& hostPath)
{
    ScratchWorkbook scratch(false);
    FormatCache formats(scratch.book());
    for (const std::shared_ptr<SheetData>& sheet : data.sheets) {
        lxw_worksheet* target = workbook_add_worksheet(scratch.book(), sheet->name.toUtf8().constData());
        if (!target) throw writerError(LXW_ERROR_SHEETNAME_ALREADY_USED);
        writeSheet(target, *sheet, formats);
    }
    scratch.saveAs(hostPath);
}

// --- SheetStream

struct SheetStream::Impl {
    Impl(const QString& fontName, double fontSize)
        : scratch(true), formats(scratch.book()), sheet(workbook_add_worksheet(scratch.book(), "Sheet1"))
    {
        font.fontName = fontName;
        font.fontSize = fontSize;
        if (!sheet) throw writerError(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }

    // The format of a cell in the sheet's font; the few a report uses are looked up
    // without building a key for every cell.
    lxw_format* formatFor(const QString& numberFormat, bool isDate)
    {
        for (const UsedFormat& used : used)
            if (used.isDate == isDate && used.numberFormat == numberFormat) return used.format;
        CellStyle style = font;
        if (!numberFormat.isEmpty()) style.numberFormat = numberFormat;
        return used.emplace_back(UsedFormat{numberFormat, isDate, formats.formatFor(style, isDate)}).format;
    }

    struct UsedFormat {
        QString numberFormat;
        bool isDate;
        lxw_format* format;
    };
    ScratchWorkbook scratch;
    FormatCache formats;
    std::vector<UsedFormat> used;
    lxw_worksheet* sheet;
    CellStyle font;
    std::map<int, double> widest;   // of the columns to fit, in characters of the sheet's font
};

SheetStream::SheetStream(const QString& fontName, double fontSize)
    : impl_(std::make_unique<Impl>(fontName, fontSize))
{
}

SheetStream::~SheetStream() = default;

int SheetStream::maxRows() { return kMaxRows; }

void SheetStream::write(int row, int column, const vb::Variant& value, const QString& numberFormat)
{
    const bool empty = value.isNull() || (value.type() == vb::Variant::Type::Text && value.toString().isEmpty());
    if (empty && numberFormat.isEmpty()) return;
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw Error(1004, QStringLiteral("应用程序定义或对象定义错误"));
    lxw_format* format = impl_->formatFor(numberFormat, value.type() == vb::Variant::Type::Date);
    const lxw_error error =
        writeCell(impl_->sheet, lxw_row_t(row - 1), lxw_col_t(column - 1), empty ? vb::Variant() : value, format);
    if (error != LXW_NO_ERROR) throw writerError(error);
    const auto fitted = impl_->widest.find(column);
    if (empty || fitted == impl_->widest.end()) return;
    fitted->second = std::max(fitted->second, contentWidth(value) * *impl_->font.fontSize / kDefaultFontSize);
}

void SheetStream::write(const QString& address, const vb::Variant& value)
{
    const CellArea cell = parseAddress(address);
    write(cell.firstRow, cell.firstColumn, value);
}

void SheetStream::setColumnWidth(int column, double characters)
{
    const lxw_error error =
        worksheet_set_column(impl_->sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), characters, nullptr);
    if (error != LXW_NO_ERROR) throw writerError(error);
}

void SheetStream::fitColumn(int column)
{
    impl_->widest.emplace(column, 0);
}

void SheetStream::autoFit(int column)
{
    const auto it = impl_->widest.find(column);
    if (it != impl_->widest.end() && it->second > 0) setColumnWidth(column, std::min(255.0, it->second + 1));
}

void SheetStream::saveAs(const QString& path)
{
    impl_->scratch.saveAs(win::hostPath(path));
}

}  // namespace office
