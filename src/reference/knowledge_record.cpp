// The record road of the entry windows; see knowledge_record.h.
#include "reference/knowledge_record.h"

#include "core/globals.h"
#include "core/text_normalizer.h"
#include "platform/dao/dao.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

namespace reference {

QString EnteredBy()
{
    const QString user = vb::Trim(core::LoginUser);
    return user.isEmpty() ? core::OwnerName : user;
}

QString textOf(const Input& input)
{
    return std::visit([](auto* control) { return control->Text(); }, input);
}

QString trimmedTextOf(const Input& input) { return vb::Trim(textOf(input)); }

forms::Control* controlOf(const Input& input)
{
    return std::visit([](auto* control) -> forms::Control* { return control; }, input);
}

void setTextOf(const Input& input, const QString& text)
{
    std::visit([&text](auto* control) { control->setText(text); }, input);
}

KnowledgeRecord::KnowledgeRecord(QString table, QString keyIndex, Input keyInput,
                                 std::vector<BoundColumn> columns, int enteredByOrdinal)
    : KnowledgeRecord(std::move(table), std::move(keyIndex), std::vector<Input>{keyInput}, std::move(columns),
                      enteredByOrdinal)
{
}

KnowledgeRecord::KnowledgeRecord(QString table, QString keyIndex, std::vector<Input> keyInputs,
                                 std::vector<BoundColumn> columns, int enteredByOrdinal)
    : table_(std::move(table)),
      keyIndex_(std::move(keyIndex)),
      keyInputs_(std::move(keyInputs)),
      columns_(std::move(columns)),
      enteredByOrdinal_(enteredByOrdinal)
{
    for (const BoundColumn& column : columns_)
        if (column.input == keyInputs_.front()) keyNormalized_ = column.normalized;
}

dao::Recordset KnowledgeRecord::openSought(dao::Database& db, const QStringList& keys) const
{
    dao::Recordset rows = db.openTable(table_);
    rows.setIndex(keyIndex_);
    QStringList typed, stored;
    for (const QString& key : keys) {
        typed << vb::Trim(key);
        stored << (keyNormalized_ ? core::NormalizeText(typed.last()) : typed.last());
    }
    const auto seek = [&rows](const QStringList& key) {
        rows.seek(QStringLiteral("="), key.value(0), key.size() > 1 ? vb::Variant(key[1]) : vb::Variant());
    };
    seek(typed);
    if (rows.noMatch() && stored != typed) seek(stored);
    return rows;
}

dao::Recordset KnowledgeRecord::openSought(dao::Database& db) const
{
    QStringList keys;
    for (const Input& input : keyInputs_) keys << textOf(input);
    return openSought(db, keys);
}

void KnowledgeRecord::store(dao::Recordset& row, bool editing) const
{
    for (const BoundColumn& column : columns_) {
        if (editing && !column.rewrittenOnEdit) continue;
        const QString text = trimmedTextOf(column.input);
        row.setField(column.ordinal, column.normalized ? core::NormalizeText(text) : text);
    }
    if (enteredByOrdinal_ != NoEnteredBy) row.setField(enteredByOrdinal_, EnteredBy());
}

KnowledgeRecord::Outcome KnowledgeRecord::add(dao::Database& db) const
{
    dao::Recordset rows = openSought(db);
    if (!rows.noMatch()) return Outcome::AlreadyStored;
    rows.addNew();
    store(rows, false);
    rows.update();
    return Outcome::Added;
}

KnowledgeRecord::Outcome KnowledgeRecord::edit(dao::Database& db) const
{
    dao::Recordset rows = openSought(db);
    if (rows.noMatch()) return Outcome::NotFound;
    rows.edit();
    store(rows, true);
    rows.update();
    return Outcome::Edited;
}

KnowledgeRecord::Outcome KnowledgeRecord::remove(dao::Database& db) const
{
    dao::Recordset rows = openSought(db);
    if (rows.noMatch()) return Outcome::NotFound;
    rows.remove();
    return Outcome::Deleted;
}

void KnowledgeRecord::loadByKey(const QString& key) const
{
    dao::Database db = core::OpenDb();
    const dao::Recordset rows = openSought(db, QStringList{key});
    if (!rows.noMatch()) load(rows);
}

void KnowledgeRecord::load(const dao::Recordset& row) const
{
    for (const BoundColumn& column : columns_) setTextOf(column.input, row.field(column.ordinal).toString());
}

void KnowledgeRecord::clear() const
{
    for (const BoundColumn& column : columns_) setTextOf(column.input, QString());
}

}  // namespace reference
