// The database format as shipped: the file is encrypted, opens only with the system's
// password, holds every table with its columns in the order the windows address them
// and the named indexes they seek on, and needs nothing but SQLCipher to be checked,
// read and written, empty or filled.
#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "data/schema.h"
#include "platform/dao/dao.h"
#include "support/test_environment.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QtTest>

namespace {

// A value for every column of `table`, Chinese and mixed-case texts, unique by `n`.
void fillRow(dao::Recordset& rs, const data::Table& table, int n)
{
    rs.addNew();
    for (size_t c = 0; c < table.columns.size(); ++c) {
        const auto ordinal = static_cast<int>(c);
        switch (table.columns[c].type) {
        case data::Column::Type::Text: rs.setField(ordinal, QStringLiteral("当归Ab%1").arg(n)); break;
        case data::Column::Type::Number: rs.setField(ordinal, n + 0.5); break;
        case data::Column::Type::Date: rs.setField(ordinal, QDate(2024, 3, n % 28 + 1)); break;
        case data::Column::Type::Bytes: rs.setFieldBytes(ordinal, QByteArray(n, 'x')); break;
        }
    }
    rs.update();
}

// The file through SQLCipher alone (no collation or function of ours registered): the
// first error, or an empty text when every statement ran.
QString plainCheck(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    QString failure;
    auto run = [&](const QString& sql, const char* expected) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        while ((rc == SQLITE_OK || rc == SQLITE_ROW) && (rc = sqlite3_step(stmt)) == SQLITE_ROW)
            if (expected && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), expected) != 0)
                failure = sql + QStringLiteral(": ") + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        if (rc != SQLITE_DONE && failure.isEmpty()) failure = sql + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
    };
    run(QStringLiteral("PRAGMA integrity_check"), "ok");
    for (const data::Table& table : data::tables()) {
        const QString name = u'"' + table.name + u'"';
        run(QStringLiteral("SELECT * FROM %1 WHERE %2 > 'a' ORDER BY 1").arg(name, table.columns[0].name), nullptr);
        QStringList values;
        for (const data::Column& column : table.columns)
            values << (column.type == data::Column::Type::Number ? QStringLiteral("7") : QStringLiteral("'技术员%1'").arg(column.name));
        run(QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(name, values.join(u',')), nullptr);
    }
    run(QStringLiteral("PRAGMA integrity_check"), "ok");
    sqlite3_close(db);
    return failure;
}

}  // namespace

class DatabaseFileTest : public QObject {
    Q_OBJECT

private slots:
    void passwordsAndConnectTexts()
    {
        QCOMPARE(data::databasePassword().size(), 18);
        QCOMPARE(data::importPassword().size(), 19);
        QVERIFY(data::databasePassword() != data::importPassword());
        QCOMPARE(data::connectText(), QStringLiteral(";pwd=") + data::databasePassword());
    }

    void pathUnderTheWindowsFolder()
    {
        QCOMPARE(data::databasePath(QStringLiteral("/tmp/win")), QStringLiteral("/tmp/win/system/zyqhmz.mdb"));
    }

    void theShippedFileIsEncrypted()
    {
        QFile shipped(QStringLiteral(ZYQHMZ_SHIPPED_DB));
        QVERIFY2(shipped.open(QIODevice::ReadOnly), "the build makes the shipped database");
        const QByteArray head = shipped.read(16);
        QVERIFY(!head.startsWith("SQLite format 3"));
        QVERIFY_THROWS_EXCEPTION(dao::Error, dao::Database::open(shipped.fileName(), data::importConnectText()));
    }

