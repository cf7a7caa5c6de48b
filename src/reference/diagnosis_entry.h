// Frmzyzddl: the entry window of the syndrome and diagnosis knowledge base (table
// `zybz`: name, symptoms, cause, treatment). The user enters a syndrome, changes the
// cause and treatment of a stored one, deletes it, or hands the four texts to the word
// processor; a grid below lists every syndrome, ordered by name and symptoms, the rows
// of one name under one merged name cell, and a click on a row loads it into the boxes.
// The key is the pair (name, symptoms).
//
// Opened from the main window's item `ZysjDl2`; left through 结束, which gives the main
// menus back. Help code "ZD".
#pragma once

#include "reference/knowledge_entry.h"

namespace forms {
class CommandButton;
class FlexGrid;
class TextBox;
}

namespace reference {

class Frmzyzddl : public KnowledgeEntry {
    Q_OBJECT
public:
    Frmzyzddl();

    forms::TextBox* TxtBzmc;         // syndrome name
    forms::TextBox* Txtbzzz;         // symptoms
    forms::TextBox* Txtbzcy;         // cause
    forms::TextBox* TxtZlcs;         // treatment; the one box that takes line breaks
    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Label* Label4;
    forms::CommandButton* CmdSave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* Cmddele;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* Cmdprnt;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* CmdExit;
    forms::Label* Labsl;             // the count of stored syndromes
    forms::FlexGrid* MSFGridzyzd;

    void Qpcls() override;

protected:
    void Form_Load() override;

private:
    void msfgridaddzyzd();
    void Cmddele_Click();
    void MSFGridzyzd_Click();
    void layOut();
};

}  // namespace reference
