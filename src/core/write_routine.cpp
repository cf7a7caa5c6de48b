// The write routine of the windows; see write_routine.h.
#include "core/write_routine.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/write_transaction.h"
#include "platform/dao/dao.h"
#include "platform/forms/services.h"

namespace core {

WriteRoutine::Outcome WriteRoutine::write(const Work& work) { return write(Work(), work); }

WriteRoutine::Outcome WriteRoutine::write(const Work& checkFirst, const Work& work)
{
    Outcome outcome = Outcome::Declined;
    const bool ran = trap_([&] {
        dao::Database db = OpenDb();
        forms::DoEvents();
        db.deleteAllQueryDefs();
        forms::DoEvents();
        if (checkFirst && !checkFirst(db)) return;
        WriteTransaction transaction(db);
        if (!work(db)) return;
        transaction.commit();
        outcome = Outcome::Written;
    });
    return ran ? outcome : Outcome::Failed;
}

}  // namespace core
