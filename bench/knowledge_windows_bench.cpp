// Speed of opening the four knowledge-base query windows through their menu items
// (each item rebuilds the base's query dictionaries first, then the window fills its
// pick lists and its grid) at a clinic's data and at ten times as much (3,000 / 30,000
// herbs, 5,000 / 50,000 formulas, 2,000 / 20,000 syndromes, 5,000 / 50,000 patent
// medicines), against the sum of the plain parts a plain Qt program needs for the same
// texts: the rebuild on one SQLite connection (one transaction, the terms not added yet
// answered from memory, a prepared insert) and a plain window of combo boxes over
// string list models and a table view over a plain table model, filled from prepared
// statements. The window's lists and grid and the plain window's are compared before
// any figure is printed; the sides take turns, each opening followed by the close the
// window's exit button makes. Prints each window's medians of processor time, their
// ratio (limit 1.5) and the clock's, the first opening since the program started at
// 10x beside a repeat, and each window's cost's growth from 1x to 10x (limit 10,
// linear).
#include "bench_support.h"
#include "plain_window.h"
#include "core/main_window.h"
#include "dictionary/dictionary_builder.h"
#include "platform/forms/application.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/form.h"
#include "reference/reference_menu.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRandomGenerator>
#include <cstdio>
#include <set>

namespace {

// ---- the data

QStringList vocabulary(QRandomGenerator& random, int size, const QString& characters)
{
    QStringList terms;
    while (terms.size() < size) {
        QString term;
        for (int k = 0, length = static_cast<int>(random.bounded(2, 5)); k < length; ++k)
            term += characters[static_cast<int>(random.bounded(characters.size()))];
        if (!terms.contains(term)) terms << term;
    }
    return terms;
}

class Seeder {
public:
    Seeder(const QString& path) : db_(bench::openPlain(path)), random_(17)
    {
        const QString characters = QStringLiteral("清热解毒消肿散结补气养血活血化瘀祛风除湿温中健脾益肺止咳平喘安神"
                                                  "疏肝理气和胃降逆利水渗湿发汗解表滋阴润燥收敛固涩头痛发热恶寒咳嗽");
        terms_ = vocabulary(random_, 1200, characters);
        kinds_ = vocabulary(random_, 30, characters);
        sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    }
    ~Seeder()
    {
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }

