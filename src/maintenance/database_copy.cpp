// Backup and restore of the database file; see database_copy.h.
#include "maintenance/database_copy.h"

#include "core/globals.h"
#include "data/database_file.h"
#include "data/schema.h"
#include "platform/dao/dao.h"
#include "platform/win/disk.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"

#include <QFileInfo>

namespace maintenance {

namespace {

dao::Error notSystemDatabase(const QString& file, const QString& why)
{
    return dao::Error(3343, QStringLiteral("“%1”不是本系统的数据库文件：%2").arg(QFileInfo(file).fileName(), why));
}

// Copying the live file onto itself would truncate it, and restoring it from itself
// would replace it under its own open connection.
void refuseTheDatabaseItself(const QString& chosen, const QString& refusal)
{
    if (win::isSameFile(chosen, databaseFile())) throw win::Error(75, refusal);
}

}  // namespace

QString databaseFile()
{
    return data::databasePath(core::WindowsDir);
}

bool hasRoomFor(qint64 bytes, const QString& receivingPath)
{
    const win::DiskFreeSpace space = win::diskFreeSpace(receivingPath);
    return !space.ok || static_cast<quint64>(bytes) <= space.freeBytes();
}

void backupDatabase(const QString& target)
{
    refuseTheDatabaseItself(target, QStringLiteral("不能备份到系统正在使用的数据库文件本身，请另选备份文件。"));
    win::copyFile(databaseFile(), target);
}

void checkSystemDatabase(const QString& file)
{
    dao::Database db = dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly);
    for (const data::Table& table : data::tables()) {
        dao::Recordset columns;
        try {
            columns = db.openTable(table.name);
        } catch (const dao::Error&) {
            throw notSystemDatabase(file, QStringLiteral("没有表“%1”。").arg(table.name));
        }
        bool same = columns.fieldCount() == static_cast<int>(table.columns.size());
        for (int c = 0; same && c < columns.fieldCount(); ++c)
            same = columns.fieldName(c).compare(table.columns[c].name, Qt::CaseInsensitive) == 0;
        if (!same) throw notSystemDatabase(file, QStringLiteral("表“%1”的字段与本系统不同。").arg(table.name));
    }
}

void restoreDatabase(const QString& source)
{
    refuseTheDatabaseItself(source, QStringLiteral("不能用系统正在使用的数据库文件本身恢复数据，请另选备份文件。"));
    checkSystemDatabase(source);
    core::WithDbClosed([&] { win::copyFile(source, databaseFile()); });
}

}  // namespace maintenance
