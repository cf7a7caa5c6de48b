// The database file as a whole: the structure check read apart from the engine says
// what the engine's own says; a file stored otherwise is checked by the engine; the
// check keeps the caller's read lock, so nobody commits between the check and a copy;
// and a copy refused at its last word leaves the held file as it was.
#include "platform/dao/connection.h"
#include "platform/dao/plain_view.h"
#include "platform/raised.h"
#include "support/other_program.h"
#include "support/test_environment.h"

#include "data/database_file.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QtTest>

class DaoWholeFileTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env_;

    QString path(const QString& name) const { return env_->windowsDir() + u'/' + name; }

    // A copy of the database holding `herbs` herbs, every page written anew.
    QString herbsFile(const QString& name, int herbs) const
    {
        const QString file = path(name);
        QFile::copy(env_->databasePath(), file);
        OtherProgram other(file);
        other.run(TestEnvironment::herbsInsert(herbs, name) + QStringLiteral("; VACUUM"));
        return file;
    }

    static QString engineVerdict(const QString& file)
    {
        return dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly).integrityCheck(true);
    }

private slots:
    void init() { env_ = std::make_unique<TestEnvironment>(); }
    void cleanup() { env_.reset(); }

    void checkReadApartSaysWhatTheEngineSays_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("sound") << "";
        // Every page authentic, but the herb index's tree rooted in the table's.
        QTest::newRow("two trees on one root")
            << "PRAGMA writable_schema=ON; UPDATE sqlite_master SET rootpage=(SELECT rootpage FROM sqlite_master "
               "WHERE name='zyyc') WHERE name='zyyc_ycmci'";
    }
    void checkReadApartSaysWhatTheEngineSays()
    {
        QFETCH(QString, damage);
        const QString file = herbsFile(QStringLiteral("甲.mdb"), 20000);
        if (!damage.isEmpty()) QCOMPARE(OtherProgram(file).run(damage), SQLITE_OK);
        const std::optional<QString> apart = dao::quickCheckOfStoredPages(file, data::databasePassword());
        QVERIFY(apart.has_value());
        QCOMPARE(*apart, engineVerdict(file));
        QCOMPARE(*apart == QLatin1String("ok"), damage.isEmpty());
    }

    void pagesNotAuthenticAreFaults_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("the first page's tail") << 0;
        QTest::newRow("a page in the middle") << 1000;
        QTest::newRow("the last page") << -1;
    }
    void pagesNotAuthenticAreFaults()
    {
        QFETCH(int, page);
        const QString file = herbsFile(QStringLiteral("乙.mdb"), 20000);
        QByteArray bytes = TestEnvironment::bytesOf(file);
        const qint64 at = (page < 0 ? bytes.size() / 1024 - 1 : page) * 1024 + 900;   // in its ciphertext
        bytes[at] = static_cast<char>(bytes[at] ^ 1);
        QVERIFY(TestEnvironment::writeBytes(file, bytes));
        const std::optional<QString> apart = dao::quickCheckOfStoredPages(file, data::databasePassword());
        // A first page that fails is not read apart at all: the engine then answers.
        if (page == 0) QVERIFY(!apart.has_value());
        else QVERIFY2(apart.has_value() && *apart != QLatin1String("ok"), qPrintable(apart.value_or("none")));
    }

    void filesStoredOtherwiseAreLeftToTheEngine()
    {
        const QString plain = path(QStringLiteral("明文.mdb"));
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(plain).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db, "CREATE TABLE t(a); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QVERIFY(!dao::quickCheckOfStoredPages(plain, data::databasePassword()).has_value());
        QVERIFY(!dao::quickCheckOfStoredPages(env_->databasePath(), data::importPassword()).has_value());
        QVERIFY(!dao::quickCheckOfStoredPages(path(QStringLiteral("没有.mdb")), data::databasePassword()).has_value());
    }

    // Another program can't take the write lock of a file being checked and copied.
    void checkKeepsTheReadLock()
    {
        const QString file = herbsFile(QStringLiteral("丙.mdb"), 2000);
        const dao::Database db = dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly);
        db.readSnapshot([&] {
            QCOMPARE(db.beginQuickCheck().verdict(), QStringLiteral("ok"));
            QProcess refused;
            OtherProgram::holdWriteLockInChild(refused, file, 0);
            refused.waitForFinished(10000);   // false when it has already ended
            QCOMPARE(refused.state(), QProcess::NotRunning);
            QCOMPARE(refused.exitCode(), 1);
        });
        QProcess after;
        OtherProgram::holdWriteLockInChild(after, file, 0);
        after.waitForFinished(10000);
        QCOMPARE(after.state(), QProcess::NotRunning);
        QCOMPARE(after.exitCode(), 0);
    }

    void copyRefusedAtItsLastWordLeavesTheFile()
    {
        const QString held = herbsFile(QStringLiteral("held.mdb"), 3000);
        const QString coming = herbsFile(QStringLiteral("coming.mdb"), 30000);   // runs of pages longer than one write
        dao::Database target = dao::Database::open(held, data::connectText());
        const dao::Database source = dao::Database::open(coming, data::connectText(), dao::Database::Access::ReadOnly);
        const QByteArray before = TestEnvironment::bytesOf(held);
        bool copiedWithItsJournal = false;   // when the last word is asked
        source.readSnapshot([&] {
            const vb::Error refusal = testing::raised([&] {
                target.replaceWith(source, [&] {
                    copiedWithItsJournal = QFile::exists(held + QStringLiteral("-journal"))
                                           && TestEnvironment::bytesOf(held) == TestEnvironment::bytesOf(coming);
                    throw dao::Error(3343, QStringLiteral("refused"));
                });
            });
            QCOMPARE(refusal.number(), 3343);
        });
        QVERIFY(copiedWithItsJournal);
        QCOMPARE(target.openTable(QStringLiteral("zyyc")).recordCount(), 3000);
        QVERIFY(!QFile::exists(held + QStringLiteral("-journal")));
        QCOMPARE(TestEnvironment::bytesOf(held), before);

        source.readSnapshot([&] { target.replaceWith(source); });
        QCOMPARE(TestEnvironment::bytesOf(held), TestEnvironment::bytesOf(coming));
        QCOMPARE(target.openTable(QStringLiteral("zyyc")).recordCount(), 30000);
    }
};

int main(int argc, char** argv)
{
    OtherProgram::holdWriteLockIfAsked();
    QApplication application(argc, argv);
    DaoWholeFileTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "dao_whole_file_test.moc"
