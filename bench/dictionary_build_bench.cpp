// Speed of a dictionary rebuild: BuildFormulaDicts over 2,000 formulas (effects,
// indications and clinical notes of about six terms each) through the real builder with
// its progress window, against a plain rebuild on one SQLite connection that walks the
// same texts with the same splitting rules and, in one transaction, looks each term up
// and inserts the new ones through prepared statements (a look-up and an insert a
// dictionary: faster than a single INSERT ... WHERE NOT EXISTS, so the stricter
// baseline). Both keep the file open between runs. Prints the medians of warmed-up
// runs and their ratio (at most 1.5).
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

// The plain rebuild: one transaction, one prepared look-up and insert a dictionary.
void plainRebuild(sqlite3* db)
{
    run(db, "BEGIN");
    run(db, "DELETE FROM fjgy");
    run(db, "DELETE FROM fjzz");
    run(db, "DELETE FROM lcfj");
    bench::addTermsPlain(db, "SELECT fjgy FROM zyfj", "SELECT 1 FROM fjgy WHERE fjgy=?1", "INSERT INTO fjgy(fjgy) VALUES(?1)",
                         dictionary::AddFormulaEffectTerms);
    bench::addTermsPlain(db, "SELECT fjzz FROM zyfj", "SELECT 1 FROM fjzz WHERE fjzz=?1", "INSERT INTO fjzz(fjzz) VALUES(?1)",
                         dictionary::AddFormulaIndicationTerms);
    bench::addTermsPlain(db, "SELECT fjxd FROM zyfj", "SELECT 1 FROM lcfj WHERE fjlc=?1", "INSERT INTO lcfj(fjlc) VALUES(?1)",
                         dictionary::AddFormulaNoteTerms);
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

    plainRebuild(plainDb);
    const int plainTerms = env.count("fjgy") + env.count("fjzz") + env.count("lcfj");
    dictionary::BuildFormulaDicts();
    const int ourTerms = env.count("fjgy") + env.count("fjzz") + env.count("lcfj");
    if (ourTerms != plainTerms || !world.messages().isEmpty()) {
        std::fprintf(stderr, "formula dictionaries: %d terms, the plain rebuild %d\n", ourTerms, plainTerms);
        return 1;
    }

    std::vector<double> ours, plain;
    for (int run = 0; run < Runs; ++run) {
        ours.push_back(bench::millisecondsOf([] { dictionary::BuildFormulaDicts(); }));
        plain.push_back(bench::millisecondsOf([&] { plainRebuild(plainDb); }));
    }
    sqlite3_close(plainDb);
    const double ratio = bench::medianOfWarmed(ours) / bench::medianOfWarmed(plain);
    std::printf("BuildFormulaDicts (%d formulas, %d terms): builder %.1f ms, plain SQLite %.1f ms, ratio %.2f (at most 1.5)\n",
                Formulas, ourTerms, bench::medianOfWarmed(ours), bench::medianOfWarmed(plain), ratio);
    return ratio <= 1.5 ? 0 : 1;
}
