// The restore's copy of a checked file into the held database (Database::replaceWith,
// dao.h). Where both files are keyed alike (the same salt, as every backup of this
// database and every placed copy of the shipped file is) and of one page size, the
// stored pages are copied as they lie, still encrypted, instead of each being
// decrypted and encrypted again through SQLite's pager four times over:
//
//   1. the held connection takes the file's exclusive lock (BEGIN EXCLUSIVE), waiting
//      for (then refused by, error 3260) any other program reading or writing it;
//   2. every stored page the copy will change is written, as it lies, to the file's
//      rollback journal "<file>-journal" in SQLite's own format (header, then page
//      number, page, checksum), which is flushed, then marked valid and flushed again;
//   3. the changed pages are written into the file, a run of them at a time, and
//      the file is cut to the new length and flushed;
//   4. the caller has its last word (a check of the source that ran meanwhile gives
//      its verdict); a refusal leaves the journal to be played back, as after a kill;
//   5. the journal is deleted, which is the commit, and the lock released.
//
// A kill at any moment leaves either the old file (before 2 is complete the file is
// untouched; after it, the journal is "hot" and SQLite itself, in whichever program
// opens the file next, this one included, writes the old pages back) or the new one
// (once the journal is gone). SQLite writes journal pages of an encrypted file as
// stored, and plays them back so, which is what lets the pages go round the pager.
//
// A connection that read the old file finds it changed at its next read (its cache
// goes when the bytes of the file's change counter differ) and reloads the schema if
// its version differs. So the copy goes this way only when the two files' schemas are
// alike or differ in version; otherwise, when the keys or page sizes differ, or when
// either file is in write-ahead mode, the pages go through SQLite's online backup in
// one transaction, as before.
#include "platform/dao/connection.h"
#include "platform/dao/recordset_impl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <unistd.h>
#include <vector>

