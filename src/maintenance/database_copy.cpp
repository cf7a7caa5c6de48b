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

bool sameIndex(const data::Table& table, const data::Index& expected, const dao::Database::IndexShape& found)
{
    QStringList collations;
    for (const QString& name : expected.columns)
        for (const data::Column& column : table.columns)
            if (sameName(column.name, name)) collations << column.collation();
    return sameName(found.name, table.name + u'_' + expected.name) && found.unique == expected.unique && !found.partial
           && sameNames(found.columns, expected.columns) && found.collations == collations;
}

// Why the file's table `found` is not `expected`, or nothing when it is: every column
// with its whole declaration, and exactly the format's named indexes, each with its
// key columns, their collations, its uniqueness and over every row.
QString tableDifference(const data::Table& expected, const dao::Database::TableShape& found)
{
    QStringList names;
    QStringList declarations;
    for (const data::Column& column : expected.columns) {
        names << column.name;
        declarations << column.declaration();
    }
    if (!sameNames(found.columns, names) || found.declarations != declarations)
        return QStringLiteral("表“%1”的字段与本系统不同。").arg(expected.name);
    for (const data::Index& index : expected.indexes) {
        const auto same = std::find_if(found.indexes.begin(), found.indexes.end(),
                                       [&](const auto& candidate) { return sameIndex(expected, index, candidate); });
        if (same == found.indexes.end())
            return QStringLiteral("表“%1”缺少索引“%2”或索引与本系统不同。").arg(expected.name, index.name);
    }
    if (found.indexes.size() != expected.indexes.size())
        return QStringLiteral("表“%1”有本系统没有的索引。").arg(expected.name);
    return {};
}

// Refuses the file unless SQLite's structure check found it sound.
void refuseIfDamaged(const QString& verdict, const QString& file)
{
    if (verdict != QLatin1String("ok")) throw notSystemDatabase(file, QStringLiteral("文件已损坏（%1）。").arg(verdict));
}

// Refuses `db` (read from `file`) unless it holds the system's format: every table as
// tableDifference asks, and no trigger or view.
void checkTables(const dao::Database& db, const QString& file)
{
    const std::vector<dao::Database::TableShape> shapes = db.shape();
    for (const data::Table& table : data::tables()) {
        const auto found = std::find_if(shapes.begin(), shapes.end(),
                                        [&](const auto& shape) { return sameName(shape.name, table.name); });
        if (found == shapes.end()) throw notSystemDatabase(file, QStringLiteral("没有表“%1”。").arg(table.name));
        if (const QString why = tableDifference(table, *found); !why.isEmpty()) throw notSystemDatabase(file, why);
    }
    if (const QStringList others = db.triggersAndViews(); !others.isEmpty())
        throw notSystemDatabase(file, QStringLiteral("有本系统没有的触发器或视图“%1”。").arg(others.first()));
}

// Checks `db` (read from `file`) as checkSystemDatabase describes, then runs `use` with
// the structure check's verdict still to come: `use` calls its argument, which refuses
// a damaged file, before it relies on the file's soundness. The structure check runs
// beside the rest (the check without comparing each index entry with its table: every
// page is still read and proven, and the indexes are compared with the format); a
// damaged file is refused as damaged even where its tables can't be read.
void checkFile(const dao::Database& db, const QString& file, const std::function<void(const std::function<void()>&)>& use)
{
    dao::Database::PendingCheck structure = db.beginQuickCheck();
    try {
        checkTables(db, file);
    } catch (...) {
        refuseIfDamaged(structure.verdict(), file);
        throw;
    }
    use([&] { refuseIfDamaged(structure.verdict(), file); });
}

dao::Database openSource(const QString& file)
{
    return dao::Database::open(file, data::connectText(), dao::Database::Access::ReadOnly);
}

}  // namespace

dao::Database checkSystemDatabase(const QString& file)
{
    dao::Database db = openSource(file);
    db.readSnapshot([&] { checkFile(db, file, [](const std::function<void()>& proveSound) { proveSound(); }); });
    return db;
}

void restoreDatabase(const QString& source)
{
    refuseTheDatabaseItself(source, QStringLiteral("不能用系统正在使用的数据库文件本身恢复数据，请另选备份文件。"));
    // The check and the copy read one state of the file: another program's commit to
    // it cannot slip in between, to be copied unchecked. The copy goes on while the
    // structure check runs, and takes effect only once the check finds the file sound.
    const dao::Database file = openSource(source);
    file.readSnapshot([&] {
        checkFile(file, source, [&](const std::function<void()>& proveSound) {
            core::OpenDb().replaceWith(file, proveSound);
        });
    });
}

}  // namespace maintenance
