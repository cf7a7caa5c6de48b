// The database engine as the windows use it: a password-protected file opened per
// event handler, table-type recordsets that seek on named indexes, stored queries
// opened as dynasets, Execute for update and delete statements, and transactions.
// Built on SQLCipher; the old SQL dialect is translated in one place (dialect.h).
// Stored queries live with the connection, never in the file, and
// the file names nothing of ours, so any SQLCipher tool can check, dump or repair it.
//
// Every failure throws dao::Error with a number and a description in Chinese that a
// window can show in its error form.
#pragma once

#include "platform/vb/error.h"
#include "platform/vb/variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace dao {

// The engine's errors are the runtime's errors (a number and a description), so one
// trap catches both; the type tells a database failure from the others where needed.
class Error : public vb::Error {
public:
    using vb::Error::Error;
};

// The number of the error that says the database file a connection holds was moved,
// deleted or replaced while the program ran: nothing more can be read or written
// through that connection until the program starts again.
constexpr int MovedDatabaseNumber = 3044;

// The one way a text becomes an SQL literal: 'text' with every apostrophe doubled.
QString quote(const QString& text);

class Connection;   // shared, counted handle to one open file (internal)
class Recordset;

class Database {
public:
    // Opens an existing file; `connect` is the old connect text ";pwd=<password>".
    // A missing file, a wrong password or a damaged file throws Error; nothing is created.
    // Opened read-only, every write through the handle fails (error 3027) and the
    // file is left as it was; a file that is already open for writing is read through
    // that connection.
    enum class Access { ReadWrite, ReadOnly };
    static Database open(const QString& path, const QString& connect, Access access = Access::ReadWrite);
    // Makes a new encrypted file (used only by the build tool and tests that make
    // fresh databases; the program never creates a database or a table).
    static Database create(const QString& path, const QString& connect);

    // Whether a handle or table recordset of this program still has `path` open.
    static bool inUse(const QString& path);

    Database() = default;
    bool isOpen() const { return connection_ != nullptr; }
    void close();                                   // idempotent; the destructor closes too

    Recordset openTable(const QString& table);      // table-type recordset
    Recordset openRecordset(const QString& sqlOrQueryName);  // dynaset: stored query name or SQL

    void execute(const QString& sql);               // update / delete / insert, old dialect

    QStringList queryDefs() const;
    void createQueryDef(const QString& name, const QString& sql);
    void deleteAllQueryDefs();                      // the pass before every ad-hoc query
    // The stored-query convention in one call: delete every stored query, store `sql`
    // under `name`, and open it as a dynaset.
    Recordset storeAndOpen(const QString& name, const QString& sql);

    // Schema statements for the build tool and tests (plain SQLite SQL).
    void executeSchema(const QString& sql);

    // ---- the file as a whole, under SQLite's locks (whole_file.cpp)

    // What the file's own structure check answers: "ok", or the first fault found.
    // `quick` skips the comparison of every index with its table.
    QString integrityCheck(bool quick) const;

    // The quick structure check, begun now over the state that this connection's open
    // read transaction (readSnapshot) holds, and answered by verdict(). Where the file
    // can be read apart from this connection (its pages stored as this system stores
    // them: plain_view.h), the check runs on a thread of its own while the caller goes
    // on with this connection; otherwise verdict() runs it here. The handle must
    // outlive the check, and the transaction last until its verdict is taken.
    class PendingCheck {
    public:
        QString verdict();   // waits for the check; asks the connection where it could not run apart

    private:
        friend class Database;
        const Database* database_ = nullptr;
        std::future<std::optional<QString>> apart_;
    };
    PendingCheck beginQuickCheck() const;

    // The tables of the file as SQLite declares them: columns in order with their
    // whole declarations, and the named indexes with their key columns, collations,
    // uniqueness and partial flag.
    struct IndexShape {
        QString name;
        QStringList columns;
        QStringList collations;   // of each key column, upper case ("NOCASE", "BINARY")
        bool unique = false;
        bool partial = false;     // made over the rows of a WHERE clause only
    };
    struct TableShape {
        QString name;
        QStringList columns;
        // Upper case: the declared type, then "COLLATE <name>" unless the collation is
        // BINARY, "NOT NULL", "PRIMARY KEY" and "DEFAULT <value>" where declared
        // ("TEXT COLLATE NOCASE", "REAL").
        QStringList declarations;
        std::vector<IndexShape> indexes;
    };
    std::vector<TableShape> shape() const;
    // The names of the file's triggers and views.
    QStringList triggersAndViews() const;

