// Speed of the diagnosis query window's narrowing: a pick in its name box over 1,500
// syndromes, a third of them bearing the picked name, runs `seekbzmc` through the
// window (the stored query, the refill of `bzzz` in one transaction under the progress
// window, the five symptom pick lists re-read and the grid refilled with the matching
// syndromes), against what a plain Qt program does to show the same: on one SQLite
// connection it selects the matching symptom texts, splits them with the same rules
// and, in one transaction, inserts the terms not added yet (answered from memory)
// through a prepared statement; then it refills the one string list model its five
// combo boxes share and the plain table model of its table view, each from a prepared
// statement, and lets the window show them (plain_window.h). Both keep the file open
// between runs and show the same terms, lists and cells (compared first); the sides
// take turns. Prints the medians of processor time and their ratio (limit 1.5), and
// the clock's ratio beside it.
#include "bench_support.h"
#include "plain_window.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/application.h"
#include "platform/forms/datacontrol.h"
#include "reference/diagnosis_query.h"
#include "support/window_fixture.h"

#include <QRandomGenerator>
#include <cstdio>

namespace {
constexpr int Syndromes = 1500;
constexpr int Runs = 31;
const char* const Names[] = {"脾胃虚弱", "肝郁气滞", "肾阳不足"};

// Symptom texts of six terms from a vocabulary of 400 terms of two to four characters.
void seedSyndromes(const TestEnvironment& env)
{
    QRandomGenerator random(11);
    const QString characters = QStringLiteral("乏力食少便溏腹胀痛畏寒肢冷胁肋胀满嗳气头晕目眩耳鸣腰膝酸软心悸失眠");
    QStringList terms;
    while (terms.size() < 400) {
        QString term;
        for (int k = 0, length = static_cast<int>(random.bounded(2, 5)); k < length; ++k)
            term += characters[static_cast<int>(random.bounded(characters.size()))];
        if (!terms.contains(term)) terms << term;
    }
    dao::Database db = env.open();
    dao::Transaction work(db);
    dao::Recordset syndromes = db.openTable("zybz");
    for (int i = 0; i < Syndromes; ++i) {
        QStringList picked;
        for (int k = 0; k < 6; ++k) picked << terms[static_cast<int>(random.bounded(terms.size()))];
        syndromes.addNew();
        syndromes.setField(0, QString::fromUtf8(Names[i % 3]) + QString::number(i));
        syndromes.setField(1, picked.join(QStringLiteral("，")) + QStringLiteral("。"));
        syndromes.setField(2, QStringLiteral("久病"));
        syndromes.setField(3, QStringLiteral("调治"));
        syndromes.update();
    }
    syndromes.close();
    work.commit();
}

// The plain window: the dictionary refilled from the matching texts, its terms in the
// five combo boxes, the matching syndromes in the table view.
bench::PlainWindow plainWindow(const QSize& size)
{
    return bench::PlainWindow(
        {{"SELECT bzqk FROM zybz WHERE bzmc LIKE '%脾胃虚弱%'", "INSERT INTO bzzz(bzzz) VALUES(?1)",
          dictionary::AddSymptomTerms, "bzzz"}},
        {{"SELECT bzzz FROM bzzz", 5}},
        "SELECT bzmc, bzqk, bzcy, zlcs FROM zybz WHERE bzmc LIKE '%脾胃虚弱%' "
        "ORDER BY bzmc COLLATE PINYIN, bzqk COLLATE PINYIN",
        size);
}

// The window's five symptom lists (as the plain window joins them), then its grid's
// cells row by row.
QStringList shownBy(const reference::Frmzyzdll& window)
{
    std::vector<QStringList> lists;
    for (int k = 0; k < 5; ++k) {
        QStringList& items = lists.emplace_back();
        for (int i = 0; i < window.Dbobzzz(k)->ListCount(); ++i) items << window.Dbobzzz(k)->List(i);
    }
    QStringList texts = bench::joinedLists(std::move(lists));
    const forms::FlexGrid& grid = *window.MSFGridzyzd;
    for (int row = 1; row < grid.Rows(); ++row)
        for (int col = 0; col < grid.Cols(); ++col) texts << grid.TextMatrix(row, col);
    return texts;
}
}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    WindowFixture world;
    TestEnvironment& env = world.environment();
    seedSyndromes(env);
    sqlite3* plainDb = bench::openPlain(env.databasePath(), true);
    dao::Database held = env.open();
    auto* window = world.open<reference::Frmzyzdll>(QStringLiteral("zycxll2"));
    // The user picks the name in its box; what is timed is the window's answer to the
    // pick, from its click to the narrowed lists and grid.
    window->Dbobzmc->SetFocus();
    const auto pickName = [window] { window->Dbobzmc->setText(QStringLiteral("脾胃虚弱")); };
    const auto answer = [window] { window->Dbobzmc->Click(); };
    const auto pick = [&] {
        pickName();
        answer();
    };

    const auto termsNow = [plainDb] { return bench::textsOf(plainDb, "SELECT bzzz FROM bzzz ORDER BY rowid"); };
    bench::PlainWindow plain = plainWindow(window->size());
    plain.open(plainDb);
    const QStringList plainTerms = termsNow(), plainShown = plain.shown();
    pick();
    const QStringList ourTerms = termsNow(), ourShown = shownBy(*window);
    if (ourTerms != plainTerms || ourShown != plainShown || !world.messages().isEmpty()) {
        std::fprintf(stderr, "narrowed dictionary: %lld terms, the plain refill %lld; lists and grid: %lld texts, the plain "
                     "window %lld; or not the same\n",
                     static_cast<long long>(ourTerms.size()), static_cast<long long>(plainTerms.size()),
                     static_cast<long long>(ourShown.size()), static_cast<long long>(plainShown.size()));
        return 1;
    }

    // Each timed run follows an untimed one of its own side: the other side's commit
    // empties a connection's page cache, which never happens to the program, the only
    // writer of its file, between two picks.
    const bench::Medians medians = bench::inTurnsOfSteps(
        [&](bench::StepClock& clock) {
            pickName();
            clock.time(answer);
        },
        [&](bench::StepClock& clock) { clock.time([&] { plain.open(plainDb); }); }, Runs);
    sqlite3_close(plainDb);
    std::printf("seekbzmc (%d syndromes, %d matching, %lld terms): window %.2f ms, plain window %.2f ms, ratio %.2f "
                "(limit 1.5%s; by the clock %.2f)\n",
                Syndromes, Syndromes / 3, static_cast<long long>(ourTerms.size()), medians.ours, medians.plain,
                medians.ratio(), bench::overLimit(medians.ratio(), 1.5), medians.clockRatio());
    return 0;
}
