// Frmycrk, "中药材入库、退库": records one receipt of one drug into stock. The drug is
// taken by its code; the save appends a "购进" row to the stock journal and adds the
// quantity and amount to the drug's balance, adding the balance row for a drug
// received the first time. Negative quantities and amounts (returns) are added alike.
#pragma once

#include "dispensary/stock_movement_window.h"

namespace dispensary {

class Frmycrk : public StockMovementWindow {
    Q_OBJECT
public:
    Frmycrk();

    forms::TextBox* TxtYcph;       // batch number
    forms::MaskEdBox* TxtYsqx;     // expiry date
    forms::TextBox* Txthwcd;       // origin

protected:
    void Form_Load() override;
    void Form_Activate() override;

    void clearOwnBoxes() override;
    std::vector<forms::TextBox*> trimmedBoxes() const override;
    std::vector<Check> inputChecks() const override;
    bool priceWarns(vb::Currency listPrice, vb::Currency unitPrice) const override;
    forms::TextBox* afterCodeFound() const override { return TxtYcph; }
    void writeMovement(dao::Database& db) override;

private:
    void layOut();
    void TxtYcph_KeyPress(int& keyAscii);
    void TxtYsqx_KeyPress(int& keyAscii);
    void Txthwcd_KeyPress(int& keyAscii);
    void TxtPjhm_KeyPress(int& keyAscii);
    void TxtYcsl_KeyPress(int& keyAscii);
    void TxtYcje_KeyPress(int& keyAscii);
    void Txthwll_KeyPress(int& keyAscii);
    void TxtGjsj_KeyPress(int& keyAscii);
    void Txtjbxm_KeyPress(int& keyAscii);
};

}  // namespace dispensary
