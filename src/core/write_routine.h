// The one way a window writes to the database. Every writing handler of a window
// (a save, a charge, an add, change or delete) runs inside `guarded`, and its database
// work inside `write`:
//
//   void Frmx::CmdSave_Click()
//   {
//       writer_.guarded([this] {                      // a second click meanwhile does nothing
//           if (!core::askedYes(...)) return;          // questions and checks first
//           const auto outcome = writer_.write([&](dao::Database& db) {
//               ...                                    // reads and writes, no user talk
//               return true;                           // false: roll back, nothing written
//           });
//           if (outcome == core::WriteRoutine::Outcome::Written) Qpcls();
//       });
//   }
//
// `guarded` is the window's one-press guard (one_press.h), which the window's other
// handlers that let events run share. `write` traps errors (shown as their description
// unless the window asks for another form), opens the database, deletes every stored
// query, lets pending events run, then runs the work in one WriteTransaction (no event
// runs while it is open, and the work shows no message box) and commits.
// A failure rolls everything back and the window keeps its inputs for another try.
#pragma once

#include "core/error_trap.h"
#include "core/one_press.h"
#include "platform/forms/form.h"

#include <functional>

namespace dao { class Database; }

namespace core {

class WriteRoutine {
public:
    enum class Outcome {
        Written,    // the work ran through and was committed
        Declined,   // the first check or the work said no: nothing written
        Failed,     // an error was raised, shown, and everything rolled back
    };
    using Work = std::function<bool(dao::Database&)>;

    // `trap` shows an error in the form of the window's writing handlers.
    explicit WriteRoutine(forms::Form& window, Trap trap = runTrapped) : press_(window), trap_(trap) {}

    // Runs `handler` under the window's one-press guard.
    void guarded(const std::function<void()>& handler) { press_.run(handler); }

    // The write: trap, open, the stored-query pass, pending events; then `checkFirst`
    // (when given) on the open database before any transaction, where it may talk to
    // the user; then `work` in one transaction. Either returning false declines.
    Outcome write(const Work& work);
    Outcome write(const Work& checkFirst, const Work& work);

private:
    OnePress press_;
    Trap trap_;
};

}  // namespace core
