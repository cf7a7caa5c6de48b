// Speed of the workbook stand-in on a stock report of 20000 rows (8 cells a row,
// each cell auto-fitted, formats and widths set per row, as the reports do) against
// libxlsxwriter writing the same cells, formats and fitted widths directly. The two
// files are read back and compared cell by cell (value, number format, font) and
// column by column (width) before the ratio is printed; medians of warmed-up runs.
#include "platform/office/workbook.h"
#include "platform/xlsx_reader.h"
#include "timing.h"

#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

constexpr int kRows = 20000;
constexpr int kColumns = 8;

QString textOf(int row, int column) { return QStringLiteral("药品%1-%2").arg(row).arg(column); }

void throughStandIn(const QString& path)
{
    office::ExcelApplication xl;
    office::Workbook book = xl.Workbooks().Add();
    book.Worksheets(QStringLiteral("sheet1"));
    xl.Cells().Font().Name(QStringLiteral("宋体 ")).Size(9);
    for (int row = 4; row < kRows + 4; ++row) {
        for (int column = 1; column <= kColumns; ++column) {
            if (column >= 6) xl.Cells(row, column).Value(row * 1.25 + column);
            else xl.Cells(row, column).Value(textOf(row, column));
            xl.Cells(row, column).Columns().AutoFit();
        }
        for (int column = 6; column <= kColumns; ++column)
            xl.Cells(row, column).NumberFormatLocal(QStringLiteral("##,###,##0.00_ "));
        for (int column = 1; column <= 4; ++column) xl.Cells(row, column).ColumnWidth(10);
    }
    book.SaveAs(path);
    xl.Quit();
}

// Width of a text in characters of the standard font, a wide (CJK) character two.
double textWidth(const QString& text)
{
    double width = 0;
    for (const QChar c : text) width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

void throughLibrary(const QString& path)
{
    lxw_workbook* book = workbook_new(path.toUtf8().constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    lxw_format* text = workbook_add_format(book);
    format_set_font_name(text, "宋体 ");
    format_set_font_size(text, 9);
    lxw_format* number = workbook_add_format(book);
    format_set_font_name(number, "宋体 ");
    format_set_font_size(number, 9);
    format_set_num_format(number, "##,###,##0.00_ ");
    std::array<double, kColumns> widest{};
    for (int row = 4; row < kRows + 4; ++row)
        for (int column = 1; column <= kColumns; ++column) {
            QString shown;
            if (column >= 6) {
                const double value = row * 1.25 + column;
                worksheet_write_number(sheet, row - 1, column - 1, value, number);
                shown = QString::number(value, 'g', 15);
            } else {
                shown = textOf(row, column);
                worksheet_write_string(sheet, row - 1, column - 1, shown.toUtf8().constData(), text);
            }
            widest[column - 1] = std::max(widest[column - 1], textWidth(shown) * 9 / 11);   // 9 pt against 11 pt
        }
    worksheet_set_column(sheet, 0, 3, 10, nullptr);
    for (int column = 5; column <= kColumns; ++column)
        worksheet_set_column(sheet, column - 1, column - 1, std::min(255.0, widest[column - 1] + 1), nullptr);
    workbook_close(book);
}

// The first difference between the two files, or an empty text.
QString difference(const QString& oursPath, const QString& plainPath)
{
    const testing::XlsxReader ours(oursPath), plain(plainPath);
    if (!ours.isValid() || !plain.isValid()) return QStringLiteral("a file cannot be read");
    if (ours.cellCount() != plain.cellCount()) return QStringLiteral("cell counts differ");
    for (int row = 4; row < kRows + 4; ++row)
        for (int column = 1; column <= kColumns; ++column) {
            const QString reference = QChar(u'A' + column - 1) + QString::number(row);
            const auto a = ours.cell(reference), b = plain.cell(reference);
            if (!a || !b || a->kind != b->kind || a->text != b->text || a->number != b->number
                || a->numberFormat != b->numberFormat || a->fontName != b->fontName || a->fontSize != b->fontSize)
                return QStringLiteral("cell ") + reference;
        }
    for (int column = 1; column <= kColumns; ++column)
        if (qAbs(ours.columnWidth(column).value_or(-1) - plain.columnWidth(column).value_or(-1)) > 0.01)
            return QStringLiteral("width of column %1").arg(column);
    return {};
}

}  // namespace

int main()
{
    QTemporaryDir folder;
    const QString oursPath = folder.filePath(QStringLiteral("ours.xls")), plainPath = folder.filePath(QStringLiteral("plain.xlsx"));
    const double ours = bench::medianMilliseconds([&] { throughStandIn(oursPath); }, 5, 1);
    const double plain = bench::medianMilliseconds([&] { throughLibrary(plainPath); }, 5, 1);
    if (const QString differs = difference(oursPath, plainPath); !differs.isEmpty()) {
        std::printf("workbook: the two files differ (%s); no ratio\n", qPrintable(differs));
        return 1;
    }
    std::printf("workbook: stand-in %.1f ms, libxlsxwriter %.1f ms, ratio %.2f (%d rows, files alike)\n",
                ours, plain, ours / plain, kRows);
    return 0;
}
