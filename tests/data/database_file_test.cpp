// The database format as shipped: the file is encrypted, opens only with the system's
// password, holds every described table with its columns in order and its named
// indexes, and needs nothing but SQLCipher to be checked, read and written, empty or filled.
#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "data/schema.h"
#include "platform/dao/dao.h"
#include "platform/raised.h"
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
    // Every described table is in the file, empty, with its columns in their order; each
    // named index is there, and a unique one refuses a second row with the same key.
    void everyTableAndIndexAsDescribed()
    {
        TestEnvironment env;
        dao::Database db = env.open();
        for (const data::Table& table : data::tables()) {
            dao::Recordset rs = db.openTable(table.name);
            QStringList names, described;
            for (int i = 0; i < rs.fieldCount(); ++i) names << rs.fieldName(i);
            for (const data::Column& column : table.columns) described << column.name;
            QCOMPARE(names, described);
            QCOMPARE(rs.recordCount(), 0);
            for (const data::Index& index : table.indexes) {
                dao::Recordset seeker = db.openTable(table.name);
                seeker.setIndex(index.name);   // throws when the table lacks it
                for (int copy = 0; copy < 2; ++copy) {
                    seeker.addNew();
                    for (int c = 0; c < seeker.fieldCount(); ++c)
                        if (table.columns[c].type != data::Column::Type::Bytes) seeker.setField(c, QString::number(c == 0 ? 2 : 1));
                    const bool refused = testing::raised([&] { seeker.update(); }).number() != 0;
                    QVERIFY2(refused == (index.unique && copy == 1), qPrintable(table.name + u'.' + index.name));
                }
                db.execute(QStringLiteral("delete * from ") + table.name);
            }
        }
    }

    // The shipped file is encrypted (no plain header, another key refused) and opens
    // through SQLCipher alone, empty or filled.
    void theFileIsEncryptedAndNeedsNothingButSqlcipher()
    {
        TestEnvironment shipped;
        QVERIFY(!TestEnvironment::bytesOf(shipped.databasePath()).startsWith("SQLite format 3"));
        QVERIFY_THROWS_EXCEPTION(dao::Error, dao::Database::open(shipped.databasePath(), data::importConnectText()));
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
};

QTEST_MAIN(DatabaseFileTest)
#include "database_file_test.moc"
