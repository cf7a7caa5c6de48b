// Frmzyyc: the herb knowledge base's entry window (table `zyyc`, one row per herb,
// key `ycmc` on the index `ycmci`). The user enters a herb, looks it up by name (Enter
// in the name box), edits it, deletes it, searches the herbs by fuzzy criteria, and
// hands its text to the word processor. The list on the right shows every stored
// herb's name (or the names the last search found), with the count below it; a click
// on a name loads that herb.
//
// Opened from the main window's item `ZysjDl0`; left only through 退出, which gives the
// main menus back. The record road (seek, add, edit, delete, load) is the knowledge
// bases' own (knowledge_record.h).
#pragma once

#include "platform/forms/form.h"
#include "reference/entry_road.h"

#include <memory>

namespace forms {
class ComboBox;
class CommandButton;
class DataControl;
class DBList;
class Label;
class TextBox;
}

namespace reference {

class NameList;

class Frmzyyc : public forms::Form {
    Q_OBJECT
public:
    Frmzyyc();
    ~Frmzyyc() override;

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

    // The input-error flag: 1 while the last input check failed, 0 after it passed.
    int srnrcw = 0;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void Qpcls();
    void cboycxwad(dao::Database& db);
    void cboycgjad(dao::Database& db);
    void srnrJy();

    void Txtycmc_KeyPress(int& keyAscii);
    void Cboycxw_KeyPress(int& keyAscii);
    void Cboycgj_KeyPress(int& keyAscii);
    void Txtycgy_KeyPress(int& keyAscii);
    void Txtyczz_KeyPress(int& keyAscii);
    void Txtycyf_KeyPress(int& keyAscii);
    void Txtycyj_KeyPress(int& keyAscii);
    void Txtycgb_KeyPress(int& keyAscii);
    void ListYcmc_Click();
    void Cmddele_Click();
    void CmdSeek_Click();
    void Cmdprnt_Click();
    void CmdQcls_Click();
    void CmdExit_Click();

    void layOut();

    std::unique_ptr<NameList> names_;
    EntryRoad road_;            // CmdSave_Click, Cmdedit_Click, the look-ups
};

}  // namespace reference
