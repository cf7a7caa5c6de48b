// The table-driven import from another copy of the database; see import.h.
#include "maintenance/import.h"

#include "core/write_transaction.h"
#include "data/database_file.h"
#include "data/schema.h"
#include "platform/dao/dao.h"
#include "platform/vb/strings.h"

#include <QFileInfo>
#include <QSet>
#include <cmath>

namespace maintenance {

namespace {

using Member = ImportMember;

// Where one target column's value comes from: a source column, stored as the source
// stores it (keys too: they are trimmed for the seek only), or a constant.
struct ColumnSource {
    int sourceColumn = -1;     // -1: the constant
    vb::Variant constant;
};

ColumnSource sourceColumn(int column) { return {column, {}}; }
ColumnSource constant(const vb::Variant& value) { return {-1, value}; }

std::vector<ColumnSource> columnForColumn(int count)
{
    std::vector<ColumnSource> columns;
    for (int c = 0; c < count; ++c) columns.push_back(sourceColumn(c));
    return columns;
}

// The older visit layout: record number, department, date, complaint, plan,
// prescription, directions, doctor. Blood pressure, pulse and respiration were not
// kept then and are filled in as " ", 60 and 60; the follow-up date is the visit's.
std::vector<ColumnSource> olderVisitColumns()
{
    return {sourceColumn(0),  sourceColumn(1),  sourceColumn(2), constant(QStringLiteral(" ")),
            constant(60.0),   constant(60.0),   sourceColumn(3), sourceColumn(4),
            sourceColumn(5),  sourceColumn(6),  sourceColumn(2), sourceColumn(7)};
}

constexpr int olderVisitWidth = 8;
constexpr int diagnosisColumnsRead = 4;

dao::Error wrongLayout(const Member& member, int sourceColumns)
{
    return dao::Error(3343, QStringLiteral("源数据库的表“%1”有 %2 个字段，格式与本系统不同，不能导入。")
                                .arg(member.table)
                                .arg(sourceColumns));
}

// The source's columns as the target's, or the refusal of a layout that isn't the
// system's.
std::vector<ColumnSource> columnMap(const Member& member, int sourceColumns, int targetColumns)
{
    switch (member.layout) {
    case Member::Layout::SameColumns:
        if (sourceColumns == targetColumns) return columnForColumn(targetColumns);
        break;
    case Member::Layout::Diagnoses:
        if (sourceColumns >= diagnosisColumnsRead) {
            std::vector<ColumnSource> columns = columnForColumn(diagnosisColumnsRead);
            columns.push_back(constant(importedDiagnosisAuthor()));
            if (static_cast<int>(columns.size()) == targetColumns) return columns;
        }
        break;
    case Member::Layout::Visits:
        if (sourceColumns == targetColumns) return columnForColumn(targetColumns);
        if (sourceColumns == olderVisitWidth && static_cast<int>(olderVisitColumns().size()) == targetColumns)
            return olderVisitColumns();
        break;
    }
    throw wrongLayout(member, sourceColumns);
}

vb::Variant trimmed(const vb::Variant& value)
{
    return value.type() == vb::Variant::Type::Text ? vb::Trim(value.toString()) : value;
}

// Keys compare as the file compares texts: ASCII letters without regard to case.
QString foldedKey(const vb::Variant& value)
{
    QString text = value.toString();
    for (QChar& c : text)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return text;
}

// The trimmed parts of a key as one text, for a set of keys; a Null part apart from
// any text.
QString joinedKey(const std::vector<vb::Variant>& trimmedKey, int columns)
{
    QString joined;
    for (int k = 0; k < columns; ++k) {
        const vb::Variant& part = trimmedKey[static_cast<size_t>(k)];
        joined += (part.isNull() ? QStringLiteral("\x1e") : foldedKey(part)) + QChar(0x1f);
    }
    return joined;
}

// Whether the index can't find the stored `value` by its trimmed form: a text with
// blanks around it, or a Null (which equals nothing).
bool unseekable(const vb::Variant& value)
{
    return value.isNull() || (value.type() == vb::Variant::Type::Text && vb::Trim(value.toString()) != value.toString());
}

// Decides for each source record whether the target lacks it. A record is present
// when the target holds its key in any stored form that trims to the source's trimmed
// key: the trimmed form is sought on the index, and the keys the index can't find so
// (a part stored with blanks around it, or a Null part), the target's own before the
// run and those the run adds (few), are kept in a set by their trimmed forms. A visit of a record number this run brought
// in is sought with the full key, so that every visit of a new patient is added once;
// any other visit seeks its record number alone, and is skipped when the target held
// that number before the run.
class Matcher {
public:
    Matcher(const Member& member, dao::Database& target) : member_(member)
    {
        const data::Table& table = *data::findTable(member.table);
        QStringList unseekableParts;
        for (int k = 0; k < numberColumns(); ++k) {
            const QString& column = table.columns[static_cast<size_t>(k)].name;
            unseekableParts << column + QStringLiteral(" <> trim(") + column + QStringLiteral(") OR ") + column
                             + QStringLiteral(" IS NULL");
        }
        dao::Recordset held = target.openRecordset(QStringLiteral("SELECT * FROM %1 WHERE %2")
                                                       .arg(member.table, unseekableParts.join(QStringLiteral(" OR "))));
        std::vector<vb::Variant> key(static_cast<size_t>(member.keyColumns));
        for (; !held.eof(); held.moveNext()) {
            for (int k = 0; k < member.keyColumns; ++k) key[static_cast<size_t>(k)] = trimmed(held.field(k));
            unseekableHeld_.insert(joinedKey(key, numberColumns()));
        }
    }

