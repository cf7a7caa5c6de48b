// The one way a long batch writes to the database (the settlement, a dictionary
// rebuild, the narrowing of the symptom dictionary): in the handler's error trap, the
// database opened, a first look that only reads (and may decline: then nothing is
// written and nothing shown), the progress window shown while events may still run,
// then the whole batch in one WriteTransaction, committed at its end. A failure rolls
// everything back; the database is closed and the progress window gone before the
// error is shown in the handler's form.
//
//   const bool written = core::writeBatch(core::runTrappedNumbered,
//       [&](dao::Database& db, core::ProgressDriver& progress) { ... });
#pragma once

#include "core/error_trap.h"

#include <functional>

namespace dao { class Database; }

namespace core {

class ProgressDriver;

// Reads what the batch needs before anything is written; false declines.
using BatchCheck = std::function<bool(dao::Database&)>;
// The batch's writes, noting its progress; it throws to roll everything back.
using BatchWork = std::function<void(dao::Database&, ProgressDriver&)>;

// True when the batch was committed; false when the check declined or after the
// error has been shown through `trap`.
bool writeBatch(Trap trap, const BatchWork& work);
bool writeBatch(Trap trap, const BatchCheck& checkFirst, const BatchWork& work);

}  // namespace core
