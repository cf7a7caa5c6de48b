// Free disk space through statvfs; see disk.h.
#include "platform/win/disk.h"

#include <QDir>
#include <QFileInfo>

#include <sys/statvfs.h>

namespace win {

namespace {

std::function<DiskFreeSpace(const QString&)>& hook()
{
    static std::function<DiskFreeSpace(const QString&)> answer;
    return answer;
}

}  // namespace

DiskFreeSpace diskFreeSpace(const QString& path)
{
    if (hook()) return hook()(path);
    if (path.isEmpty() || QDir::isRelativePath(path)) return {};

    QString existing = QDir::cleanPath(path);
    while (!QFileInfo::exists(existing) && existing != QStringLiteral("/"))
        existing = QFileInfo(existing).path();

    struct statvfs filesystem {};
    if (statvfs(QFile::encodeName(existing).constData(), &filesystem) != 0) return {};
    DiskFreeSpace space;
    space.ok = true;
    space.sectorsPerCluster = 1;
    space.bytesPerSector = filesystem.f_frsize;
    space.freeClusters = filesystem.f_bavail;
    space.totalClusters = filesystem.f_blocks;
    return space;
}

void setDiskFreeSpaceHook(std::function<DiskFreeSpace(const QString& path)> answer)
{
    hook() = std::move(answer);
}

}  // namespace win
