// The rules every stock movement shares: one row of the stock journal `yccrtb`
// written column by column, the balance `ycyltb` raised by a purchase (its row added
// for a drug received the first time) or lowered by a stock-out or a sale, and the
// stock check that refuses a quantity the balance does not cover. Both tables name a
// drug by its NAME (the `ycmc` of the drug list) in their column `ycbm`.
//
// The ledger works on a database that its caller has opened; the caller wraps the
// journal row and the balance change of one movement in one dao::Transaction.
#pragma once

#include "platform/dao/dao.h"

#include <QDate>
#include <QString>

namespace dispensary {

// Business kinds of the journal's column `ywzy`.
inline const QString KindPurchase = QStringLiteral("购进");
inline const QString KindStockOut = QStringLiteral("出库");
inline const QString KindPrescriptionSale = QStringLiteral("处方收款出库");

// One movement, in the journal's column order (data::yccrtb).
struct JournalRow {
    QDate date;                 // 0 crsj
    QString drugName;           // 1 ycbm
    QString kind;               // 2 ywzy
    QString origin;             // 3 yccd
    QString source;             // 4 ycly (for a stock-out, its summary)
    QString batch;              // 5 ywph
    QDate expiry;               // 6 yxqx
    QString recordNumber;       // 7 blhm
    QString department;         // 8 blks
    double quantityIn = 0;      // 9 rksl
    double amountIn = 0;        // 10 rkje
    double quantityOut = 0;     // 11 cksl
    double costOut = 0;         // 12 ckje, priced later by the settlement
    double salesIncome = 0;     // 13 xsje
    QString handler;            // 14 jbxm
    QString operatorName;       // 15 bgxm
};

class StockLedger {
public:
    explicit StockLedger(dao::Database& db) : db_(db) {}

    // Appends `row` to `yccrtb`, all sixteen columns by ordinal.
    void appendJournalRow(const JournalRow& row);

    // A purchase: adds quantity and amount to the drug's balance row
    // (rksl += quantity, rkje += amount, ycyl += quantity), or adds the row
    // (name, quantity, amount, quantity) when the drug has none yet.
    void receive(const QString& drugName, double quantity, double amount);

    // The stock check: whether "select * from ycyltb where ycbm='<name>' and
    // ycyl>=<quantity>" finds a row (stored as query "000").
    bool covers(const QString& drugName, double quantity);

    // A stock-out or a sale: lowers the drug's balance `ycyl` by `quantity`;
    // `rksl` and `rkje` stay. A drug without a balance row is left alone.
    void issue(const QString& drugName, double quantity);

    // The SQL text of the stock check, the quantity as a plain decimal number.
    static QString stockCheckSql(const QString& drugName, double quantity);

private:
    dao::Database& db_;
};

}  // namespace dispensary
