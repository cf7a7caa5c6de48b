// Frmfjll "方剂内容浏览": the query window of the formula knowledge base (`zyfj`). On
// the tab "方剂查询" the user fills up to fourteen fuzzy criteria (the name, three
// herbs, three effects, three indications, three clinical notes and the source, the
// last thirteen with pick lists) and gets the matching formulas in the grid, all of
// them while no query has run; a click on a row opens the formula on the tab
// "方剂具体内容"; a herb name marked in its composition opens that herb on the tab
// "相关药材内容" through the right mouse button (herb_lookup.h). The window reads only:
// all it writes are its temporary stored queries "fjcx", "ycnr" and "ycmccx".
//
// Opened by the main window's item `zycxll1` after the formula dictionaries have been
// rebuilt; left through 退出, which gives the main menus back. Enter walks the criteria
// from the name box through the source, herb, effect and indication boxes to 查询, and
// walks the formula and herb boxes of the other two tabs.
#pragma once

#include "reference/query_window.h"

#include <memory>

namespace forms {
class DataControl;
class DBCombo;
class FlexGrid;
class TextBox;
}

namespace reference {

class HerbLookup;

class Frmfjll : public QueryWindow {
    Q_OBJECT
public:
    Frmfjll();
    ~Frmfjll() override;

    // Tab 0 "方剂查询": the criteria, the buttons and the result grid.
    forms::TextBox* Txtmcyc;
    forms::DBCombo* Cbofjly;
    forms::DBCombo* Cbocxyc1;
    forms::DBCombo* Cbocxyc2;
    forms::DBCombo* Cbocxyc3;
    forms::DBCombo* Cboycgx1;
    forms::DBCombo* Cboycgx2;
    forms::DBCombo* Cboycgx3;
    forms::DBCombo* Cboyczz1;
    forms::DBCombo* Cboyczz2;
    forms::DBCombo* Cboyczz3;
    forms::DBCombo* Cbofjlc1;
    forms::DBCombo* Cbofjlc2;
    forms::DBCombo* Cbofjlc3;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdExit;
    forms::CommandButton* CmdHelp;
    forms::FlexGrid* MSFGridzyfj;
    // The pick lists: herb names, effect terms, indication terms, sources, clinical-note terms.
    forms::DataControl* Data1;
    forms::DataControl* Data2;
    forms::DataControl* Data3;
    forms::DataControl* Data4;
    forms::DataControl* Data5;

    // Tab 1 "方剂具体内容": the formula panel.
    forms::TextBox* Txtfjmc;
    forms::TextBox* Txtfjgc;
    forms::TextBox* Txtfjgx;
    forms::TextBox* Txtfjzz;
    forms::TextBox* Txtfjyf;
    forms::TextBox* Txtfjly;
    forms::TextBox* Txtfjlc;
    forms::ControlArray<forms::Label> Labfj;

    // Tab 2 "相关药材内容": the herb panel (its boxes and `Labyc`) and the pop-up menu
    // `SeekYc` of the composition box `Txtfjgc`.
    std::unique_ptr<HerbLookup> herbs;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    void Qpcls() override;
    void msfgridfjadd();
    void fjkcxsgb() { showDetail(false); }
    void CmdSeek_Click() { runQuery(); }
    void CmdQcls_Click();
    void MSFGridzyfj_Click();
    void Txtfjly_GotFocus();

    void layOut();
};

}  // namespace reference
