// Frmzyzdll: the query window of the syndrome and diagnosis knowledge base (`zybz`).
// The user picks a syndrome name and up to five symptom terms and sees the matching
// rows in a grid; a click opens a row on the detail tab, where its cause and treatment
// can be changed, the four boxes stored as a new row, or the row deleted (at once,
// without a question). Picking a name narrows the symptom dictionary `bzzz` to the
// symptoms of the syndromes of that name (`seekbzmc`), under the progress window; the
// dictionary stays narrowed until the menu item rebuilds it on the next opening.
//
// Opened from the main window's item `zycxll2` after the symptom dictionary is built;
// left through 结束, which gives the main menus back. No help and no print button.
#pragma once

#include "reference/entry_road.h"
#include "reference/query_window.h"

#include <functional>

namespace forms {
class DataControl;
class DBCombo;
class FlexGrid;
class TextBox;
}

namespace reference {

class PickList;

class Frmzyzdll : public QueryWindow {
    Q_OBJECT
public:
    Frmzyzdll();

    // SSTab1: 诊断查询浏览, 病症内容浏览.
    forms::DataControl* Data1;       // the distinct syndrome names
    forms::DataControl* Data2;       // the symptom dictionary bzzz
    forms::DBCombo* Dbobzmc;
    forms::ControlArray<forms::DBCombo> Dbobzzz;   // Dbobzzz1 .. Dbobzzz5 at 0 .. 4
    forms::Label* Label1;
    forms::ControlArray<forms::Label> Label2;      // the five 病症症状 labels
    forms::FlexGrid* MSFGridzyzd;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdExit;
    forms::TextBox* TxtBzmc;
    forms::TextBox* Txtbzzz;
    forms::TextBox* Txtbzcy;
    forms::TextBox* TxtZlcs;
    forms::ControlArray<forms::Label> Labbt;       // 病症名称, 病症症状, 病症成因, 治疗措施
    forms::CommandButton* CmdSave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* Cmddele;
    forms::CommandButton* CmdBack;

    int srnrcw = 0;                  // 1 while the last input check failed

    void Qpcls() override;
    void seekbzmc();

protected:
    void Form_Load() override;
    void runOnce(const std::function<void()>& handler) override;
    void Form_QueryUnload(int& cancel) override;

private:
    // The grid with the rows `open` opens on the database, the names' cells merged;
    // a source without a row leaves the header alone.
    void showGrid(const std::function<dao::Recordset(dao::Database&)>& open);
    void fillResult(dao::Recordset& rows) override;
    void msfgridaddzyzd();
    void seekmsfgrid() { runQuery(); }
    void qclsseek();
    void srnrJy();

    void MSFGridzyzd_Click();
    void CmdBack_Click();
    void layOut();

    PickList* terms_;                   // Data2 (bzzz) into the five symptom combos
    EntryRoad road_;                    // save, change and delete of the detail tab
};

}  // namespace reference
