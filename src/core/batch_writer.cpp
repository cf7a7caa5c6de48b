// The batch writer; see batch_writer.h.
#include "core/batch_writer.h"

#include "core/globals.h"
#include "core/progress_driver.h"
#include "core/write_transaction.h"

#include <optional>

namespace core {

bool writeBatch(Trap trap, const BatchWork& work) { return writeBatch(trap, BatchCheck(), work); }

bool writeBatch(Trap trap, const BatchCheck& checkFirst, const BatchWork& work)
{
    bool written = false;
    trap([&] {
        std::optional<ProgressDriver> progress;   // goes after the database is closed
        dao::Database db = OpenDb();
        if (checkFirst && !checkFirst(db)) return;
        progress.emplace();
        WriteTransaction transaction(db);
        work(db, *progress);
        transaction.commit();
        written = true;
    });
    return written;
}

}  // namespace core
