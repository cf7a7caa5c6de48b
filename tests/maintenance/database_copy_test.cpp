// Backup and restore while another program has the database open: the backup is the
// state before or after the other program's transaction, never a mix, or it is
// refused; a restore waits for the other program and is refused with nothing changed,
// and once it runs, the other program reads the restored data from the same file.
#include "maintenance/database_copy.h"

#include "core/globals.h"
#include "core/startup.h"
#include "platform/raised.h"
#include "support/other_program.h"
#include "support/test_environment.h"

#include <QtTest>

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
};

QTEST_MAIN(DatabaseCopyTest)
#include "database_copy_test.moc"
