// The period settlement's three steps; see settlement.h.
#include "dispensary/settlement.h"

#include "platform/vb/strings.h"
#include "platform/vb/variant.h"

#include <functional>

namespace dispensary {

const QString Settlement::UnitCostQuery = QStringLiteral("999");

namespace {

const QString UnitCostSql = QStringLiteral("select ycbm,rkje/rksl from ycyltb where ycyl<>0 ");
const QString ZeroBalanceCostSql = QStringLiteral("select ycbm,rkje/rksl,rksl from ycyltb where ycyl=0");
const QString DeleteZeroBalances = QStringLiteral("delete * from ycyltb where ycyl=0");

// A unit cost as SQL reads it back to the same double (17 significant digits).
QString costText(double cost)
{
    return QString::number(cost, 'g', 17);
}

void priceStockOutsOf(dao::Database& db, const QString& drugName, double cost)
{
    db.execute(QStringLiteral("update yccrtb set ckje=cksl * ") + costText(cost)
               + QStringLiteral(" where cksl<>0 and ckje=0 and ycbm=") + dao::quote(vb::Trim(drugName)));
}

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
    // A drug that sold out in the period keeps the cost of what it sold: its
    // stock-outs are priced before its row goes. Without anything received (rksl 0)
    // it has no cost and no stock-out of the period to carry one.
    dao::Recordset soldOut = db_.openRecordset(ZeroBalanceCostSql);
    for (; !soldOut.eof(); soldOut.moveNext())
        if (soldOut.field(2).toDouble() != 0) priceStockOutsOf(db_, soldOut.field(0).toString(), unitCostOf(soldOut));
    soldOut.close();
    db_.execute(DeleteZeroBalances);
    db_.createQueryDef(UnitCostQuery, UnitCostSql);
}

void Settlement::PriceStockOuts()
{
    progress_.begin(0, QString());
    forEachDrugToSettle(db_, [this](const QString& name, double cost, int i, int n) {
        priceStockOutsOf(db_, name, cost);
        const vb::Currency position = vb::Currency::fromDouble(60.0 / n) * i;
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
    db_.execute(QStringLiteral("update ycyltb set rksl=ycyl "));
    db_.deleteAllQueryDefs();
    db_.execute(DeleteZeroBalances);
    progress_.end();
}

}  // namespace dispensary
