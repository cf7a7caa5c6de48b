// Work on a database file as a whole, always through SQLite and under its locks: the
// structure check (through the keyed connection, or apart from it on a thread of its
// own: plain_view.h), the shape of the tables and a consistent read of the stored
// bytes (the backup); the restore's copy is in page_copy.cpp. See dao.h. Other programs may
// have the same file open; nothing here goes around their locks or replaces a file
// under their feet.
#include "platform/dao/connection.h"
#include "platform/dao/plain_view.h"
#include "platform/dao/recordset_impl.h"

namespace dao {

namespace {

// Runs `work` with the connection's read transaction open, ending it afterwards.
void withReadLock(Connection& connection, const std::function<void()>& work)
{
    connection.run(QStringLiteral("BEGIN"));
    try {
        // Taking the first read starts the lock (and rolls back a crashed writer's journal).
        connection.run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        work();
    } catch (...) {
        sqlite3_exec(connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    connection.run(QStringLiteral("COMMIT"));
}

Error busyTransaction()
{
    return Error(3260, QStringLiteral("本程序还有未完成的修改，暂时不能复制数据库文件。"));
}

}  // namespace

QString Database::integrityCheck(bool quick) const
{
    try {
        Statement check(live().handle(), quick ? QStringLiteral("PRAGMA quick_check(1)")
                                               : QStringLiteral("PRAGMA integrity_check(1)"));
        return check.step() ? check.value(0).toString() : QString();
    } catch (const Error& error) {
        return error.description();   // a page that can't even be read
    }
}

Database::PendingCheck Database::beginQuickCheck() const
{
    Connection& connection = live();
    PendingCheck check;
    check.database_ = this;
    // Another connection sees neither this one's own changes nor commits kept beside the file.
    if (!connection.inTransaction() && !writesAhead(connection.handle()))
        check.apart_ = std::async(std::launch::async, quickCheckOfStoredPages,
                                  QString::fromUtf8(sqlite3_db_filename(connection.handle(), "main")),
                                  connection.password());
    return check;
}

QString Database::PendingCheck::verdict()
{
    if (apart_.valid())
        if (const std::optional<QString> found = apart_.get()) return *found;
    return database_->integrityCheck(true);
}

namespace {

// A column's whole declaration, upper case, as TableShape::declarations describes it.
QString columnDeclaration(sqlite3* db, const QString& table, const QString& column, const vb::Variant& defaultValue)
{
    const char* type = nullptr;
    const char* collation = nullptr;
    int notNull = 0, primaryKey = 0, autoIncrement = 0;
    const int rc = sqlite3_table_column_metadata(db, "main", table.toUtf8().constData(), column.toUtf8().constData(),
                                                 &type, &collation, &notNull, &primaryKey, &autoIncrement);
    if (rc != SQLITE_OK) throw sqliteError(db, rc);
    QStringList parts{QString::fromUtf8(type)};
    if (qstricmp(collation, "BINARY") != 0) parts << QStringLiteral("COLLATE ") + QString::fromUtf8(collation);
    if (notNull) parts << QStringLiteral("NOT NULL");
    if (primaryKey) parts << QStringLiteral("PRIMARY KEY");
    if (!defaultValue.isNull()) parts << QStringLiteral("DEFAULT ") + defaultValue.toString();
    return parts.join(u' ').toUpper();
}

}  // namespace

std::vector<Database::TableShape> Database::shape() const
{
    sqlite3* db = live().handle();
    std::vector<TableShape> tables;
    Statement names(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite!_%' "
                                       "ESCAPE '!' ORDER BY name"));
    while (names.step()) tables.push_back({names.value(0).toString(), {}, {}, {}});
    for (TableShape& table : tables) {
        Statement columns(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table.name)));
        while (columns.step()) {
            table.columns << columns.value(1).toString();
            table.declarations << columnDeclaration(db, table.name, table.columns.last(), columns.value(4));
        }
        Statement indexes(db, QStringLiteral("PRAGMA index_list(%1)").arg(quoteName(table.name)));
        while (indexes.step()) {
            if (indexes.value(3).toString() != QLatin1String("c")) continue;   // made by a constraint, not named
            IndexShape index;
            index.name = indexes.value(1).toString();
            index.unique = indexes.value(2).toDouble() != 0;
            index.partial = indexes.value(4).toDouble() != 0;
            table.indexes.push_back(index);
        }
        for (IndexShape& index : table.indexes) {
            Statement keys(db, QStringLiteral("PRAGMA index_xinfo(%1)").arg(quoteName(index.name)));
            while (keys.step()) {
                if (keys.value(5).toDouble() == 0) continue;   // the row's own id, not a key column
                index.columns << keys.value(2).toString();     // empty for an expression
                index.collations << keys.value(4).toString().toUpper() + (keys.value(3).toDouble() != 0 ? " DESC" : "");
            }
        }
    }
    return tables;
}

QStringList Database::triggersAndViews() const
{
    Statement others(live().handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('trigger', 'view')"));
    QStringList names;
    while (others.step()) names << others.value(0).toString();
    return names;
}

void Database::readSnapshot(const std::function<void()>& work) const
{
    withReadLock(live(), work);
}

void Database::readConsistently(const std::function<void(qint64 length, const ReadAt& read)>& copy) const
{
    Connection& connection = live();
    if (connection.inTransaction()) throw busyTransaction();
    withReadLock(connection, [&] {
        sqlite3_file* file = nullptr;
        sqlite3_file_control(connection.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file);
        sqlite3_int64 length = 0;
        if (!file || !file->pMethods || file->pMethods->xFileSize(file, &length) != SQLITE_OK)
            throw Error(3043, QStringLiteral("磁盘或网络读写错误。"));
        copy(length, [file](char* buffer, qint64 size, qint64 offset) {
            const int rc = file->pMethods->xRead(file, buffer, static_cast<int>(size), offset);
            if (rc != SQLITE_OK) throw sqliteError(nullptr, rc);
        });
    });
}

}  // namespace dao
