// File copy that never leaves a half-written target, its errors in the old runtime's
// terms, and the free-space query of the backup window.
#include "platform/win/disk.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int copyError(const QString& source, const QString& target)
{
    try {
        win::copyFile(source, target);
    } catch (const win::Error& error) {
        return error.number();
    }
    return 0;
}

}  // namespace

class WinFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    QString path(const QString& name) const { return folder_.filePath(name); }
    QStringList entries() const { return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        for (const QString& name : entries()) QFile::remove(path(name));
        win::setCopyByteLimit(std::nullopt);
        win::setDiskFreeSpaceHook({});
    }

    void copiesAndReplaces()
    {
        QByteArray large(300000, 'x');   // several buffers
        large[123456] = 'y';
        writeFile(path("zyqhmz.mdb"), large);
        writeFile(path("备份.mdb"), "older backup");
        win::copyFile(path("zyqhmz.mdb"), path("备份.mdb"));
        QCOMPARE(readFile(path("备份.mdb")), large);
        QCOMPARE(entries().size(), 2);   // no temporary file left

        writeFile(path("empty.mdb"), "");
        win::copyFile(path("empty.mdb"), path("备份.mdb"));
        QCOMPARE(readFile(path("备份.mdb")), QByteArray());
    }

    void replacingKeepsTheTargetsPermissions()
    {
        writeFile(path("a"), "new");
        writeFile(path("b"), "old");
        QVERIFY(::chmod(QFile::encodeName(path("b")).constData(), 0640) == 0);
        win::copyFile(path("a"), path("b"));
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(path("b")).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0640));
    }

    // A full disk in the middle of the copy: the old backup stays whole.
    void fullDiskLeavesTheTargetUntouched_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::newRow("nothing written") << qint64(0);
        QTest::newRow("part written") << qint64(70000);
    }
    void fullDiskLeavesTheTargetUntouched()
    {
        QFETCH(qint64, limit);
        writeFile(path("zyqhmz.mdb"), QByteArray(200000, 'd'));
        writeFile(path("备份.mdb"), "older backup");
        win::setCopyByteLimit(limit);
        try {
            win::copyFile(path("zyqhmz.mdb"), path("备份.mdb"));
            QFAIL("the copy should have failed");
        } catch (const win::Error& error) {
            QCOMPARE(error.number(), 61);
            QCOMPARE(error.description(), QStringLiteral("磁盘已满"));
        }
        QCOMPARE(readFile(path("备份.mdb")), QByteArray("older backup"));
        QCOMPARE(entries().size(), 2);
    }

    void aFailedFlushLeavesTheTargetUntouched()
    {
        writeFile(path("zyqhmz.mdb"), "new data");
        writeFile(path("备份.mdb"), "older backup");
        win::setCopyFlushFails(true);
        QCOMPARE(copyError(path("zyqhmz.mdb"), path("备份.mdb")), 57);
        win::setCopyFlushFails(false);
        QCOMPARE(readFile(path("备份.mdb")), QByteArray("older backup"));
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
    }

    void freeSpaceQueryCanFail()
    {
        QVERIFY(!win::diskFreeSpace(QString()).ok);
        QVERIFY(!win::diskFreeSpace(QStringLiteral("d:/备份.mdb")).ok);   // no drive letters here
        QVERIFY(!win::diskFreeSpace(QStringLiteral("\\\\server\\share\\a.mdb")).ok);
    }

    void freeBytesBeyondThirtyTwoBits()
    {
        const win::DiskFreeSpace space{true, 8, 512, 1u << 20, 1u << 21};
        QCOMPARE(space.freeBytes(), quint64(4294967296ULL));
    }

    void testsCanAnswerTheQuery()
    {
        win::setDiskFreeSpaceHook([](const QString&) { return win::DiskFreeSpace{true, 1, 512, 2, 10}; });
        QCOMPARE(win::diskFreeSpace(folder_.path()).freeBytes(), quint64(1024));
        win::setDiskFreeSpaceHook({});
        QVERIFY(win::diskFreeSpace(folder_.path()).freeBytes() != 1024);
    }
};

QTEST_MAIN(WinFilesTest)
#include "win_files_test.moc"
