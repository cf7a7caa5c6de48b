// Sharing one file and files that refuse changes: stored queries live with each
// connection (two copies of the program on one file never see each other's, and
// storing, opening and deleting them writes nothing to the file; handles to one name
// share a connection; dynasets outlive their handle), a read-only file can
// be viewed, and each refused change names its cause and the file or folder. The write
// countdown tests arm to break a save at every step fails the nth write statement with
// the layer's error, never counts reads or transaction control, and disarms itself
// once it has fired.
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/dao/fault_injector.h"
#include "platform/raised.h"
#include "support/ordinary_user.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <memory>
#include <unistd.h>

namespace {

QString firstCode(dao::Database& db, const QString& queryName)
{
    return db.openRecordset(queryName).field(0).toString();
}

// Four writes of different kinds, with reads and a transaction around them; one row stays.
void fourWrites(dao::Database& db)
{
    dao::Transaction transaction(db);
    db.execute(QStringLiteral("insert into ycgy values ('补血')"));
    db.openRecordset(QStringLiteral("select * from ycgy")).recordCount();
    dao::Recordset rs = db.openTable(QStringLiteral("ycgy"));
    rs.addNew();
    rs.setField(0, QStringLiteral("活血"));
    rs.update();
    db.execute(QStringLiteral("update ycgy set ycgy='理气' where ycgy='活血'"));
    db.execute(QStringLiteral("delete * from ycgy where ycgy='补血'"));
    transaction.commit();
}

}  // namespace

class DaoAccessTest : public QObject {
    Q_OBJECT

private slots:
    void twoCopiesOfTheProgramKeepTheirOwnStoredQueries()
    {
        TestEnvironment env;
        env.insert(QStringLiteral("ycjg"), {"A1", "当归", 1, "克", "草药"});
        env.insert(QStringLiteral("ycjg"), {"B1", "黄芪", 1, "克", "草药"});
        // A second name for the same file, so this process holds two connections to it
        // as two copies of the program would.
        const QString second = env.windowsDir() + QStringLiteral("/system/second.mdb");
        QCOMPARE(::link(QFile::encodeName(env.databasePath()).constData(), QFile::encodeName(second).constData()), 0);
        const QByteArray before = TestEnvironment::bytesOf(env.databasePath());

        dao::Database one = env.open();
        dao::Database two = dao::Database::open(second, data::connectText());
        QVERIFY(one.connection() != two.connection());
        one.createQueryDef(QStringLiteral("old"), QStringLiteral("select * from ycjg"));
        QVERIFY_THROWS_EXCEPTION(dao::Error, one.createQueryDef(QStringLiteral("OLD"), QStringLiteral("select * from ycjg")));
        one.storeAndOpen(QStringLiteral("000"), QStringLiteral("select ycbm from ycjg where ycbm='A1'"));   // drops "old"
        two.storeAndOpen(QStringLiteral("000"), QStringLiteral("select ycbm from ycjg where ycbm='B1'"));
        two.createQueryDef(QStringLiteral("0001"), QStringLiteral("select * from ycjg"));
        QCOMPARE(one.queryDefs(), QStringList{QStringLiteral("000")});
        // Another handle to the first name shares its connection and stored queries; its
        // dynaset outlives the handle and the stored query.
        dao::Recordset kept = env.open().openRecordset(QStringLiteral("000"));
        QCOMPARE(firstCode(two, QStringLiteral("000")), QStringLiteral("B1"));
        two.deleteAllQueryDefs();
        QCOMPARE(firstCode(one, QStringLiteral("000")), QStringLiteral("A1"));
        one.deleteAllQueryDefs();
        QVERIFY_THROWS_EXCEPTION(dao::Error, one.openRecordset(QStringLiteral("000")));
        QCOMPARE(kept.field(QStringLiteral("YCBM")).toString(), QStringLiteral("A1"));

        QCOMPARE(TestEnvironment::bytesOf(env.databasePath()), before);
        QVERIFY(!QFile::exists(env.databasePath() + QStringLiteral("-journal")));
    }

    // A read-only file, a folder without write permission and a full disk.
    void aRefusedChangeNamesItsCauseAndTheFileCanStillBeViewed()
    {
        const struct { const char* condition; int number; const char* says; } rows[] = {
            {"file", 3027, "是只读的"}, {"folder", 3051, "文件夹"}, {"full", 3026, "磁盘空间不足"}};
        for (const auto& row : rows) {
            const QString condition = QString::fromLatin1(row.condition);
            TestEnvironment env;
            env.insert(QStringLiteral("ycjg"), {"A1", "当归", 1, "克", "草药"});
            const QString folder = QFileInfo(env.databasePath()).absolutePath();
            const QByteArray before = TestEnvironment::bytesOf(env.databasePath());
            {
                OrdinaryUser user(env.windowsDir());
                if (condition == "file") QFile::setPermissions(env.databasePath(), QFile::ReadOwner);
                if (condition == "folder") QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                dao::Database db = env.open();
                if (condition == "full") db.executeSchema(QStringLiteral("PRAGMA max_page_count=1"));

                QCOMPARE(firstCode(db, QStringLiteral("select * from ycjg")), QStringLiteral("A1"));
                QCOMPARE(db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from ycjg")).recordCount(), 1);
                const vb::Error error = testing::raised(
                    [&] { db.execute(QStringLiteral("insert into ycjg values ('B1','%1',1,'克','草药')").arg(QString(3000, u'黄'))); });
                const QString named = QDir::toNativeSeparators(condition == "folder" ? folder : env.databasePath());
                QVERIFY2(error.number() == row.number && error.description().contains(QString::fromUtf8(row.says)) &&
                             error.description().contains(named), qPrintable(error.description()));
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
            QCOMPARE(TestEnvironment::bytesOf(env.databasePath()), before);
        }
    }

    void cleanup() { dao::WriteFault::disarm(); }

    void theNthWriteFailsOnceAndNothingIsStored()
    {
        for (int n = 1; n <= 5; ++n) {
            TestEnvironment env;
            dao::Database db = env.open();
            dao::WriteFault::arm(n);
            try {
                fourWrites(db);
                QVERIFY2(n == 5, "no write failed");   // four writes: a fifth is never reached
            } catch (const dao::Error& error) {
                QCOMPARE(error.number(), dao::WriteFault::errorNumber);
                QCOMPARE(env.count(QStringLiteral("ycgy")), 0);
                fourWrites(db);   // fired once, it lets the same writes through
            }
            QCOMPARE(dao::WriteFault::fired(), n < 5);
            QCOMPARE(env.count(QStringLiteral("ycgy")), 1);
            dao::WriteFault::disarm();
        }
    }
};

QTEST_MAIN(DaoAccessTest)
#include "dao_access_test.moc"
