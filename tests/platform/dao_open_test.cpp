// Opening database files: the failures a user can meet (missing, wrong password,
// damaged, not a database) give a clear error and change nothing on disk, and handles
// to one file share one connection while different files keep their own passwords.
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/file_bytes.h"
#include "platform/raised.h"
#include "support/test_environment.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <optional>

class DaoOpenTest : public QObject {
    Q_OBJECT

private:
    // The error opening `path` gives; numbered 0 when it opens.
    static vb::Error openError(const QString& path, const QString& connect)
    {
        return testing::raised([&] { dao::Database::open(path, connect); });
    }

private slots:
    // A file that does not open says why (a missing one is not created), and keeps its
    // bytes: no journal is left and the right password still opens it afterwards.
    void aFileThatDoesNotOpenSaysWhyAndStaysAsItWas_data()
    {
        QTest::addColumn<QString>("file");   // "bytes": `content` written; else how it is made
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("number");     // 0: any
        QByteArray random(64 * 1024, '\0');
        QRandomGenerator generator(20020618);
        for (char& c : random) c = static_cast<char>(generator.bounded(256));
        QTest::newRow("missing") << "missing" << QByteArray() << QStringLiteral("找不到文件") << 3024;
        QTest::newRow("wrong password") << "wrong password" << QByteArray() << QStringLiteral("密码") << 0;
        QTest::newRow("wrong password while open") << "wrong password while open" << QByteArray() << QString() << 3031;
        QTest::newRow("not encrypted") << "plain" << QByteArray() << QStringLiteral("不是加密") << 0;
        QTest::newRow("random bytes, whole pages") << "bytes" << random << QStringLiteral("密码") << 0;
        QTest::newRow("random bytes, torn page") << "bytes" << random.left(5000) << QStringLiteral("损坏") << 0;
        QTest::newRow("a text file") << "bytes" << QByteArray("病案号,姓名\n001,王某\n") << QStringLiteral("损坏") << 0;
        QTest::newRow("empty file") << "bytes" << QByteArray() << QStringLiteral("空") << 0;
    }

    void aFileThatDoesNotOpenSaysWhyAndStaysAsItWas()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        QFETCH(int, number);
        TestEnvironment env;
        QString path = env.windowsDir() + QStringLiteral("/damaged.mdb"), connect = data::connectText();
        std::optional<dao::Database> held;
        if (file == "bytes") QVERIFY(testing::writeBytes(path, content));
        if (file == "plain") dao::Database::create(path, QString()).executeSchema(QStringLiteral("CREATE TABLE t (a TEXT)"));
        if (file.startsWith("wrong password")) {
            path = env.databasePath();
            connect = QStringLiteral(";pwd=WrongPassword12");
            if (file.endsWith("open")) held = env.open();
        }
        const QByteArray before = testing::bytesOf(path);
        const vb::Error error = openError(path, connect);
        QVERIFY(error.number() != 0);
        QVERIFY2(error.description().contains(says), qPrintable(error.description()));
        if (number) QCOMPARE(error.number(), number);
        QCOMPARE(QFile::exists(path), file != "missing");
        if (file == "bytes" || file.startsWith("wrong")) QCOMPARE(testing::bytesOf(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
        if (file.startsWith("wrong")) QVERIFY(env.open().isOpen());
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
        QByteArray content = testing::bytesOf(env.databasePath());
        for (qsizetype page = 1024; page < content.size(); page += 1024) content[page + 512] = char(content[page + 512] ^ 0x5a);
        QVERIFY(testing::writeBytes(env.databasePath(), content));
        const vb::Error error = testing::raised([&] { env.open().openRecordset(QStringLiteral("select ycmc from zyyc")); });
        QVERIFY2(error.description().contains(QStringLiteral("损坏")), qPrintable(error.description()));
        QCOMPARE(testing::bytesOf(env.databasePath()), content);
    }

    void twoFilesWithTwoPasswordsAtOnce()
    {
        TestEnvironment env;
        const QString importPath = env.windowsDir() + QStringLiteral("/source.mdb");
        data::createDatabase(importPath, data::importPassword());

        dao::Database own = env.open();
        dao::Database source = dao::Database::open(importPath, data::importConnectText());
        dao::Recordset herbs = source.openTable(QStringLiteral("zyyc"));
        herbs.addNew();
        herbs.setField(0, QStringLiteral("当归"));
        herbs.update();
        QCOMPARE(source.openTable(QStringLiteral("zyyc")).recordCount(), 1);
        QCOMPARE(own.openTable(QStringLiteral("zyyc")).recordCount(), 0);
        // Each file only opens with its own password.
        QCOMPARE(openError(importPath, data::connectText()).number(), 3031);
    }

    void handlesToOneFileShareOneConnection()
    {
        // A second handle's write belongs to the first handle's transaction, which is
        // only possible when both use one connection (and so never lock each other out).
        TestEnvironment env;
        dao::Database first = env.open();
        {
            dao::Transaction transaction(first);
            dao::Database second = dao::Database::open(env.databasePath(), data::connectText());
            second.execute(QStringLiteral("insert into ycgy values ('补血')"));
            second.close();
            QCOMPARE(first.openTable(QStringLiteral("ycgy")).recordCount(), 1);
        }   // not committed
        QCOMPARE(first.openTable(QStringLiteral("ycgy")).recordCount(), 0);
    }

    // A closed handle is an error, not a crash. A file opened read-only can't be written
    // through its handle and keeps its bytes; one already open for writing is read
    // through the writer's connection.
    void closedAndReadOnlyHandlesWriteNothing()
    {
        TestEnvironment env;
        {
            dao::Database db = env.open();
            db.close();
            db.close();
            QVERIFY_THROWS_EXCEPTION(dao::Error, db.openTable(QStringLiteral("ycjg")));
            QVERIFY_THROWS_EXCEPTION(vb::Error, db.openTable(QStringLiteral("ycjg")));   // one trap for all errors
            dao::Recordset closed;
            QVERIFY_THROWS_EXCEPTION(dao::Error, closed.moveNext());
        }
        const QByteArray before = testing::bytesOf(env.databasePath());
        {
            dao::Database reader = dao::Database::open(env.databasePath(), data::connectText(), dao::Database::Access::ReadOnly);
            QCOMPARE(reader.openTable(QStringLiteral("ycgy")).recordCount(), 0);
            QCOMPARE(testing::raised([&] { reader.execute(QStringLiteral("insert into ycgy values ('补血')")); }).number(), 3027);
        }
        QCOMPARE(testing::bytesOf(env.databasePath()), before);

        dao::Database writer = env.open();
        dao::Transaction transaction(writer);
        writer.execute(QStringLiteral("insert into ycgy values ('补血')"));
        dao::Database reader = dao::Database::open(env.databasePath(), data::connectText(), dao::Database::Access::ReadOnly);
        QCOMPARE(reader.openTable(QStringLiteral("ycgy")).recordCount(), 1);
    }
};

QTEST_MAIN(DaoOpenTest)
#include "dao_open_test.moc"
