// The lists of the knowledge-base windows; see bound_lists.h.
#include "reference/bound_lists.h"

#include "core/globals.h"
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/vb/strings.h"

namespace reference {

void bindToDatabase(forms::DataControl& data)
{
    data.setDatabaseName(data::databasePath(core::WindowsDir));
    data.setConnect(data::connectText());
}

NameList::NameList(forms::DataControl* data, forms::DBList* list, QString column)
    : data_(data), bound_(list), column_(std::move(column))
{
}

NameList::NameList(forms::ListBox* list) : filled_(list) {}

void NameList::setUp()
{
    bindToDatabase(*data_);
    bound_->setDataSource(data_);
    bound_->setListField(column_);
}

int NameList::show(const QString& query, const QString& sql, bool keepWhenEmpty)
{
    if (bound_) {
        data_->setRecordSource(sql);
        data_->Refresh();   // the list follows its data control
        const int rows = data_->Recordset().recordCount();
        if (rows == 0 && keepWhenEmpty) {
            data_->setRecordSource(shown_);
            data_->Refresh();
        } else {
            shown_ = sql;
        }
        return rows;
    }
    dao::Database db = core::OpenDb();
    forms::DoEvents();
    dao::Recordset rows = db.storeAndOpen(query, sql);
    if (rows.eof() && keepWhenEmpty) return 0;
    QStringList names;
    forms::EventSlice pump;
    for (; !rows.eof(); rows.moveNext()) {
        names << vb::Trim(rows.field(0).toString());
        pump.DoEvents();
    }
    filled_->setItems(names);
    return int(names.size());
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

void fillCombo(forms::ComboBox& combo, dao::Recordset& rows, bool nullAsEmpty)
{
    QStringList items;
    for (; !rows.eof(); rows.moveNext())
        if (nullAsEmpty || !rows.field(0).isNull()) items << vb::Trim(rows.field(0).toString());
    combo.setItems(items);
}

}  // namespace reference
