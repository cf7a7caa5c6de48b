// Speed of a dictionary rebuild: BuildFormulaDicts over 2,000 formulas (effects,
// indications and clinical notes of about six terms each) through the real builder with
// its progress window, against a plain rebuild on one SQLite connection that walks the
// same texts with the same splitting rules and, in one transaction, inserts the terms
// not added yet (answered from memory, as the builder answers it) through a prepared
// statement a dictionary. Both keep the file open between runs and give the same terms
// in the same order (compared first); the sides take turns. Prints the medians and
// their ratio (limit 1.5).
#include "bench_support.h"
#include "dictionary/dictionary_builder.h"
#include "platform/forms/application.h"
#include "support/window_fixture.h"

#include <QRandomGenerator>
#include <cstdio>

namespace {
constexpr int Formulas = 2000;
constexpr int Runs = 7;

// Terms of two to five characters made from common characters of the clinic's texts.
QStringList vocabulary(QRandomGenerator& random, int size)
{
    const QString characters = QStringLiteral("清热解毒消肿散结补气养血活血化瘀祛风除湿温中健脾益肺止咳平喘安神"
                                              "疏肝理气和胃降逆利水渗湿发汗解表滋阴润燥收敛固涩头痛发热恶寒咳嗽");
    QStringList terms;
    while (terms.size() < size) {
        QString term;
        const int length = static_cast<int>(random.bounded(2, 6));
        for (int k = 0; k < length; ++k) term += characters[static_cast<int>(random.bounded(characters.size()))];
        if (!terms.contains(term)) terms << term;
    }
    return terms;
}

QString textOf(QRandomGenerator& random, const QStringList& terms, bool secondLine)
{
    QStringList picked;
    for (int k = 0; k < 6; ++k) picked << terms[static_cast<int>(random.bounded(terms.size()))];
    QString text = picked.join(QStringLiteral("，")) + QStringLiteral("。");
    if (secondLine) text += QStringLiteral("\r\n") + picked.first() + QStringLiteral("（酒炒）。");
    return text;
}

void seedFormulas(const TestEnvironment& env)
{
    QRandomGenerator random(7);
    const QStringList effects = vocabulary(random, 600), indications = vocabulary(random, 900),
                      notes = vocabulary(random, 1200);
    dao::Database db = env.open();
    dao::Transaction work(db);
    dao::Recordset formulas = db.openTable("zyfj");
    for (int i = 0; i < Formulas; ++i) {
        formulas.addNew();
        formulas.setField(0, QStringLiteral("方剂%1").arg(i));
        formulas.setField(1, QStringLiteral("人参，白术，茯苓，甘草"));
        formulas.setField(2, textOf(random, effects, false));
        formulas.setField(3, textOf(random, indications, false));
        formulas.setField(6, textOf(random, notes, true));
        formulas.setField(7, QStringLiteral("  "));
        formulas.update();
    }
    formulas.close();
    work.commit();
}

void run(sqlite3* db, const char* sql)
{
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The plain rebuild: one transaction, one prepared insert a dictionary.
void plainRebuild(sqlite3* db)
{
    run(db, "BEGIN");
    run(db, "DELETE FROM fjgy");
    run(db, "DELETE FROM fjzz");
    run(db, "DELETE FROM lcfj");
    bench::addTermsPlain(db, "SELECT fjgy FROM zyfj", "INSERT INTO fjgy(fjgy) VALUES(?1)", dictionary::AddFormulaEffectTerms);
    bench::addTermsPlain(db, "SELECT fjzz FROM zyfj", "INSERT INTO fjzz(fjzz) VALUES(?1)", dictionary::AddFormulaIndicationTerms);
    bench::addTermsPlain(db, "SELECT fjxd FROM zyfj", "INSERT INTO lcfj(fjlc) VALUES(?1)", dictionary::AddFormulaNoteTerms);
    run(db, "COMMIT");
}
}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    WindowFixture world;
    TestEnvironment& env = world.environment();
    seedFormulas(env);
    // Both sides keep the file open between runs, so no run pays for the key derivation.
    sqlite3* plainDb = bench::openPlain(env.databasePath(), true);
    dao::Database held = env.open();

    // The terms of the three dictionaries, in the order they were added.
    const auto termsNow = [plainDb] {
        QStringList all;
        for (const char* sql : {"SELECT fjgy FROM fjgy ORDER BY rowid", "SELECT fjzz FROM fjzz ORDER BY rowid",
                                "SELECT fjlc FROM lcfj ORDER BY rowid"})
            all << bench::textsOf(plainDb, sql) << QStringLiteral("--");
        return all;
    };
    plainRebuild(plainDb);
    const QStringList plainTerms = termsNow();
    dictionary::BuildFormulaDicts();
    const QStringList ourTerms = termsNow();
    if (ourTerms != plainTerms || !world.messages().isEmpty()) {
        std::fprintf(stderr, "formula dictionaries: %lld terms, the plain rebuild %lld, or not in the same order\n",
                     static_cast<long long>(ourTerms.size()), static_cast<long long>(plainTerms.size()));
        return 1;
    }

    const bench::Medians medians = bench::inTurns([] { dictionary::BuildFormulaDicts(); }, [&] { plainRebuild(plainDb); }, Runs);
    sqlite3_close(plainDb);
    std::printf("BuildFormulaDicts (%d formulas, %lld terms): builder %.1f ms, plain SQLite %.1f ms, ratio %.2f (limit 1.5%s)\n",
                Formulas, static_cast<long long>(ourTerms.size() - 3), medians.ours, medians.plain, medians.ratio(),
                bench::overLimit(medians.ratio(), 1.5));
    return 0;
}
