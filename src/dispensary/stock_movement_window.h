// The common body of the two windows that move one drug into or out of stock: the
// stock-in `Frmycrk` and the other stock-out `FrmYcck`. Both take the drug by its
// code (the locked name box shows the name found), a bill number, a date, a text
// about the movement, a quantity, an amount and the handler; both check the inputs in
// a fixed order, compare the amount per unit with the drug's sales price, ask before
// saving, and write one journal row with its balance change in one transaction.
// What differs (boxes, messages, the checks and their order, the direction of the
// price test, the stock check, the journal row) each window gives through the hooks.
#pragma once

#include "dispensary/drug_lookup.h"
#include "dispensary/input_check.h"
#include "dispensary/number_box.h"
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
    using Check = InputCheck;

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
    // Steps of inputChecks: the box is empty; the drug is not taken (no code or no
    // name); a date box holds fewer than 10 characters; it holds no date; a box holds
    // no number.
    static std::function<bool()> isEmpty(const forms::TextBox* box);
    std::function<bool()> lacksDrug() const;
    static std::function<bool()> isShortDate(const forms::TextBox* box);
    static std::function<bool()> isNoDate(const forms::TextBox* box);
    static std::function<bool()> isNoNumber(const forms::TextBox* box);
    // The journal row of this movement as far as both windows fill it alike: the date
    // box, the drug's name, `kind`, the source or summary, blank record number and
    // department, the handler and the logged-in operator.
    JournalRow journalRow(const QString& kind) const;

    // ---- helpers of the Enter chain ---------------------------------------------
    // Whether the box holds more than blanks.
    static bool filled(const forms::TextBox* box);
    // A date box on Enter: 10 characters, a date and (when `futureMessage` is given)
    // not later than today; otherwise the message, the ten characters selected.
    bool dateAccepted(forms::MaskEdBox* box, const QString& notDateMessage,
                      const std::optional<QString>& futureMessage);
    // A number box on Enter, its text not empty: a number by `isNumber` (and not 0
    // when `zeroMessage` is given) is rewritten as "###,##0.00" and true comes back;
    // otherwise the message and the text selected. An empty box does nothing.
    using NumberTest = bool (*)(const forms::TextBox&);
    bool numberAccepted(forms::TextBox* box, const QString& notNumericMessage,
                        const std::optional<QString>& zeroMessage = std::nullopt,
                        NumberTest isNumber = holdsNumber);
    // Message boxes with an empty title besides forms::Notice: a prompt (question
    // icon, OK only), a question (Yes/No) answered Yes.
    static void prompt(const QString& text);
    static bool askedYes(const QString& text);

    // ---- building the window ----------------------------------------------------
    // A box of the windows' look (宋体 10.5 pt, light blue), `maxLength` 0 for none.
    forms::TextBox* makeBox(int maxLength);
    forms::MaskEdBox* makeDateBox();
    forms::CommandButton* makeButton(const QString& caption);
    // Places `box` with its label in cell (column, row) of the window's grid.
    void placeField(const QString& label, forms::TextBox* box, int column, int row);
    // Places a button in the box position of cell (column, row).
    void placeButton(forms::CommandButton* button, int column, int row);
    static int rowTop(int row);

private:
    Wording wording_;
    GridMetrics grid_;
    DrugLookup lookup_;
    bool saving_ = false;
};

}  // namespace dispensary
