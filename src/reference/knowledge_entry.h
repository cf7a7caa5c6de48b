// The base of the knowledge-base entry windows (herbs, formulas, diagnoses, patent
// medicines, western drugs). A window makes its controls, places them, and gives the
// base its tables once; the base then runs what every such window does:
//
// - the entry road (entry_road.h): save, edit, delete and the look-ups by key;
// - the input check `srnrJy`: the boxes the window trims written back trimmed, then
//   the required boxes {box, message} in order, the first blank one named and given
//   the focus; when all hold text, a blank notes box takes the window's filler;
// - the reset `Qpcls`: the bound inputs emptied, the lists {combo, query, SQL}
//   refilled, the name list and the count label from the whole table;
// - the search: the criteria {column, box} as LIKE conditions over the table, the
//   names found shown in the name list and their number in the count label;
// - the print: the printed lines {caption, box, required}: a required one blank
//   refuses, otherwise the text goes to the word processor.
//
//   openRoad({Txtycmc, CmdSave, Cmdedit}, KnowledgeRecord(...));
//   setChecks({.required = {{Txtycmc, QStringLiteral("输入药材名称")}, ...}});
//   Cmdprnt->Click = [this] { Cmdprnt_Click(); };
#pragma once

#include "platform/forms/form.h"
#include "reference/entry_road.h"
#include "reference/hand_off_text.h"

#include <memory>
#include <optional>
#include <vector>

namespace forms {
class CommandButton;
class ComboBox;
class Label;
}

namespace reference {

class NameList;

class KnowledgeEntry : public forms::Form {
    Q_OBJECT
public:
    ~KnowledgeEntry() override;

    int srnrcw = 0;   // 1 while the last input check failed

    // The reset; a window with more to reset (a tab, a grid) adds it around this one.
    virtual void Qpcls();

protected:
    struct Required {
        Input box;
        QString message;
    };
    struct Checks {
        std::vector<Required> required;
        std::vector<Input> trimmed;      // written back trimmed before the check
        std::optional<Input> notes;      // optional text that a blank becomes `filler` in
        QString filler;
    };
    struct Printed {
        QString caption;
        Input box;
        bool required = true;
    };
    struct Print {
        std::vector<Printed> lines;
        DateLine dateLine;
        forms::Control* refusedFocus;                // where a refused print sends the focus
        forms::CommandButton* paused = nullptr;      // held disabled a few seconds after the print
        bool refusalTitled = false;                  // the refusal under the program's title
    };
    struct Searched {
        QString column;
        Input box;
    };
    struct Search {
        QString table;
        std::vector<Searched> criteria;
        QString query;                   // the stored query of the result
        QString orderBy;                 // appended to the SQL as it stands
        QString noCriterion, noMatch;
        bool trimsBoxes = false;         // the boxes keep their criteria trimmed
        bool resetsOnNoMatch = false;
    };
    struct Listed {
        forms::ComboBox* combo;
        QString query, sql;
        bool nullAsEmpty = false;
    };
    // Count captions with "%1" for the number: of all rows, of the rows a search found,
    // and (where it differs) of an empty table.
    struct Counted {
        forms::Label* label;
        QString all, found, none;
    };
    struct Names {
        std::shared_ptr<NameList> list;
        QString query, sql;                       // every name, at the reset
        std::optional<std::pair<QString, QString>> countQuery;   // where the count has its own
        Counted count;
    };

    // The controls the road moves the focus to, and the forms its errors are shown in.
    struct RoadControls {
        forms::Control* keyBox;
        forms::Control* saveButton;
        forms::Control* editButton;
        core::Trap trap = core::runTrapped;
        core::Trap deleteTrap = nullptr;
    };

    // The buttons every entry window has (a window without a search has no `seek`).
    struct Buttons {
        forms::CommandButton* save;
        forms::CommandButton* edit;
        forms::CommandButton* clear;
        forms::CommandButton* print;
        forms::CommandButton* seek = nullptr;
    };

    KnowledgeEntry();
    // The window goes only through its exit button, which gives the main menus back.
    void Form_QueryUnload(int& cancel) override;

    void wireButtons(const Buttons& buttons);
    void openRoad(RoadControls controls, KnowledgeRecord record);
    void setChecks(Checks checks) { checks_ = std::move(checks); }
    void setPrint(Print print) { print_ = std::move(print); }
    void setSearch(Search search) { search_ = std::move(search); }
    void setLists(std::vector<Listed> lists) { lists_ = std::move(lists); }
    void setNames(Names names) { names_ = std::move(names); }

    EntryRoad& road() { return *road_; }
    // Binds a name list bound to a data control to the database (once, when the window loads).
    void setUpNames();

    // The input check; true when it passed.
    bool srnrJy();
    // The search over the window's criteria.
    void seek();
    // Shows the names of the rows `sql` selects (stored as `query`) with their count;
    // false, the list and the label kept, when there is none.
    bool showFound(const QString& query, const QString& sql);
    void Cmdprnt_Click();
    // The clear button: the reset, then the focus to the key box.
    void clearToKey();

private:
    void showAllNames();

    std::unique_ptr<EntryRoad> road_;
    forms::Control* keyBox_ = nullptr;
    Checks checks_;
    std::optional<Print> print_;
    std::optional<Search> search_;
    std::vector<Listed> lists_;
    std::optional<Names> names_;
};

}  // namespace reference
