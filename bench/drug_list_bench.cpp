// Speed of the drug list window's reload (`Qpcls`: category list and grid, read through
// the database layer with the stored-query convention and the event pump on a time
// slice) against what a plain Qt program does for the same texts: a combo box and a
// table view over a plain table model filled from prepared SQLite statements, in a
// window of the same size. Both keep the file open (the program holds its database for
// the run), show the same texts (compared first) and take turns. At 500, 5,000 and
// 50,000 drugs: the medians of processor time and their ratio (limit 1.5), and the
// growth of the reload's cost a drug from 5,000 to 50,000 drugs against the plain
// side's own growth (at most 1.2 times it; 15 turns at both sizes, so that runs agree).
#define SQLITE_HAS_CODEC 1
#include "core/globals.h"
#include "data/database_file.h"
#include "dispensary/drug_list.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "support/window_fixture.h"
#include "plain_connection.h"
#include "platform/forms/application.h"
#include "timing.h"

#include <sqlcipher/sqlite3.h>

#include <QAbstractTableModel>
#include <QComboBox>
#include <QLocale>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <cstdio>
#include <vector>

namespace {

void seedDrugs(const TestEnvironment& env, int count)
{
    const char* const categories[] = {"补气药", "补血药", "活血药", "清热药", "解表药", "化痰药"};
    dao::Database db = env.open();
    dao::Transaction work(db);
    dao::Recordset drugs = db.openTable("ycjg");
    for (int i = 0; i < count; ++i) {
        const int n = static_cast<int>(i * 7919LL % count);   // codes arrive out of order
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

// The plain side: a combo box of the categories and a table view over a plain table
// model of the drugs, filled from prepared statements on an open connection, the model
// reset once for the whole fill, in a window of the same size as the drug list's.
class PlainDrugs : public QAbstractTableModel {
public:
    std::vector<std::array<QString, 5>> rows;

    void refill(sqlite3* db)
    {
        beginResetModel();
        rows.clear();
        sqlite3_stmt* drugs = nullptr;
        sqlite3_prepare_v2(db, "select * from ycjg order by ycbm", -1, &drugs, nullptr);
        const QLocale english(QLocale::English);
        while (sqlite3_step(drugs) == SQLITE_ROW) {
            auto& texts = rows.emplace_back();
            for (int col = 0; col < 5; ++col)
                texts[col] = col == 2 ? english.toString(sqlite3_column_double(drugs, 2), 'f', 2)
                                      : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(drugs, col)),
                                                          sqlite3_column_bytes(drugs, col));
        }
        sqlite3_finalize(drugs);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : static_cast<int>(rows.size()); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(rows[index.row()][index.column()]) : QVariant();
    }
};

class PlainWindow {
public:
    explicit PlainWindow(const QSize& size)
    {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(categories_ = new QComboBox);
        layout->addWidget(view_ = new QTableView);
        view_->setModel(&drugs_);
        window_.resize(size);
        window_.show();
    }

    void fill(sqlite3* db)
    {
        categories_->clear();
        sqlite3_stmt* categories = nullptr;
        sqlite3_prepare_v2(db, "select distinct yplb from ycjg where ycbm<>'' order by 1 collate PINYIN", -1, &categories, nullptr);
        while (sqlite3_step(categories) == SQLITE_ROW)
            categories_->addItem(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(categories, 0))));
        sqlite3_finalize(categories);
        drugs_.refill(db);
        QCoreApplication::processEvents();
    }

    // The categories, then every cell row by row.
    QStringList shown() const
    {
        QStringList texts;
        for (int i = 0; i < categories_->count(); ++i) texts << categories_->itemText(i);
        for (const auto& row : drugs_.rows)
            for (const QString& cell : row) texts << cell;
        return texts;
    }

private:
    QWidget window_;
    QComboBox* categories_;
    QTableView* view_;
    PlainDrugs drugs_;
};

QStringList shownBy(const dispensary::Frmyjwh& window)
{
    QStringList texts;
    for (int i = 0; i < window.CboYplb->ListCount(); ++i) texts << window.CboYplb->List(i);
    const forms::FlexGrid& grid = *window.MSFGridBmmc;
    for (int row = 1; row < grid.Rows(); ++row)
        for (int col = 0; col < 5; ++col) texts << grid.TextMatrix(row, col);
    return texts;
}

// The reload of `drugs` drugs with the file open, both sides in turns; false when
// the two windows show different texts.
bool measure(int drugs, bench::Medians& medians, int runs)
{
    WindowFixture world;
    seedDrugs(world.environment(), drugs);
    auto* window = world.open<dispensary::Frmyjwh>(QStringLiteral("YcqkWh"));
    sqlite3* plainDb = bench::openPlain(world.environment().databasePath(), true);
    PlainWindow plain(window->size());
    plain.fill(plainDb);
    const QStringList ours = shownBy(*window), plainTexts = plain.shown();
    if (ours != plainTexts) {
        std::fprintf(stderr, "drug list: the window shows %lld texts, the plain window %lld, or other texts\n",
                     static_cast<long long>(ours.size()), static_cast<long long>(plainTexts.size()));
        sqlite3_close(plainDb);
        return false;
    }
    medians = bench::inTurns(
        [window] {
            window->Qpcls();
            QCoreApplication::processEvents();
        },
        [&] { plain.fill(plainDb); }, runs);
    sqlite3_close(plainDb);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    const int sizes[] = {500, 5000, 50000};
    double perDrug[3] = {}, plainPerDrug[3] = {};
    for (int k = 0; k < 3; ++k) {
        bench::Medians medians{};
        if (!measure(sizes[k], medians, k == 0 ? 7 : 15)) return 1;
        perDrug[k] = medians.ours / sizes[k];
        plainPerDrug[k] = medians.plain / sizes[k];
        std::printf("drug list reload, %d drugs: Qpcls %.2f ms, plain model and view %.2f ms, ratio %.2f (limit 1.5%s; "
                    "by the clock %.2f)\n",
                    sizes[k], medians.ours, medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 1.5),
                    medians.clockRatio());
    }
    // The cost a drug grows with the file as the plain side's own does: the program's
    // growth at most 1.2 times the plain growth.
    const double growth = perDrug[2] / perDrug[1], plainGrowth = plainPerDrug[2] / plainPerDrug[1];
    std::printf("drug list reload a drug: %.2f us at 5,000 drugs, %.2f us at 50,000: grows %.2f, the plain side's %.2f, "
                "%.2f times it (limit 1.2%s)\n",
                perDrug[1] * 1000, perDrug[2] * 1000, growth, plainGrowth, growth / plainGrowth,
                bench::overLimit(growth / plainGrowth, 1.2));
    return 0;
}
