// Speed of the workbook stand-in on a stock report of 20000 rows (8 cells a row,
// each cell auto-fitted, formats and widths set per row, as the reports do) against
// libxlsxwriter writing the same cells and formats directly; prints the ratio.
#include "platform/office/workbook.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
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
    for (int row = 4; row < kRows + 4; ++row)
        for (int column = 1; column <= kColumns; ++column) {
            if (column >= 6) worksheet_write_number(sheet, row - 1, column - 1, row * 1.25 + column, number);
            else worksheet_write_string(sheet, row - 1, column - 1, textOf(row, column).toUtf8().constData(), text);
        }
    worksheet_set_column(sheet, 0, 3, 10, nullptr);
    workbook_close(book);
}

}  // namespace

int main()
{
    QTemporaryDir folder;
    QElapsedTimer timer;
    timer.start();
    throughStandIn(folder.filePath(QStringLiteral("ours.xls")));
    const qint64 ours = timer.nsecsElapsed();
    timer.restart();
    throughLibrary(folder.filePath(QStringLiteral("plain.xlsx")));
    const qint64 plain = timer.nsecsElapsed();
    std::printf("workbook: stand-in %.1f ms, libxlsxwriter %.1f ms, ratio %.2f (%d rows)\n",
                ours / 1e6, plain / 1e6, static_cast<double>(ours) / plain, kRows);
    return 0;
}