namespace dao {

namespace {

constexpr int SaltBytes = 16;          // the start of every SQLCipher file: its key's salt
constexpr qint64 SectorSize = 4096;    // the journal header's room, as a disk sector may be
constexpr qint64 ChunkPages = 1024;    // read and written at a time
constexpr qint64 WriteBytes = 64 << 10; // at most in one write of SQLite's file layer (under its 128 KB)

sqlite3_file* storedFile(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file);
    if (!file || !file->pMethods) throw Error(3043, QStringLiteral("磁盘或网络读写错误。"));
    return file;
}

qint64 storedLength(sqlite3_file* file)
{
    sqlite3_int64 length = 0;
    if (const int rc = file->pMethods->xFileSize(file, &length); rc != SQLITE_OK) throw sqliteError(nullptr, rc);
    return length;
}

void readStored(sqlite3_file* file, char* buffer, qint64 size, qint64 offset)
{
    if (const int rc = file->pMethods->xRead(file, buffer, static_cast<int>(size), offset); rc != SQLITE_OK)
        throw sqliteError(nullptr, rc);
}

Error writeError(int failure)
{
    return failure == ENOSPC ? sqliteError(nullptr, SQLITE_FULL) : sqliteError(nullptr, SQLITE_IOERR);
}

void syncFolder(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

// A descriptor that this process (SQLite's file layer) already holds on the file at
// `path`, or -1. It only serves to start writing back what was written; it is never
// closed here, since closing any descriptor of a file drops every lock of the process
// on it.
int heldDescriptorOf(const QString& path)
{
    struct stat wanted {};
    if (::stat(QFile::encodeName(path).constData(), &wanted) != 0) return -1;
    const QStringList held = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString& name : held) {
        struct stat found {};
        const int descriptor = name.toInt();
        if (::fstat(descriptor, &found) == 0 && found.st_dev == wanted.st_dev && found.st_ino == wanted.st_ino)
            return descriptor;
    }
    return -1;
}

// Has the medium start on `length` bytes of `descriptor` from `offset`, so that a
// later flush waits only for what is left.
void startWriting(int descriptor, qint64 offset, qint64 length)
{
    if (descriptor >= 0) ::sync_file_range(descriptor, offset, length, SYNC_FILE_RANGE_WRITE);
}

qint64 pragmaNumber(sqlite3* db, const char* pragma)
{
    Statement statement(db, QString::fromLatin1(pragma));
    return statement.step() ? static_cast<qint64>(statement.value(0).toDouble()) : 0;
}

// What a connection keeps of the schema: its version and every object's place.
struct SchemaShape {
    qint64 version = 0;
    QStringList objects;
};

SchemaShape schemaOf(sqlite3* db)
{
    SchemaShape shape{pragmaNumber(db, "PRAGMA schema_version"), {}};
    Statement objects(db, QStringLiteral("SELECT type, name, tbl_name, rootpage, sql FROM sqlite_master ORDER BY rowid"));
    while (objects.step())
        for (int c = 0; c < 5; ++c) shape.objects << objects.value(c).toString();
    return shape;
}

void put32(unsigned char* at, quint32 value)
{
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

// The rollback journal of the file, in SQLite's format. Until it is sealed it is not
// valid (its header's first bytes are zero) and goes with the object; once sealed it
// stays until removed, so that an unfinished copy is rolled back by the next reader.
class RollbackJournal {
public:
    RollbackJournal(const QString& databasePath, qint64 pageSize, quint32 originalPages)
        : path_(databasePath + QStringLiteral("-journal")), pageSize_(pageSize),
          checksumStart_(QRandomGenerator::global()->generate())
    {
        struct stat database {};
        const mode_t mode = ::stat(QFile::encodeName(databasePath).constData(), &database) == 0
                                ? database.st_mode & 0777
                                : S_IRUSR | S_IWUSR;
        descriptor_ = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (descriptor_ < 0) throw writeError(errno);
        std::vector<unsigned char> header(SectorSize, 0);   // the magic comes at sealing
        put32(&header[12], checksumStart_);
        put32(&header[16], originalPages);
        put32(&header[20], static_cast<quint32>(SectorSize));
        put32(&header[24], static_cast<quint32>(pageSize_));
        write(header.data(), SectorSize, 0);
        end_ = SectorSize;
    }
    ~RollbackJournal()
    {
        if (descriptor_ >= 0) ::close(descriptor_);
        if (!sealed_) ::unlink(QFile::encodeName(path_).constData());
    }
    RollbackJournal(const RollbackJournal&) = delete;
    RollbackJournal& operator=(const RollbackJournal&) = delete;

    // Keeps the stored page `number` (from 1) as it lies.
    void add(quint32 number, const char* page)
    {
        const qint64 record = pageSize_ + 8;
        if (static_cast<qint64>(pending_.size()) + record > ChunkPages * record) flush();
        const size_t at = pending_.size();
        pending_.resize(at + static_cast<size_t>(record));
        put32(&pending_[at], number);
        std::memcpy(&pending_[at + 4], page, static_cast<size_t>(pageSize_));
        quint32 checksum = checksumStart_;
        for (qint64 i = pageSize_ - 200; i > 0; i -= 200) checksum += static_cast<unsigned char>(page[i]);
        put32(&pending_[at + 4 + static_cast<size_t>(pageSize_)], checksum);
        ++records_;
    }

    // Makes the journal valid for a rollback: its pages on the medium, then its header.
    void seal()
    {
        flush();
        sync();
        static const unsigned char magic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
        unsigned char start[12];
        std::memcpy(start, magic, sizeof magic);
        put32(start + 8, records_);
        write(start, sizeof start, 0);
        sync();
        sealed_ = true;
        syncFolder(QFileInfo(path_).absolutePath());
    }

    // The commit: without its journal the file holds the new pages for good. Only the
    // name must go at once; freeing the blocks of a journal as large as the file takes
    // a while, so its last descriptor is closed on a thread of its own.
    void remove()
    {
        if (::unlink(QFile::encodeName(path_).constData()) != 0) throw writeError(errno);
        sealed_ = false;
        syncFolder(QFileInfo(path_).absolutePath());
        std::thread([descriptor = std::exchange(descriptor_, -1)] { ::close(descriptor); }).detach();
    }

private:
    void write(const void* data, qint64 size, qint64 offset)
    {
        const auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t done = ::pwrite(descriptor_, bytes, static_cast<size_t>(size), offset);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) throw writeError(done < 0 ? errno : ENOSPC);
            bytes += done;
            size -= done;
            offset += done;
        }
    }
    void flush()
    {
        write(pending_.data(), static_cast<qint64>(pending_.size()), end_);
        // The medium starts on these pages while the next are made ready; the seal's
        // flush then waits only for the last of them.
        startWriting(descriptor_, end_, static_cast<qint64>(pending_.size()));
        end_ += static_cast<qint64>(pending_.size());
        pending_.clear();
    }
    void sync()
    {
        if (::fdatasync(descriptor_) != 0) throw writeError(errno);
    }

    QString path_;
    qint64 pageSize_;
    quint32 checksumStart_;
    int descriptor_ = -1;
    qint64 end_ = 0;
    quint32 records_ = 0;
    bool sealed_ = false;
    std::vector<unsigned char> pending_;
};

