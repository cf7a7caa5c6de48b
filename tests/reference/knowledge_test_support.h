// Readings the knowledge-base tests share: a list's or combo's items, a grid column's
// texts, a stored row's texts, a table's first column, the control behind an input,
// the progress window's presence, and boxes filled in one call.
#pragma once

#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"
#include "core/progress_window.h"
#include "reference/knowledge_record.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QStringList>
#include <algorithm>
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

// The first column of every row of `table`, sorted.
inline QStringList termsOf(const TestEnvironment& env, const QString& table)
{
    QStringList terms;
    dao::Database db = env.open();
    for (dao::Recordset rows = db.openTable(table); !rows.eof(); rows.moveNext()) terms << rows.field(0).toString();
    terms.sort();
    return terms;
}

inline forms::Control* controlOf(const reference::Input& input)
{
    return std::visit([](auto* control) -> forms::Control* { return control; }, input);
}

inline bool progressWindowGone()
{
    QCoreApplication::processEvents();
    const QWidgetList windows = QApplication::allWidgets();
    return std::none_of(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<core::Frmjdys*>(w); });
}

// Each box takes the text of the same place (missing texts empty the box).
inline void fillBoxes(std::initializer_list<forms::TextBox*> boxes, const QStringList& texts)
{
    int i = 0;
    for (forms::TextBox* box : boxes) box->setText(texts.value(i++));
}

}  // namespace knowledgetest
