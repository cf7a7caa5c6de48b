// Opening database files: the failures a user can meet (missing, wrong password,
// damaged, not a database) give a clear error and change nothing on disk; closed and
// read-only handles write nothing; a held file moved, deleted or replaced is named so. (Two files with two passwords at once: the import's tests.)
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/raised.h"
#include "support/other_program.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <optional>

class DaoOpenTest : public QObject {
    Q_OBJECT

private slots:
    // A file that does not open says why (a missing one is not created), and keeps its
    // bytes: no journal is left and the right password still opens it afterwards.
    void aFileThatDoesNotOpenSaysWhyAndStaysAsItWas()
    {
        QByteArray random(64 * 1024, '\0');
        QRandomGenerator generator(20020618);
        for (char& c : random) c = static_cast<char>(generator.bounded(256));
        const struct {
            const char* file;   // "bytes": `content` written; else how it is made
            QByteArray content;
            const char* says;
            int number;         // 0: any
        } rows[] = {{"missing", {}, "找不到文件", 3024},
                    {"wrong password", {}, "密码", 0},
                    {"wrong password while open", {}, "", 3031},
                    {"plain", {}, "不是加密", 0},
                    {"bytes", random, "密码", 0},   // whole pages of random bytes: indistinguishable
                    {"bytes", random.left(5000), "损坏", 0},
                    {"bytes", "病案号,姓名\n001,王某\n", "损坏", 0},
                    {"bytes", {}, "空", 0}};
        for (const auto& row : rows) {
            const QString file = QString::fromLatin1(row.file);
            TestEnvironment env;
            QString path = env.windowsDir() + QStringLiteral("/damaged.mdb"), connect = data::connectText();
            std::optional<dao::Database> held;
            if (file == "bytes") QVERIFY(TestEnvironment::writeBytes(path, row.content));
            if (file == "plain") dao::Database::create(path, QString()).executeSchema(QStringLiteral("CREATE TABLE t (a TEXT)"));
            if (file.startsWith("wrong password")) {
                path = env.databasePath();
                connect = QStringLiteral(";pwd=WrongPassword12");
                if (file.endsWith("open")) held = env.open();
            }
            const QByteArray before = TestEnvironment::bytesOf(path);
            const vb::Error error = testing::raised([&] { dao::Database::open(path, connect); });
            QVERIFY2(error.number() != 0 && error.description().contains(QString::fromUtf8(row.says)), qPrintable(error.description()));
            if (row.number) QCOMPARE(error.number(), row.number);
            QCOMPARE(QFile::exists(path), file != "missing");
            if (file == "bytes" || file.startsWith("wrong")) QCOMPARE(TestEnvironment::bytesOf(path), before);
            QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
            if (file.startsWith("wrong")) QVERIFY(env.open().isOpen());
        }
    }

    void damagedPagesInsideTheFileAreAnError()
    {
        // Whole pages, each with one byte changed after the first page: the open or
        // the first read that meets such a page says the file is damaged.
        TestEnvironment env;
        {
            dao::Database db = env.open();
            dao::Transaction transaction(db);
            for (int i = 0; i < 400; ++i)
                db.execute(QStringLiteral("insert into zyyc (ycmc, ycgy) values ('草药%1', '补血，活血，调经止痛')").arg(i));
            transaction.commit();
        }
        QByteArray content = TestEnvironment::bytesOf(env.databasePath());
        for (qsizetype page = 1024; page < content.size(); page += 1024) content[page + 512] = char(content[page + 512] ^ 0x5a);
        QVERIFY(TestEnvironment::writeBytes(env.databasePath(), content));
        const vb::Error error = testing::raised([&] { env.open().openRecordset(QStringLiteral("select ycmc from zyyc")); });
        QVERIFY2(error.description().contains(QStringLiteral("损坏")), qPrintable(error.description()));
        QCOMPARE(TestEnvironment::bytesOf(env.databasePath()), content);
    }

