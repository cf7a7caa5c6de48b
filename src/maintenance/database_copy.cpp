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

#include <algorithm>

namespace maintenance {

namespace {

// The structure check without the comparison of every index entry with its table,
// which took most of a restore's time: every page is still read and proven (a page
// changed on the medium fails its authentication), and the indexes themselves are
// compared with the format below.
constexpr bool QuickCheck = true;

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
    core::OpenDb().readConsistently(
        [&](qint64 length, const dao::Database::ReadAt& read) { win::writeFile(length, read, target); });
}

namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool sameNames(const QStringList& a, const QStringList& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameName);
}

// Why the file's table `found` is not `expected`, or nothing when it is.
QString tableDifference(const data::Table& expected, const dao::Database::TableShape& found)
{
    QStringList names;
    QStringList types;
    for (const data::Column& column : expected.columns) {
        names << column.name;
        types << column.declaredType();
    }
    if (!sameNames(found.columns, names) || found.types != types)
        return QStringLiteral("表“%1”的字段与本系统不同。").arg(expected.name);
    for (const data::Index& index : expected.indexes) {
        const QString physical = expected.name + u'_' + index.name;
        const auto same = std::find_if(found.indexes.begin(), found.indexes.end(), [&](const auto& candidate) {
            return sameName(candidate.name, physical) && candidate.unique == index.unique
                   && sameNames(candidate.columns, index.columns);
        });
        if (same == found.indexes.end())
            return QStringLiteral("表“%1”缺少索引“%2”或索引与本系统不同。").arg(expected.name, index.name);
    }
    return {};
}

}  // namespace

dao::Database checkSystemDatabase(const QString& file)
{
    dao::Database db = dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly);
    const QString verdict = db.integrityCheck(QuickCheck);
    if (verdict != QLatin1String("ok")) throw notSystemDatabase(file, QStringLiteral("文件已损坏（%1）。").arg(verdict));
    const std::vector<dao::Database::TableShape> shapes = db.shape();
    for (const data::Table& table : data::tables()) {
        const auto found = std::find_if(shapes.begin(), shapes.end(),
                                        [&](const auto& shape) { return sameName(shape.name, table.name); });
        if (found == shapes.end()) throw notSystemDatabase(file, QStringLiteral("没有表“%1”。").arg(table.name));
        if (const QString why = tableDifference(table, *found); !why.isEmpty()) throw notSystemDatabase(file, why);
    }
    return db;
}

void restoreDatabase(const QString& source)
{
    refuseTheDatabaseItself(source, QStringLiteral("不能用系统正在使用的数据库文件本身恢复数据，请另选备份文件。"));
    // The check reads every page of the file; kept in the cache, they reach the copy
    // without being read and decrypted a second time.
    dao::Database file = dao::Database::open(source, data::connectText(), dao::Database::Access::ReadOnly);
    const dao::WholeFileCache cache(file);
    const dao::Database checked = checkSystemDatabase(source);
    core::OpenDb().replaceWith(source, data::connectText());
}

}  // namespace maintenance
