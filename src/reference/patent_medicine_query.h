// FrmCyzy "中医成药查询": the query window of the patent-medicine knowledge base
// (`fjcy`). The user gives part of a name, up to three herbs of the composition, three
// effect terms and three indication terms, all of which must match; the grid lists the
// medicines found, a click shows one in full on the second tab, and a herb marked in
// its composition is looked up on the third. The window changes no table.
//
// Opened from the main window's item `ZycyCx` after the effect and indication
// dictionaries are rebuilt; left through 退出, which gives the main menus back. Every
// activation resets the criteria and lists every medicine. Help code "C-Y".
#pragma once

#include "reference/herb_lookup.h"
#include "reference/query_window.h"

#include <memory>

namespace forms {
class DataControl;
class DBCombo;
class FlexGrid;
class TextBox;
}

namespace reference {

class FrmCyzy : public QueryWindow {
    Q_OBJECT
public:
    FrmCyzy();

    // SSTab1: 中医成药查询, 中医成药具体内容, 中医药材内容浏览.
    forms::TextBox* Txtmcyc;         // part of the name
    forms::DataControl* Data1;       // herb names
    forms::DataControl* Data2;       // effect terms (Cygx)
    forms::DataControl* Data3;       // indication terms (Cyzz)
    forms::ControlArray<forms::DBCombo> Cbocxyc;   // Cbocxyc1 .. 3 at 0 .. 2
    forms::ControlArray<forms::DBCombo> Cboycgx;   // Cboycgx1 .. 3
    forms::ControlArray<forms::DBCombo> Cboyczz;   // Cboyczz1 .. 3
    forms::FlexGrid* MSFGridzyfj;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdExit;
    forms::CommandButton* CmdHelp;
    // The detail panel.
    forms::TextBox* Txtfjmc;
    forms::TextBox* Txtfjgx;
    forms::TextBox* Txtfjzz;
    forms::TextBox* Txtfjgc;         // the composition
    forms::TextBox* Txtfjyf;
    forms::TextBox* Txtfjlc;
    forms::ControlArray<forms::Label> Labfj;
    std::unique_ptr<HerbLookup> herbs;   // the herb panel on tab 2 and the pop-up SeekYc

    void Qpcls() override;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    void msfgridCyadd();
    void CykcXsgb() { showDetail(false); }
    void CmdSeek_Click() { runQuery(); }
    void MSFGridzyfj_Click();
    void layOut();
    void chainKeys();
};

}  // namespace reference
