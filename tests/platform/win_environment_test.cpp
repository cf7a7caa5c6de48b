// The environment as the windows see it: Windows-style paths mapped to host folders,
// and the two registry values with their settings file, defaults and overrides.
#include "platform/win/paths.h"
#include "platform/win/registry.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

class WinEnvironmentTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir documents_;

    static QString registryFile()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
               + QStringLiteral("/zyqhmz/registry.ini");
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(documents_.isValid());
        qputenv("ZYQHMZ_DOCUMENTS_DIR", documents_.path().toUtf8() + "/");
    }

    void init()
    {
        qunsetenv("ZYQHMZ_WINDOWS_DIR");
        qunsetenv("ZYQHMZ_OWNER_NAME");
        QFile::remove(registryFile());
    }

    void mapsWindowsPaths_data()
    {
        QTest::addColumn<QString>("windowsPath");
        QTest::addColumn<QString>("relativeToDocuments");   // empty: not under the documents folder
        QTest::addColumn<QString>("hostPath");
        QTest::newRow("workbook") << "c:\\my documents\\药品编码名称对照表.xls" << "/药品编码名称对照表.xls" << "";
        QTest::newRow("letter case") << "C:\\My Documents\\药品盘点表.xls" << "/药品盘点表.xls" << "";
        QTest::newRow("report name with blanks")
            << "c:\\my documents\\2004-01-01 至 2004-08-19商品入库统计表.xls"
            << "/2004-01-01 至 2004-08-19商品入库统计表.xls" << "";
        QTest::newRow("folder itself") << "c:\\my documents" << "" << "";
        QTest::newRow("forward slashes") << "c:/my documents/a.xls" << "/a.xls" << "";
        QTest::newRow("similar folder") << "c:\\my documents2\\a.xls" << "" << "c:/my documents2/a.xls";
        QTest::newRow("database under core::WindowsDir") << "/home/li/zyqhmz\\system\\zyqhmz.mdb" << ""
                                                   << "/home/li/zyqhmz/system/zyqhmz.mdb";
    }
    void mapsWindowsPaths()
    {
        QFETCH(QString, windowsPath);
        QFETCH(QString, relativeToDocuments);
        QFETCH(QString, hostPath);
        const QString expected = hostPath.isEmpty() ? documents_.path() + relativeToDocuments : hostPath;
        QCOMPARE(win::hostPath(windowsPath), expected);
    }

    void documentsFolderWithoutOverride()
    {
        qunsetenv("ZYQHMZ_DOCUMENTS_DIR");
        QCOMPARE(win::documentsDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        qputenv("ZYQHMZ_DOCUMENTS_DIR", documents_.path().toUtf8());
        QCOMPARE(win::documentsDir(), documents_.path());
    }

    void windowsDirDefaultsToTheDataFolder()
    {
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(win::windowsDir(), expected);
        QVERIFY(!win::windowsDir().endsWith(u'/'));
    }

    void settingsFileStandsInForTheRegistry()
    {
        {
            QSettings registry(registryFile(), QSettings::IniFormat);
            registry.setValue(QStringLiteral("WindowsDir"), QStringLiteral("/srv/诊所/"));
            registry.setValue(QStringLiteral("OwnerName"), QStringLiteral("岐禾诊所"));
        }
        QCOMPARE(win::windowsDir(), QStringLiteral("/srv/诊所"));
        QCOMPARE(win::ownerName(), QStringLiteral("岐禾诊所"));

        qputenv("ZYQHMZ_WINDOWS_DIR", "/tmp/test-windows");
        qputenv("ZYQHMZ_OWNER_NAME", "测试");
        QCOMPARE(win::windowsDir(), QStringLiteral("/tmp/test-windows"));
        QCOMPARE(win::ownerName(), QStringLiteral("测试"));
    }

    void ownerFallsBackToTheAccount()
    {
        const passwd* account = getpwuid(getuid());
        QVERIFY(account);
        const QString fullName = QString::fromLocal8Bit(account->pw_gecos).section(u',', 0, 0).trimmed();
        const QString expected = fullName.isEmpty() ? QString::fromLocal8Bit(account->pw_name) : fullName;
        QCOMPARE(win::ownerName(), expected);
        QVERIFY(!win::ownerName().isEmpty());
    }
};

QTEST_MAIN(WinEnvironmentTest)
#include "win_environment_test.moc"
