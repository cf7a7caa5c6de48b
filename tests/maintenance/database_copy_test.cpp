// Backup and restore while another program has the database open: the backup is the
// state before or after the other program's transaction, never a mix, or it is
// refused; a restore waits for the other program and is refused with nothing changed,
// and once it runs, the other program reads the restored data from the same file. A
// restore killed at any moment leaves the old or the new content, never a mix; a
// file keyed apart from the database is restored too.
#include "maintenance/database_copy.h"

#include "core/globals.h"
#include "core/startup.h"
#include "platform/raised.h"
#include "support/other_program.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>

class DatabaseCopyTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env_;

    QString path(const QString& name) const { return env_->windowsDir() + u'/' + name; }

    // The herbs of a copy and whether SQLite finds it sound.
    static std::pair<int, QString> herbsAndCheck(const QString& file)
    {
        dao::Database db = dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly);
        return {db.openTable("zyyc").recordCount(), db.integrityCheck(false)};
    }

    // A restore of `file` while another program has the database open; the herbs
    // both read afterwards.
    std::pair<int, int> herbsAfterRestoring(const QString& file)
    {
        OtherProgram other(env_->databasePath());
        other.run("SELECT count(*) FROM zyyc");   // its cache holds the old file
        maintenance::restoreDatabase(file);
        int theirs = -1;
        sqlite3_exec(other.handle(), "SELECT count(*) FROM zyyc",
                     [](void* count, int, char** values, char**) { *static_cast<int*>(count) = atoi(values[0]); return 0; },
                     &theirs, nullptr);
        return {env_->count("zyyc"), theirs};
    }

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnvironment>();
        env_->insert("zyyc", {"黄芪"});
        QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
    }

    void cleanup()
    {
        core::ReleaseDb();
        env_.reset();
    }

    void backupIsOneStateWhileAnotherProgramWrites()
    {
        const QString backup = path("备份.mdb");
        OtherProgram writer(env_->databasePath());
        writer.writeWithoutCommit(500);   // not yet in the file: the backup is the state before
        maintenance::backupDatabase(backup);
        QCOMPARE(herbsAndCheck(backup), std::make_pair(1, QStringLiteral("ok")));

        QCOMPARE(writer.run("ROLLBACK"), SQLITE_OK);
        writer.writeWithoutCommit(3000, true);   // pages in the file, the journal beside it
        const vb::Error busy = testing::raised([&] { maintenance::backupDatabase(backup); });
        QCOMPARE(busy.number(), 3260);
        QCOMPARE(herbsAndCheck(backup), std::make_pair(1, QStringLiteral("ok")));

        QCOMPARE(writer.run("COMMIT"), SQLITE_OK);
        maintenance::backupDatabase(backup);
        QCOMPARE(herbsAndCheck(backup), std::make_pair(3001, QStringLiteral("ok")));
    }

    void restoreWaitsForAnotherProgramAndChangesItsFileInPlace()
    {
        const QString backup = path("备份.mdb");
        maintenance::backupDatabase(backup);
        env_->insert("zyyc", {"当归"});
        OtherProgram other(env_->databasePath());
        other.writeWithoutCommit(10);
        const QByteArray before = TestEnvironment::bytesOf(env_->databasePath());
        QCOMPARE(testing::raised([&] { maintenance::restoreDatabase(backup); }).number(), 3260);
        QCOMPARE(TestEnvironment::bytesOf(env_->databasePath()), before);

        QCOMPARE(other.run("ROLLBACK"), SQLITE_OK);
        maintenance::restoreDatabase(backup);
        QCOMPARE(herbsAndCheck(env_->databasePath()), std::make_pair(1, QStringLiteral("ok")));
        QCOMPARE(env_->count("zyyc"), 1);
        QCOMPARE(other.run("INSERT INTO zyyc(ycmc) VALUES ('当归')"), SQLITE_OK);   // the other program's file is the restored one
        QCOMPARE(env_->count("zyyc"), 2);
    }

    // The pages of a backup of this database are copied as stored; a sound file keyed
    // apart (another salt, as a file made elsewhere has) goes through SQLite's pager.
    // Either way this program and another one read the restored herbs.
    void backupsAndFilesKeyedApartAreRestored()
    {
        const QString backup = path("备份.mdb"), apart = path("别处.mdb");
        maintenance::backupDatabase(backup);
        env_->insert("zyyc", {"当归"});
        data::createDatabase(apart, data::databasePassword());
        dao::Database::open(apart, data::connectText()).execute("insert into zyyc(ycmc) values ('人参')");
        dao::Database::open(apart, data::connectText()).execute("insert into zyyc(ycmc) values ('白术')");
        dao::Database::open(apart, data::connectText()).close();
        QVERIFY(maintenance::checkSystemDatabase(apart).isOpen());
        data::createDatabase(path("少表.mdb"), data::databasePassword());
        dao::Database::open(path("少表.mdb"), data::connectText())
            .executeSchema("DROP TABLE fzzl; " + TestEnvironment::herbsInsert(5000, "药材"));
        QCOMPARE(testing::raised([&] { maintenance::checkSystemDatabase(path("少表.mdb")); }).description(),
                 QStringLiteral("“少表.mdb”不是本系统的数据库文件：没有表“fzzl”。"));
        // Damaged as well: the damage is named first.
        QByteArray bytes = TestEnvironment::bytesOf(path("少表.mdb"));
        bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
        QVERIFY(TestEnvironment::writeBytes(path("少表.mdb"), bytes));
        QVERIFY(testing::raised([&] { maintenance::checkSystemDatabase(path("少表.mdb")); })
                    .description()
                    .startsWith(QStringLiteral("“少表.mdb”不是本系统的数据库文件：文件已损坏（")));
        QCOMPARE(herbsAfterRestoring(backup), std::make_pair(1, 1));
        QCOMPARE(herbsAfterRestoring(apart), std::make_pair(2, 2));
        QCOMPARE(herbsAfterRestoring(backup), std::make_pair(1, 1));
        QCOMPARE(herbsAndCheck(env_->databasePath()), std::make_pair(1, QStringLiteral("ok")));
        QVERIFY(!QFile::exists(env_->databasePath() + "-journal"));
    }

    // Killed at random moments of restores of two states in turn, the database always
    // opens whole in one of them, a valid journal a kill left played back.
    void restoreKilledAtAnyMomentLeavesOneWholeState()
    {
        maintenance::backupDatabase(path("甲.mdb"));
        env_->open().executeSchema(TestEnvironment::herbsInsert(20000, "药材", "hex(randomblob(150))", "ycgy"));
        maintenance::backupDatabase(path("乙.mdb"));
        core::ReleaseDb();
        QSet<int> seen;
        int playedBack = 0;
        for (int kill = 0; kill < 12; ++kill) {
            QProcess restorer;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("ZYQHMZ_RESTORE_WITHOUT_END", env_->windowsDir());
            restorer.setProcessEnvironment(environment);
            restorer.start(QCoreApplication::applicationFilePath(), {});
            while (restorer.waitForReadyRead(10000) && !restorer.readAllStandardOutput().contains("running")) {
            }
            QThread::msleep(QRandomGenerator::global()->bounded(50, 400));
            ::kill(static_cast<pid_t>(restorer.processId()), SIGKILL);
            QVERIFY(restorer.waitForFinished(10000));
            const QByteArray left = TestEnvironment::bytesOf(env_->databasePath() + "-journal");
            playedBack += !left.isEmpty() && left.at(0) != 0;
            env_->open().close();   // the first to open the file plays a journal left behind back
            const auto [herbs, check] = herbsAndCheck(env_->databasePath());
            QCOMPARE(check, QStringLiteral("ok"));
            QVERIFY2(herbs == 1 || herbs == 20001, qPrintable(QString::number(herbs)));
            // Played back and gone, or killed before it was valid (as SQLite leaves its own).
            const QByteArray journal = TestEnvironment::bytesOf(env_->databasePath() + "-journal");
            QVERIFY(journal.isEmpty() || journal.at(0) == 0);
            seen << herbs;
        }
        qInfo() << "states seen after the kills:" << seen << "journals played back:" << playedBack;
    }
};

// The second process of restoreKilledAtAnyMomentLeavesOneWholeState: it restores the
// two files named in turn, without end, once it has said that it runs.
static void restoreWithoutEndIfAsked()
{
    const QString windowsDir = qEnvironmentVariable("ZYQHMZ_RESTORE_WITHOUT_END");
    if (windowsDir.isEmpty()) return;
    core::WindowsDir = windowsDir;
    core::HoldDb();
    std::puts("running");
    std::fflush(stdout);
    for (int turn = 0;; ++turn) maintenance::restoreDatabase(windowsDir + (turn % 2 ? "/乙.mdb" : "/甲.mdb"));
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    restoreWithoutEndIfAsked();
    DatabaseCopyTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "database_copy_test.moc"
