// Database handles, stored queries, Execute, transactions and the quoting helper;
// see dao.h. Recordsets are in recordset.cpp.
#include "platform/dao/connection.h"
#include "platform/dao/dialect.h"
#include "platform/dao/recordset_impl.h"

#include <QRegularExpression>

namespace dao {

QString quote(const QString& text)
{
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

QString quoteName(const QString& name)
{
    QString doubled = name;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

namespace {

// The dynaset of a table known by its exact name.
QString selectAllFrom(const QString& name)
{
    return QStringLiteral("SELECT * FROM ") + quoteName(name);
}

Error closedDatabase()
{
    return Error(3420, QStringLiteral("数据库已经关闭，对象无效。"));
}

}  // namespace

Database Database::open(const QString& path, const QString& connect, Access access)
{
    Database db;
    db.connection_ = Connection::acquire(path, passwordFromConnect(connect), false, access == Access::ReadOnly);
    return db;
}

Database Database::create(const QString& path, const QString& connect)
{
    Database db;
    db.connection_ = Connection::acquire(path, passwordFromConnect(connect), true);
    return db;
}

bool Database::inUse(const QString& path)
{
    return Connection::isOpen(path);
}

void Database::close()
{
    connection_.reset();
}

Connection& Database::live() const
{
    if (!connection_) throw closedDatabase();
    return *connection_;
}

Recordset Database::openTable(const QString& table)
{
    live();
    return Recordset(openTableImpl(connection_, table));
}

Recordset Database::openRecordset(const QString& sqlOrQueryName)
{
    static const QRegularExpression bareName(QStringLiteral("^\\s*[\\w$]+\\s*$"));
    if (!bareName.match(sqlOrQueryName).hasMatch())
        return Recordset(openDynasetImpl(live(), dialect::translate(sqlOrQueryName)));
    const QString name = sqlOrQueryName.trimmed();
    if (const StoredQuery* stored = live().findQuery(name))
        return Recordset(openDynasetImpl(live(), dialect::translate(stored->sql)));
    Statement find(live().handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    find.bind(1, name);
    if (!find.step()) throw Error(3078, QStringLiteral("找不到输入表或查询“%1”。").arg(name));
    return Recordset(openDynasetImpl(live(), selectAllFrom(find.value(0).toString())));
}

void Database::execute(const QString& sql)
{
    live().run(dialect::translate(sql));
}

QStringList Database::queryDefs() const
{
    QStringList names;
    for (const StoredQuery& query : live().queries) names << query.name;
    return names;
}

void Database::createQueryDef(const QString& name, const QString& sql)
{
    Connection& connection = live();
    if (connection.findQuery(name)) throw Error(3012, QStringLiteral("对象“%1”已经存在。").arg(name));
    Statement check(connection.handle(), dialect::translate(sql));   // a text SQLite refuses is not stored
    connection.queries.push_back({name, sql});
}

void Database::deleteAllQueryDefs()
{
    live().queries.clear();
}

Recordset Database::storeAndOpen(const QString& name, const QString& sql)
{
    deleteAllQueryDefs();
    Recordset opened(openDynasetImpl(live(), dialect::translate(sql)));
    live().queries.push_back({name, sql});
    return opened;
}

void Database::executeSchema(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    const char* rest = text.constData();
    while (*rest) {
        Statement statement(live().handle(), rest, &rest);
        if (statement.handle())
            while (statement.step()) {
            }
    }
}

Transaction::Transaction(Database& db) : connection_(db.connection())
{
    if (!connection_) throw closedDatabase();
    if (!connection_->inTransaction()) {
        connection_->begin();
        owner_ = true;
    }
}

Transaction::~Transaction()
{
    if (done_) return;
    if (owner_) connection_->rollback();
    else connection_->doom();
}

void Transaction::commit()
{
    if (done_) return;
    done_ = true;
    if (owner_) connection_->commit();
}

namespace {

qint64 pragmaValue(sqlite3* db, const char* name)
{
    Statement statement(db, QStringLiteral("PRAGMA ") + QLatin1String(name));
    return statement.step() ? statement.value(0).toDouble() : 0;
}

void setCacheSize(sqlite3* db, qint64 size)
{
    sqlite3_exec(db, QByteArray("PRAGMA cache_size=" + QByteArray::number(size)).constData(), nullptr, nullptr, nullptr);
}

}  // namespace

WholeFileCache::WholeFileCache(Database& db) : connection_(db.connection())
{
    if (!connection_) throw closedDatabase();
    sqlite3* handle = connection_->handle();
    previousSize_ = pragmaValue(handle, "cache_size");
    // In pages, with room for the pages the batch adds; never smaller than before.
    const qint64 pages = pragmaValue(handle, "page_count") * 5 / 4 + 256;
    const qint64 previousPages = previousSize_ >= 0 ? previousSize_ : -previousSize_ * 1024 / pragmaValue(handle, "page_size");
    if (pages > previousPages) setCacheSize(handle, pages);
}

WholeFileCache::~WholeFileCache() { setCacheSize(connection_->handle(), previousSize_); }

}  // namespace dao
