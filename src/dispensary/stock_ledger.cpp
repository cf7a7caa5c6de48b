// The stock tables' shared rules; see stock_ledger.h.
#include "dispensary/stock_ledger.h"

namespace dispensary {

namespace {
// Balance columns of `ycyltb`, by ordinal.
constexpr int BalanceName = 0;
constexpr int BalanceQuantityIn = 1;
constexpr int BalanceAmountIn = 2;
constexpr int BalanceOnHand = 3;

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
    journal.setField(0, row.date);
    journal.setField(1, row.drugName);
    journal.setField(2, row.kind);
    journal.setField(3, row.origin);
    journal.setField(4, row.source);
    journal.setField(5, row.batch);
    journal.setField(6, row.expiry);
    journal.setField(7, row.recordNumber);
    journal.setField(8, row.department);
    journal.setField(9, row.quantityIn);
    journal.setField(10, row.amountIn);
    journal.setField(11, row.quantityOut);
    journal.setField(12, row.costOut);
    journal.setField(13, row.salesIncome);
    journal.setField(14, row.handler);
    journal.setField(15, row.operatorName);
    journal.update();
    journal.close();
}

void StockLedger::receive(const QString& drugName, double quantity, double amount)
{
    dao::Recordset balance = seekBalance(db_, drugName);
    if (balance.noMatch()) {
        balance.addNew();
        balance.setField(BalanceName, drugName);
        balance.setField(BalanceQuantityIn, quantity);
        balance.setField(BalanceAmountIn, amount);
        balance.setField(BalanceOnHand, quantity);
    } else {
        balance.edit();
        balance.setField(BalanceQuantityIn, balance.field(BalanceQuantityIn).toDouble() + quantity);
        balance.setField(BalanceAmountIn, balance.field(BalanceAmountIn).toDouble() + amount);
        balance.setField(BalanceOnHand, balance.field(BalanceOnHand).toDouble() + quantity);
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
    const bool covered = !found.eof() && !found.field(BalanceName).isNull();
    found.close();
    return covered;
}

void StockLedger::issue(const QString& drugName, double quantity)
{
    dao::Recordset balance = seekBalance(db_, drugName);
    if (!balance.noMatch()) {
        balance.edit();
        balance.setField(BalanceOnHand, balance.field(BalanceOnHand).toDouble() - quantity);
        balance.update();
    }
    balance.close();
}

}  // namespace dispensary
