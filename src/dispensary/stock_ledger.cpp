// The stock tables' shared rules; see stock_ledger.h.
#include "dispensary/stock_ledger.h"

#include "data/columns.h"

namespace dispensary {

namespace {
namespace J = data::yccrtb;
namespace B = data::ycyltb;

// Seeks the drug's balance row in an open table-type recordset of `ycyltb`.
dao::Recordset seekBalance(dao::Database& db, const QString& drugName)
{
    dao::Recordset balance = db.openTable(QStringLiteral("ycyltb"));
    balance.setIndex(QStringLiteral("ycyli"));
    balance.seek(QStringLiteral("="), drugName);
    return balance;
}
}  // namespace

void StockLedger::appendJournalRow(const JournalRow& row)
{
    dao::Recordset journal = db_.openTable(QStringLiteral("yccrtb"));
    journal.addNew();
    journal.setField(J::crsj, row.date);
    journal.setField(J::ycbm, row.drugName);
    journal.setField(J::ywzy, row.kind);
    journal.setField(J::yccd, row.origin);
    journal.setField(J::ycly, row.source);
    journal.setField(J::ywph, row.batch);
    journal.setField(J::yxqx, row.expiry);
    journal.setField(J::blhm, row.recordNumber);
    journal.setField(J::blks, row.department);
    journal.setField(J::rksl, row.quantityIn);
    journal.setField(J::rkje, row.amountIn);
    journal.setField(J::cksl, row.quantityOut);
    journal.setField(J::ckje, row.costOut);
    journal.setField(J::xsje, row.salesIncome);
    journal.setField(J::jbxm, row.handler);
    journal.setField(J::bgxm, row.operatorName);
    journal.update();
    journal.close();
}

void StockLedger::receive(const QString& drugName, double quantity, double amount)
{
    dao::Recordset balance = seekBalance(db_, drugName);
    if (balance.noMatch()) {
        balance.addNew();
        balance.setField(B::ycbm, drugName);
        balance.setField(B::rksl, quantity);
        balance.setField(B::rkje, amount);
        balance.setField(B::ycyl, quantity);
    } else {
        balance.edit();
        balance.setField(B::rksl, balance.field(B::rksl).toDouble() + quantity);
        balance.setField(B::rkje, balance.field(B::rkje).toDouble() + amount);
        balance.setField(B::ycyl, balance.field(B::ycyl).toDouble() + quantity);
    }
    balance.update();
    balance.close();
}

QString StockLedger::stockCheckSql(const QString& drugName, double quantity)
{
    return QStringLiteral("select * from ycyltb where ycbm=") + dao::quote(drugName)
        + QStringLiteral(" and ycyl>=") + vb::Variant(quantity).toString();
}

bool StockLedger::covers(const QString& drugName, double quantity)
{
    dao::Recordset found = db_.storeAndOpen(QStringLiteral("000"), stockCheckSql(drugName, quantity));
    const bool covered = !found.eof() && !found.field(B::ycbm).isNull();
    found.close();
    return covered;
}

void StockLedger::issue(const QString& drugName, double quantity)
{
    dao::Recordset balance = seekBalance(db_, drugName);
    if (!balance.noMatch()) {
        balance.edit();
        balance.setField(B::ycyl, balance.field(B::ycyl).toDouble() - quantity);
        balance.update();
    }
    balance.close();
}

}  // namespace dispensary
