// Frmyckc, 药材库存查询: the dispensary's stock queries. The user picks a report kind
// (stock-in, stock-out, balance or ledger), a date range and optionally one drug by
// its code; the query button stores the matching SQL over the stock tables as a
// short-named stored query and, when it yields rows, writes the report's workbook
// (stock_reports.h) into the documents folder. The window shows no result itself.
#pragma once

#include "core/one_press.h"
#include "dispensary/drug_lookup.h"
#include "dispensary/stock_reports.h"
#include "platform/forms/form.h"

namespace forms {
class CommandButton;
class MaskEdBox;
class OptionButton;
class TextBox;
}

namespace dispensary {

class Frmyckc : public forms::Form {
    Q_OBJECT
public:
    Frmyckc();

    forms::OptionButton* OptYcrk;     // 药品入库: stock-in report
    forms::OptionButton* OptYcck;     // 药品出库: stock-out report
    forms::OptionButton* OptYcjy;     // 药品结余: balance report
    forms::OptionButton* OptCkrk;     // 库存明细表: stock ledger
    forms::TextBox* Txtycbm;          // drug code
    forms::TextBox* Txtycmc;          // drug name, locked, filled by the look-up
    forms::MaskEdBox* TxtQssj;        // start date
    forms::MaskEdBox* TxtJssj;        // end date
    forms::CommandButton* CmdSeek;    // 查询: the query and its workbook
    forms::CommandButton* CmdQcls;    // 清屏
    forms::CommandButton* CmdExit;    // 退出
    forms::CommandButton* CmdHelp;    // 帮助

    // The flag of the last date check: 1 failed, 0 passed.
    int srnrcw = 0;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    void layOut();
    void Qpcls();
    void srnrJy();
    // Disables the four buttons for 5 seconds with the event pump running.
    void waitment();
    StockReportKind selectedKind() const;
    void seekAndReport();
    void createxcelyc(dao::Recordset& records);

    void OptionClicked(bool focusOnCode);
    void Txtycbm_KeyPress(int& keyAscii);
    void TxtQssj_KeyPress(int& keyAscii);
    void TxtJssj_KeyPress(int& keyAscii);
    void CmdSeek_Click();
    void CmdQcls_Click();
    void CmdExit_Click();
    void CmdHelp_Click();

    DrugLookup lookup_;
    core::OnePress press_;   // the query and its report
};

}  // namespace dispensary
