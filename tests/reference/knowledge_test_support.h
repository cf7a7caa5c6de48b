// Readings the knowledge-base window tests share: a list's or combo's items, a grid
// column's texts, a stored row's texts and a control's texts filled in one call.
#pragma once

#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"
#include "support/test_environment.h"

#include <QStringList>
#include <initializer_list>

namespace knowledgetest {

template <class List>
QStringList itemsOf(const List* list)
{
    QStringList items;
    for (int i = 0; i < list->ListCount(); ++i) items << list->List(i);
    return items;
}

inline QStringList columnOf(const forms::FlexGrid* grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid->Rows(); ++row) texts << grid->TextMatrix(row, col);
    return texts;
}

// The texts of the first row `sql` selects (empty when none).
inline QStringList storedRow(const TestEnvironment& env, const QString& sql)
{
    dao::Database db = env.open();
    dao::Recordset row = db.openRecordset(sql);
    QStringList texts;
    if (!row.eof())
        for (int col = 0; col < row.fieldCount(); ++col) texts << row.field(col).toString();
    return texts;
}

// Each box takes the text of the same place (missing texts empty the box).
inline void fillBoxes(std::initializer_list<forms::TextBox*> boxes, const QStringList& texts)
{
    int i = 0;
    for (forms::TextBox* box : boxes) box->setText(texts.value(i++));
}

}  // namespace knowledgetest
