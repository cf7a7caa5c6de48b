// The data control's snapshot reading and the bound lists (see datacontrol.h).
#include "platform/forms/datacontrol.h"

#include "platform/dao/dao.h"

namespace forms {

// ---- DataRecords ------------------------------------------------------------------

int DataRecords::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

vb::Variant DataRecords::value(int row, int ordinal) const
{
    if (row < 0 || row >= recordCount() || ordinal < 0 || ordinal >= fieldCount()) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(ordinal)];
}

QStringList DataRecords::columnTexts(const QString& name) const
{
    QStringList texts;
    const int column = fieldIndex(name);
    if (column < 0) return texts;
    texts.reserve(recordCount());
    for (int row = 0; row < recordCount(); ++row) texts << value(row, column).toString();
    return texts;
}

void DataRecords::assign(QStringList fields, std::vector<std::vector<vb::Variant>> rows)
{
    fields_ = std::move(fields);
    rows_ = std::move(rows);
}

// ---- DataControl ------------------------------------------------------------------

DataControl::DataControl(QObject* parent) : QObject(parent) {}

void DataControl::Refresh()
{
    if (recordSource_.trimmed().isEmpty()) {
        records_.assign({}, {});
        emit refreshed();
        return;
    }
    dao::Database db = dao::Database::open(databaseName_, connect_);
    // A table name, a stored query's name or an SQL text: the database layer tells them apart.
    dao::Recordset rs = db.openRecordset(recordSource_.trimmed());
    QStringList fields;
    for (int i = 0; i < rs.fieldCount(); ++i) fields << rs.fieldName(i);
    std::vector<std::vector<vb::Variant>> rows;
    if (!rs.eof()) rs.moveFirst();
    while (!rs.eof()) {
        std::vector<vb::Variant> row;
        row.reserve(static_cast<std::size_t>(fields.size()));
        for (int i = 0; i < fields.size(); ++i) row.push_back(rs.field(i));
        rows.push_back(std::move(row));
        rs.moveNext();
    }
    rs.close();
    db.close();
    records_.assign(std::move(fields), std::move(rows));
    emit refreshed();
}

// ---- Bound lists ------------------------------------------------------------------

void DataBinding::setDataSource(DataControl* source)
{
    QObject::disconnect(connection_);
    source_ = source;
    if (source) connection_ = QObject::connect(source, &DataControl::refreshed, owner_, [this] { refill(); });
    refill();
}

void DataBinding::setListField(const QString& column)
{
    listField_ = column;
    refill();
}

QStringList DataBinding::boundTexts() const
{
    if (!source_ || listField_.isEmpty()) return {};
    return source_->Recordset().columnTexts(listField_);
}

DBCombo::DBCombo(QWidget* parent, Style style) : ComboBox(parent, style), DataBinding(this) {}
void DBCombo::refill() { setItems(boundTexts()); }

DBList::DBList(QWidget* parent) : ListBox(parent), DataBinding(this) {}
void DBList::refill() { setItems(boundTexts()); }

}  // namespace forms
