// FrmXydl "西药编辑": the entry window of the western-drug knowledge base (table `ylsy`:
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
#include "reference/knowledge_entry.h"

namespace forms {
class ComboBox;
class ListBox;
class TextBox;
}

namespace reference {

class FrmXydl : public KnowledgeEntry {
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

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Txtycmc_KeyPress(int& keyAscii);
    void CboXylb_KeyPress(int& keyAscii);
    void ListYcmc_Click();
    void layOut();
};

}  // namespace reference
