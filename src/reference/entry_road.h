// The road of a knowledge-base entry window's writing buttons and look-ups, on the
// window's KnowledgeRecord and the shared write routine:
//
// - save (保存): the window's input check, then the record added in one transaction;
//   added, the window resets and the focus goes to the key box; already stored,
//   nothing is written and the focus goes to the edit button;
// - edit (修改): the check, then the row found rewritten; not found, nothing is
//   written and the focus goes to the save button;
// - remove (删除): the confirmation first (and the check after it where the window
//   asks for one), then the row found deleted; not found, the user is told so;
// - load: a look-up by key (Enter in the key box, a click in the name list) into the
//   inputs.
// Errors are shown as their description, or in the form the window gives.
//
// A window builds one in its constructor from its controls and calls these from its
// handlers:
//
//   road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; },
//                           [this] { Qpcls(); }, Txtycmc, CmdSave, Cmdedit},
//         KnowledgeRecord(...))
//   void Frmzyyc::CmdSave_Click() { road_.save(); }
#pragma once

#include "core/write_routine.h"
#include "reference/knowledge_record.h"

#include <functional>
#include <optional>

namespace forms {
class Control;
class Form;
}

namespace reference {

class EntryRoad {
public:
    struct Window {
        forms::Form& form;
        std::function<bool()> inputsPass;   // runs the window's input check
        std::function<void()> reset;        // the window's Qpcls
        forms::Control* keyBox;
        forms::Control* saveButton;
        forms::Control* editButton;
        core::Trap trap = core::runTrapped;  // the form the window's errors are shown in
    };
    enum class DeleteCheck { None, InputsFirst };

    EntryRoad(Window window, KnowledgeRecord record);

    void save();
    void edit();
    void remove(const QString& question, const QString& notFoundMessage, DeleteCheck check = DeleteCheck::None);
    // True when the row was found and loaded.
    bool load(const QString& key);

private:
    using Operation = KnowledgeRecord::Outcome (KnowledgeRecord::*)(dao::Database&) const;
    // Runs `operation` in one transaction; the outcome it reported, or none on failure.
    std::optional<KnowledgeRecord::Outcome> run(Operation operation, KnowledgeRecord::Outcome wanted);
    void resetToKey();

    Window window_;
    KnowledgeRecord record_;
    core::WriteRoutine writer_;
};

}  // namespace reference
