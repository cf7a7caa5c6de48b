// Frmcopy "数据备份及数据恢复": copies the database file to a file the user picks
// (backup) or a file the user picks over the database file (restore), with the
// free-space check of the receiving filesystem first and an animation playing while
// the file is copied and for five seconds after; both buttons are hidden meanwhile,
// so no second copy can start and the window can't be left. The copies themselves
// and the restore's checks are database_copy.h's. No question is asked and no
// success is reported: the buttons coming back with the path box emptied tell it.
//
// Opened from the main window's item `cc`; closed by its exit button only, which
// gives the main menus back.
#pragma once

#include "platform/forms/form.h"
#include "platform/forms/services.h"

#include <functional>

namespace forms {
class Animation;
class CommandButton;
class OptionButton;
class TextBox;
}

namespace maintenance {

class Frmcopy : public forms::Form {
    Q_OBJECT
public:
    Frmcopy();

    forms::CommandButton* CmdPath;   // opens the file dialog
    forms::TextBox* Txtpath;         // the chosen file, locked
    forms::OptionButton* Optsave;    // backup mode (selected at the start)
    forms::OptionButton* Optcove;    // restore mode
    forms::Animation* Aniplay;       // plays while a copy runs
    forms::CommandButton* Cmdcopy;
    forms::CommandButton* Cmdexit;
    forms::CommonDialog CmDlog;

protected:
    void Form_Load() override;

private:
    void Optsave_Click();
    void Optcove_Click();
    void CmdPath_Click();
    void Cmdcopy_Click();
    void Cmdexit_Click();

    // The two modes' copies: true when the file was copied, false after a refusal
    // (shown, with the buttons back and the path kept). Errors reach the caller's trap.
    bool backup(const QString& target);
    bool restore(const QString& source);
    // `refusal` when the filesystem receiving `receivingPath` has less room than
    // `bytes`; the path is then selected and both buttons come back.
    bool refusedForRoom(qint64 bytes, const QString& receivingPath, const QString& refusal);
    // Hides the buttons, plays the animation, runs `copy`, pauses five seconds and
    // empties the path box.
    void copyWithAnimation(const std::function<void()>& copy);
    void waitment(forms::CommandButton* cmd1, forms::CommandButton* cmd2, forms::Animation* ani);
    void switchMode(const QString& caption);
    void showButtons();
    void layOut();
};

}  // namespace maintenance
