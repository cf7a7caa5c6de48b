// Frmfjdl "方剂登录": the entry window of the formula knowledge base (`zyfj`). The user
// types a formula (name, composition, effects, indications, usage, source and the
// optional clinical notes), saves it, looks a stored one up by its name (Enter in the
// name box, or a click in the list of names), edits or deletes it, searches the
// formulas by fuzzy criteria on all seven boxes, and hands its text to the word
// processor. A herb name marked in the composition opens that herb on the tab
// "相关药材" through the right mouse button (herb_lookup.h).
//
// The name is stored and sought trimmed; the other texts pass through NormalizeText.
// Opened by the main window's item `ZysjDl1`; left only through 退出, which gives the
// main menus back.
#pragma once

#include "reference/knowledge_entry.h"

#include <memory>

namespace forms {
class CommandButton;
class DataControl;
class DBList;
class TabbedDialog;
class TextBox;
}

namespace reference {

class HerbLookup;

class Frmfjdl : public KnowledgeEntry {
    Q_OBJECT
public:
    Frmfjdl();
    ~Frmfjdl() override;

    forms::TabbedDialog* SSTab1;

    // Tab 0 "方剂登录".
    forms::TextBox* Txtfjmc;
    forms::TextBox* Txtfjnr;
    forms::TextBox* Txtfjgy;
    forms::TextBox* Txtfjzz;
    forms::TextBox* Txtfjyf;
    forms::TextBox* Txtlcxd;
    forms::TextBox* Txtfjly;
    forms::CommandButton* CmdSave;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* CmdSeek;
    forms::CommandButton* Cmddele;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* Cmdprnt;
    forms::CommandButton* CmdHelp;
    forms::CommandButton* CmdQuit;
    forms::DBList* ListFjmc;
    forms::Label* LabFjsl;
    forms::DataControl* Data1;

    // Tab 1 "相关药材": the herb panel (its boxes and `Labbq`) and the pop-up menu
    // `SeekYc` of the composition box `Txtfjnr`.
    std::unique_ptr<HerbLookup> herbs;

    void Qpcls() override;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Cmddele_Click();
    void Txtfjmc_KeyPress(int& keyAscii);
    void Txtfjnr_KeyPress(int& keyAscii);

    void wireKeys();
    void layOut();
};

}  // namespace reference
