// See plain_view.h. The view is an SQLite file layer ("vfs") over the default one:
// the database file it opens reads its stored pages a run at a time and returns them
// plain; everything else (locks, sizes, other files) is the default layer's. Every
// page is proven first, on a few threads at once, so that SQLite's walk over the
// file, which one thread must make, only decrypts.
//
// The file is only ever opened through the default layer, never with a descriptor of
// our own: closing any descriptor of a file drops every lock this process holds on
// it, the caller's read lock included, and the default layer keeps a file's
// descriptors open while another connection of the process holds a lock on it.
#include "platform/dao/plain_view.h"

#include "platform/dao/connection.h"
#include "platform/dao/stored_pages.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace dao {

namespace {

constexpr int PageSize = StoredPages::PageSize;
// Stored pages are read a run at a time into one of a few slots, each run always into
// the same slot: SQLite walks several trees at once, each over its own stretch of the
// file, and every run is read once while those stretches stay apart.
constexpr sqlite3_int64 RunPages = 16;
constexpr sqlite3_int64 Slots = 256;
constexpr sqlite3_int64 ProofChunkPages = 256;   // read at a time by each proving thread
constexpr char ViewName[] = "zyqhmz-plain-view";

sqlite3_vfs* defaultLayer() { return sqlite3_vfs_find(nullptr); }

// A file opened read-only through the default layer, closed with the object.
class LayerFile {
public:
    explicit LayerFile(const QString& path)
        : file_(static_cast<sqlite3_file*>(sqlite3_malloc(defaultLayer()->szOsFile)))
    {
        if (!file_) return;
        std::memset(file_, 0, static_cast<size_t>(defaultLayer()->szOsFile));
        int flags = 0;
        const QByteArray name = QFile::encodeName(path);
        if (defaultLayer()->xOpen(defaultLayer(), name.constData(), file_, SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_READONLY,
                                  &flags) != SQLITE_OK)
            file_->pMethods = nullptr;
    }
    ~LayerFile()
    {
        if (file_ && file_->pMethods) file_->pMethods->xClose(file_);
        sqlite3_free(file_);
    }
    LayerFile(const LayerFile&) = delete;
    LayerFile& operator=(const LayerFile&) = delete;

