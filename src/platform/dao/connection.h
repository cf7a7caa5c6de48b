// One open database file, shared by every Database handle and table recordset that
// uses it (dao.h). Connections are kept by canonical path while any user holds one
// (the program holds its database for the whole run), so opening an already open
// file costs a map look-up instead of a key derivation, and a reader and a writer in
// the same burst of work never lock each other out. A connection carries its stored
// queries and keeps the statements of its recent reads. Internal to the database layer.
#pragma once

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "platform/dao/dao.h"

#include <QHash>
#include <sys/types.h>
#include <QString>
#include <memory>
#include <vector>

namespace dao {

// A prepared statement; finalized with the object.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    // The first statement of a script, `tail` set past it; the handle is null when
    // only blanks or comments were left.
    Statement(sqlite3* db, const char* utf8, const char** tail);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int position, const vb::Variant& value);   // position from 1
    void bindBytes(int position, const QByteArray& bytes);
    bool step();                                          // true while a row is ready
    void reset();
    int columnCount() const;
    QString columnName(int column) const;
    vb::Variant value(int column) const;
    // The column as a record holds it, with one type look-up: true for a binary
    // column, whose bytes go to `bytes` while `value` becomes Null; otherwise `value`
    // is the column's value and `bytes` is left alone.
    bool read(int column, vb::Variant& value, QByteArray& bytes) const;
    sqlite3_stmt* handle() const { return stmt_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<std::vector<char>> texts_;   // the bound texts, by position
    bool write_ = false;   // changes the file or the schema (WriteFault counts it)
};

// A stored query as the windows know it: a short name and its text in the old dialect.
struct StoredQuery {
    QString name;
    QString sql;
};

class Connection {
public:
    // The shared connection to `path`, opened with `password` when nobody holds it.
    // `create` makes a new file instead (which must not exist yet); `readOnly` opens
    // an existing file so that nothing can be written to it through this connection.
    static std::shared_ptr<Connection> acquire(const QString& path, const QString& password, bool create,
                                               bool readOnly = false);
    // Whether somebody holds the connection to `path`.
    static bool isOpen(const QString& path);
    ~Connection();

    sqlite3* handle() const { return db_; }
    void run(const QString& sql);                  // a statement without result rows
    // The statement of `sql`, prepared the first time and kept for the next (the last
    // few dozen texts); the caller resets it when done with it.
    Statement& reusable(const QString& sql);

    // Transactions: the outermost guard begins and commits; an inner guard that ends
    // without committing dooms the whole transaction.
    bool inTransaction() const { return inTransaction_; }
    const QString& password() const { return password_; }
    void begin();
    void commit();
    void rollback();
    void doom() { doomed_ = true; }
    // Counts what can change the rows a reader holds: every row this connection has
    // changed, and every rollback (which changes rows back without counting them).
    qint64 changeCount() const { return sqlite3_total_changes(db_) + rollbacks_; }

    // The stored queries of this connection, in the order they were stored. They live
    // with the connection and never in the file: storing, opening and deleting them
    // writes nothing, a read-only file can be viewed, and two copies of the program
    // on one file never see each other's.
    std::vector<StoredQuery> queries;
    const StoredQuery* findQuery(const QString& name) const;   // in any letter case

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

private:
    Connection(const QString& key, sqlite3* db, const QString& password);
    // Throws when the file at the connection's path is no longer the one it opened.
    void checkStillInPlace(const QString& path) const;

    QString key_;
    dev_t device_ = 0;   // the file opened, to notice it moved, deleted or replaced
    ino_t inode_ = 0;
    sqlite3* db_;
    QString password_;
    bool inTransaction_ = false;
    bool doomed_ = false;
    qint64 rollbacks_ = 0;
    QHash<QString, std::shared_ptr<Statement>> reusable_;
};

// The layer's error for a failed SQLite call, with a Chinese description.
Error sqliteError(sqlite3* db, int code, const QString& context = {});

// The file a connection holds was moved, deleted or replaced by another file.
Error movedDatabase(const QString& path);

// Whether the connection's file is in write-ahead mode, keeping commits beside it.
bool writesAhead(sqlite3* db);

// The password inside an old connect text ";pwd=secret".
QString passwordFromConnect(const QString& connect);

}  // namespace dao
