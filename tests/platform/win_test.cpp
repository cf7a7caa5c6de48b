// The Windows environment as the windows see it: Windows-style paths mapped to host
// folders, the two registry values with their settings file and overrides, file copy
// that never leaves a half-written target with its errors in the old runtime's terms,
// and the free-space query of the backup window.
#include "platform/file_bytes.h"
#include "platform/raised.h"
#include "platform/win/disk.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"
#include "platform/win/paths.h"
#include "platform/win/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& content) { QVERIFY(testing::writeBytes(path, content)); }

QString registryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/zyqhmz/registry.ini");
}

int copyError(const QString& source, const QString& target)
{
    return testing::raised([&] { win::copyFile(source, target); }).number();
}

}  // namespace

class WinTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    QString path(const QString& name) const { return folder_.filePath(name); }
    QStringList entries() const { return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(folder_.isValid());
        qputenv("ZYQHMZ_DOCUMENTS_DIR", folder_.path().toUtf8() + "/");
    }

    void init()
    {
        qunsetenv("ZYQHMZ_WINDOWS_DIR");
        qunsetenv("ZYQHMZ_OWNER_NAME");
        QFile::remove(registryFile());
        for (const QString& name : entries()) QFile::remove(path(name));
        win::setCopyByteLimit(std::nullopt);
        win::setCopyFlushFails(false);
        win::setDiskFreeSpaceHook({});
    }

    void copiesAndReplacesKeepingThePermissions()
    {
        QByteArray large(300000, 'x');   // several buffers
        large[123456] = 'y';
        writeFile(path("zyqhmz.mdb"), large);
        writeFile(path("备份.mdb"), "older backup");
        QVERIFY(::chmod(QFile::encodeName(path("备份.mdb")).constData(), 0640) == 0);
        win::copyFile(path("zyqhmz.mdb"), path("备份.mdb"));
        QCOMPARE(testing::bytesOf(path("备份.mdb")), large);
        QCOMPARE(entries().size(), 2);   // no temporary file left
        struct stat info {};             // the target keeps its permissions
        QVERIFY(::stat(QFile::encodeName(path("备份.mdb")).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0640));

        writeFile(path("empty.mdb"), "");
        win::copyFile(path("empty.mdb"), path("备份.mdb"));
        QCOMPARE(testing::bytesOf(path("备份.mdb")), QByteArray());
    }

    // A full disk in the middle of the copy or a failed flush: the old backup stays whole.
    void aFailedCopyLeavesTheTargetUntouched_data()
    {
        QTest::addColumn<qint64>("limit");   // -1: no limit, the flush fails
        QTest::addColumn<int>("error");
        QTest::newRow("full disk, nothing written") << qint64(0) << 61;
        QTest::newRow("full disk, part written") << qint64(70000) << 61;
        QTest::newRow("failed flush") << qint64(-1) << 57;
    }
    void aFailedCopyLeavesTheTargetUntouched()
    {
        QFETCH(qint64, limit);
        QFETCH(int, error);
        writeFile(path("zyqhmz.mdb"), QByteArray(200000, 'd'));
        writeFile(path("备份.mdb"), "older backup");
        if (limit >= 0) win::setCopyByteLimit(limit);
        win::setCopyFlushFails(limit < 0);
        const vb::Error failure = testing::raised([&] { win::copyFile(path("zyqhmz.mdb"), path("备份.mdb")); });
        QCOMPARE(failure.number(), error);
        if (error == 61) QCOMPARE(failure.description(), QStringLiteral("磁盘已满"));
        win::setCopyFlushFails(false);
        QCOMPARE(testing::bytesOf(path("备份.mdb")), QByteArray("older backup"));
        QCOMPARE(entries().size(), 2);
    }

    // One file however its path is written; never by the path's text alone.
    void sameFileByDeviceAndInode()
    {
        writeFile(path("zyqhmz.mdb"), "data");
        writeFile(path("copy.mdb"), "data");
        QVERIFY(::link(QFile::encodeName(path("zyqhmz.mdb")).constData(), QFile::encodeName(path("linked.mdb")).constData()) == 0);
        QVERIFY(QFile::link(path("zyqhmz.mdb"), path("symbolic.mdb")));
        QVERIFY(win::isSameFile(path("zyqhmz.mdb"), path("linked.mdb")));
        QVERIFY(win::isSameFile(path("zyqhmz.mdb"), path("symbolic.mdb")));
        QVERIFY(win::isSameFile(path("zyqhmz.mdb"), folder_.path() + "/./../" + QFileInfo(folder_.path()).fileName() + "/zyqhmz.mdb"));
        QVERIFY(!win::isSameFile(path("zyqhmz.mdb"), path("copy.mdb")));
        QVERIFY(!win::isSameFile(path("missing.mdb"), path("missing.mdb")));
    }

    void failuresAreRuntimeErrors()
    {
        writeFile(path("zyqhmz.mdb"), "data");
        QCOMPARE(copyError(path("missing.mdb"), path("b.mdb")), 53);
        QCOMPARE(copyError(path("zyqhmz.mdb"), path("no such folder/b.mdb")), 76);
        QCOMPARE(copyError(folder_.path(), path("b.mdb")), 75);   // a folder as the source
        QVERIFY(QDir(folder_.path()).mkdir("folder.mdb"));
        QCOMPARE(copyError(path("zyqhmz.mdb"), path("folder.mdb")), 75);   // a folder as the target
        QVERIFY(QDir(path("folder.mdb")).exists());
        QCOMPARE(entries(), QStringList{"zyqhmz.mdb"});
    }

    void freeSpaceOfTheFilesystem()
    {
        const win::DiskFreeSpace space = win::diskFreeSpace(folder_.path());
        QVERIFY(space.ok);
        QVERIFY(space.totalClusters >= space.freeClusters);
        QCOMPARE(space.freeBytes(), space.sectorsPerCluster * space.bytesPerSector * space.freeClusters);
        // A target that does not exist yet is answered by its folder.
        QCOMPARE(win::diskFreeSpace(path("new/deeper/备份.mdb")).totalClusters, space.totalClusters);
        QCOMPARE((win::DiskFreeSpace{true, 8, 512, 1u << 20, 1u << 21}.freeBytes()), quint64(4294967296ULL));
        QVERIFY(!win::diskFreeSpace(QString()).ok);
        QVERIFY(!win::diskFreeSpace(QStringLiteral("d:/备份.mdb")).ok);   // no drive letters here
        QVERIFY(!win::diskFreeSpace(QStringLiteral("\\\\server\\share\\a.mdb")).ok);
    }

    void mapsWindowsPaths_data()
    {
        QTest::addColumn<QString>("windowsPath");
        QTest::addColumn<QString>("relativeToDocuments");   // empty: not under the documents folder
        QTest::addColumn<QString>("hostPath");
        QTest::newRow("workbook") << "c:\\my documents\\药品编码名称对照表.xls" << "/药品编码名称对照表.xls" << "";
        QTest::newRow("letter case") << "C:\\My Documents\\药品盘点表.xls" << "/药品盘点表.xls" << "";
        QTest::newRow("folder itself") << "c:\\my documents" << "" << "";
        QTest::newRow("forward slashes") << "c:/my documents/a.xls" << "/a.xls" << "";
        QTest::newRow("similar folder") << "c:\\my documents2\\a.xls" << "" << "c:/my documents2/a.xls";
        QTest::newRow("database under core::WindowsDir") << "/home/li/zyqhmz\\system\\zyqhmz.mdb" << "" << "/home/li/zyqhmz/system/zyqhmz.mdb";
    }
    void mapsWindowsPaths()
    {
        QFETCH(QString, windowsPath);
        QFETCH(QString, relativeToDocuments);
        QFETCH(QString, hostPath);
        const QString expected = hostPath.isEmpty() ? folder_.path() + relativeToDocuments : hostPath;
        QCOMPARE(win::hostPath(windowsPath), expected);
    }

    // Without overrides: the platform's documents and data folders, and the account's
    // owner name; the settings file stands in for the registry, the environment overrides it.
    void defaultsTheSettingsFileAndOverrides()
    {
        qunsetenv("ZYQHMZ_DOCUMENTS_DIR");
        QCOMPARE(win::documentsDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        qputenv("ZYQHMZ_DOCUMENTS_DIR", folder_.path().toUtf8() + "/");
        QCOMPARE(win::windowsDir(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QVERIFY(!win::ownerName().isEmpty());
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
};

QTEST_MAIN(WinTest)
#include "win_test.moc"
