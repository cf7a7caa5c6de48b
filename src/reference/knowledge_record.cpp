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

void setTextOf(const Input& input, const QString& text)
{
    std::visit([&text](auto* control) { control->setText(text); }, input);
}

KnowledgeRecord::KnowledgeRecord(QString table, QString keyIndex, Input keyInput,
                                 std::vector<BoundColumn> columns, int enteredByOrdinal)
    : table_(std::move(table)),
      keyIndex_(std::move(keyIndex)),
      keyInput_(keyInput),
      columns_(std::move(columns)),
      enteredByOrdinal_(enteredByOrdinal)
{
    for (const BoundColumn& column : columns_)
        if (column.input == keyInput_) keyNormalized_ = column.normalized;
}

dao::Recordset KnowledgeRecord::openSought(dao::Database& db, const QString& key) const
{
    dao::Recordset rows = db.openTable(table_);
    rows.setIndex(keyIndex_);
    const QString typed = vb::Trim(key);
    const QString stored = keyNormalized_ ? core::NormalizeText(typed) : typed;
    rows.seek(QStringLiteral("="), stored);
    if (rows.noMatch() && stored != typed) rows.seek(QStringLiteral("="), typed);
    return rows;
}

void KnowledgeRecord::store(dao::Recordset& row) const
{
    for (const BoundColumn& column : columns_) {
        const QString text = vb::Trim(textOf(column.input));
        row.setField(column.ordinal, column.normalized ? core::NormalizeText(text) : text);
    }
    row.setField(enteredByOrdinal_, EnteredBy());
}

KnowledgeRecord::Outcome KnowledgeRecord::add(dao::Database& db) const
{
    dao::Recordset rows = openSought(db, textOf(keyInput_));
    if (!rows.noMatch()) return Outcome::AlreadyStored;
    rows.addNew();
    store(rows);
    rows.update();
    return Outcome::Added;
}

KnowledgeRecord::Outcome KnowledgeRecord::edit(dao::Database& db) const
{
    dao::Recordset rows = openSought(db, textOf(keyInput_));
    if (rows.noMatch()) return Outcome::NotFound;
    rows.edit();
    store(rows);
    rows.update();
    return Outcome::Edited;
}

KnowledgeRecord::Outcome KnowledgeRecord::remove(dao::Database& db) const
{
    dao::Recordset rows = openSought(db, textOf(keyInput_));
    if (rows.noMatch()) return Outcome::NotFound;
    rows.remove();
    return Outcome::Deleted;
}

bool KnowledgeRecord::loadByKey(const QString& key) const
{
    dao::Database db = core::OpenDb();
    const dao::Recordset rows = openSought(db, key);
    if (rows.noMatch()) return false;
    load(rows);
    return true;
}

void KnowledgeRecord::load(const dao::Recordset& row) const
{
    for (const BoundColumn& column : columns_) setTextOf(column.input, row.field(column.ordinal).toString());
}

}  // namespace reference
