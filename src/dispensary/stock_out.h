// FrmYcck, "药材出库": records a stock-out that is not a prescription sale. The drug is
// taken by its code; the save refuses a quantity the balance does not cover, then
// appends an "出库" row to the stock journal and lowers the drug's balance. The
// quantity box takes digits only, so a stock-out is a whole number.
#pragma once

#include "dispensary/stock_movement_window.h"

namespace dispensary {

class FrmYcck : public StockMovementWindow {
    Q_OBJECT
public:
    FrmYcck();

protected:
    void Form_Load() override;

    void clearOwnBoxes() override;
    std::vector<forms::TextBox*> trimmedBoxes() const override;
    std::vector<Check> inputChecks() const override;
    bool priceWarns(vb::Currency listPrice, vb::Currency unitPrice) const override;
    forms::TextBox* afterCodeFound() const override { return TxtPjhm; }
    bool admits(dao::Database& db) override;
    void showRefusal() override;
    void writeMovement(dao::Database& db) override;

private:
    void layOut();
    void TxtPjhm_KeyPress(int& keyAscii);
    void TxtGjsj_KeyPress(int& keyAscii);
    void Txthwll_KeyPress(int& keyAscii);
    void TxtYcsl_KeyPress(int& keyAscii);
    void TxtYcje_KeyPress(int& keyAscii);
    void Txtjbxm_KeyPress(int& keyAscii);
};

}  // namespace dispensary
