// What the dispensary tests share: the window fixture and the kit's controls, a small
// drug list with Chinese names (one drug whose code and name hold an apostrophe),
// readers of the stock tables as the file holds them, every write of an action failed
// in turn, a grid's rows as text, a paste, an Enter chain walked box by box, and the
// state of the main window's menus.
#pragma once

#include "core/globals.h"
#include "platform/dao/fault_injector.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/xlsx_reader.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>
#include <functional>
#include <tuple>
#include <vector>

namespace stocktest {

using testing::XlsxReader;

// ycjg: code, name, sales price, unit, category.
inline void seedDrugList(const TestEnvironment& env)
{
    env.insert("ycjg", {"DG01", "当归", 12.5, "克", "补血药"});
    env.insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
    env.insert("ycjg", {"O'1", "王不留'行", 2.0, "克", "活血药"});
}

// The rows of a table in stored order, every field as text (dates yyyy-MM-dd, numbers plain).
inline std::vector<QStringList> rowsOf(const TestEnvironment& env, const QString& table)
{
    dao::Database db = env.open();
    std::vector<QStringList> rows;
    for (dao::Recordset rs = db.openTable(table); !rs.eof(); rs.moveNext()) {
        QStringList& row = rows.emplace_back();
        for (int i = 0; i < rs.fieldCount(); ++i) row << rs.field(i).toString();
    }
    return rows;
}

// Both stock tables as the file holds them: the balances, then the journal.
inline std::pair<std::vector<QStringList>, std::vector<QStringList>> stockTables(const TestEnvironment& env)
{
    return {rowsOf(env, "ycyltb"), rowsOf(env, "yccrtb")};
}

// Runs `act` with its Nth database write failing (dao::WriteFault) for N = 1, 2, ... until
// a run makes fewer than N writes; after each failed run `check` looks at what it left.
// Returns the number of writes of the run that went through.
inline int writesFailedInTurn(const std::function<void()>& act, const std::function<void()>& check)
{
    int n = 1;
    for (;; ++n) {
        dao::WriteFault::arm(n);
        act();
        if (!dao::WriteFault::fired()) break;
        check();
    }
    dao::WriteFault::disarm();
    return n - 1;
}

// The balance row of a drug (rksl, rkje, ycyl), or -1s when it has none.
struct Balance {
    double quantityIn = -1, amountIn = -1, onHand = -1;
    bool operator==(const Balance&) const = default;
};

inline Balance balanceOf(const TestEnvironment& env, const QString& drugName)
{
    for (const QStringList& row : rowsOf(env, "ycyltb"))
        if (row[0] == drugName) return {row[1].toDouble(), row[2].toDouble(), row[3].toDouble()};
    return {};
}

// The first five cells of a grid's row, joined by '|'.
inline QString gridRow(const forms::FlexGrid* grid, int row)
{
    QStringList cells;
    for (int col = 0; col < 5; ++col) cells << grid->TextMatrix(row, col);
    return cells.join('|');
}

// Every row below a grid's header, as gridRow gives it.
inline QStringList gridRows(const forms::FlexGrid* grid)
{
    QStringList rows;
    for (int row = 1; row < grid->Rows(); ++row) rows << gridRow(grid, row);
    return rows;
}

// `text` pasted over a box's whole text with Ctrl+V, which gets past its key filter.
inline void paste(forms::TextBox* box, const QString& text)
{
    QApplication::clipboard()->setText(text);
    box->SetFocusSelectAll();
    QTest::keyClick(box->inner(), Qt::Key_V, Qt::ControlModifier);
}

// One step of an Enter chain: `typed` goes into `box` key by key (nothing when
// empty), Enter is pressed, and the focus must then stand on `next`.
struct EnterStep {
    forms::Control* box;
    QString typed;
    forms::Control* next;
};

inline void walkEnterChain(const std::vector<EnterStep>& steps)
{
    for (const EnterStep& step : steps) {
        if (!step.typed.isEmpty()) WindowFixture::type(step.box, step.typed);
        WindowFixture::pressEnter(step.box);
        QCOMPARE(WindowFixture::focusedControl(), step.next);
    }
}

// The main window's menus are usable (a working window or batch locks them while it runs).
inline bool menusOn(WindowFixture& world)
{
    return world.mainWindow().menuAction("ycrk")->isEnabled() && world.mainWindow().menuAction("xtwh")->isEnabled();
}

}  // namespace stocktest
