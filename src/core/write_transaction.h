// The transaction every write that belongs together runs in (the write routine's, a
// batch's, an import's): while it is open no event runs (DoEvents does nothing), so no
// other handler can slip its writes in; not committed, it rolls everything back.
//
//   core::WriteTransaction transaction(db);
//   ...                                      // the writes; no user talk, no events
//   transaction.commit();
#pragma once

#include "platform/dao/dao.h"
#include "platform/forms/event_pump.h"

namespace core {

class WriteTransaction {
public:
    explicit WriteTransaction(dao::Database& db) : transaction_(db) {}
    void commit() { transaction_.commit(); }

private:
    dao::Transaction transaction_;
    forms::PumpPause noEvents_;   // released before the rollback or after the commit
};

}  // namespace core
