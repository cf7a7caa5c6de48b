// The program's database for its run: placed at the first start readable by the user
// alone, with leftovers of killed copies swept at every start; a file the key does
// not open is reported at start-up in the error form, naming the file and the cause,
// and left untouched.
#include "core/globals.h"
#include "core/main_window.h"
#include "core/startup.h"
#include "data/database_file.h"
#include "platform/forms/services.h"
#include "platform/office/leftovers.h"
#include "platform/raised.h"
#include "support/ordinary_user.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { core::ReleaseDb(); }

    // The first start places the database readable by the user alone, in folders it
    // makes for the user alone; every start sweeps a copy that a killed backup left.
    void placesThePrivateDatabaseAndSweepsLeftovers()
    {
        QTemporaryDir windowsDir;
        qputenv("ZYQHMZ_WINDOWS_DIR", QFile::encodeName(windowsDir.filePath("诊所/windows")));
        QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
        core::ReleaseDb();
        const QString database = data::databasePath(windowsDir.filePath("诊所/windows"));
        const QString leftover = QFileInfo(database).absolutePath() + QStringLiteral("/.zyqhmz.mdb.k3Xz9Q");
        QVERIFY(TestEnvironment::writeBytes(leftover, "half a copy"));
        QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
        QVERIFY(!QFileInfo::exists(leftover));
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QCOMPARE(QFileInfo(database).permissions(), owner);
        for (const QString& folder : {"诊所", "诊所/windows", "诊所/windows/system"})
            QCOMPARE(QFileInfo(windowsDir.filePath(folder)).permissions(), owner | QFile::ExeOwner | QFile::ExeUser);
        qunsetenv("ZYQHMZ_WINDOWS_DIR");
    }

    // A database placed readable by everyone by an earlier version is made private; a
    // killed run's workbook scratch folder and the old shared folder of texts are swept,
    // while a scratch folder another copy of the program is writing stays.
    void earlierPlacementsMadePrivateAndScratchSwept()
    {
        QTemporaryDir windowsDir, temporary;
        const QByteArray oldTemporary = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        qputenv("ZYQHMZ_WINDOWS_DIR", QFile::encodeName(windowsDir.filePath("windows")));
        const QString database = data::databasePath(windowsDir.filePath("windows"));
        QVERIFY(QDir().mkpath(QFileInfo(database).absolutePath()));
        QVERIFY(QFile::copy(TestEnvironment::shippedDatabase(), database));
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup
                              | QFile::ReadOther;
        const auto folderForEveryone = everyone | QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(database, everyone));
        for (const QString& folder : {"windows", "windows/system"})
            QVERIFY(QFile::setPermissions(windowsDir.filePath(folder), folderForEveryone));
        const QString killed = temporary.filePath("zyqhmz-workbook-a1B2c3"), writing = temporary.filePath("zyqhmz-workbook-Z9y8X7");
        const QString shared = temporary.filePath("zyqhmz-documents"), notOurs = temporary.filePath("zyqhmz-workbook-notes");
        for (const QString& folder : {killed, writing, shared, notOurs}) QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestEnvironment::writeBytes(killed + "/worksheet.xml", "<row/>"));
        QVERIFY(TestEnvironment::writeBytes(shared + "/文档-Ab12Cd.odt", "text"));
        {
            const office::ScratchLock held(writing);
            QVERIFY(core::PrepareSystem(TestEnvironment::shippedDatabase()));
        }
        core::ReleaseDb();
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        QCOMPARE(QFileInfo(database).permissions(), owner);
        for (const QString& folder : {"windows", "windows/system"})
            QCOMPARE(QFileInfo(windowsDir.filePath(folder)).permissions(), owner | QFile::ExeOwner | QFile::ExeUser);
        QVERIFY(!QFileInfo::exists(killed) && !QFileInfo::exists(shared));
        QVERIFY(QFileInfo::exists(writing) && QFileInfo::exists(notOurs));
        if (oldTemporary.isEmpty()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", oldTemporary);
        qunsetenv("ZYQHMZ_WINDOWS_DIR");
    }

    void aFileTheKeyDoesNotOpenIsReportedAtStartAndLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        QTest::newRow("damaged") << "damaged" << QStringLiteral("损坏");   // the causes themselves: dao_open_test
        QTest::newRow("unreadable") << "unreadable" << QStringLiteral("权限");
    }

    void aFileTheKeyDoesNotOpenIsReportedAtStartAndLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        TestEnvironment env;
        const QString path = env.databasePath();
        if (kind == "damaged") {   // torn to random bytes; an unreadable file keeps the placed database
            QByteArray bytes;
            QRandomGenerator generator(1987);
            while (bytes.size() < 5000) bytes.append(static_cast<char>(generator.bounded(256)));
            QVERIFY(TestEnvironment::writeBytes(path, bytes));
        }
        const QByteArray before = TestEnvironment::bytesOf(path);

        forms::MessageBoxes::TestHook boxes;
        int exitCode = 0;
        {
            std::unique_ptr<OrdinaryUser> user;
            if (kind == "unreadable") {
                user = std::make_unique<OrdinaryUser>(env.windowsDir());
                QFile::setPermissions(path, {});
            }
            exitCode = core::RunSystem(TestEnvironment::shippedDatabase(), [](core::MDIFqhmz&) { QFAIL("the main window must not open"); });
        }
        QVERIFY(exitCode != 0);
        QVERIFY(core::MainWindow() == nullptr);
        QCOMPARE(boxes.texts().size(), 1);
        const QString text = boxes.texts().constFirst();
        QVERIFY2(text.startsWith(QStringLiteral("错误号码：")) && text.contains(QStringLiteral("错误内容：")), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)) && text.contains(cause), qPrintable(text));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(TestEnvironment::bytesOf(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
