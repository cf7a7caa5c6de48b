// The common body of the two windows that move one drug into or out of stock: the
// stock-in `Frmycrk` and the other stock-out `FrmYcck`. Both take the drug by its
// code (the locked name box shows the name found), a bill number, a date, a text
// about the movement, a quantity, an amount and the handler; both check the inputs in
// a fixed order, compare the amount per unit with the drug's sales price, ask before
// saving, and write one journal row with its balance change in one transaction.
// What differs (boxes, messages, the checks and their order, the direction of the
// price test, the stock check, the journal row) each window gives through the hooks.
#pragma once

#include "core/enter_chain.h"
#include "core/entry_boxes.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/write_routine.h"
#include "dispensary/drug_lookup.h"
#include "dispensary/stock_ledger.h"
#include "platform/forms/form.h"
#include "platform/vb/variant.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace forms {
class CommandButton;
class MaskEdBox;
class TextBox;
}

namespace dispensary {

class StockMovementWindow : public forms::Form {
    Q_OBJECT
public:
    // The controls both windows have, by their names.
    forms::TextBox* Txtycbm;       // drug code
    forms::TextBox* Txtycmc;       // drug name, locked, filled by the look-up
    forms::TextBox* TxtPjhm;       // bill number
    forms::MaskEdBox* TxtGjsj;     // date of the movement
    forms::TextBox* Txthwll;       // source (stock-in) or summary (stock-out)
    forms::TextBox* TxtYcsl;       // quantity
    forms::TextBox* TxtYcje;       // amount (stock-in) or income (stock-out)
    forms::TextBox* Txtjbxm;       // handler
    forms::CommandButton* CmdSave;
    forms::CommandButton* CmdQcls;
    forms::CommandButton* CmdExit;

    // The flag of the last check: 1 failed, 0 passed.
    int srnrcw = 0;

protected:
    // The texts in which the two windows differ.
    struct Wording {
        QString codeNotFound;          // look-up by code found nothing
        QString nameNotFound;          // look-up by name found nothing
    };
    // Columns of the windows' label-and-box grid, in twips.
    struct GridMetrics {
        int left;
        int columnPitch;
        int labelWidth;
        int boxWidth;
    };
    using Check = core::InputCheck;

    StockMovementWindow(const QString& caption, const Wording& wording, const GridMetrics& grid);

    // ---- what each window gives -------------------------------------------------
    // The boxes that the window's Qpcls empties or resets besides the shared ones.
    virtual void clearOwnBoxes() = 0;
    // The boxes srnrJy trims, and its checks in their order.
    virtual std::vector<forms::TextBox*> trimmedBoxes() const = 0;
    virtual std::vector<Check> inputChecks() const = 0;
    // Whether the sales price against the amount per unit calls for the price question.
    virtual bool priceWarns(vb::Currency listPrice, vb::Currency unitPrice) const = 0;
    // The box that gets the focus after a code was found.
    virtual forms::TextBox* afterCodeFound() const = 0;
    // The save's own refusal, asked inside its transaction before anything is written
    // (true lets the movement through), and what the window then tells the user.
    virtual bool admits(dao::Database& db) { (void)db; return true; }
    virtual void showRefusal() {}
    // The journal row and the balance change, inside the save's transaction.
    virtual void writeMovement(dao::Database& db) = 0;

    // ---- procedures and handlers ------------------------------------------------
    void Qpcls();
    void srnrJy();
    void jyYpjg();
    void CmdSave_Click();
    void CmdQcls_Click();
    void CmdExit_Click();
    void Txtycbm_KeyPress(int& keyAscii);
    void Txtycmc_KeyPress(int& keyAscii);
    void Form_QueryUnload(int& cancel) override;

    // ---- helpers of the checks and the save ------------------------------------
    // The step of inputChecks that fails while no drug is taken (no code, no name, or
    // no drug kept by the look-up).
    std::function<bool()> lacksDrug() const;
    // The journal row of this movement as far as both windows fill it alike: the date
    // box, the name of the drug the look-up kept, `kind`, the source or summary, blank record number and
    // department, the handler and the logged-in operator.
    JournalRow journalRow(const QString& kind) const;
    // The trimmed name of the drug the look-up kept; only once lacksDrug has passed.
    QString drugName() const;

    // ---- building the window ----------------------------------------------------
    // Places `box` with its label in cell (column, row) of the window's grid; the box
    // leaves a gap before the next column's label.
    void placeField(const QString& label, forms::TextBox* box, int column, int row);
    // Places a button in the box position of cell (column, row).
    void placeButton(forms::CommandButton* button, int column, int row);
    static int rowTop(int row);

private:
    Wording wording_;
    GridMetrics grid_;
    DrugLookup lookup_;
    core::WriteRoutine writer_{*this};
};

}  // namespace dispensary