    // `key` trimmed; `stored` whether the index can't find the record's own key
    // (blanks around a part, or a Null part).
    bool absent(dao::Recordset& target, const std::vector<vb::Variant>& key, bool storedUnseekable)
    {
        if (member_.layout != Member::Layout::Visits) return lacks(target, key, member_.keyColumns, storedUnseekable);
        const QString number = foldedKey(key[0]);
        if (newNumbers_.contains(number)) return lacks(target, key, member_.keyColumns, storedUnseekable);
        if (found(target, key, 1) || unseekableHeld_.contains(joinedKey(key, 1))) return false;
        newNumbers_.insert(number);
        if (storedUnseekable) unseekableAdded_.insert(joinedKey(key, member_.keyColumns));
        return true;
    }

private:
    // Visits are held by their record number alone; other records by their whole key.
    int numberColumns() const { return member_.layout == Member::Layout::Visits ? 1 : member_.keyColumns; }

    bool lacks(dao::Recordset& target, const std::vector<vb::Variant>& key, int columns, bool storedUnseekable)
    {
        const QString joined = joinedKey(key, columns);
        if (found(target, key, columns) || unseekableHeld_.contains(joined) || unseekableAdded_.contains(joined)) return false;
        if (storedUnseekable) unseekableAdded_.insert(joined);
        return true;
    }

    static bool found(dao::Recordset& target, const std::vector<vb::Variant>& key, int columns)
    {
        target.seek(QStringLiteral("="), key[0], columns > 1 ? key[1] : vb::Variant(),
                    columns > 2 ? key[2] : vb::Variant());
        return !target.noMatch();
    }