    // A held file that leaves its place is named so at the next open or write, before
    // anything is written; a journal of an unfinished transaction beside a file opened
    // for reading is named too.
    void aMovedFileOrAnUnfinishedJournalIsNamed()
    {
        for (const QString& change : {"deleted", "moved away", "replaced", "written after deletion", "journal"}) {
            TestEnvironment env;
            const QString live = env.databasePath();
            const QString other = env.windowsDir() + QStringLiteral("/other.mdb");
            QVERIFY(QFile::copy(live, other));
            dao::Database held = env.open();
            if (change == "journal") {
                OtherProgram writer(live);
                writer.writeWithoutCommit(3000, true);
                QVERIFY(QFile::exists(live + "-journal"));
                QFile::remove(other);
                QVERIFY(QFile::copy(live, other) && QFile::copy(live + "-journal", other + "-journal"));
                const vb::Error error = testing::raised([&] { dao::Database::open(other, data::connectText(), dao::Database::Access::ReadOnly); });
                QVERIFY(QFile::exists(other + "-journal"));
                QVERIFY2(error.description().contains(QStringLiteral("未完成事务的日志")), qPrintable(error.description()));
                continue;
            }
            if (change == "moved away") QVERIFY(QFile::rename(live, live + ".moved"));
            else if (change == "replaced") QVERIFY(::rename(QFile::encodeName(other), QFile::encodeName(live)) == 0);
            else QVERIFY(QFile::remove(live));
            const QByteArray left = QFile::exists(live) ? TestEnvironment::bytesOf(live) : QByteArray();
            const vb::Error error = change.startsWith("written") ? testing::raised([&] { held.execute("insert into ycgy values ('补血')"); })
                                                 : testing::raised([&] { env.open(); });
            QVERIFY2(error.description().contains(QStringLiteral("已被移走、删除或换成了别的文件")), qPrintable(error.description()));
            QCOMPARE(QFile::exists(live) ? TestEnvironment::bytesOf(live) : QByteArray(), left);
        }
    }

    // A closed handle is an error, not a crash. A file opened read-only can't be written
    // through its handle and keeps its bytes.
    // Opening waits for another program's commit, as every later read does, instead of
    // reporting the file busy at once.
    void openingWaitsForAnotherProgramsCommit()
    {
        TestEnvironment env;
        const QString path = env.windowsDir() + QStringLiteral("/other.mdb");
        data::createDatabase(path, data::databasePassword());
        QProcess holder;
        OtherProgram::holdWriteLockInChild(holder, path, 2000);
        QElapsedTimer waited;
        waited.start();
        dao::Database db = dao::Database::open(path, data::connectText());
        QVERIFY2(waited.elapsed() >= 1000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(db.openTable(QStringLiteral("zyyc")).recordCount(), 0);
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitCode(), 0);
    }

    void closedAndReadOnlyHandlesWriteNothing()
    {
        TestEnvironment env;
        {
            dao::Database db = env.open();
            db.close();
            db.close();
            QVERIFY_THROWS_EXCEPTION(dao::Error, db.openTable(QStringLiteral("ycjg")));
            QVERIFY_THROWS_EXCEPTION(dao::Error, dao::Recordset().moveNext());
        }
        const QByteArray before = TestEnvironment::bytesOf(env.databasePath());
        {
            dao::Database reader = dao::Database::open(env.databasePath(), data::connectText(), dao::Database::Access::ReadOnly);
            QCOMPARE(reader.openTable(QStringLiteral("ycgy")).recordCount(), 0);
            QCOMPARE(testing::raised([&] { reader.execute(QStringLiteral("insert into ycgy values ('补血')")); }).number(), 3027);
        }
        QCOMPARE(TestEnvironment::bytesOf(env.databasePath()), before);
    }
};

// Also the second process of openingWaitsForAnotherProgramsCommit.
int main(int argc, char** argv)
{
    OtherProgram::holdWriteLockIfAsked();
    QApplication application(argc, argv);
    DaoOpenTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "dao_open_test.moc"
