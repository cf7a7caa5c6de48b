// Speed of the drug list window's reload (`Qpcls`: category list and grid, read through
// the database layer with the stored-query convention and the event pump after every
// row) over 5,000 drugs, against a plain fill of the same window's list and grid from
// prepared SQLite statements on one connection. Both run in the open window inside the
// main window; prints the best of a few runs of each and their ratio (at most 3).
#define SQLITE_HAS_CODEC 1
#include "core/globals.h"
#include "data/database_file.h"
#include "dispensary/drug_list.h"
#include "platform/dao/dialect.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "support/window_fixture.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Drugs = 5000;
constexpr int Runs = 5;

void seedDrugs(const TestEnvironment& env)
{
    const char* const categories[] = {"补气药", "补血药", "活血药", "清热药", "解表药", "化痰药"};
    dao::Database db = env.open();
    dao::Transaction work(db);
    dao::Recordset drugs = db.openTable("ycjg");
    for (int i = 0; i < Drugs; ++i) {
        const int n = i * 7919 % Drugs;   // codes arrive out of order
        drugs.addNew();
        drugs.setField(0, QStringLiteral("YC%1").arg(n, 5, 10, QLatin1Char('0')));
        drugs.setField(1, QStringLiteral("药材名称%1").arg(n));
        drugs.setField(2, 0.5 + n * 1.37);
        drugs.setField(3, QStringLiteral("克"));
        drugs.setField(4, QString::fromUtf8(categories[n % 6]));
        drugs.update();
    }
    drugs.close();
    work.commit();
}

// The plain fill: one connection, one prepared statement for the categories and one
// for the drugs read through, then the grid sized once and written cell by cell.
void plainFill(const QString& path, dispensary::Frmyjwh& window)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    dao::dialect::registerOn(db);

    window.CboYplb->Clear();
    sqlite3_stmt* categories = nullptr;
    sqlite3_prepare_v2(db, "select distinct yplb from ycjg where ycbm<>''", -1, &categories, nullptr);
    while (sqlite3_step(categories) == SQLITE_ROW)
        window.CboYplb->AddItem(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(categories, 0))));
    sqlite3_finalize(categories);

    forms::FlexGrid* grid = window.MSFGridBmmc;
    grid->setRows(1);
    sqlite3_stmt* drugs = nullptr;
    sqlite3_prepare_v2(db, "select * from ycjg order by ycbm", -1, &drugs, nullptr);
    const QLocale english(QLocale::English);
    std::vector<std::array<QString, 5>> rows;
    while (sqlite3_step(drugs) == SQLITE_ROW) {
        auto& texts = rows.emplace_back();
        for (int col = 0; col < 5; ++col)
            texts[col] = col == 2 ? english.toString(sqlite3_column_double(drugs, 2), 'f', 2)
                                  : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(drugs, col)));
    }
    grid->setRows(static_cast<int>(rows.size()) + 1);
    for (int row = 1; row <= static_cast<int>(rows.size()); ++row) {
        grid->setRowHeight(row, 400);
        for (int col = 0; col < 5; ++col) grid->setTextMatrix(row, col, rows[row - 1][col]);
    }
    sqlite3_finalize(drugs);
    sqlite3_close(db);
    QCoreApplication::processEvents();
}

double bestMilliseconds(const std::function<void()>& work)
{
    double best = 1e30;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    WindowFixture world;
    seedDrugs(world.environment());
    auto* window = world.open<dispensary::Frmyjwh>(QStringLiteral("YcqkWh"));
    if (window->MSFGridBmmc->Rows() != Drugs + 1) {
        std::fprintf(stderr, "drug list: the window lists %d rows, not %d\n", window->MSFGridBmmc->Rows() - 1, Drugs);
        return 1;
    }

    const double ours = bestMilliseconds([&] {
        window->Qpcls();
        QCoreApplication::processEvents();
    });
    const QString path = world.environment().databasePath();
    const double plain = bestMilliseconds([&] { plainFill(path, *window); });

    std::printf("drug list reload (%d drugs): Qpcls %.1f ms, plain SQLite fill %.1f ms, ratio %.2f (at most 3)\n",
                Drugs, ours, plain, ours / plain);
    return ours / plain <= 3 ? 0 : 1;
}
