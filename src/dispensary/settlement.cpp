// The period settlement's three steps; see settlement.h.
#include "dispensary/settlement.h"

#include "platform/vb/strings.h"
#include "platform/vb/variant.h"

#include <algorithm>
#include <functional>

namespace dispensary {

const QString Settlement::UnitCostQuery = QStringLiteral("999");

namespace {

const QString UnitCostSql = QStringLiteral("select ycbm,rkje/rksl from ycyltb where ycyl<>0 ");
const QString ZeroBalanceCostSql = QStringLiteral("select ycbm,rkje/rksl,rksl from ycyltb where ycyl=0");
const QString DeleteZeroBalances = QStringLiteral("delete * from ycyltb where ycyl=0");

// The unit cost of a drug to settle; a cost the database could not compute (nothing
// received, or no cost amount) stops the settlement with the drug's name.
double unitCostOf(const dao::Recordset& drug)
{
    const vb::Variant cost = drug.field(1);
    if (!cost.isNull()) return cost.toDouble();
    const QString name = drug.field(0).toString();
    throw vb::Error(11, QStringLiteral("药品“%1”的入库数量为 0 或入库金额为空，无法计算平均成本，结帐未进行。")
                            .arg(name));
}

// Walks the stored query of the drugs to settle, if it has any: `each` gets each
// drug's name and unit cost, then the position (1 to n) and n.
void forEachDrugToSettle(dao::Database& db,
                         const std::function<void(const QString& name, double cost, int i, int n)>& each)
{
    dao::Recordset drugs = db.openRecordset(Settlement::UnitCostQuery);
    if (!drugs.eof() && !drugs.field(0).isNull()) {
        const int n = drugs.recordCount();   // a dynaset knows all its rows at once
        for (int i = 1; i <= n; ++i, drugs.moveNext())
            each(drugs.field(0).toString(), unitCostOf(drugs), i, n);
    }
    drugs.close();
}

// The percentage label: a position held to four decimals, in plain decimal form.
QString percentText(vb::Currency position)
{
    return vb::Variant(position).toString() + u'%';
}

}  // namespace

void Settlement::PrepareSettlement()
{
    db_.deleteAllQueryDefs();
    // A drug that sold out in the period keeps the cost of what it sold: its cost is
    // taken before its row goes, and its stock-outs are priced first. Without anything
    // received (rksl 0) it has no cost and no stock-out of the period to carry one.
    dao::Recordset soldOut = db_.openRecordset(ZeroBalanceCostSql);
    for (; !soldOut.eof(); soldOut.moveNext())
        if (soldOut.field(2).toDouble() != 0) pricing_.add(soldOut.field(0).toString(), unitCostOf(soldOut));
    soldOut.close();
    db_.execute(DeleteZeroBalances);
    db_.createQueryDef(UnitCostQuery, UnitCostSql);
}

void Settlement::PriceStockOuts()
{
    progress_.begin(0, QString());
    int drugs = 0;
    forEachDrugToSettle(db_, [&](const QString& name, double cost, int, int n) {
        pricing_.add(name, cost);
        drugs = n;
    });
    if (pricing_.isEmpty()) return;
    // A slice of the journal for each drug to settle, the bar a drug's step after each;
    // sold-out drugs alone are priced in one slice that moves nothing.
    pricing_.price(std::max(drugs, 1), [&](int i) {
        if (drugs == 0) return;
        const vb::Currency position = vb::Currency::fromDouble(60.0 / drugs) * i;
        progress_.advance(position.toDouble(), percentText(position));
    });
}

void Settlement::RebaseStockBalances()
{
    progress_.begin(60, QStringLiteral("60%"));
    forEachDrugToSettle(db_, [this](const QString& name, double cost, int i, int n) {
        db_.execute(QStringLiteral("update ycyltb set rkje=rkje-(rksl-ycyl)* ") + costText(cost)
                    + QStringLiteral(" where ycbm=") + dao::quote(vb::Trim(name)));
        const vb::Currency position = vb::Currency::fromDouble(39.0 / n) * i + vb::Currency::fromDouble(60);
        progress_.advance(position.toDouble(), percentText(position));
    });
    // Every drug is reduced at the cost it had when the settlement began; only then
    // is `rksl` re-based (with no drug left to settle there is nothing to re-base).
    // No balance has become 0 since PrepareSettlement removed those that were: the
    // settlement changes no balance, and no other write comes between in its transaction.
    db_.execute(QStringLiteral("update ycyltb set rksl=ycyl "));
    db_.deleteAllQueryDefs();
    progress_.end();
}

}  // namespace dispensary
