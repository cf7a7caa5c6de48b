// Backup and restore of the database file: a backup restored gives the same records;
// a restore from anything but a database of this system, or from the live file, and
// a backup onto the live file are refused; a full disk or a failed flush leaves the
// target whole; the free-space check asks about the receiving filesystem.
#include "maintenance/database_copy.h"

#include "core/globals.h"
#include "data/database_file.h"
#include "platform/win/disk.h"
#include "platform/win/filecopy.h"
#include "support/test_environment.h"

#include <QFile>
#include <QtTest>

#include <unistd.h>

class DatabaseCopyTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env_;

    QString path(const QString& name) const { return env_->windowsDir() + u'/' + name; }

    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs `work` and returns the number of the error it raised (0: none).
    static int errorOf(const std::function<void()>& work)
    {
        try {
            work();
        } catch (const vb::Error& error) {
            return error.number();
        }
        return 0;
    }

    // A database file of the system's format at `file`, keyed with `password`, with
    // `schema` run on it afterwards.
    static void makeDatabase(const QString& file, const QString& password, const QString& schema = {})
    {
        data::createDatabase(file, password);
        if (!schema.isEmpty()) dao::Database::open(file, QStringLiteral(";pwd=") + password).executeSchema(schema);
    }

private slots:
    // The program's world: its Windows folder, and its database held for the run.
    void init()
    {
        env_ = std::make_unique<TestEnvironment>();
        env_->insert("zyyc", {"黄芪", "脾、肺经"});
        core::WindowsDir = env_->windowsDir();
        core::HoldDb();
    }

    void cleanup()
    {
        core::ReleaseDb();
        win::setCopyByteLimit(std::nullopt);
        win::setCopyFlushFails(false);
        win::setDiskFreeSpaceHook({});
        env_.reset();
    }

    // Read through the program's held connection, which the restore reopened.
    void backupThenRestoreGivesTheSameRecords()
    {
        maintenance::backupDatabase(path("备份.mdb"));
        env_->insert("zyyc", {"当归", "肝经"});
        maintenance::restoreDatabase(path("备份.mdb"));
        dao::Database db = core::OpenDb();
        dao::Recordset herbs = db.openTable("zyyc");
        QCOMPARE(herbs.recordCount(), 1);
        QCOMPARE(herbs.field(0).toString(), QStringLiteral("黄芪"));
    }

    void restoreRefusesWhatIsNotThisSystemsDatabase_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<int>("number");
        QTest::newRow("plain file") << "plain" << 3343;
        QTest::newRow("another password") << "password" << 3031;
        QTest::newRow("a table missing") << "table" << 3343;
        QTest::newRow("a table of other columns") << "columns" << 3343;
        QTest::newRow("no such file") << "missing" << 3024;
        QTest::newRow("the live file by another name") << "link" << 75;
    }
    void restoreRefusesWhatIsNotThisSystemsDatabase()
    {
        QFETCH(QString, make);
        QFETCH(int, number);
        const QString chosen = path("chosen.mdb");
        if (make == "plain") {
            QFile file(chosen);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("这不是数据库，是一份文本。");
        }
        if (make == "password") makeDatabase(chosen, data::importPassword());
        if (make == "table") makeDatabase(chosen, data::databasePassword(), "DROP TABLE fzzl");
        if (make == "columns")
            makeDatabase(chosen, data::databasePassword(), "DROP TABLE zybz; CREATE TABLE zybz(bzmc, bzqk, bzcy, zlcs)");
        if (make == "link") QCOMPARE(::link(QFile::encodeName(env_->databasePath()), QFile::encodeName(chosen)), 0);

        const QByteArray before = bytesOf(env_->databasePath());
        QCOMPARE(errorOf([&] { maintenance::restoreDatabase(chosen); }), number);
        QCOMPARE(bytesOf(env_->databasePath()), before);
    }

    void backupOntoTheLiveFileIsRefused()
    {
        const QString sameFile = path("system/../system/zyqhmz.mdb");
        const QByteArray before = bytesOf(env_->databasePath());
        QCOMPARE(errorOf([&] { maintenance::backupDatabase(sameFile); }), 75);
        QCOMPARE(bytesOf(env_->databasePath()), before);
    }

    // A full disk or a medium that fails its flush: the target keeps what it had.
    void failedCopiesLeaveTheTargetWhole_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("flushFails");
        QTest::addColumn<int>("number");
        QTest::newRow("backup, full disk") << false << false << 61;
        QTest::newRow("backup, failed flush") << false << true << 57;
        QTest::newRow("restore, full disk") << true << false << 61;
        QTest::newRow("restore, failed flush") << true << true << 57;
    }
    void failedCopiesLeaveTheTargetWhole()
    {
        QFETCH(bool, restore);
        QFETCH(bool, flushFails);
        QFETCH(int, number);
        makeDatabase(path("备份.mdb"), data::databasePassword());
        const QString target = restore ? env_->databasePath() : path("备份.mdb");
        const QByteArray before = bytesOf(target);
        if (flushFails) win::setCopyFlushFails(true);
        else win::setCopyByteLimit(2048);
        QCOMPARE(errorOf([&] {
                     if (restore) maintenance::restoreDatabase(path("备份.mdb"));
                     else maintenance::backupDatabase(path("备份.mdb"));
                 }),
                 number);
        QCOMPARE(bytesOf(target), before);
    }

    // Free bytes equal to the length pass; a failed query skips the check.
    void roomEdges()
    {
        bool answers = true;
        win::setDiskFreeSpaceHook([&](const QString&) { return win::DiskFreeSpace{answers, 2, 512, 1, 1}; });
        QVERIFY(maintenance::hasRoomFor(1024, "/media/stick/备份.mdb"));
        QVERIFY(!maintenance::hasRoomFor(1025, "/media/stick/备份.mdb"));
        answers = false;
        QVERIFY(maintenance::hasRoomFor(1 << 30, "/media/stick/备份.mdb"));
    }
};

QTEST_GUILESS_MAIN(DatabaseCopyTest)
#include "database_copy_test.moc"
