// Frmzyyc: the herb knowledge base's entry window (table `zyyc`, one row per herb,
// key `ycmc` on the index `ycmci`). The user enters a herb, looks it up by name (Enter
// in the name box), edits it, deletes it, searches the herbs by fuzzy criteria, and
// hands its text to the word processor. The list on the right shows every stored
// herb's name (or the names the last search found), with the count below it; a click
// on a name loads that herb.
//
// Opened from the main window's item `ZysjDl0`; left only through 退出, which gives the
// main menus back. What every entry window does is the base's (knowledge_entry.h).
#pragma once

#include "reference/knowledge_entry.h"

namespace forms {
class ComboBox;
class CommandButton;
class DataControl;
class DBList;
class Label;
class TextBox;
}

namespace reference {

class Frmzyyc : public KnowledgeEntry {
    Q_OBJECT
public:
    Frmzyyc();

    forms::TextBox* Txtycmc;         // name
    forms::ComboBox* Cboycxw;        // nature and flavour
    forms::ComboBox* Cboycgj;        // meridian tropism
    forms::TextBox* Txtycgy;         // effects
    forms::TextBox* Txtyczz;         // indications
    forms::TextBox* Txtycyf;         // usage
    forms::TextBox* Txtycyj;         // cautions
    forms::TextBox* Txtycgb;         // clinical notes
    forms::DBList* ListYcmc;
    forms::DataControl* Data1;
    forms::Label* Label9;            // 本系统收集药材达
    forms::Label* Labycsl;           // the count
    forms::CommandButton* CmdSave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* Cmdprnt;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* Cmddele;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* CmdExit;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Txtycmc_KeyPress(int& keyAscii);
    void Txtycgb_KeyPress(int& keyAscii);
    void ListYcmc_Click();
    void Cmddele_Click();

    void layOut();
    void wireKeys();
};

}  // namespace reference
