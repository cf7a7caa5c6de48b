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

void syncFolder(const QByteArray& folder)
{
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;   // the rename stands; only its durability is at stake
    ::fsync(descriptor);
    ::close(descriptor);
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

    char buffer[1 << 16];
    qint64 written = 0;
    for (;;) {
        const ssize_t got = ::read(copy.source, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno);
        }
        if (got == 0) break;
        writeAll(copy.temporary, buffer, got, written);
    }
    if (::fsync(copy.temporary) != 0) throw fileError(errno);
    const int descriptor = copy.temporary;
    copy.temporary = -1;
    if (::close(descriptor) != 0) throw fileError(errno);
    if (::rename(copy.temporaryPath.constData(), targetPath.constData()) != 0) throw fileError(errno);
    copy.renamed = true;
    syncFolder(folder);
}

void setCopyByteLimit(std::optional<qint64> bytes) { byteLimit() = bytes; }

}  // namespace win