    // `rows` rows of `columns` texts: column 0 a name made of `name` and the row's
    // number, the `kindColumns` a value of a short list, the rest texts of six terms.
    void fill(const char* table, int columns, int rows, const QString& name, std::set<int> kindColumns)
    {
        QStringList marks;
        for (int c = 0; c < columns; ++c) marks << QStringLiteral("?");
        const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(QString::fromLatin1(table), marks.join(u',')).toUtf8();
        sqlite3_stmt* add = nullptr;
        sqlite3_prepare_v2(db_, sql.constData(), -1, &add, nullptr);
        for (int i = 0; i < rows; ++i) {
            for (int c = 0; c < columns; ++c) {
                QString text;
                if (c == 0) text = name + QString::number(i * 7919 % rows);
                else if (kindColumns.count(c)) text = kinds_[static_cast<int>(random_.bounded(kinds_.size()))];
                else text = sixTerms();
                const QByteArray bytes = text.toUtf8();
                sqlite3_bind_text(add, c + 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(add);
            sqlite3_reset(add);
        }
        sqlite3_finalize(add);
    }

private:
    QString sixTerms()
    {
        QStringList picked;
        for (int k = 0; k < 6; ++k) picked << terms_[static_cast<int>(random_.bounded(terms_.size()))];
        return picked.join(QStringLiteral("，")) + QStringLiteral("。");
    }

    sqlite3* db_;
    QRandomGenerator random_;
    QStringList terms_, kinds_;
};

void seed(const QString& path, int scale)
{
    Seeder seeder(path);
    seeder.fill("zyyc", 9, 3000 * scale, QStringLiteral("药材"), {1, 2});
    seeder.fill("zyfj", 8, 5000 * scale, QStringLiteral("方剂"), {5});
    seeder.fill("zybz", 5, 2000 * scale, QStringLiteral("病症"), {});
    seeder.fill("fjcy", 7, 5000 * scale, QStringLiteral("成药"), {});
}

// ---- the plain side (plain_window.h)

struct Window {
    const char* name;
    const char* menuItem;
    void (*builder)();                // what the menu item runs before the window opens
    std::vector<bench::PlainDictionary> dictionaries;
    std::vector<bench::PlainList> lists;
    const char* gridTable;
    const char* gridOrder;            // the ORDER BY of the grid's SELECT, or empty
};

// The SELECT of the grid: the first `columns` columns of its table, by name, in its order.
QByteArray gridSql(sqlite3* db, const Window& window, int columns)
{
    QStringList names;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, (QByteArray("PRAGMA table_info(") + window.gridTable + ")").constData(), -1, &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW && names.size() < columns) names << bench::PlainTable::textOf(info, 1);
    sqlite3_finalize(info);
    return QStringLiteral("SELECT %1 FROM %2 %3")
        .arg(names.join(u','), QString::fromLatin1(window.gridTable), QString::fromUtf8(window.gridOrder))
        .toUtf8();
}

// ---- the program's side

// The open query window's combo boxes' lists and its grid's cells row by row.
QStringList shownBy(QWidget* window)
{
    std::vector<QStringList> lists;
    for (auto* combo : window->findChildren<forms::DBCombo*>()) {
        QStringList& items = lists.emplace_back();
        for (int i = 0; i < combo->ListCount(); ++i) items << combo->List(i);
    }
    QStringList texts = bench::joinedLists(std::move(lists));
    for (auto* grid : window->findChildren<forms::FlexGrid*>())
        for (int row = 1; row < grid->Rows(); ++row)
            for (int col = 0; col < grid->Cols(); ++col) texts << grid->TextMatrix(row, col);
    return texts;
}

QWidget* openThroughMenu(core::MDIFqhmz& main, const Window& window)
{
    main.menuAction(QString::fromLatin1(window.menuItem))->trigger();
    QCoreApplication::processEvents();
    QMdiSubWindow* sub = main.mdiArea()->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

// Closes the open windows as their 结束 or 退出 button does: a query window has no
// close box and refuses any other close, and the program's menus stay off while a
// working window is open, so the user never opens a second one over it.
void closeAll(core::MDIFqhmz& main)
{
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList())
        if (auto* form = qobject_cast<forms::Form*>(sub->widget())) form->Unload();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const std::vector<Window>& windows()
{
    using namespace dictionary;
    static const std::vector<Window> all = {
        {"herbs", "zycxll0", BuildHerbDicts,
         {{"SELECT ycgy FROM zyyc", "INSERT INTO ycgy(ycgy) VALUES(?1)", AddHerbEffectTerms, "ycgy"},
          {"SELECT yczz FROM zyyc", "INSERT INTO yczz(yczz) VALUES(?1)", AddHerbIndicationTerms, "yczz"}},
         {{"SELECT DISTINCT ycxw FROM zyyc ORDER BY 1 COLLATE PINYIN", 1}, {"SELECT DISTINCT ycgj FROM zyyc ORDER BY 1 COLLATE PINYIN", 1},
          {"SELECT DISTINCT ycgy FROM ycgy ORDER BY 1 COLLATE PINYIN", 3}, {"SELECT DISTINCT yczz FROM yczz ORDER BY 1 COLLATE PINYIN", 3}},
         "zyyc", "ORDER BY ycmc COLLATE PINYIN"},
        {"formulas", "zycxll1", BuildFormulaDicts,
         {{"SELECT fjgy FROM zyfj", "INSERT INTO fjgy(fjgy) VALUES(?1)", AddFormulaEffectTerms, "fjgy"},
          {"SELECT fjzz FROM zyfj", "INSERT INTO fjzz(fjzz) VALUES(?1)", AddFormulaIndicationTerms, "fjzz"},
          {"SELECT fjxd FROM zyfj", "INSERT INTO lcfj(fjlc) VALUES(?1)", AddFormulaNoteTerms, "lcfj"}},
         {{"SELECT ycmc FROM zyyc", 3}, {"SELECT fjgy FROM fjgy", 3}, {"SELECT fjzz FROM fjzz", 3},
          {"SELECT DISTINCT fjly FROM zyfj ORDER BY 1 COLLATE PINYIN", 1}, {"SELECT fjlc FROM lcfj", 3}},
         "zyfj", ""},
        {"syndromes", "zycxll2", BuildSymptomDict,
         {{"SELECT bzqk FROM zybz", "INSERT INTO bzzz(bzzz) VALUES(?1)", AddSymptomTerms, "bzzz"}},
         {{"SELECT DISTINCT bzmc FROM zybz ORDER BY 1 COLLATE PINYIN", 1}, {"SELECT bzzz FROM bzzz", 5}},
         "zybz", "ORDER BY bzmc COLLATE PINYIN, bzqk COLLATE PINYIN"},
        {"patent medicines", "ZycyCx", BuildPatentMedDicts,
         {{"SELECT cyzz FROM fjcy", "INSERT INTO Cyzz(cyzz) VALUES(?1)", AddPatentMedIndicationTerms, "Cyzz"},
          {"SELECT cygy FROM fjcy", "INSERT INTO Cygx(cygy) VALUES(?1)", AddPatentMedEffectTerms, "Cygx"}},
         {{"SELECT ycmc FROM zyyc", 3}, {"SELECT cygy FROM Cygx", 3}, {"SELECT cyzz FROM Cyzz", 3}},
         "fjcy", ""},
    };
    return all;
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    // Ten times the data first: the first opening of each window there is its first
    // opening since the program started.
    const int scales[] = {10, 1};
    std::vector<double> ours[2];   // by the order of `scales`
    for (int k = 0; k < 2; ++k) {
        const int scale = scales[k];
        WindowFixture world;
        core::MDIFqhmz& main = world.mainWindow();
        registerReferenceWindows(main);
        seed(world.environment().databasePath(), scale);
        sqlite3* plainDb = bench::openPlain(world.environment().databasePath(), true);
        for (const Window& window : windows()) {
            bench::StepClock first;
            QWidget* opened = nullptr;
            first.time([&] { opened = openThroughMenu(main, window); });
            if (!opened) {
                std::fprintf(stderr, "%s: the menu item opened no window\n", window.name);
                return 1;
            }
            const QStringList shown = shownBy(opened);
            int gridColumns = 0;
            for (auto* grid : opened->findChildren<forms::FlexGrid*>()) gridColumns = grid->Cols();
            bench::PlainWindow plain(window.dictionaries, window.lists, gridSql(plainDb, window, gridColumns),
                                     opened->size());
            closeAll(main);
            plain.open(plainDb);
            if (shown != plain.shown() || !world.messages().isEmpty()) {
                std::fprintf(stderr, "%s at %dx: the window shows %lld texts, the plain window %lld, or other texts\n",
                             window.name, scale, static_cast<long long>(shown.size()),
                             static_cast<long long>(plain.shown().size()));
                const QStringList other = plain.shown();
                for (qsizetype i = 0; i < std::min(shown.size(), other.size()); ++i)
                    if (shown[i] != other[i]) {
                        std::fprintf(stderr, "  first difference at %lld: %s | %s\n", static_cast<long long>(i),
                                     qPrintable(shown[i]), qPrintable(other[i]));
                        break;
                    }
                return 1;
            }
            const bench::Medians medians = bench::inTurnsOfSteps(
                [&](bench::StepClock& clock) {
                    clock.time([&] { openThroughMenu(main, window); });
                    closeAll(main);
                },
                [&](bench::StepClock& clock) { clock.time([&] { plain.open(plainDb); }); }, 5);
            // The rebuild alone, for where the time goes.
            const bench::Medians rebuilt = bench::inTurns(window.builder, [&] { plain.rebuild(plainDb); }, 3);
            ours[k].push_back(medians.ours);
            std::printf("%s window at %dx: opened %.1f ms, plain parts %.1f ms, ratio %.2f (limit 1.5%s; by the clock "
                        "%.2f); of which the rebuild %.1f ms, plain %.1f ms\n",
                        window.name, scale, medians.ours, medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 1.5),
                        medians.clockRatio(), rebuilt.ours, rebuilt.plain);
            if (scale == 10)
                std::printf("%s window at 10x, first opening since the start: %.1f ms (clock %.1f ms), %.2f times a "
                            "repeat's %.1f ms\n",
                            window.name, first.milliseconds(), first.clockMilliseconds(),
                            first.milliseconds() / medians.ours, medians.ours);
        }
        sqlite3_close(plainDb);
    }
    for (size_t w = 0; w < windows().size(); ++w) {
        const double growth = ours[0][w] / ours[1][w];
        std::printf("%s window from 1x to 10x: cost grows %.1f times (limit 10%s)\n", windows()[w].name, growth,
                    bench::overLimit(growth, 10));
    }
    return 0;
}
