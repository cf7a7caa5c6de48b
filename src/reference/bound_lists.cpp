// The lists of the knowledge-base windows; see bound_lists.h.
#include "reference/bound_lists.h"

#include "core/globals.h"
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/vb/strings.h"

namespace reference {

void bindToDatabase(forms::DataControl& data)
{
    data.setDatabaseName(data::databasePath(core::WindowsDir));
    data.setConnect(data::connectText());
}

NameList::NameList(forms::DataControl* data, forms::DBList* list, QString column)
    : data_(data), list_(list), column_(std::move(column))
{
}

void NameList::setUp()
{
    bindToDatabase(*data_);
    list_->setDataSource(data_);
    list_->setListField(column_);
}

int NameList::show(const QString& source)
{
    data_->setRecordSource(source);
    data_->Refresh();   // the list follows its data control
    return data_->Recordset().recordCount();
}

PickList::PickList(forms::DataControl* data, QString sql, QString column,
                   std::initializer_list<forms::DBCombo*> combos)
    : data_(data), sql_(std::move(sql)), column_(std::move(column)), combos_(combos)
{
    for (forms::DBCombo* combo : combos_) {
        combo->setDataSource(data_);
        combo->setListField(column_);
    }
}

void PickList::refill()
{
    bindToDatabase(*data_);
    data_->setRecordSource(sql_);
    data_->Refresh();   // every combo follows its data control: each list is filled once
}

void fillCombo(forms::ComboBox& combo, dao::Recordset& rows)
{
    QStringList items;
    for (; !rows.eof(); rows.moveNext())
        if (!rows.field(0).isNull()) items << vb::Trim(rows.field(0).toString());
    combo.Clear();
    combo.setItems(items);
}

}  // namespace reference