    // Runs `work` inside one read transaction of this connection, so that everything
    // it reads of the file (and a copy made from it) is one state: no program commits
    // to the file meanwhile. Waits for (then refuses, error 3260) a program writing it.
    void readSnapshot(const std::function<void()>& work) const;

    // Reads the file's bytes as stored (encrypted pages and all) under a read lock
    // held for the whole of `copy`, so that no program commits meanwhile and the bytes
    // are one consistent state. `copy` gets the file's length and a reader of `size`
    // bytes at `offset`. Refused while this connection has a transaction open; waits
    // for (then refuses, error 3260) a program that is writing the file.
    using ReadAt = std::function<void(char* buffer, qint64 size, qint64 offset)>;
    void readConsistently(const std::function<void(qint64 length, const ReadAt& read)>& copy) const;

    // Replaces the whole content of this database with that of `source`, all or
    // nothing, under the file's exclusive lock: a kill at any moment leaves the old or
    // the new content, never a mix (page_copy.cpp). Waits for (then refuses, error
    // 3260, nothing changed) a program that holds the file; another program that reads
    // the file later reads the new content. Run inside `source.readSnapshot`, it
    // copies the state that snapshot read. `beforeCommitting`, when given, runs before
    // the copy takes effect (once it is written, or before it begins where the pages
    // must go through SQLite's online backup): what it throws leaves this file as it
    // was, so a check of the source may run meanwhile and decide there.
    void replaceWith(const Database& source, const std::function<void()>& beforeCommitting = {});

    std::shared_ptr<Connection> connection() const { return connection_; }

private:
    Connection& live() const;                       // the connection, or Error when closed

    std::shared_ptr<Connection> connection_;
};

// Rolls back on destruction unless committed. Nested guards on one connection join
// the outer transaction.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    std::shared_ptr<Connection> connection_;
    bool owner_ = false;
    bool done_ = false;
};

// For work that reads the whole file more than once (a restore's check and the copy
// that follows): while the guard lives, the connection's page cache may hold the whole
// file, so each page is read and decrypted once. The connection's own cache size comes
// back when the guard goes.
class WholeFileCache {
public:
    explicit WholeFileCache(Database& db);
    ~WholeFileCache();
    WholeFileCache(const WholeFileCache&) = delete;
    WholeFileCache& operator=(const WholeFileCache&) = delete;

private:
    std::shared_ptr<Connection> connection_;
    qint64 previousSize_ = 0;   // the cache_size the connection had
};

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool isOpen() const;
    void close();

    // Navigation (both kinds). A table-type recordset without an index walks in
    // stored (rowid) order; with an index, in index order.
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    int recordCount() const;

    // Table-type only.
    void setIndex(const QString& indexName);        // the table's own name, e.g. "ycmci"
    // op "=": the first row, in index order, whose leading index columns equal the
    // keys given (trailing Null keys are left out, so fewer keys than columns work).
    void seek(const QString& op, const vb::Variant& k1,
              const vb::Variant& k2 = {}, const vb::Variant& k3 = {});
    bool noMatch() const;

    // Editing (table-type only; dynasets are read-only snapshots).
    void addNew();
    void edit();
    void update();
    void remove();                                  // the old Delete

    int fieldCount() const;
    QString fieldName(int ordinal) const;
    // A field of the current record (or of the record being edited or added), valid
    // until the recordset moves, changes that record or closes.
    const vb::Variant& field(int ordinal) const;
    const vb::Variant& field(const QString& name) const;
    void setField(int ordinal, const vb::Variant& value);
    void setField(const QString& name, const vb::Variant& value);
    // Binary columns (the background picture of the system data row).
    QByteArray fieldBytes(int ordinal) const;
    void setFieldBytes(int ordinal, const QByteArray& bytes);

    struct Impl;

private:
    explicit Recordset(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
    friend class Database;
};

}  // namespace dao
