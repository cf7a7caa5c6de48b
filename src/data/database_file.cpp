// The database file's location, passwords and creation; see database_file.h.
#include "data/database_file.h"

#include "data/schema.h"
#include "platform/dao/dao.h"
#include "platform/win/paths.h"

#include <QFile>

namespace data {

static QString connectWith(const QString& password)
{
    return QStringLiteral(";pwd=") + password;
}

QString databasePassword()
{
    return QStringLiteral("QiHe2002Zyqhmz0618");
}

QString importPassword()
{
    return QStringLiteral("QiHe2002Import73115");
}

QString connectText()
{
    return connectWith(databasePassword());
}

QString importConnectText()
{
    return connectWith(importPassword());
}

QString databasePath(const QString& windowsDir)
{
    return win::hostPath(windowsDir + QStringLiteral("\\system\\zyqhmz.mdb"));
}

void createDatabase(const QString& path, const QString& password)
{
    if (QFile::exists(path))
        throw dao::Error(3204, QStringLiteral("数据库“%1”已经存在。").arg(path));
    try {
        dao::Database db = dao::Database::create(path, connectWith(password));
        dao::Transaction transaction(db);
        for (const Table& table : tables()) db.executeSchema(table.createStatements());
        transaction.commit();
    } catch (const dao::Error&) {
        QFile::remove(path);
        throw;
    }
}

}  // namespace data