// Copies the stored pages of `from` over those of `to`, whose exclusive lock the
// caller holds; see the top of the file.
void copyStoredPages(sqlite3* to, sqlite3* from, qint64 pageSize, const std::function<void()>& beforeCommitting)
{
    sqlite3_file* source = storedFile(from);
    sqlite3_file* target = storedFile(to);
    const qint64 newLength = storedLength(source);
    const qint64 oldLength = storedLength(target);
    const qint64 newPages = newLength / pageSize;
    const qint64 oldPages = oldLength / pageSize;
    const qint64 chunk = ChunkPages * pageSize;
    std::vector<char> older(static_cast<size_t>(chunk)), newer(static_cast<size_t>(chunk));
    std::vector<bool> changed(static_cast<size_t>(std::max(newPages, oldPages)), false);

    RollbackJournal journal(QString::fromUtf8(sqlite3_db_filename(to, "main")), pageSize, static_cast<quint32>(oldPages));
    for (qint64 first = 0; first < oldPages; first += ChunkPages) {
        const qint64 count = std::min(ChunkPages, oldPages - first);
        readStored(target, older.data(), count * pageSize, first * pageSize);
        const qint64 comparable = std::clamp(newPages - first, qint64(0), count);
        if (comparable > 0) readStored(source, newer.data(), comparable * pageSize, first * pageSize);
        for (qint64 p = 0; p < count; ++p) {
            const char* old = older.data() + p * pageSize;
            if (p < comparable && std::memcmp(old, newer.data() + p * pageSize, static_cast<size_t>(pageSize)) == 0)
                continue;
            changed[static_cast<size_t>(first + p)] = true;
            journal.add(static_cast<quint32>(first + p + 1), old);
        }
    }
    journal.seal();

    // Each run of changed pages goes in as few writes as the file layer takes.
    const int written = heldDescriptorOf(QString::fromUtf8(sqlite3_db_filename(to, "main")));
    const auto isChanged = [&](qint64 page) { return page >= oldPages || changed[static_cast<size_t>(page)]; };
    for (qint64 first = 0; first < newPages; first += ChunkPages) {
        const qint64 count = std::min(ChunkPages, newPages - first);
        readStored(source, newer.data(), count * pageSize, first * pageSize);
        for (qint64 p = 0; p < count;) {
            if (!isChanged(first + p)) {
                ++p;
                continue;
            }
            qint64 end = p + 1;
            while (end < count && (end - p) * pageSize < WriteBytes && isChanged(first + end)) ++end;
            const int rc = target->pMethods->xWrite(target, newer.data() + p * pageSize,
                                                    static_cast<int>((end - p) * pageSize), (first + p) * pageSize);
            if (rc != SQLITE_OK) throw sqliteError(nullptr, rc);
            p = end;
        }
        startWriting(written, first * pageSize, count * pageSize);
    }
    if (newLength < oldLength)
        if (const int rc = target->pMethods->xTruncate(target, newLength); rc != SQLITE_OK) throw sqliteError(nullptr, rc);
    if (const int rc = target->pMethods->xSync(target, SQLITE_SYNC_NORMAL); rc != SQLITE_OK) throw sqliteError(nullptr, rc);
    if (beforeCommitting) beforeCommitting();   // a refusal leaves the journal to be played back
    journal.remove();
}

QByteArray saltOf(sqlite3* db)
{
    QByteArray salt(SaltBytes, '\0');
    readStored(storedFile(db), salt.data(), SaltBytes, 0);
    return salt;
}

// SQLite's online backup: every page decrypted and encrypted again through the pager,
// in one write transaction of the target.
void copyThroughThePager(sqlite3* to, sqlite3* from)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) throw sqliteError(to, sqlite3_errcode(to));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE) throw sqliteError(to, stepped, QStringLiteral("数据库没有改变"));
    if (finished != SQLITE_OK) throw sqliteError(to, finished);
}

}  // namespace

void Database::replaceWith(const Database& source, const std::function<void()>& beforeCommitting)
{
    Connection& target = live();
    if (target.inTransaction()) throw Error(3260, QStringLiteral("本程序还有未完成的修改，暂时不能复制数据库文件。"));
    sqlite3* to = target.handle();
    sqlite3* from = source.live().handle();
    target.run(QStringLiteral("BEGIN EXCLUSIVE"));
    bool stored = false;
    try {
        const qint64 pageSize = pragmaNumber(to, "PRAGMA page_size");
        const SchemaShape held = schemaOf(to);
        const SchemaShape coming = schemaOf(from);
        // A file in write-ahead mode keeps commits beside it, out of its stored pages.
        stored = pageSize == pragmaNumber(from, "PRAGMA page_size") && saltOf(to) == saltOf(from)
                 && (held.version != coming.version || held.objects == coming.objects) && !writesAhead(to)
                 && !writesAhead(from);
        if (stored) copyStoredPages(to, from, pageSize, beforeCommitting);
    } catch (...) {
        // A journal left sealed is played back by the read that follows the rollback.
        sqlite3_exec(to, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(to, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        throw;
    }
    target.run(QStringLiteral("COMMIT"));
    if (stored) sqlite3_db_release_memory(to);   // the old file's pages
    else {
        if (beforeCommitting) beforeCommitting();
        copyThroughThePager(to, from);
    }
}

}  // namespace dao
