// FrmXydl "西药编辑": the one window of the western-drug knowledge base (table `ylsy`:
// name, effects, usage and dosage, cautions, notes, entered by, category). In the same
// window the user enters a new drug, changes or deletes a stored one, looks a drug up
// by its name, lists the drugs of one category, runs a fuzzy query over the text
// columns and hands one drug's text to the word processor.
//
// Opened from the main window's item `ZysjDl4`; no close box, left through 退出, which
// gives the main menus back. Every activation (the first showing, the return from the
// help window) rebuilds the category list, the name list and the count and empties
// the boxes.
#pragma once

#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "reference/entry_road.h"

namespace dao {
class Database;
class Recordset;
}

namespace forms {
class ComboBox;
class ListBox;
class TextBox;
}

namespace reference {

class FrmXydl : public forms::Form {
    Q_OBJECT
public:
    FrmXydl();

    forms::TextBox* Txtycmc;         // name, the key
    forms::ComboBox* CboXylb;        // category: the stored ones, or a new one typed
    forms::TextBox* Txtyczz;         // effects
    forms::TextBox* Txtycyf;         // usage and dosage, at most 200 characters
    forms::TextBox* Txtycyj;         // cautions
    forms::TextBox* Txtycgb;         // clinical notes
    forms::ListBox* ListYcmc;        // every name, or the names a query found
    forms::Label* LabJL;             // the count of drugs or of found drugs
    forms::Label* Label5;
    forms::Label* Label1;
    forms::ControlArray<forms::Label> Labbt;    // 作用特点, 用法剂量, 注意事项, 临床治疗应用
    forms::CommandButton* Cmdsave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* Cmdseek;
    forms::CommandButton* Cmddele;
    forms::CommandButton* Cmdprnt;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* Cmdqcls;
    forms::CommandButton* Cmdexit;

    int srnrcw = 0;                  // 1 while the last input check failed

    void Qpcls();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    void cboXylbad(dao::Database& db);
    void listycmcadd(dao::Database& db);
    void zyycsl(dao::Database& db);
    void srnrJy();
    // Fills ListYcmc and LabJL from a query result; false (both untouched) without rows.
    bool showFound(dao::Recordset& found);

    void Cmdseek_Click();
    void Cmddele_Click();
    void Cmdprnt_Click();
    void CmdHelp_Click();
    void Cmdqcls_Click();
    void Cmdexit_Click();
    void ListYcmc_Click();
    void Txtycmc_KeyPress(int& keyAscii);
    void CboXylb_KeyPress(int& keyAscii);
    void layOut();

    EntryRoad road_;   // save, edit, delete and the look-ups by name
};

}  // namespace reference
