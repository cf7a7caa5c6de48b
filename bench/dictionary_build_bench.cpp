// Speed of a dictionary rebuild: BuildFormulaDicts over 2,000 formulas (effects,
// indications and clinical notes of about six terms each) through the real builder with
// its progress window, against a plain rebuild on one SQLite connection that walks the
// same texts with the same splitting rules and, in one transaction, looks each term up
// and inserts the new ones through prepared statements (a look-up and an insert a
// dictionary: faster than a single INSERT ... WHERE NOT EXISTS, so the stricter
// baseline). Both keep the file open between runs. Prints the medians of warmed-up
// runs and their ratio (at most 1.5).
#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "dictionary/dictionary_builder.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/dialect.h"
#include "support/window_fixture.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

sqlite3* openPlain(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    dao::dialect::registerOn(db);
    return db;
}

// The plain rebuild: one transaction, one prepared look-up and insert a dictionary.
void plainRebuild(sqlite3* db)
{
    run(db, "BEGIN");
    run(db, "DELETE FROM fjgy");
    run(db, "DELETE FROM fjzz");
    run(db, "DELETE FROM lcfj");
    struct Pass {
        const char* source;
        const char* find;
        const char* insert;
        const dictionary::TermSplitter& splitter;
    };
    const Pass passes[] = {
        {"SELECT fjgy FROM zyfj", "SELECT 1 FROM fjgy WHERE fjgy=?1", "INSERT INTO fjgy(fjgy) VALUES(?1)",
         dictionary::AddFormulaEffectTerms},
        {"SELECT fjzz FROM zyfj", "SELECT 1 FROM fjzz WHERE fjzz=?1", "INSERT INTO fjzz(fjzz) VALUES(?1)",
         dictionary::AddFormulaIndicationTerms},
        {"SELECT fjxd FROM zyfj", "SELECT 1 FROM lcfj WHERE fjlc=?1", "INSERT INTO lcfj(fjlc) VALUES(?1)",
         dictionary::AddFormulaNoteTerms},
    };
    for (const Pass& pass : passes) {
        sqlite3_stmt* source = nullptr;
        sqlite3_stmt* insert = nullptr;
        sqlite3_stmt* find = nullptr;
        sqlite3_prepare_v2(db, pass.find, -1, &find, nullptr);
        sqlite3_prepare_v2(db, pass.source, -1, &source, nullptr);
        sqlite3_prepare_v2(db, pass.insert, -1, &insert, nullptr);
        while (sqlite3_step(source) == SQLITE_ROW) {
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(source, 0)));
            for (const QString& term : pass.splitter.terms(text)) {
                const QByteArray bytes = term.toUtf8();
                sqlite3_bind_text(find, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                const bool found = sqlite3_step(find) == SQLITE_ROW;
                sqlite3_reset(find);
                if (found) continue;
                sqlite3_bind_text(insert, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                sqlite3_step(insert);
                sqlite3_reset(insert);
            }
        }
        sqlite3_finalize(source);
        sqlite3_finalize(insert);
        sqlite3_finalize(find);
    }
    run(db, "COMMIT");
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    WindowFixture world;
    TestEnvironment& env = world.environment();
    seedFormulas(env);
    // Both sides keep the file open between runs, so no run pays for the key derivation.
    sqlite3* plainDb = openPlain(env.databasePath());
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
        ours.push_back(milliseconds([] { dictionary::BuildFormulaDicts(); }));
        plain.push_back(milliseconds([&] { plainRebuild(plainDb); }));
    }
    sqlite3_close(plainDb);
    const double ratio = median(ours) / median(plain);
    std::printf("BuildFormulaDicts (%d formulas, %d terms): builder %.1f ms, plain SQLite %.1f ms, ratio %.2f (at most 1.5)\n",
                Formulas, ourTerms, median(ours), median(plain), ratio);
    return ratio <= 1.5 ? 0 : 1;
}
