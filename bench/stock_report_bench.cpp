// The stock ledger report of 150,000 journal rows through the stock queries window's
// path (the stored query, its dynaset, the report writer and its file) against the
// plain libraries doing the same work: the same SELECT stepped through a prepared
// SQLite statement and the same cells, formats and widths written by libxlsxwriter
// (constant-memory mode, as ours). The ratio should stay at most 1.5; the peak memory
// of the process (under 300 MB; the plain runs need less than ours) is printed too.
// The two sides take turns, each timed run after an untimed one of its own side; min,
// median and max are printed once both files are found to hold the same rows and cells.
#include "bench_support.h"
#include "core/globals.h"
#include "data/database_file.h"
#include "dispensary/stock_reports.h"
#include "platform/dao/dao.h"
#include "platform/dao/dialect.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"
#include "platform/xlsx_reader.h"

#include <sqlcipher/sqlite3.h>
#include <xlsxwriter.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int journalRows = 150000;
constexpr int turns = 6;
const dispensary::StockSelection Range{QStringLiteral("2020-01-01"), QStringLiteral("2024-12-31")};

void fill(const QString& path)
{
    data::createDatabase(path, data::databasePassword());
    sqlite3* db = bench::openPlain(path);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::mt19937 random(11);
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO yccrtb VALUES (?,?,?,' ',' ',' ','2050-01-01',' ',' ',?,?,?,?,?,'张','李')",
                       -1, &row, nullptr);
    for (int i = 0; i < journalRows; ++i) {
        const QByteArray name = QStringLiteral("药品%1").arg(random() % 500).toUtf8();
        const QByteArray date = QDate(2020, 1, 1).addDays(random() % 1800).toString(Qt::ISODate).toUtf8();
        const bool in = random() % 3 == 0;
        const double quantity = 1 + random() % 50;
        sqlite3_bind_text(row, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 3, in ? "购进" : "处方收款出库", -1, SQLITE_STATIC);
        sqlite3_bind_double(row, 4, in ? quantity : 0);
        sqlite3_bind_double(row, 5, in ? quantity * 3.25 : 0);
        sqlite3_bind_double(row, 6, in ? 0 : quantity);
        sqlite3_bind_double(row, 7, in ? 0 : quantity * 2.5);
        sqlite3_bind_double(row, 8, in ? 0 : quantity * 4.75);
        sqlite3_step(row);
        sqlite3_reset(row);
    }
    sqlite3_finalize(row);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void throughTheWindowsPath(const QString& path)
{
    forms::MessageBoxes::TestHook boxes;
    using dispensary::StockReportKind;
    dao::Database db = core::OpenDb();
    dao::Recordset records = db.storeAndOpen(dispensary::stockQueryName(StockReportKind::Ledger),
                                             dispensary::stockQuerySql(StockReportKind::Ledger, Range));
    dispensary::writeStockReport(records, StockReportKind::Ledger, path, {});
}

void throughThePlainLibraries(const QString& databasePath, const QString& path)
{
    sqlite3* db = bench::openPlain(databasePath, true);   // the translated SQL sorts in pinyin
    const QByteArray sql = dao::dialect::translate(
        dispensary::stockQuerySql(dispensary::StockReportKind::Ledger, Range)).toUtf8();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    const auto format = [book](const char* numberFormat) {
        lxw_format* f = workbook_add_format(book);
        format_set_font_name(f, "宋体 ");
        format_set_font_size(f, 9);
        if (numberFormat) format_set_num_format(f, numberFormat);
        return f;
    };
    lxw_format* text = format(nullptr);
    lxw_format* day = format("yyyy-mm-dd");
    lxw_format* money = format("##,###,##0.00_ ");
    const char* headers[] = {"时间", "药品名称", "摘要", "入库数量", "入库金额", "出库数量", "出库成本", "收款金额"};
    for (int c = 0; c < 8; ++c) worksheet_write_string(sheet, 1, c, headers[c], text);
    lxw_row_t r = 3;
    for (; sqlite3_step(select) == SQLITE_ROW; ++r) {
        const QDate date = QDate::fromString(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, 0))), Qt::ISODate);
        lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, r, 0, &when, day);
        for (int c = 1; c <= 2; ++c)
            worksheet_write_string(sheet, r, c, reinterpret_cast<const char*>(sqlite3_column_text(select, c)), text);
        for (int c = 3; c < 8; ++c) worksheet_write_number(sheet, r, c, sqlite3_column_double(select, c), money);
    }
    worksheet_set_column(sheet, 0, 3, 10, nullptr);
    worksheet_set_column(sheet, 4, 7, 14, nullptr);
    workbook_close(book);
    sqlite3_finalize(select);
    sqlite3_close(db);
}

// The rows and cells of a saved workbook's sheet, as "rows/cells".
QString rowsAndCells(const QString& path)
{
    const QByteArray sheet = testing::zipEntry(path, "xl/worksheets/sheet1.xml");
    return QString::number(sheet.count("<row ")) + u'/' + QString::number(sheet.count("<c "));
}

struct Figures {
    double min, median, max;
};

Figures figuresOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    QTemporaryDir folder;
    const QString database = bench::useAsWindowsDir(folder);
    fill(database);
    const double beforeOurs = bench::peakMegabytes();

    const QString ourFile = folder.filePath(QStringLiteral("ours.xls"));
    const QString plainFile = folder.filePath(QStringLiteral("plain.xlsx"));
    const std::function<void()> sides[] = {[&] { throughTheWindowsPath(ourFile); },
                                           [&] { throughThePlainLibraries(database, plainFile); }};
    std::vector<double> times[2];
    for (int turn = 0; turn < turns; ++turn)
        for (int side = 0; side < 2; ++side) {
            sides[side]();   // untimed, so that each timed run follows one of its own side
            times[side].push_back(bench::millisecondsOf(sides[side]));
        }
    const double peak = bench::peakMegabytes();
    const QString ourCells = rowsAndCells(ourFile);
    const QString plainCells = rowsAndCells(plainFile);
    const Figures ours = figuresOf(times[0]);
    const Figures plain = figuresOf(times[1]);
    std::printf("stock ledger report of %d rows (rows/cells %s and %s%s): window's path %.0f/%.0f/%.0f ms, "
                "plain SQLite + libxlsxwriter %.0f/%.0f/%.0f ms (min/median/max), ratio %.2f (limit 1.5%s); "
                "peak memory %.0f MB (limit 300%s; %.0f MB before the reports)\n",
                journalRows, qPrintable(ourCells), qPrintable(plainCells), ourCells == plainCells ? "" : " DIFFER",
                ours.min, ours.median, ours.max, plain.min, plain.median, plain.max, ours.median / plain.median,
                bench::overLimit(ours.median / plain.median, 1.5), peak, bench::overLimit(peak, 300), beforeOurs);
    return ourCells == plainCells ? 0 : 1;
}