    bool isOpen() const { return file_ && file_->pMethods; }
    sqlite3_int64 pages() const
    {
        sqlite3_int64 length = 0;
        return file_->pMethods->xFileSize(file_, &length) == SQLITE_OK ? length / PageSize : 0;
    }
    bool read(unsigned char* into, sqlite3_int64 firstPage, sqlite3_int64 count) const
    {
        return file_->pMethods->xRead(file_, into, static_cast<int>(count * PageSize), firstPage * PageSize) == SQLITE_OK;
    }

private:
    sqlite3_file* file_;
};

// Whether every one of the first `count` stored pages of `file` is authentic, proven
// on a few threads, each over its own stretch of pages.
bool allAuthentic(const LayerFile& file, const StoredPages& pages, sqlite3_int64 count)
{
    const sqlite3_int64 threads =
        std::clamp<sqlite3_int64>(std::thread::hardware_concurrency() / 2, 1, 4);
    const sqlite3_int64 stretch = (count + threads - 1) / threads;
    std::atomic<bool> sound{true};
    const auto prove = [&](sqlite3_int64 first, sqlite3_int64 end) {
        std::vector<unsigned char> chunk(static_cast<size_t>(ProofChunkPages * PageSize));
        for (sqlite3_int64 at = first; at < end && sound; at += ProofChunkPages) {
            const sqlite3_int64 run = std::min(ProofChunkPages, end - at);
            bool proven = file.read(chunk.data(), at, run);
            for (sqlite3_int64 p = 0; proven && p < run; ++p)
                proven = pages.authentic(static_cast<std::uint32_t>(at + p + 1), chunk.data() + p * PageSize);
            if (!proven) sound = false;
        }
    };
    std::vector<std::thread> helpers;
    for (sqlite3_int64 t = 1; t < threads; ++t)
        helpers.emplace_back(prove, std::min(count, t * stretch), std::min(count, (t + 1) * stretch));
    prove(0, std::min(count, stretch));
    for (std::thread& helper : helpers) helper.join();
    return sound;
}

// What the view knows of the file the current thread is opening through it.
struct ViewKeys {
    StoredPages* pages;
    sqlite3_int64 provenPages;   // the first pages, proven already
};
thread_local const ViewKeys* opening = nullptr;

// The database file as the view opens it: the default layer's file underneath.
struct ViewFile {
    sqlite3_file base;               // first, as SQLite expects
    sqlite3_file* stored;            // the default layer's open file
    ViewKeys keys;
    sqlite3_int64 storedPages;       // the file's length in pages, taken at the first read
    std::vector<sqlite3_int64>* runs;      // the run each slot holds, -1 for none
    std::vector<unsigned char>* buffer;    // the slots' stored pages
};

ViewFile* viewOf(sqlite3_file* file) { return reinterpret_cast<ViewFile*>(file); }
sqlite3_file* storedOf(sqlite3_file* file) { return viewOf(file)->stored; }

// The stored page `index` (from 0), read with its run into the run's slot when not
// there yet; null on a read error, whose code goes to `rc`.
const unsigned char* storedPage(ViewFile* view, sqlite3_int64 index, int& rc)
{
    const sqlite3_int64 run = index / RunPages;
    const size_t slot = static_cast<size_t>(run % Slots);
    unsigned char* pages = view->buffer->data() + slot * RunPages * PageSize;
    if ((*view->runs)[slot] != run) {
        const sqlite3_int64 first = run * RunPages;
        const sqlite3_int64 count = std::min(RunPages, view->storedPages - first);
        (*view->runs)[slot] = -1;
        rc = view->stored->pMethods->xRead(view->stored, pages, static_cast<int>(count * PageSize), first * PageSize);
        if (rc != SQLITE_OK) return nullptr;
        (*view->runs)[slot] = run;
    }
    return pages + (index % RunPages) * PageSize;
}

int viewRead(sqlite3_file* file, void* into, int amount, sqlite3_int64 offset)
{
    ViewFile* view = viewOf(file);
    if (view->storedPages < 0) {
        sqlite3_int64 length = 0;
        if (const int rc = view->stored->pMethods->xFileSize(view->stored, &length); rc != SQLITE_OK) return rc;
        view->storedPages = length / PageSize;
    }
    auto* out = static_cast<unsigned char*>(into);
    unsigned char plain[PageSize];
    while (amount > 0) {
        const sqlite3_int64 index = offset / PageSize;
        const int within = static_cast<int>(offset % PageSize);
        const int taken = std::min(amount, PageSize - within);
        if (index >= view->storedPages) {   // past the end, as SQLite expects of a file
            std::memset(out, 0, static_cast<size_t>(amount));
            return SQLITE_IOERR_SHORT_READ;
        }
        int rc = SQLITE_OK;
        const unsigned char* stored = storedPage(view, index, rc);
        if (!stored) return rc;
        const auto number = static_cast<std::uint32_t>(index + 1);
        if (index >= view->keys.provenPages && !view->keys.pages->authentic(number, stored)) return SQLITE_CORRUPT;
        view->keys.pages->decrypt(number, stored, plain);
        std::memcpy(out, plain + within, static_cast<size_t>(taken));
        out += taken;
        offset += taken;
        amount -= taken;
    }
    return SQLITE_OK;
}

int viewClose(sqlite3_file* file)
{
    ViewFile* view = viewOf(file);
    const int rc = view->stored->pMethods->xClose(view->stored);
    sqlite3_free(view->stored);
    delete view->runs;
    delete view->buffer;
    return rc;
}

int refuseWrite(sqlite3_file*, const void*, int, sqlite3_int64) { return SQLITE_READONLY; }
int refuseTruncate(sqlite3_file*, sqlite3_int64) { return SQLITE_READONLY; }
int forwardSync(sqlite3_file* f, int flags) { return storedOf(f)->pMethods->xSync(storedOf(f), flags); }
int forwardSize(sqlite3_file* f, sqlite3_int64* size) { return storedOf(f)->pMethods->xFileSize(storedOf(f), size); }
int forwardLock(sqlite3_file* f, int level) { return storedOf(f)->pMethods->xLock(storedOf(f), level); }
int forwardUnlock(sqlite3_file* f, int level) { return storedOf(f)->pMethods->xUnlock(storedOf(f), level); }
int forwardReserved(sqlite3_file* f, int* out) { return storedOf(f)->pMethods->xCheckReservedLock(storedOf(f), out); }
int forwardControl(sqlite3_file* f, int op, void* arg) { return storedOf(f)->pMethods->xFileControl(storedOf(f), op, arg); }
int forwardSector(sqlite3_file* f) { return storedOf(f)->pMethods->xSectorSize(storedOf(f)); }
int forwardDevice(sqlite3_file* f) { return storedOf(f)->pMethods->xDeviceCharacteristics(storedOf(f)); }

const sqlite3_io_methods viewMethods = {
    1, viewClose, viewRead, refuseWrite, refuseTruncate, forwardSync, forwardSize, forwardLock, forwardUnlock,
    forwardReserved, forwardControl, forwardSector, forwardDevice,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};   // no shared memory: never in write-ahead mode

int viewOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    sqlite3_vfs* layer = defaultLayer();
    if (!(flags & SQLITE_OPEN_MAIN_DB) || !opening) return layer->xOpen(layer, name, file, flags, outFlags);
    ViewFile* view = viewOf(file);
    view->base.pMethods = nullptr;
    view->stored = static_cast<sqlite3_file*>(sqlite3_malloc(layer->szOsFile));
    if (!view->stored) return SQLITE_NOMEM;
    std::memset(view->stored, 0, static_cast<size_t>(layer->szOsFile));
    const int rc = layer->xOpen(layer, name, view->stored, flags, outFlags);
    if (rc != SQLITE_OK) {
        sqlite3_free(view->stored);
        return rc;
    }
    view->keys = *opening;
    view->storedPages = -1;
    view->runs = new std::vector<sqlite3_int64>(Slots, -1);
    view->buffer = new std::vector<unsigned char>(static_cast<size_t>(Slots * RunPages * PageSize));
    view->base.pMethods = &viewMethods;
    return SQLITE_OK;
}

