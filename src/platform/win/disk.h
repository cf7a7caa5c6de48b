// Free space of the filesystem that holds a path, in bytes and in the old form of
// sectors per cluster, bytes per sector, free and total clusters. The backup window
// refuses a copy when the database file is longer than the free bytes; a query that
// fails (a relative or empty path) skips that check, as it always did.
#pragma once

#include <QString>
#include <functional>

namespace win {

struct DiskFreeSpace {
    bool ok = false;
    quint64 sectorsPerCluster = 0;
    quint64 bytesPerSector = 0;
    quint64 freeClusters = 0;
    quint64 totalClusters = 0;

    // The product in 64 bits, so drives beyond 2 GB report their true space.
    quint64 freeBytes() const { return sectorsPerCluster * bytesPerSector * freeClusters; }
};

// `path` is an absolute host path; it need not exist yet (a backup target): the
// nearest existing folder above it answers.
DiskFreeSpace diskFreeSpace(const QString& path);

// Tests answer the query themselves (a nearly full disk) while a hook is set;
// an empty function restores the real query.
void setDiskFreeSpaceHook(std::function<DiskFreeSpace(const QString& path)> hook);

}  // namespace win
