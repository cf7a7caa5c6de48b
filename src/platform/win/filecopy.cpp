// Whole-file copy through a temporary file and a rename; see filecopy.h.
#include "platform/win/filecopy.h"

#include "platform/win/file_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

void syncFolder(const QByteArray& folder);

// fsync, or the failure a test asked for.
int flush(int descriptor)
{
    if (flushFails()) {
        errno = EIO;
        return -1;
    }
    return ::fsync(descriptor);
}

// The temporary file of one copy, beside its target and locked for as long as the copy
// runs; removed unless it was renamed over the target.
struct TemporaryBeside {
    int descriptor = -1;
    QByteArray path;
    QByteArray folder;
    QByteArray target;
    bool renamed = false;

    explicit TemporaryBeside(const QString& targetFile)
    {
        sweepCopyLeftovers(targetFile);
        const QFileInfo info(targetFile);
        folder = QFile::encodeName(info.absolutePath());
        target = QFile::encodeName(info.absoluteFilePath());
        path = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
        descriptor = ::mkostemp(path.data(), O_CLOEXEC);
        if (descriptor < 0) {
            const int failure = errno;
            path.clear();
            throw failure == ENOENT ? pathNotFound() : folderError(failure, info.absolutePath());
        }
        ::flock(descriptor, LOCK_EX);
        ::fchmod(descriptor, S_IRUSR | S_IWUSR);
    }
    ~TemporaryBeside()
    {
        if (descriptor >= 0) ::close(descriptor);
        if (!path.isEmpty() && !renamed) ::unlink(path.constData());
    }
    TemporaryBeside(const TemporaryBeside&) = delete;
    TemporaryBeside& operator=(const TemporaryBeside&) = delete;

    // Flushes the data, renames the file over the target and flushes the folder.
    void commit()
    {
        if (flush(descriptor) != 0) throw fileError(errno);
        const int closing = descriptor;
        descriptor = -1;
        if (::close(closing) != 0) throw fileError(errno);
        if (::rename(path.constData(), target.constData()) != 0) throw fileError(errno);
        renamed = true;
        syncFolder(folder);
    }
};

struct Descriptor {
    int value;
    ~Descriptor()
    {
        if (value >= 0) ::close(value);
    }
};

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
    const Descriptor from{::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC)};
    if (from.value < 0) throw fileError(errno);
    TemporaryBeside copy(target);
    qint64 written = 0;
    copyInKernel(from.value, copy.descriptor, written);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from.value, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileError(errno);
        }
        if (got == 0) break;
        writeAll(copy.descriptor, buffer, got, written);
    }
    copy.commit();
}

void refuseUnwritableTarget(const QString& target)
{
    const QFileInfo file(target);
    if (file.isDir() && !file.isSymLink()) throw fileAccessError();
    const TemporaryBeside probe(target);
}

void writeFile(qint64 length, const ReadAt& read, const QString& target)
{
    TemporaryBeside copy(target);
    constexpr qint64 chunk = qint64(1) << 20;
    const std::unique_ptr<char[]> buffer(new char[chunk]);
    qint64 written = 0;
    while (written < length) {
        const qint64 size = std::min(chunk, length - written);
        read(buffer.get(), size, written);
        writeAll(copy.descriptor, buffer.get(), static_cast<ssize_t>(size), written);
    }
    copy.commit();
}

void sweepCopyLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("\\.") + QRegularExpression::escape(info.fileName())
                                            + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    for (const QString& name : folder.entryList({u'.' + info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (!pattern.match(name).hasMatch()) continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        const Descriptor leftover{::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)};
        // A copy still running holds the lock; its file is not a leftover.
        if (leftover.value >= 0 && ::flock(leftover.value, LOCK_EX | LOCK_NB) == 0) ::unlink(path.constData());
    }
}

void makePrivateFolders(const QString& folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (path == QLatin1String("/") || QFileInfo(path).isDir()) return;
    makePrivateFolders(QFileInfo(path).path());
    if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0 && errno != EEXIST)
        throw folderError(errno, QFileInfo(path).path());
}

void makePrivate(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || info.st_uid != ::geteuid()) return;
    // Only taken away: what the user has withheld from the file stays withheld.
    if (S_ISDIR(info.st_mode)) ::chmod(name.constData(), info.st_mode & S_IRWXU);
    else if (S_ISREG(info.st_mode)) ::chmod(name.constData(), info.st_mode & (S_IRUSR | S_IWUSR));
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
