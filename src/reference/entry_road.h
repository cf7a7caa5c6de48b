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
// Errors are shown as their description, or in the form the window gives (the delete's
// form apart where it differs).
//
// The entry window base (knowledge_entry.h) builds one from the window's controls and
// tables, and the window's buttons call it:
//
//   openRoad({Txtycmc, CmdSave, Cmdedit}, KnowledgeRecord(...));   // in the window
//   road_ = std::make_unique<EntryRoad>(EntryRoad::Window{*this, [this] { return srnrJy(); },
//                                       [this] { Qpcls(); }, keyBox, save, edit}, record);
//   CmdSave->Click = [this] { road().save(); };
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
        core::Trap deleteTrap = nullptr;     // the delete's form, where it differs
    };
    enum class DeleteCheck { None, InputsFirst };

    EntryRoad(Window window, KnowledgeRecord record);

    void save();
    void edit();
    // An empty `question` deletes without asking; an empty `notFoundMessage` says
    // nothing when the row is not found.
    void remove(const QString& question, const QString& notFoundMessage, DeleteCheck check = DeleteCheck::None);
    // A key not stored leaves the inputs as they were.
    void load(const QString& key);

    // The window's other handlers that let events run share the road's guard, so one
    // press at a time runs; its own look-ups load a row they opened through the record.
    core::WriteRoutine& writer() { return writer_; }
    const KnowledgeRecord& record() const { return record_; }

private:
    using Operation = KnowledgeRecord::Outcome (KnowledgeRecord::*)(dao::Database&) const;
    // Runs `operation` in one transaction; the outcome it reported, or none on failure.
    std::optional<KnowledgeRecord::Outcome> run(core::WriteRoutine& writer, Operation operation,
                                                KnowledgeRecord::Outcome wanted);
    void resetToKey();

    Window window_;
    KnowledgeRecord record_;
    core::WriteRoutine writer_;
    core::WriteRoutine remover_;   // the delete's write, under writer_'s guard
};

}  // namespace reference
