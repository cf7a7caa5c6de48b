// Frmycjj, "病志处方药材计价": prices the prescription of one stored visit drug by
// drug and records the sale. The dispenser finds the visit by record number,
// department and date (its prescription text shows on the second tab), enters each
// prescribed drug by code with its dose in grams; the window checks the drug against
// the drug list, the stock balance and the prescription text, prices it at the list
// price into the sale with a running total, and the charge button writes one
// "处方收款出库" journal row per sale line and lowers each balance, all in one
// transaction. The sale is a list of sale lines; the grid is its view. A click on a
// grid row takes that drug back for another dose.
//
// The exit button closes it and gives the main menus back; pressed while a handler
// lets events run (the charge between its rows, a look-up), it closes the window
// once that handler is done.
#pragma once

#include "core/write_routine.h"
#include "dispensary/drug_lookup.h"
#include "dispensary/stock_ledger.h"
#include "platform/forms/form.h"
#include "platform/vb/variant.h"

#include <QString>
#include <vector>

namespace forms {
class ComboBox;
class CommandButton;
class FlexGrid;
class MaskEdBox;
class TabbedDialog;
class TextBox;
}

namespace dispensary {

class Frmycjj : public forms::Form {
    Q_OBJECT
public:
    Frmycjj();

    forms::TextBox* TxtBlhm;          // record number of the visit
    forms::ComboBox* CboZdks;         // department, listing those of all visits
    forms::MaskEdBox* MasZdsj;        // visit date
    forms::TextBox* Txtycbm;          // drug code
    forms::TextBox* Txtycmc;          // drug name, locked, filled by the look-up
    forms::TextBox* TxtYcjl;          // dose in grams
    forms::TextBox* TxtYchj;          // running total, locked
    forms::TabbedDialog* SSTab1;      // tab 0 the grid, tab 1 the prescription text
    forms::FlexGrid* MSFGridyfjg;     // one row per priced drug
    forms::TextBox* TxtCfnr;          // prescription text of the found visit, locked
    forms::CommandButton* Cmdcksf;    // charge
    forms::CommandButton* CmdQcls;    // clear
    forms::CommandButton* CmdExit;    // close
    forms::CommandButton* CmdHelp;    // help (this window has no help topic)

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    void layOut();
    void Qpcls();
    // Reads the departments into CboZdks; false when no visit is stored, after the
    // window has said so and unloaded itself (it closes once the running handler ends).
    bool loadDepartments();

    void TxtBlhm_KeyPress(int& keyAscii);
    void CboZdks_KeyPress(int& keyAscii);
    void MasZdsj_KeyPress(int& keyAscii);
    void Txtycbm_GotFocus();
    void Txtycbm_KeyPress(int& keyAscii);
    void Txtycmc_KeyPress(int& keyAscii);
    void TxtYcjl_GotFocus();
    void TxtYcjl_KeyPress(int& keyAscii);
    void MSFGridyfjg_Click();
    void Cmdcksf_Click();
    void CmdQcls_Click();
    void CmdExit_Click();

    // One priced drug: its dose in grams, the list price and the amount (price times
    // dose, rounded to the fen).
    struct SaleLine {
        Drug drug;
        double dose;
        vb::Currency price;
        vb::Currency amount;
    };

    // Steps of the pricing on Enter in the dose box, after the dose was read.
    void priceDrug(double dose);
    bool alreadySold(const QString& code) const;
    // The grid as the view of the sale: one row per line.
    void showSale();
    vb::Currency total() const;
    // The journal row every line of the sale shares: today, the kind, the found visit.
    JournalRow saleRow() const;
    bool writeSale(dao::Database& db, const std::vector<SaleLine>& lines, JournalRow row);

    DrugLookup lookup_;
    std::vector<SaleLine> sale_;
    // The visit found by the last successful look-up: its key goes into every sale row.
    QString visitRecordNumber_;
    QString visitDepartment_;
    QString doctor_;
    core::WriteRoutine writer_{*this};
};

}  // namespace dispensary
