// The Windows environment as the windows see it: Windows-style paths mapped to host
// folders, the two registry values with their settings file and overrides, file copy
// that replaces a target privately and sweeps what killed copies left (through the program
// where the kernel won't copy), its errors in the old runtime's terms, and the free-space
// query of the backup window.
#include "platform/raised.h"
#include "platform/win/disk.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"
#include "platform/win/paths.h"
#include "platform/win/registry.h"
#include "support/test_environment.h"

#include <QDir>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& content) { QVERIFY(TestEnvironment::writeBytes(path, content)); }

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
    }

    // (A full disk or a failed flush during the copy, and one file under two names:
    // the backup window's tests.)
    void copiesPrivatelySweepingLeftovers()
    {
        QByteArray large(3000000, 'x');   // several buffers
        large[1234567] = 'y';
        writeFile(path("zyqhmz.mdb"), large);
        writeFile(path("备份.mdb"), "older backup");
        QVERIFY(::chmod(QFile::encodeName(path("备份.mdb")).constData(), 0644) == 0);
        const QStringList kept = {".备份.mdb.Locked", ".备份.mdb.notes", ".other.mdb.Ab12Cd", "备份.mdb.Ab12Cd"};
        for (const QString& name : kept + QStringList{".备份.mdb.Ab12Cd", ".备份.mdb.XXXXXX"}) writeFile(path(name), "left");
        const int copying = ::open(QFile::encodeName(path(".备份.mdb.Locked")).constData(), O_RDONLY);
        QVERIFY(copying >= 0 && ::flock(copying, LOCK_EX) == 0);   // a copy still running

        win::copyFile(path("zyqhmz.mdb"), path("备份.mdb"));
        ::close(copying);
        QCOMPARE(TestEnvironment::bytesOf(path("备份.mdb")), large);
        const QStringList left = entries();
        const QSet<QString> expected = QSet<QString>(kept.begin(), kept.end()) + QSet<QString>{"zyqhmz.mdb", "备份.mdb"};
        QCOMPARE(QSet<QString>(left.begin(), left.end()), expected);
        win::writeFile(
            7, [&](char* buffer, qint64 size, qint64 offset) { memcpy(buffer, large.constData() + offset + 1234560, size); },
            path("新.mdb"));
        QCOMPARE(TestEnvironment::bytesOf(path("新.mdb")), large.mid(1234560, 7));
        win::makePrivateFolders(path("a/b"));
        for (const char* name : {"备份.mdb", "新.mdb", "a", "a/b"}) {
            struct stat info {};
            QVERIFY(::stat(QFile::encodeName(path(name)).constData(), &info) == 0);
            QCOMPARE(info.st_mode & 0777, S_ISDIR(info.st_mode) ? 0700u : 0600u);
        }
    }

    // A copy between two filesystems (the temporary folder and a memory filesystem),
    // both ways, as placing the database and saving workbooks do, keeps no descriptor
    // open afterwards.
    void copiesAcrossFilesystemsLeavingNoDescriptorOpen()
    {
        QTemporaryDir memory(QStringLiteral("/dev/shm/zyqhmz-test-XXXXXX"));
        if (!memory.isValid()) QSKIP("no memory filesystem");
        const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(); };
        QByteArray content(9 << 20, 'x');   // more than one chunk in the kernel
        content[(9 << 20) - 5] = 'y';
        writeFile(path("zyqhmz.mdb"), content);
        const qsizetype before = descriptors();
        win::copyFile(path("zyqhmz.mdb"), memory.filePath("备份.mdb"));
        win::copyFile(memory.filePath("备份.mdb"), path("复制.mdb"));
        QCOMPARE(TestEnvironment::bytesOf(memory.filePath("备份.mdb")), content);
        QCOMPARE(TestEnvironment::bytesOf(path("复制.mdb")), content);
        QCOMPARE(descriptors(), before);
    }

    // The kernel copies only between plain files, as some filesystems answer too: a
    // source it refuses (a pipe) is copied through the program byte for byte.
    void copiesWhatTheKernelRefusesToCopy()
    {
        QByteArray content(300000, 'p');   // more than the pipe holds at once
        content[123456] = 'q';
        QVERIFY(::mkfifo(QFile::encodeName(path("管道.mdb")).constData(), 0600) == 0);
        std::thread writer([&] {
            QFile pipe(path("管道.mdb"));
            if (pipe.open(QIODevice::WriteOnly)) pipe.write(content);
        });
        win::copyFile(path("管道.mdb"), path("备份.mdb"));
        writer.join();
        QVERIFY(QFile::remove(path("管道.mdb")));
        QCOMPARE(TestEnvironment::bytesOf(path("备份.mdb")), content);
    }

    // What earlier versions placed readable by everyone becomes the user's alone.
    void makesEarlierPlacementsPrivate()
    {
        writeFile(path("zyqhmz.mdb"), "data");
        writeFile(path("只读.mdb"), "data");
        QVERIFY(QDir(folder_.path()).mkdir("system"));
        QVERIFY(::chmod(QFile::encodeName(path("zyqhmz.mdb")).constData(), 0644) == 0);
        QVERIFY(::chmod(QFile::encodeName(path("只读.mdb")).constData(), 0444) == 0);   // withheld writing stays withheld
        QVERIFY(::chmod(QFile::encodeName(path("system")).constData(), 0755) == 0);
        for (const char* name : {"zyqhmz.mdb", "只读.mdb", "system", "missing.mdb"}) win::makePrivate(path(name));
        for (const auto& [name, mode] :
             {std::pair{"zyqhmz.mdb", 0600u}, std::pair{"只读.mdb", 0400u}, std::pair{"system", 0700u}}) {
            struct stat info {};
            QVERIFY(::stat(QFile::encodeName(path(name)).constData(), &info) == 0);
            QCOMPARE(info.st_mode & 0777, mode);
        }
        QVERIFY(QDir(path("system")).removeRecursively());
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
        QVERIFY(win::folderError(EACCES, QStringLiteral("/srv/诊所")).description().contains(QStringLiteral("/srv/诊所")));
    }

    void freeSpaceOfTheFilesystem()
    {
        const win::DiskFreeSpace space = win::diskFreeSpace(folder_.path());
        QVERIFY(space.ok);
        // A target that does not exist yet is answered by its folder.
        QCOMPARE(win::diskFreeSpace(path("new/deeper/备份.mdb")).totalClusters, space.totalClusters);
        QCOMPARE((win::DiskFreeSpace{true, 8, 512, 1u << 20, 1u << 21}.freeBytes()), quint64(4294967296ULL));
        QVERIFY(!win::diskFreeSpace(QStringLiteral("d:/备份.mdb")).ok);   // no drive letters here
        QVERIFY(!win::diskFreeSpace(QStringLiteral("\\\\server\\share\\a.mdb")).ok);
    }

    void mapsWindowsPaths()
    {
        const struct { const char *windowsPath, *underDocuments, *host; } rows[] = {   // host "": under the documents folder
            {"c:\\my documents\\药品编码名称对照表.xls", "/药品编码名称对照表.xls", ""}, {"C:\\My Documents\\a.xls", "/a.xls", ""},
            {"c:\\my documents", "", ""},                  {"c:/my documents/a.xls", "/a.xls", ""},
            {"c:\\my documents2\\a.xls", "", "c:/my documents2/a.xls"},
            {"/home/li/zyqhmz\\system\\zyqhmz.mdb", "", "/home/li/zyqhmz/system/zyqhmz.mdb"}};
        for (const auto& row : rows)
            QCOMPARE(win::hostPath(QString::fromUtf8(row.windowsPath)),
                     *row.host ? QString::fromUtf8(row.host) : folder_.path() + QString::fromUtf8(row.underDocuments));
    }

    // The settings file stands in for the registry, the environment overrides it.
    void defaultsTheSettingsFileAndOverrides()
    {
        QVERIFY(!win::ownerName().isEmpty());   // the account's name without a setting
        {
            QSettings registry(registryFile(), QSettings::IniFormat);
            registry.setValue(QStringLiteral("WindowsDir"), QStringLiteral("/srv/诊所/"));
            registry.setValue(QStringLiteral("OwnerName"), QStringLiteral("岐禾诊所"));
        }
        QCOMPARE(win::windowsDir(), QStringLiteral("/srv/诊所"));
        QCOMPARE(win::ownerName(), QStringLiteral("岐禾诊所"));
        qputenv("ZYQHMZ_WINDOWS_DIR", "/tmp/test-windows");
        QCOMPARE(win::windowsDir(), QStringLiteral("/tmp/test-windows"));
    }
};

QTEST_MAIN(WinTest)
#include "win_test.moc"
