// FrmZycy "中医成药编辑": the entry window of the patent-medicine knowledge base (table
// `fjcy`: name, composition, effects, indications, usage, notes, entered by). The user
// adds a medicine, looks one up by its typed name or from the list of names, rewrites
// its texts, deletes it, runs a fuzzy query over its texts, and hands the texts shown
// to the word processor. A herb marked in the composition box is looked up on the
// second tab. The name is stored as typed (trimmed); the texts through NormalizeText.
//
// Opened from the main window's item `ZysjDl3`; no close box, left through 退出, which
// gives the main menus back. Every activation (the first showing, the return from the
// help window) resets the window. Help code "CY".
#pragma once

#include "reference/herb_lookup.h"
#include "reference/knowledge_entry.h"

#include <memory>

namespace forms {
class CommandButton;
class ListBox;
class TabbedDialog;
class TextBox;
}

namespace reference {

class FrmZycy : public KnowledgeEntry {
    Q_OBJECT
public:
    FrmZycy();
    ~FrmZycy() override;

    forms::TabbedDialog* SSTab1;     // 成药内容, 药材浏览
    forms::TextBox* Txtfjmc;         // name, the key
    forms::TextBox* Txtfjnr;         // composition
    forms::TextBox* Txtfjgy;         // effects
    forms::TextBox* Txtfjzz;         // indications
    forms::TextBox* Txtfjyf;         // usage
    forms::TextBox* Txtlcxd;         // clinical notes, the one optional text
    forms::ListBox* ListFjmc;        // the names
    forms::Label* LabFjsl;           // the count of names
    forms::Label* Label1;
    forms::Label* Label2;
    forms::Label* Label3;
    forms::Label* Label4;
    forms::Label* Label5;
    forms::Label* Label6;
    forms::CommandButton* Cmdsave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* Cmdseek;
    forms::CommandButton* Cmddele;
    forms::CommandButton* Cmdqcls;
    forms::CommandButton* Cmdprnt;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* Cmdquit;
    std::unique_ptr<HerbLookup> herbs;   // the herb panel on tab 1 and the pop-up SeekYc

    void Qpcls() override;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Txtfjmc_KeyPress(int& keyAscii);
    void wireKeys();
    void layOut();
};

}  // namespace reference
