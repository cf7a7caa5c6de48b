// Writing workbooks with libxlsxwriter; see xlsx_writer.h. The file is made whole in a
// private temporary folder and then copied over the target with win::copyFile, so a
// failure (folder missing, disk full) never leaves a half file.
#include "platform/office/xlsx_writer.h"

#include "platform/office/error.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"

#include <xlsxwriter.h>

#include <cerrno>

namespace office {

namespace {

Error writerError(lxw_error error)
{
    return Error(1004, QStringLiteral("工作簿不能保存：") + QString::fromUtf8(lxw_strerror(error)));
}

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR) throw writerError(error);
}

constexpr double StandardWidth = 8.43;
constexpr uint8_t ShortDateFormat = 14;   // the built-in number format of a short date

}  // namespace

XlsxWriter::XlsxWriter() : scratch_(workbookScratchTemplate()), scratchLock_(scratch_.path())
{
    if (!scratch_.isValid()) throw win::fileAccessError();
    scratchPath_ = QFile::encodeName(scratch_.path());
    built_ = scratch_.filePath(QStringLiteral("workbook.xlsx"));
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = scratchPath_.data();
    book_ = workbook_new_opt(QFile::encodeName(built_).constData(), &options);
    if (!book_) throw win::fileAccessError();
}

XlsxWriter::~XlsxWriter()
{
    if (book_) lxw_workbook_free(book_);
}

lxw_worksheet* XlsxWriter::addSheet(const QString& name)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book_, name.toUtf8().constData());
    if (!sheet) throw writerError(LXW_ERROR_SHEETNAME_ALREADY_USED);
    return sheet;
}

lxw_format* XlsxWriter::format(const CellStyle& style, bool isDate)
{
    for (const UsedStyle& used : used_)
        if (used.isDate == isDate && used.style == style) return used.format;
    // A date without a number format of its own shows as the spreadsheet shows a date
    // typed into a plain cell: its built-in short date.
    const bool shortDate = isDate && !style.numberFormat;
    if (!shortDate && style.isDefault()) return nullptr;

    const QString key = style.fontName.value_or(QString()) + u'\x1f'
                        + (style.fontSize ? QString::number(*style.fontSize) : QString()) + u'\x1f'
                        + (style.bold ? QString::number(*style.bold) : QString()) + u'\x1f'
                        + (shortDate ? QStringLiteral("\x1f#%1").arg(ShortDateFormat) : style.numberFormat.value_or(QString()));
    lxw_format*& format = formats_[key];
    if (!format) {
        format = workbook_add_format(book_);
        if (style.fontName) format_set_font_name(format, style.fontName->toUtf8().constData());
        if (style.fontSize) format_set_font_size(format, *style.fontSize);
        if (style.bold.value_or(false)) format_set_bold(format);
        if (style.numberFormat) format_set_num_format(format, style.numberFormat->toUtf8().constData());
        if (shortDate) format_set_num_format_index(format, ShortDateFormat);
    }
    if (used_.size() < 16) used_.push_back({style, isDate, format});
    return format;
}

void XlsxWriter::writeCell(lxw_worksheet* sheet, int row, int column, const vb::Variant& value,
                           const CellStyle& style)
{
    lxw_format* cellFormat = format(style, value.type() == vb::Variant::Type::Date);
    const lxw_row_t r = lxw_row_t(row - 1);
    const lxw_col_t c = lxw_col_t(column - 1);
    switch (value.type()) {
    case vb::Variant::Type::Null:
        if (cellFormat) check(worksheet_write_blank(sheet, r, c, cellFormat));
        return;
    case vb::Variant::Type::Number:
    case vb::Variant::Type::Currency: check(worksheet_write_number(sheet, r, c, value.toDouble(), cellFormat)); return;
    case vb::Variant::Type::Date: {
        const QDate date = value.toDate();
        if (date.year() >= 1900) {   // the earliest date a workbook can hold
            lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0};
            check(worksheet_write_datetime(sheet, r, c, &when, cellFormat));
            return;
        }
        break;
    }
    case vb::Variant::Type::Text: break;
    }
    check(worksheet_write_string(sheet, r, c, value.toString().toUtf8().constData(), cellFormat));
}

void XlsxWriter::setColumns(lxw_worksheet* sheet, const std::map<int, double>& widths, const CellStyle& sheetStyle)
{
    // Column ranges must not overlap: the sized columns one by one, the gaps between
    // them as ranges of the standard width.
    lxw_format* columnFormat = format(sheetStyle, false);
    int next = 1;
    auto gapUpTo = [&](int last) {
        if (columnFormat && next <= last)
            check(worksheet_set_column(sheet, lxw_col_t(next - 1), lxw_col_t(last - 1), StandardWidth, columnFormat));
    };
    for (const auto& [column, width] : widths) {
        gapUpTo(column - 1);
        check(worksheet_set_column(sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, columnFormat));
        next = column + 1;
    }
    gapUpTo(MaxColumns);
}

void XlsxWriter::saveAs(const QString& hostPath)
{
    lxw_workbook* book = book_;
    book_ = nullptr;   // closing frees it, whatever the outcome
    errno = 0;
    const lxw_error closed = workbook_close(book);
    // The writer reports a write that failed for want of room as a generic zip error.
    if (closed != LXW_NO_ERROR && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) throw win::fileError(errno);
    check(closed);
    win::copyFile(built_, hostPath);
}

}  // namespace office
