// Whole-file copy through a temporary file and a rename; see filecopy.h.
#include "platform/win/filecopy.h"

#include "platform/win/file_error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {

namespace {

std::optional<qint64>& byteLimit()
{
    static std::optional<qint64> limit;
    return limit;
}

bool& flushFails()
{
    static bool fails = false;
    return fails;
}

// fsync, or the failure a test asked for.
int flush(int descriptor)
{
    if (flushFails()) {
        errno = EIO;
        return -1;
    }
    return ::fsync(descriptor);
}

// The open descriptors and the temporary file of one copy; whatever is still held
// when the copy ends early is closed and removed.
struct CopyInProgress {
    int source = -1;
    int temporary = -1;
    QByteArray temporaryPath;
    bool renamed = false;

    ~CopyInProgress()
    {
        if (source >= 0) ::close(source);
        if (temporary >= 0) ::close(temporary);
        if (!temporaryPath.isEmpty() && !renamed) ::unlink(temporaryPath.constData());
    }
};

mode_t defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Copies inside the kernel (copy_file_range) for as long as the two filesystems allow
// it, sparing the data a trip through the program. It stops at the end of the source,
// where a test's byte limit would be crossed, or where the filesystems can't copy this
// way; the buffered loop then goes on from where it stopped.
void copyInKernel(int source, int target, qint64& written)
{
    for (;;) {
        qint64 chunk = qint64(8) << 20;
        if (byteLimit()) chunk = std::min(chunk, *byteLimit() - written);
        if (chunk <= 0) return;
        const ssize_t done = ::copy_file_range(source, nullptr, target, nullptr, static_cast<size_t>(chunk), 0);
        if (done == 0) return;
        if (done < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) return;
            throw fileError(errno);
        }
        written += done;
    }
}

void writeAll(int descriptor, const char* data, ssize_t size, qint64& written)
{
    while (size > 0) {
        ssize_t chunk = size;
        if (byteLimit() && written + chunk > *byteLimit()) {
            chunk = std::max<qint64>(0, *byteLimit() - written);
            if (chunk == 0) throw fileError(ENOSPC);
        }
        const ssize_t done = ::write(descriptor, data, static_cast<size_t>(chunk));
        if (done < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno);
        }
        data += done;
        size -= done;
        written += done;
    }
}

// A filesystem that can't flush a folder (EINVAL) keeps its renames without it.
void syncFolder(const QByteArray& folder)
{
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) throw fileError(errno);
    const int failure = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    if (failure != 0 && failure != EINVAL) throw fileError(failure);
}

}  // namespace

void copyFile(const QString& source, const QString& target)
{
    CopyInProgress copy;
    copy.source = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (copy.source < 0) throw fileError(errno);

    const QFileInfo targetInfo(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    copy.temporaryPath = folder + "/." + QFile::encodeName(targetInfo.fileName()) + ".XXXXXX";
    copy.temporary = ::mkstemp(copy.temporaryPath.data());
    if (copy.temporary < 0) {
        const int failure = errno;
        copy.temporaryPath.clear();
        throw failure == ENOENT ? pathNotFound() : fileError(failure);
    }
    struct stat existing {};
    const QByteArray targetPath = QFile::encodeName(targetInfo.absoluteFilePath());
    const bool replacing = ::stat(targetPath.constData(), &existing) == 0;
    ::fchmod(copy.temporary, replacing ? (existing.st_mode & 07777) : defaultMode());

    qint64 written = 0;
    copyInKernel(copy.source, copy.temporary, written);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(copy.source, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno);
        }
        if (got == 0) break;
        writeAll(copy.temporary, buffer, got, written);
    }
    if (flush(copy.temporary) != 0) throw fileError(errno);
    const int descriptor = copy.temporary;
    copy.temporary = -1;
    if (::close(descriptor) != 0) throw fileError(errno);
    if (::rename(copy.temporaryPath.constData(), targetPath.constData()) != 0) throw fileError(errno);
    copy.renamed = true;
    syncFolder(folder);
}

bool isSameFile(const QString& first, const QString& second)
{
    struct stat a {}, b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0
           && ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void setCopyByteLimit(std::optional<qint64> bytes) { byteLimit() = bytes; }

void setCopyFlushFails(bool fails) { flushFails() = fails; }

}  // namespace win
