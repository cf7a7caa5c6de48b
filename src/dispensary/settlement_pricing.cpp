// The settlement's pass over the stock journal; see settlement_pricing.h.
#include "dispensary/settlement_pricing.h"

#include "platform/vb/strings.h"

namespace dispensary {

namespace {

const QString CostTable = QStringLiteral("temp.settlement_costs");

// A name as a text column compared without regard to case holds it: A to Z folded.
QString folded(const QString& name)
{
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() - u'A' + u'a');
    return key;
}

// The lowest and highest row number of the journal (0 and 0 when it is empty).
std::pair<qint64, qint64> journalRowRange(dao::Database& db)
{
    const dao::Recordset range = db.openRecordset(QStringLiteral("select min(rowid),max(rowid) from yccrtb"));
    return {qint64(range.field(0).toDouble()), qint64(range.field(1).toDouble())};
}

}  // namespace

QString costText(double cost)
{
    return QString::number(cost, 'g', 17);
}

void StockOutPricing::add(const QString& drugName, double cost)
{
    const QString name = vb::Trim(drugName);
    const auto [held, added] = costs_.try_emplace(folded(name), Cost{name, cost});
    if (!added && held->second.cost == 0) held->second.cost = cost;
}

void StockOutPricing::price(int slices, const std::function<void(int slice)>& sliceDone)
{
    // Made and dropped inside the caller's transaction: a failure takes it away with
    // the rollback.
    db_.execute(QStringLiteral("create table ") + CostTable
                + QStringLiteral(" (name text collate nocase primary key, cost real)"));
    for (const auto& [key, drug] : costs_)
        db_.execute(QStringLiteral("insert into ") + CostTable + QStringLiteral(" values (") + dao::quote(drug.name)
                    + u',' + costText(drug.cost) + u')');
    const auto [first, last] = journalRowRange(db_);
    // Slice s holds the rows numbered from start(s - 1) up to, not including, start(s).
    const auto start = [&, first = first, last = last](int slice) { return first + (last - first + 1) * slice / slices; };
    for (int slice = 1; slice <= slices; ++slice) {
        db_.execute(QStringLiteral("update yccrtb set ckje=cksl*(select cost from %1 where name=yccrtb.ycbm) "
                                   "where rowid>=%2 and rowid<%3 and cksl<>0 and ckje=0 "
                                   "and ycbm in (select name from %1)")
                        .arg(CostTable).arg(start(slice - 1)).arg(start(slice)));
        sliceDone(slice);
    }
    db_.execute(QStringLiteral("drop table ") + CostTable);
}

}  // namespace dispensary
