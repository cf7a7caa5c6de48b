// Work on a database file as a whole, always through SQLite and under its locks: the
// structure check, the shape of the tables, a consistent read of the stored bytes
// (the backup) and the replacement of the whole content in one transaction (the
// restore). See dao.h. Other programs may have the same file open; nothing here goes
// around their locks or replaces a file under their feet.
#include "platform/dao/connection.h"
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
            table.types << columns.value(2).toString().toUpper();
        }
        Statement indexes(db, QStringLiteral("PRAGMA index_list(%1)").arg(quoteName(table.name)));
        while (indexes.step()) {
            if (indexes.value(3).toString() != QLatin1String("c")) continue;   // made by a constraint, not named
            table.indexes.push_back({indexes.value(1).toString(), {}, indexes.value(2).toDouble() != 0});
        }
        for (IndexShape& index : table.indexes) {
            Statement keys(db, QStringLiteral("PRAGMA index_info(%1)").arg(quoteName(index.name)));
            while (keys.step()) index.columns << keys.value(2).toString();
        }
    }
    return tables;
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

void Database::replaceWith(const QString& path, const QString& connect)
{
    Connection& target = live();
    if (target.inTransaction()) throw busyTransaction();
    const Database source = open(path, connect, Access::ReadOnly);
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.live().handle(), "main");
    if (!backup) throw sqliteError(target.handle(), sqlite3_errcode(target.handle()));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE) throw sqliteError(target.handle(), stepped, QStringLiteral("数据库没有改变"));
    if (finished != SQLITE_OK) throw sqliteError(target.handle(), finished);
}

}  // namespace dao
