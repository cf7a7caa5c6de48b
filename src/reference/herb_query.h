// Frmzyll "中医药材内容浏览": the read-only browser and fuzzy query of the herb
// knowledge base. Its query tab narrows the list of herbs by up to nine criteria that
// must all hold (name, nature and flavour, meridians, three effect and three
// indication terms picked from the query dictionaries, rebuilt just before the window
// opened); a click on a herb of the grid shows its full record on the browse tab.
//
// Opened from the main window's item `zycxll0` after BuildHerbDicts; left only through
// 退出, which gives the main menus back. It writes nothing but its stored queries.
#pragma once

#include "reference/query_window.h"

namespace forms {
class DBCombo;
class FlexGrid;
class TextBox;
}

namespace reference {

class Frmzyll : public QueryWindow {
    Q_OBJECT
public:
    Frmzyll();

    // SSTab1: 0 药材查询, 1 查询结果浏览. The query tab.
    forms::TextBox* Txtmcyc;         // name, at most 20 characters
    forms::DBCombo* Cboycxw;
    forms::DBCombo* Cboycgj;
    forms::DBCombo* Cboycgx1;
    forms::DBCombo* Cboycgx2;
    forms::DBCombo* Cboycgx3;
    forms::DBCombo* Cboyczz1;
    forms::DBCombo* Cboyczz2;
    forms::DBCombo* Cboyczz3;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* CmdExit;
    forms::FlexGrid* Msfgridzyyc;
    // The browse tab: the detail panel.
    forms::TextBox* Txtycmc;
    forms::TextBox* Txtycxw;
    forms::TextBox* Txtycgj;
    forms::TextBox* Txtycgy;
    forms::TextBox* Txtyczz;
    forms::TextBox* Txtycyj;
    forms::TextBox* Txtycyf;
    forms::TextBox* Txtycxd;
    forms::ControlArray<forms::Label> Labbq;   // 名称 功效 主治 宜忌 性味 用法 行医心得 归经
    forms::CommandButton* Cmdedit;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Qpcls() override;
    void kcxsgb() { showDetail(false); }
    void msfgridadd();
    void CmdSeek_Click() { runQuery(); }
    void CmdQcls_Click();
    void Msfgridzyyc_Click();
    void Cmdedit_Click();
    void CmdExit_Click();

    void layOut();
};

}  // namespace reference
