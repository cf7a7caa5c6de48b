// FrmYcck, the other stock-out window; see stock_out.h. Its Enter chain runs code,
// bill, date, summary, quantity, income, handler, save. Unlike the stock-in window it
// is cleared when it loads, not on every activation, so an unfinished stock-out
// survives a change of the active window.
#include "dispensary/stock_out.h"

#include "core/entry_boxes.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

namespace dispensary {

FrmYcck::FrmYcck()
    : StockMovementWindow(QStringLiteral("药材出库"),
                          {QStringLiteral("药品编码输入错误"),
                           QStringLiteral("此药品编码没有登记，请先登记药品编码名称销价")},
                          {30, 2025, 720, 1305})
{
    setWindowButtons(WindowButtons::CloseBoxMinMax);
    TxtPjhm->setMaxLength(15);
    layOut();

    TxtPjhm->KeyPress = [this](int& k) { TxtPjhm_KeyPress(k); };
    TxtGjsj->KeyPress = [this](int& k) { TxtGjsj_KeyPress(k); };
    Txthwll->KeyPress = [this](int& k) { Txthwll_KeyPress(k); };
    TxtYcsl->KeyPress = [this](int& k) { TxtYcsl_KeyPress(k); };
    TxtYcje->KeyPress = [this](int& k) { TxtYcje_KeyPress(k); };
    Txtjbxm->KeyPress = [this](int& k) { Txtjbxm_KeyPress(k); };
}

void FrmYcck::layOut()
{
    placeField(QStringLiteral("药材编码"), Txtycbm, 0, 0);
    placeField(QStringLiteral("药材名称"), Txtycmc, 1, 0);
    placeField(QStringLiteral("票据号码"), TxtPjhm, 2, 0);
    placeField(QStringLiteral("出库时间"), TxtGjsj, 3, 0);
    placeField(QStringLiteral("出库摘要"), Txthwll, 0, 1);
    placeField(QStringLiteral("出库数量"), TxtYcsl, 1, 1);
    placeField(QStringLiteral("销售收入"), TxtYcje, 2, 1);
    placeField(QStringLiteral("经办人名"), Txtjbxm, 0, 2);
    placeButton(CmdSave, 1, 2);
    placeButton(CmdQcls, 2, 2);
    placeButton(CmdExit, 3, 2);
    setTabOrder({Txtycbm, TxtPjhm, TxtGjsj, Txthwll, TxtYcsl, TxtYcje, Txtjbxm, CmdSave, CmdQcls,
                 CmdExit, Txtycmc});
}

void FrmYcck::Form_Load()
{
    setClientSize(8145, 1650);   // the MDI frame exists from here on
    forms::DoEvents();
    PlaceOnScreen(2, 5);
    forms::DoEvents();
    Qpcls();
}

void FrmYcck::clearOwnBoxes()
{
    TxtYcsl->setText(QStringLiteral("0.00"));
    TxtYcje->setText(QStringLiteral("0.00"));
}

std::vector<forms::TextBox*> FrmYcck::trimmedBoxes() const
{
    return {Txtycbm, Txtycmc, Txthwll, Txtjbxm, TxtPjhm};
}

std::vector<StockMovementWindow::Check> FrmYcck::inputChecks() const
{
    return {
        {lacksDrug(), QStringLiteral("请输入药品编码"), Txtycbm, true},
        {core::isEmpty(TxtPjhm), QStringLiteral("请输入票据号码"), TxtPjhm, false},
        {core::isEmpty(Txtjbxm), QStringLiteral("请输入经办者姓名"), Txtjbxm, false},
        {core::isEmpty(Txthwll), QStringLiteral("请输入药品来源"), Txthwll, false},
        {core::isShortDate(TxtGjsj), QStringLiteral("请输入药品购进时间"), TxtGjsj, true},
        {core::isNoDate(TxtGjsj), QStringLiteral("药品购进时间输入错误"), TxtGjsj, true},
        {[this] { return core::laterThanToday(core::dateIn(*TxtGjsj)); },
         QStringLiteral("药品出库时间不能大于系统目前时间"), TxtGjsj, true},
        {[this] { return !core::holdsWholeNumber(*TxtYcsl); }, QStringLiteral("药品输入数量错误"), TxtYcsl, true},
        {[this] { return core::numberIn(*TxtYcsl) == 0; }, QStringLiteral("出库数量不能为零"), TxtYcsl, true},
        {core::isNoNumber(TxtYcje), QStringLiteral("药品输入金额错误"), TxtYcje, true},
    };
}

// A drug going out for less per unit than its sales price is questioned.
bool FrmYcck::priceWarns(vb::Currency listPrice, vb::Currency unitPrice) const
{
    return listPrice > unitPrice;
}

bool FrmYcck::admits(dao::Database& db)
{
    return StockLedger(db).covers(drugName(), core::numberIn(*TxtYcsl));
}

void FrmYcck::showRefusal()
{
    forms::Notice(QStringLiteral("库存中此药材余量不足"));
    Txtycbm->SetFocusSelectAll();
}

void FrmYcck::writeMovement(dao::Database& db)
{
    const double quantity = core::numberIn(*TxtYcsl);
    JournalRow row = journalRow(KindStockOut);
    row.origin = QStringLiteral(" ");
    row.batch = QStringLiteral(" ");
    row.expiry = row.date;
    row.quantityOut = quantity;
    row.salesIncome = core::numberIn(*TxtYcje);

    StockLedger ledger(db);
    ledger.appendJournalRow(row);
    ledger.issue(row.drugName, quantity);
}

// ---- the Enter chain ------------------------------------------------------------

void FrmYcck::TxtPjhm_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (core::filled(TxtPjhm))
        TxtGjsj->SetFocusSelectAll();
    else
        core::prompt(QStringLiteral("请输入药品出库票据号码，没有可用其它内容代替"));
}

void FrmYcck::TxtGjsj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii)
        && core::dateAccepted(TxtGjsj, QStringLiteral("输入时间错误"), QStringLiteral("输入时间不能大于目前时间")))
        Txthwll->SetFocusSelectAll();
}

void FrmYcck::Txthwll_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (core::filled(Txthwll))
        TxtYcsl->SetFocusSelectAll();
    else
        core::prompt(QStringLiteral("请输入药品出库摘要"));
}

// Digits and Enter only: the quantity out is a whole number. A text pasted past the
// filter that is no whole number ("-5" would raise the balance) reads as no number.
void FrmYcck::TxtYcsl_KeyPress(int& keyAscii)
{
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != forms::vbKeyReturn) {
        keyAscii = 0;
        return;
    }
    if (forms::EnterPressed(keyAscii)
        && core::numberAccepted(TxtYcsl, QStringLiteral("输入药品数量错误"), QStringLiteral("药品出库数量不能为零"),
                                core::holdsWholeNumber))
        TxtYcje->SetFocusSelectAll();
}

void FrmYcck::TxtYcje_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::numberAccepted(TxtYcje, QStringLiteral("药品输入金额错误")))
        Txtjbxm->SetFocusSelectAll();
}

void FrmYcck::Txtjbxm_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txtjbxm)) CmdSave->SetFocus();
}

}  // namespace dispensary
