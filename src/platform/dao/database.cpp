// Database handles, stored queries, Execute, transactions and the quoting helper;
// see dao.h. Recordsets are in recordset.cpp.
#include "platform/dao/connection.h"
#include "platform/dao/dialect.h"
#include "platform/dao/recordset_impl.h"

#include <QRegularExpression>
#include <optional>

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

// The dynaset of a stored query or table known by its exact name.
QString selectAllFrom(const QString& name)
{
    return QStringLiteral("SELECT * FROM ") + quoteName(name);
}

// Stored queries are temporary views: they live with the connection, so storing,
// opening and deleting them writes nothing to the file, a read-only file can be viewed,
// and two copies of the program on one file never see each other's.
void createView(Connection& connection, const QString& name, const QString& oldSql)
{
    connection.run(QStringLiteral("CREATE TEMP VIEW %1 AS %2").arg(quoteName(name), dialect::translate(oldSql)));
}

Error closedDatabase()
{
    return Error(3420, QStringLiteral("数据库已经关闭，对象无效。"));
}

// The stored query's name as it is stored, when one has `name` in any letter case.
std::optional<QString> storedQueryName(const QStringList& queryDefs, const QString& name)
{
    for (const QString& existing : queryDefs)
        if (existing.compare(name, Qt::CaseInsensitive) == 0) return existing;
    return std::nullopt;
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
    QString sql = sqlOrQueryName;
    if (bareName.match(sqlOrQueryName).hasMatch()) {
        Statement find(live().handle(),
                       QStringLiteral("SELECT name FROM sqlite_temp_master WHERE type='view' AND name=?1 COLLATE NOCASE "
                                      "UNION ALL SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE"));
        find.bind(1, sqlOrQueryName.trimmed());
        if (!find.step())
            throw Error(3078, QStringLiteral("找不到输入表或查询“%1”。").arg(sqlOrQueryName.trimmed()));
        sql = selectAllFrom(find.value(0).toString());
    } else {
        sql = dialect::translate(sqlOrQueryName);
    }
    return Recordset(openDynasetImpl(live(), sql));
}

void Database::execute(const QString& sql)
{
    Connection& connection = live();
    connection.run(dialect::translate(sql));
    recordsAffected_ = connection.changes();
}

QStringList Database::queryDefs() const
{
    Statement views(live().handle(), QStringLiteral("SELECT name FROM sqlite_temp_master WHERE type='view' ORDER BY rowid"));
    QStringList names;
    while (views.step()) names << views.value(0).toString();
    return names;
}

void Database::createQueryDef(const QString& name, const QString& sql)
{
    if (storedQueryName(queryDefs(), name)) throw Error(3012, QStringLiteral("对象“%1”已经存在。").arg(name));
    createView(live(), name, sql);
}

void Database::deleteQueryDef(const QString& name)
{
    const std::optional<QString> existing = storedQueryName(queryDefs(), name);
    if (!existing) throw Error(3265, QStringLiteral("在查询集合中找不到“%1”。").arg(name));
    live().run(QStringLiteral("DROP VIEW temp.") + quoteName(*existing));
}

void Database::deleteAllQueryDefs()
{
    for (const QString& existing : queryDefs()) live().run(QStringLiteral("DROP VIEW temp.") + quoteName(existing));
}

Recordset Database::storeAndOpen(const QString& name, const QString& sql)
{
    deleteAllQueryDefs();
    createView(live(), name, sql);
    return Recordset(openDynasetImpl(live(), selectAllFrom(name)));
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

}  // namespace dao