// The view's layer, registered once: the default layer but for opening a database file.
const char* viewLayer()
{
    static const bool registered = [] {
        static sqlite3_vfs view = *defaultLayer();
        view.szOsFile = std::max(view.szOsFile, static_cast<int>(sizeof(ViewFile)));
        view.zName = ViewName;
        view.xOpen = viewOpen;
        view.pNext = nullptr;
        return sqlite3_vfs_register(&view, 0) == SQLITE_OK;
    }();
    return registered ? ViewName : nullptr;
}

// What SQLite's quick check answers of the file at `path` read through the view, or
// nothing when the view could not take its read lock at once: a program waiting to
// write the file refuses new readers, though the caller's read lock (which the
// engine's own check needs no more than) keeps it from writing.
std::optional<QString> quickCheckThroughTheView(const QString& path, const ViewKeys& keys)
{
    sqlite3* db = nullptr;
    opening = &keys;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                                   viewLayer());
    opening = nullptr;
    std::optional<QString> verdict;
    if (rc == SQLITE_OK) {
        try {
            Statement check(db, QStringLiteral("PRAGMA quick_check(1)"));
            verdict = check.step() ? check.value(0).toString() : QString();
        } catch (const Error& error) {
            // A page that can't be read or proven; nothing without the read lock.
            if (sqlite3_errcode(db) != SQLITE_BUSY) verdict = error.description();
        }
    } else {
        verdict = sqliteError(db, rc).description();
    }
    sqlite3_close(db);
    return verdict;
}

}  // namespace

std::optional<QString> quickCheckOfStoredPages(const QString& path, const QString& password)
{
    if (!viewLayer()) return std::nullopt;
    const LayerFile file(path);
    if (!file.isOpen()) return std::nullopt;
    QByteArray firstPage(PageSize, '\0');
    if (!file.read(reinterpret_cast<unsigned char*>(firstPage.data()), 0, 1)) return std::nullopt;
    const std::unique_ptr<StoredPages> pages = StoredPages::forFile(firstPage, password);
    if (!pages) return std::nullopt;
    const sqlite3_int64 count = file.pages();
    if (!allAuthentic(file, *pages, count)) return sqliteError(nullptr, SQLITE_CORRUPT).description();
    return quickCheckThroughTheView(path, ViewKeys{pages.get(), count});
}

}  // namespace dao