    const Member& member_;
    QSet<QString> newNumbers_;    // record numbers this run brought in
    QSet<QString> unseekableHeld_;    // keys the index can't find that the target held before the run, trimmed
    QSet<QString> unseekableAdded_;   // keys the index can't find that this run added, trimmed
};

// An error that stops a run, naming the table and the record's key.
dao::Error stoppedAt(const vb::Error& error, const Member& member, const std::vector<vb::Variant>& key)
{
    QStringList parts;
    for (const vb::Variant& part : key) parts << part.toString();
    return dao::Error(error.number(), error.description()
                                          + QStringLiteral("（表“%1”，记录“%2”）").arg(member.table, parts.join(u'，')));
}

QString sourceConnect(const Member& member)
{
    return member.password == Member::Password::Import ? data::importConnectText() : data::connectText();
}

}  // namespace

const std::vector<ImportMember>& importMembers()
{
    using P = Member::Password;
    using L = Member::Layout;
    static const std::vector<ImportMember> members = {
        {"IeAdress", "导入中医药材数据", "zyyc", "ycmci", 1, P::Import, L::SameColumns, true},
        {"IeMail", "导入中医方剂数据", "zyfj", "fjmci", 1, P::Import, L::SameColumns, true},
        {"BwThing", "导入中医成药数据", "fjcy", "cymci", 1, P::System, L::SameColumns, true},
        {"TeleDate", "导入中医诊断数据", "zybz", "zybzi", 2, P::Import, L::Diagnoses, false},
        {"CatchXy", "导入西药数据", "ylsy", "symci", 1, P::System, L::SameColumns, true},
        {"LinkHzzl", "导入门诊患者资料", "hzblzl", "blbmi", 1, P::System, L::SameColumns, true},
        {"LinkZdhz", "导入患者诊断资料", "hzzdzl", "zdbmi", 3, P::System, L::Visits, true},
    };
    return members;
}

QString importedDiagnosisAuthor()
{
    return QStringLiteral("岐禾数据导入");
}

int wholePercent(float percent)
{
    return static_cast<int>(std::nearbyint(percent));
}

QString percentCaption(int wholePercent)
{
    return QStringLiteral(" %1%").arg(wholePercent);
}

int importTable(const ImportMember& member, const QString& databasePath, const QString& sourcePath,
                ImportProgress& progress)
{
    dao::Database target = dao::Database::open(databasePath, data::connectText());
    dao::Database source = dao::Database::open(sourcePath, sourceConnect(member), dao::Database::Access::ReadOnly);
    // The source table is read one record at a time, in its stored order.
    dao::Recordset from = source.openTable(member.table);
    dao::Recordset to = target.openTable(member.table);
    const std::vector<ColumnSource> columns = columnMap(member, from.fieldCount(), to.fieldCount());
    if (from.recordCount() <= 0) return 0;

    const float step = 100.0f / static_cast<float>(from.recordCount());
    progress.started(member);

    core::WriteTransaction transaction(target);
    to.setIndex(member.index);
    Matcher matcher(member, target);
    // A visit is sought by its record number: only a Null there leaves nothing to seek.
    const int seekColumns = member.layout == Member::Layout::Visits ? 1 : member.keyColumns;
    std::vector<vb::Variant> key(static_cast<size_t>(member.keyColumns));
    qint32 counter = 0;
    int added = 0;
    for (; !from.eof(); from.moveNext()) {
        ++counter;
        progress.advanced(step * static_cast<float>(counter));
        bool keyHasNull = false;
        bool storedUnseekable = false;
        for (int k = 0; k < member.keyColumns; ++k) {
            key[k] = trimmed(from.field(k));
            keyHasNull = keyHasNull || (k < seekColumns && key[k].isNull());
            storedUnseekable = storedUnseekable || unseekable(from.field(k));
        }
        if (keyHasNull || !matcher.absent(to, key, storedUnseekable)) continue;
        try {
            to.addNew();
            for (size_t c = 0; c < columns.size(); ++c) {
                const ColumnSource& column = columns[c];
                to.setField(static_cast<int>(c), column.sourceColumn < 0 ? column.constant : from.field(column.sourceColumn));
            }
            to.update();
        } catch (const vb::Error& error) {
            throw stoppedAt(error, member, key);
        }
        ++added;
    }
    transaction.commit();
    progress.finished(member);
    return added;
}

}  // namespace maintenance
