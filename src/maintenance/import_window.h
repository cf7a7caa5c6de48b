// FrmLinkDb "导入数据库": adds to the system's database the records of one table of
// another database file of the system's format. The user picks the file, then one
// of seven tables from the pop-up menu of 导入数据 (import.h holds the import and its
// member table); the progress bar and the percentage show the run, which takes no
// input until it ends. No question is asked and no end is reported; the path stays,
// so further tables can be imported from the same file.
//
// Opened from the main window's item `DateSj`; closed by its exit button only, which
// gives the main menus back.
#pragma once

#include "maintenance/import.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"

class QMenu;

namespace forms {
class CommandButton;
class Label;
class ProgressBar;
class TextBox;
}

namespace maintenance {

class FrmLinkDb : public forms::Form, private ImportProgress {
    Q_OBJECT
public:
    FrmLinkDb();

    forms::CommandButton* CmdFileName;
    forms::TextBox* TxtFile;          // the source file's full path, locked
    forms::CommandButton* CmdLook;    // pops up the import menu
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdQuit;
    forms::ProgressBar* ProgBar;      // 0 to 110, shown while an import runs
    forms::Label* LabJd;              // the percentage
    forms::CommonDialog CmDialg;
    QMenu* pupmenu1;                  // one item a member, named as the member's item

protected:
    void Form_Load() override;

private:
    void Qpcls();
    void CmdFileName_Click();
    void CmdLook_Click();
    void CmdQcls_Click();
    void CmdQuit_Click();
    // The click of a menu item: the import of `member`'s table from the file named.
    void importClicked(const ImportMember& member);

    void started(const ImportMember& member) override;
    void advanced(float percent) override;
    void finished(const ImportMember& member) override;

    void layOut();

    int shownPercent_ = -1;           // the whole percentage LabJd shows during a run
};

}  // namespace maintenance
