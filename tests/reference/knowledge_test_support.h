// What the knowledge-base tests share: readings (a list's or combo's items, a grid
// column's texts, a stored row's texts, a table's first column, the control behind an
// input, the progress window's presence), boxes filled in one call, a small formula
// base (five formulas, one an imported row with Null notes, one with an apostrophe in
// its name and composition, and two herbs their compositions name), and the mouse
// gesture of the herb look-up. It brings in what the window tests drive.
#pragma once

#include "core/globals.h"
#include "core/progress_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/office/document.h"
#include "reference/knowledge_record.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
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

// The first column of every row of `table`, in the order the rows were added.
inline QStringList termsInAddedOrder(const TestEnvironment& env, const QString& table)
{
    QStringList terms;
    dao::Database db = env.open();
    for (dao::Recordset rows = db.openTable(table); !rows.eof(); rows.moveNext()) terms << rows.field(0).toString();
    return terms;
}

// The same, sorted.
inline QStringList termsOf(const TestEnvironment& env, const QString& table)
{
    QStringList terms = termsInAddedOrder(env, table);
    terms.sort();
    return terms;
}

using reference::controlOf;

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

// The formula base.
inline void seedFormulas(const TestEnvironment& env)
{
    env.insert("zyfj", {"四物汤", "当归、川芎、白芍、熟地黄", "补血调血", "营血虚滞", "水煎服", "和剂局方", "月经不调", "王医生"});
    env.insert("zyfj", {"四君子汤", "人参、白术、茯苓、甘草", "益气健脾", "脾胃气虚", "水煎服", "和剂局方", "食少便溏", "王医生"});
    env.insert("zyfj", {"八珍汤", "人参、白术、茯苓、甘草、当归、川芎、白芍、熟地黄", "益气补血", "气血两虚", "水煎服",
                        "正体类要", "面色苍白", "王医生"});
    env.insert("zyfj", {"逍遥散", "柴胡、当归、白芍、白术、茯苓、甘草", "疏肝解郁", "肝郁血虚", "为散", "和剂局方"});
    env.insert("zyfj", {"王氏'清暑益气汤", "西洋参、石斛*、麦冬'", "清暑益气", "暑热气津两伤", "水煎服", "温热经纬", "  "});
    env.insert("zyyc", {"当归", "肝、心、脾经", "甘、辛，温", "补血活血", "血虚萎黄", "煎服", "湿盛中满者慎用", "补血圣药"});
    env.insert("zyyc", {"石斛*", "胃、肾经", "甘，微寒", "益胃生津", "热病津伤", "煎服", "  ", "  "});
}

// Marks `length` characters from `start` in the composition box, then presses and
// releases `button` over it, or (with `drag`) moves the mouse over it holding `button`.
inline void markAndUse(forms::TextBox* box, int start, int length, Qt::MouseButton button, bool drag = false)
{
    box->setSelStart(start);
    box->setSelLength(length);
    QWidget* viewport = box->plainTextEdit()->viewport();
    const QPointF at(10, 10);
    if (drag) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, button, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        return;
    }
    QTest::mousePress(viewport, button, {}, at.toPoint());
    QTest::mouseRelease(viewport, button, {}, at.toPoint());
}

}  // namespace knowledgetest
