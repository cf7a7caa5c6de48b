// The settlement's pricing of the stock journal `yccrtb`: every stock-out row without
// a cost (cksl<>0 and ckje=0) whose drug has a unit cost here gets ckje = cksl × that
// cost, computed by the database, in one pass over the journal in stored order. A
// year's journal holds the rows of every drug on nearly every page, so a statement a
// drug through the name index would read and write each page once for each drug with
// a row on it; the pass reaches each page once, in a page cache of the usual size.
//
// A drug is named as the journal compares names: trimmed here, then without regard to
// case (A to Z). Where two costs fall on one name the first one that is not 0 holds, as
// when each drug's statement ran in turn and left the rows priced for the next. The
// costs stand in a temporary table of the connection while the pass runs (in memory,
// never in the file), inside the caller's transaction.
#pragma once

#include "platform/dao/dao.h"

#include <QString>
#include <functional>
#include <map>

namespace dispensary {

// A unit cost in an SQL text, read back as the same double (17 significant digits).
QString costText(double cost);

class StockOutPricing {
public:
    explicit StockOutPricing(dao::Database& db) : db_(db) {}

    // The unit cost of the drug named `drugName`.
    void add(const QString& drugName, double cost);
    bool isEmpty() const { return costs_.empty(); }

    // The pass over the journal in `slices` runs of consecutive rows of about equal
    // length; `sliceDone` gets 1 to `slices` after each.
    void price(int slices, const std::function<void(int slice)>& sliceDone);

private:
    dao::Database& db_;
    struct Cost {
        QString name;   // trimmed, as first met
        double cost;
    };
    std::map<QString, Cost> costs_;   // by the name folded as the journal compares it
};

}  // namespace dispensary
