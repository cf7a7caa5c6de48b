// The period settlement (结帐): every stock-out row of the journal `yccrtb` without a
// cost gets its cost at the drug's average unit cost (`rkje` / `rksl` of its balance
// row in `ycyltb`), then every balance row is re-based on the quantity left, and the
// rows whose balance is 0 are removed. Three steps in this order: PrepareSettlement,
// PriceStockOuts, RebaseStockBalances.
//
// The costs of all the drugs are known before any row is priced, and the stock-outs
// are priced in one pass over the journal (settlement_pricing.h) whose slices move the
// bar a drug's step each, so that the time grows with the journal and the page cache
// keeps its size.
//
// The settlement works on a database its caller has opened and wraps in one
// dao::Transaction, so a failure anywhere leaves both tables as they were. It knows
// no window: it reports its progress through SettlementProgress, which the menu
// handler shows in the progress window. Failures are raised as errors.
#pragma once

#include "dispensary/settlement_pricing.h"
#include "platform/dao/dao.h"

#include <QString>

namespace dispensary {

// Where the two passes report how far they are.
class SettlementProgress {
public:
    virtual ~SettlementProgress() = default;
    // A pass starts: the bar at `value`, the percentage empty, the stage text `stage`.
    virtual void begin(double value, const QString& stage) = 0;
    // The bar at `value` and the percentage label showing `percent` ("8.5714%").
    virtual void advance(double value, const QString& percent) = 0;
    // The passes are over.
    virtual void end() = 0;
};

class Settlement {
public:
    Settlement(dao::Database& db, SettlementProgress& progress) : db_(db), pricing_(db), progress_(progress) {}

    // Takes the unit cost of every drug whose balance is exactly 0 (its row is about
    // to go) for pricing its stock-outs, removes those rows and stores the query "999"
    // of the drugs left with their unit costs.
    void PrepareSettlement();
    // Prices the unpriced stock-outs of the sold-out drugs and of each drug of "999"
    // (progress 0 to 60, a step a drug).
    void PriceStockOuts();
    // Lowers each drug's cost amount by what went out at its unit cost and sets `rksl`
    // to the balance on every row (progress 60 to 99).
    void RebaseStockBalances();

    // The stored query of the drugs to settle: name and unit cost.
    static const QString UnitCostQuery;

private:
    dao::Database& db_;
    StockOutPricing pricing_;
    SettlementProgress& progress_;
};

}  // namespace dispensary
