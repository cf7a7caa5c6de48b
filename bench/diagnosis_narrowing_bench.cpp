// Speed of the diagnosis query window's narrowing: a pick in its name box over 1,500
// syndromes, a third of them bearing the picked name, runs `seekbzmc` through the
// window (the stored query, the refill of `bzzz` in one transaction under the progress
// window, the pick lists re-read and the grid refilled with the matching syndromes),
// against a plain refill on one SQLite connection that selects the same symptom texts,
// splits them with the same rules and, in one transaction, inserts the terms not added
// yet (answered from memory, as the window answers it) through a prepared statement.
// Both keep the file open between runs and give the same terms in the same order
// (compared first); the sides take turns. Prints the medians and their ratio (limit 1.5).
#include "bench_support.h"
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

// The plain refill: the matching texts, one transaction, a prepared insert of the terms
// not added yet.
void plainRefill(sqlite3* db)
{
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "DELETE FROM bzzz", nullptr, nullptr, nullptr);
    bench::addTermsPlain(db, "SELECT bzqk FROM zybz WHERE bzmc LIKE '*脾胃虚弱*'", "INSERT INTO bzzz(bzzz) VALUES(?1)",
                         dictionary::AddSymptomTerms);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
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
    plainRefill(plainDb);
    const QStringList plainTerms = termsNow();
    pick();
    const QStringList ourTerms = termsNow();
    if (ourTerms != plainTerms || !world.messages().isEmpty()) {
        std::fprintf(stderr, "narrowed dictionary: %lld terms, the plain refill %lld, or not in the same order\n",
                     static_cast<long long>(ourTerms.size()), static_cast<long long>(plainTerms.size()));
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
        [&](bench::StepClock& clock) { clock.time([&] { plainRefill(plainDb); }); }, Runs);
    sqlite3_close(plainDb);
    // The pick also shows and closes the progress window, re-reads the five pick lists
    // and refills the grid, which the plain refill does not.
    std::printf("seekbzmc (%d syndromes, %d matching, %lld terms): window %.1f ms, plain SQLite %.1f ms, ratio %.2f "
                "(limit 1.5%s)\n",
                Syndromes, Syndromes / 3, static_cast<long long>(ourTerms.size()), medians.ours, medians.plain,
                medians.ratio(), bench::overLimit(medians.ratio(), 1.5));
    return 0;
}
