// Speed and memory of the workbook report writer on a stock report of 150,000 rows
// (8 columns: texts, a date, three money columns with a format; widths fixed and
// auto-fitted; the event pump after every row, as the windows run it) against
// libxlsxwriter writing the same cells in its constant-memory mode directly. The two
// files are read back and compared cell by cell (kind, text or number, number format,
// font) before any figure is printed; the sides take turns. Prints the medians and
// their ratio (limit 1.5), the time per row at a tenth of the rows (linear time keeps it alike)
// and the growth of the process's peak memory.
#include "core/workbook_report.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"
#include "platform/xlsx_reader.h"
#include "timing.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>
#include <xlsxwriter.h>

namespace {

constexpr int Rows = 150000;
constexpr int Runs = 3;

QString textOf(int row, int column) { return QStringLiteral("药品%1-%2").arg(row).arg(column); }

double moneyOf(int row, int column) { return row * 1.25 + column; }

const QString Money = QStringLiteral("##,###,##0.00_ ");

core::WorkbookReport report(const QString& path)
{
    using Kind = core::ReportColumn::Kind;
    core::WorkbookReport r{path, {}};
    for (int c = 1; c <= 4; ++c) r.columns.push_back({QStringLiteral("名称%1").arg(c), Kind::Text, {}, c == 1 ? 10.0 : 0});
    r.columns.push_back({QStringLiteral("日期"), Kind::Date, QStringLiteral("yyyy-mm-dd"), 11});
    for (int c = 6; c <= 8; ++c) r.columns.push_back({QStringLiteral("金额%1").arg(c), Kind::Number, Money, 0});
    r.fixedCells = {{1, 1, QStringLiteral("药品库存报表")}};
    return r;
}

void throughWriter(const QString& path, int rows)
{
    int next = 0;
    const QDate day(2024, 3, 15);
    core::writeWorkbookReport(report(path), [&](std::vector<vb::Variant>& row) {
        if (next == rows) return false;
        row.resize(8);
        for (int c = 1; c <= 4; ++c) row[c - 1] = textOf(next, c);
        row[4] = day;
        for (int c = 6; c <= 8; ++c) row[c - 1] = moneyOf(next, c);
        ++next;
        return true;
    });
}

void throughLibrary(const QString& path, int rows)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    lxw_format* text = workbook_add_format(book);
    format_set_font_name(text, "宋体 ");
    format_set_font_size(text, 9);
    lxw_format* date = workbook_add_format(book);
    format_set_font_name(date, "宋体 ");
    format_set_font_size(date, 9);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format* number = workbook_add_format(book);
    format_set_font_name(number, "宋体 ");
    format_set_font_size(number, 9);
    format_set_num_format(number, Money.toUtf8().constData());
    worksheet_write_string(sheet, 0, 0, "药品库存报表", text);
    const core::WorkbookReport layout = report(path);
    for (int c = 0; c < 8; ++c)
        worksheet_write_string(sheet, 1, lxw_col_t(c), layout.columns[size_t(c)].header.toUtf8().constData(), text);
    lxw_datetime day{2024, 3, 15, 0, 0, 0};
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c <= 4; ++c)
            worksheet_write_string(sheet, lxw_row_t(r + 4), lxw_col_t(c - 1), textOf(r, c).toUtf8().constData(), text);
        worksheet_write_datetime(sheet, lxw_row_t(r + 4), 4, &day, date);
        for (int c = 6; c <= 8; ++c) worksheet_write_number(sheet, lxw_row_t(r + 4), lxw_col_t(c - 1), moneyOf(r, c), number);
    }
    worksheet_set_column(sheet, 0, 7, 12, text);
    workbook_close(book);
}

// The first difference between the cells of the two workbooks, or "" when they agree;
// `cells` the number of cells compared.
QString differenceBetween(const QString& ours, const QString& plain, int rows, int& cells)
{
    const testing::XlsxReader a(ours), b(plain);
    cells = a.cellCount();
    if (a.cellCount() != b.cellCount()) return QStringLiteral("%1 cells against %2").arg(a.cellCount()).arg(b.cellCount());
    for (int row = 1; row <= rows + 4; ++row)
        for (char column = 'A'; column <= 'H'; ++column) {
            const QString reference = QChar::fromLatin1(column) + QString::number(row);
            const auto x = a.cell(reference), y = b.cell(reference);
            if (x.has_value() != y.has_value()) return reference + QStringLiteral(" is only in one");
            if (!x) continue;
            if (x->kind != y->kind || x->text != y->text || x->number != y->number || x->numberFormat != y->numberFormat
                || x->fontName != y->fontName || x->fontSize != y->fontSize)
                return reference + QStringLiteral(": ") + x->text + QString::number(x->number) + x->numberFormat + x->fontName
                       + QStringLiteral(" against ") + y->text + QString::number(y->number) + y->numberFormat + y->fontName;
        }
    return {};
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    QTemporaryDir folder;
    forms::MessageBoxes::TestHook boxes;   // the closing message answers itself
    const QString ours = folder.filePath(QStringLiteral("report.xls"));
    const QString plain = folder.filePath(QStringLiteral("plain.xlsx"));

    const long before = peakKilobytes();
    throughWriter(ours, Rows);
    const long grown = peakKilobytes() - before;
    throughLibrary(plain, Rows);
    int cells = 0;
    const QString difference = differenceBetween(ours, plain, Rows, cells);
    if (!difference.isEmpty() || cells < Rows * 8) {
        std::fprintf(stderr, "workbook report: the files differ, %s\n", qPrintable(difference));
        return 1;
    }
    const double small = bench::medianMilliseconds([&] { throughWriter(ours, Rows / 10); }, Runs, 1);
    const bench::Medians medians =
        bench::inTurns([&] { throughWriter(ours, Rows); }, [&] { throughLibrary(plain, Rows); }, Runs);
    std::printf("workbook report: writer %.0f ms, libxlsxwriter %.0f ms, ratio %.2f (limit 1.5%s; %d rows); "
                "per row %.2f us at %d rows, %.2f us at %d; peak memory grew %ld kB; %d cells alike\n",
                medians.ours, medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 1.5), Rows, small * 1000 / (Rows / 10), Rows / 10,
                medians.ours * 1000 / Rows, Rows, grown, cells);
    return 0;
}
