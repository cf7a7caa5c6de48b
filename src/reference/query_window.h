// The base of the four knowledge-base query windows (herbs, formulas, diagnoses,
// patent medicines): a tabbed window whose first tab holds the criteria, the buttons
// and the result grid, and whose second tab shows one record. The base owns what they
// share: the tabs, the grid's set-up and fill, the pick lists re-read at every reset,
// the query (criteria -> LIKE conditions -> stored query -> grid, or the "no match"
// message and the reset), the row click that loads a record into the detail tab, the
// detail panel shown and hidden as a whole, and the Enter chains of the detail boxes.
// Every handler runs its work in the window's one error trap, and every handler that
// lets events run (查询, 清屏, the row click, 返回, the reset on opening) runs under the
// window's one-press guard: a press or click that arrives meanwhile does nothing.
//
// A window gives its tables and calls the steps from its own handlers, which keep the
// names its description gives them:
//
//   Frmzyll() : QueryWindow({"药材查询", "查询结果浏览"}, ResultGrid, HerbQuery) { ... }
//   void Frmzyll::CmdSeek_Click() { runQuery(); }
//   onceOnClick(CmdSeek, [this] { CmdSeek_Click(); });
#pragma once

#include "core/error_trap.h"
#include "core/one_press.h"
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "reference/knowledge_record.h"

#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace dao {
class Database;
class Recordset;
}

namespace forms {
class Control;
class DataControl;
class DBCombo;
class FlexGrid;
class Label;
class TabbedDialog;
class TextBox;
}

namespace reference {

class HerbLookup;
class PickList;

class QueryWindow : public forms::Form {
    Q_OBJECT
public:
    // The result grid: its format string, the widths of its columns (as many columns),
    // the height of a data row, its tool tip. Row 0 and column 0 are fixed.
    struct Grid {
        QString format;
        std::vector<int> widths;
        int rowHeight = 400;
        QString toolTip;
    };
    // The query: the table searched, its name column, the text after the conditions
    // (the ordering), the stored query of the result (a loaded record's is "ycnr"), the
    // messages for no criterion (none: every criterion may be empty), no match and an
    // empty name cell, whether the criteria are written back trimmed, and the error trap.
    struct Query {
        QString table;
        QString nameColumn;
        QString order;
        QString resultQuery;
        QString noCriterion = {};
        QString noMatch;
        QString noName = {};
        bool trimInPlace = false;
        core::Trap trap = core::runTrappedLine;
    };
    // One criterion: the column it is compared with and the input it is read from.
    struct Criterion {
        const char* column;
        Input input;
    };
    // One step of an Enter chain: Enter in `from` moves the focus to `next` (nowhere
    // when null) if `from` passes the test, giving `next` the focus as told. Space and
    // Enter never reach `from`.
    enum class Test { Any, Filled, None };   // holds text, holds more than blanks, always
    enum class Focus { Plain, SelectAll, End };
    struct Link {
        Input from;
        forms::Control* next;
        Test test = Test::None;
        Focus focus = Focus::SelectAll;
    };

    QueryWindow(const QStringList& tabs, Grid grid, Query query);
    ~QueryWindow() override;

    forms::TabbedDialog* SSTab1;

protected:
    static constexpr int QueryTab = 0;
    static constexpr int DetailTab = 1;

    forms::FlexGrid* grid() const { return grid_; }
    const Query& query() const { return query_; }
    // Runs `work` in the window's error trap; false after the error was shown.
    bool trapped(const std::function<void()>& work) const { return query_.trap(work); }
    // Runs `handler` under the window's one-press guard; called while one runs, does
    // nothing. A window whose writes have a guard of their own runs it under that one.
    virtual void runOnce(const std::function<void()>& handler) { press_.run(handler); }
    // `control`'s click runs `handler` under the one-press guard.
    void onceOnClick(forms::Control* control, std::function<void()> handler);

    // A label on tab `tab`; a combo box of the look (宋体 10.5, light blue) there.
    forms::Label* newLabel(int tab, const char* caption) const;
    forms::DBCombo* newCombo(int tab) const;
    // The locked detail boxes: white text on the detail blue in 11.25 pt, the multi-line
    // ones with a vertical scroll bar; their labels wrap.
    static void giveDetailLook(std::initializer_list<forms::TextBox*> boxes, const forms::ControlArray<forms::Label>& labels);

    // What the window gives once, in its constructor.
    void setCriteria(std::vector<Criterion> criteria) { criteria_ = std::move(criteria); }
    // The detail boxes in the order of the table's columns, and every control of the
    // detail panel shown and hidden with them (the boxes are among them already).
    void setDetail(std::vector<forms::TextBox*> byColumn, std::vector<forms::Control*> others);
    PickList& addPickList(forms::DataControl* data, const QString& sql, const QString& column,
                          std::initializer_list<forms::DBCombo*> combos);
    void chain(std::initializer_list<Link> links);
    // The Enter chain of a herb panel: each box to the next with its text selected.
    void chainHerbPanel(HerbLookup& herbs);

    // Format string, columns, two rows, the fixed row and column, the widths.
    void setUpGrid();
    // Fills the grid from `rows` (a window with its own grid rules replaces it).
    virtual void fillResult(dao::Recordset& rows);
    // Re-reads every pick list.
    void refillPickLists();
    void showDetail(bool shown);
    void clearCriteria();
    // The reset: the pick lists re-read, criteria and detail boxes emptied, the grid
    // filled by `listAll`, the query tab brought to the front, the arrow pointer.
    void reset(const std::function<void()>& listAll);
    // Fills the grid with the rows `open` opens; a source without a row leaves it as it is.
    void listRows(const std::function<dao::Recordset(dao::Database&)>& open);
    // The query of the criteria; with no match, the message and then `Qpcls`.
    void runQuery();
    // The name in column 0 of the clicked data row, the cell made current; empty
    // (after the message for an empty name) or outside the data rows: nothing.
    std::optional<QString> clickedName();
    // Loads the record named `name` into the detail boxes and shows it; nothing when
    // it is gone.
    void showRecord(const QString& name);

    virtual void Qpcls() = 0;

private:
    core::OnePress press_;
    forms::FlexGrid* grid_;
    Grid gridLayout_;
    Query query_;
    std::vector<Criterion> criteria_;
    std::vector<forms::TextBox*> detailBoxes_;
    std::vector<forms::Control*> detailPanel_;
    std::vector<std::unique_ptr<PickList>> pickLists_;
};

}  // namespace reference