    void everyTableWithItsColumnsInOrder_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("ycjg") << "ycjg" << "ycbm ycmc ycdj jldw yplb";
        QTest::newRow("ycyltb") << "ycyltb" << "ycbm rksl rkje ycyl";
        QTest::newRow("yccrtb") << "yccrtb" << "crsj ycbm ywzy yccd ycly ywph yxqx blhm blks rksl rkje cksl ckje xsje jbxm bgxm";
        QTest::newRow("ycgy") << "ycgy" << "ycgy";
        QTest::newRow("yczz") << "yczz" << "yczz";
        QTest::newRow("fjgy") << "fjgy" << "fjgy";
        QTest::newRow("fjzz") << "fjzz" << "fjzz";
        QTest::newRow("lcfj") << "lcfj" << "fjlc";
        QTest::newRow("bzzz") << "bzzz" << "bzzz";
        QTest::newRow("Cygx") << "cygx" << "cygy";
        QTest::newRow("Cyzz") << "CYZZ" << "cyzz";
        QTest::newRow("zyyc") << "zyyc" << "ycmc ycgj ycxw ycgy yczz ycyf ycyj ycxd dlxm";
        QTest::newRow("zyfj") << "zyfj" << "fjmc fjgc fjgy fjzz fjyf fjly fjxd dlxm";
        QTest::newRow("zybz") << "zybz" << "bzmc bzqk bzcy zlcs dlxm";
        QTest::newRow("fjcy") << "fjcy" << "cymc cygc cygy cyzz cyyf cyxd dlxm";
        QTest::newRow("ylsy") << "ylsy" << "symc syyt syjl syzy syxd dlxm sylb";
        QTest::newRow("hzblzl") << "hzblzl" << "blbm blxm blxb blnl blzy bldw blhf bldz blte mail blsj bljz blxd zldl";
        QTest::newRow("hzzdzl") << "hzzdzl" << "blbm blkb blsj bzxy bzmb bzhx bzqk blfa blcf blsx fzsj zdys";
        QTest::newRow("fzzl") << "fzzl" << "blbm blkb blsj blfz zdys";
        QTest::newRow("xtzlqk") << "xtzlqk" << "xt001 xt002 xt003 xt004 xt005 xt006 xt007 xt008";
        QTest::newRow("yckpass") << "yckpass" << "passuser passwods passpids";
    }

    void everyTableWithItsColumnsInOrder()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        TestEnvironment env;
        dao::Database db = env.open();
        dao::Recordset rs = db.openTable(table);
        QStringList names;
        for (int i = 0; i < rs.fieldCount(); ++i) names << rs.fieldName(i);
        QCOMPARE(names.join(u' '), columns);
        QCOMPARE(rs.recordCount(), 0);
    }

    void everyNamedIndex_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("index");
        QTest::addColumn<bool>("unique");
        const struct { const char* table; const char* index; bool unique; } indexes[] = {
            {"ycjg", "ycbmi", true}, {"ycjg", "ycmci", true}, {"ycyltb", "ycyli", true},
            {"ycgy", "ycgyi", false}, {"yczz", "yczzi", false}, {"fjgy", "fjgyi", false},
            {"fjzz", "fjzzi", false}, {"lcfj", "fjlci", false}, {"bzzz", "bzzzi", false},
            {"Cygx", "cygxi", false}, {"Cyzz", "cyzzi", false}, {"zyyc", "ycmci", true},
            {"zyfj", "fjmci", true}, {"zybz", "zybzi", true}, {"fjcy", "cymci", true},
            {"ylsy", "symci", true}, {"hzblzl", "blbmi", true}, {"hzzdzl", "zdbmi", true},
            {"fzzl", "blbmi", true}, {"yckpass", "passuseri", true}};
        for (const auto& i : indexes)
            QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(i.table, i.index))) << i.table << i.index << i.unique;
    }

    void everyNamedIndex()
    {
        QFETCH(QString, table);
        QFETCH(QString, index);
        QFETCH(bool, unique);
        TestEnvironment env;
        dao::Database db = env.open();
        dao::Recordset rs = db.openTable(table);
        rs.setIndex(index);                       // throws when the table lacks it
        rs.seek(QStringLiteral("="), QStringLiteral("无此键"));
        QVERIFY(rs.noMatch());

        // A unique index refuses a second row with the same key.
        const data::Table* description = data::findTable(table);
        QVERIFY(description);
        for (int copy = 0; copy < 2; ++copy) {
            rs.addNew();
            for (int c = 0; c < rs.fieldCount(); ++c)
                if (description->columns[c].type != data::Column::Type::Bytes) rs.setField(c, c == 0 ? QStringLiteral("2") : QStringLiteral("1"));
            bool refused = false;
            try {
                rs.update();
            } catch (const dao::Error&) {
                refused = true;
            }
            QCOMPARE(refused, unique && copy == 1);
        }
    }

    void theFileNeedsNothingButSqlcipher()
    {
        TestEnvironment shipped;
        QCOMPARE(plainCheck(shipped.databasePath()), QString());

        TestEnvironment filled;
        {
            dao::Database db = filled.open();
            dao::Transaction transaction(db);
            for (const data::Table& table : data::tables()) {
                dao::Recordset rs = db.openTable(table.name);
                for (int n = 1; n <= 30; ++n) fillRow(rs, table, n);
            }
            transaction.commit();
        }
        QCOMPARE(plainCheck(filled.databasePath()), QString());
        dao::Database db = filled.open();   // and our layer reads what the plain writer stored
        QCOMPARE(db.openRecordset(QStringLiteral("select ycbm from ycjg where ycbm='技术员ycbm'")).recordCount(), 1);
    }

    void creatingOverAnExistingFileIsRefused()
    {
        TestEnvironment env;
        const QFileInfo before(env.databasePath());
        QVERIFY_THROWS_EXCEPTION(dao::Error, data::createDatabase(env.databasePath(), data::databasePassword()));
        QCOMPARE(QFileInfo(env.databasePath()).size(), before.size());
        QVERIFY(env.open().isOpen());
    }
};

QTEST_MAIN(DatabaseFileTest)
#include "database_file_test.moc"
