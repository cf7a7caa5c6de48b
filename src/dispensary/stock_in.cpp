// Frmycrk, the stock-in window; see stock_in.h. Its Enter chain runs code, batch,
// expiry, origin, bill, quantity, amount, source, purchase date, handler, save.
#include "dispensary/stock_in.h"

#include "core/entry_boxes.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"

namespace dispensary {

namespace {
constexpr int ExpiryDays = 720;   // a fresh receipt's expiry date: today + 720 days
}

Frmycrk::Frmycrk()
    : StockMovementWindow(QStringLiteral("中药材入库、退库"),
                          {QStringLiteral("药材编码输入错误"),
                           QStringLiteral("此药材编码没有登记，请先登记药材编码名称销价")},
                          {60, 2130, 750, 1380}),
      TxtYcph(core::makeBox(this, 15)),
      TxtYsqx(core::makeDateBox(this)),
      Txthwcd(core::makeBox(this, 10))
{
    setWindowButtons(WindowButtons::CloseBoxMinMax);
    TxtPjhm->setMaxLength(20);
    layOut();

    TxtYcph->KeyPress = [this](int& k) { TxtYcph_KeyPress(k); };
    TxtYsqx->KeyPress = [this](int& k) { TxtYsqx_KeyPress(k); };
    Txthwcd->KeyPress = [this](int& k) { Txthwcd_KeyPress(k); };
    TxtPjhm->KeyPress = [this](int& k) { TxtPjhm_KeyPress(k); };
    TxtYcsl->KeyPress = [this](int& k) { TxtYcsl_KeyPress(k); };
    TxtYcje->KeyPress = [this](int& k) { TxtYcje_KeyPress(k); };
    Txthwll->KeyPress = [this](int& k) { Txthwll_KeyPress(k); };
    TxtGjsj->KeyPress = [this](int& k) { TxtGjsj_KeyPress(k); };
    Txtjbxm->KeyPress = [this](int& k) { Txtjbxm_KeyPress(k); };
}

void Frmycrk::layOut()
{
    placeField(QStringLiteral("药材编码"), Txtycbm, 0, 0);
    placeField(QStringLiteral("药材名称"), Txtycmc, 1, 0);
    placeField(QStringLiteral("批号"), TxtYcph, 2, 0);
    placeField(QStringLiteral("有效期止"), TxtYsqx, 3, 0);
    placeField(QStringLiteral("货物产地"), Txthwcd, 0, 1);
    placeField(QStringLiteral("票据号码"), TxtPjhm, 1, 1);
    placeField(QStringLiteral("进货数量"), TxtYcsl, 2, 1);
    placeField(QStringLiteral("进货金额"), TxtYcje, 3, 1);
    placeField(QStringLiteral("货物来源"), Txthwll, 0, 2);
    placeField(QStringLiteral("购进时间"), TxtGjsj, 1, 2);
    placeField(QStringLiteral("经办人名"), Txtjbxm, 2, 2);
    // The buttons stand in a column on the right.
    const int buttonLeft = 8640;
    const int buttonWidth = 660;
    CmdSave->Move(buttonLeft, rowTop(0), buttonWidth, 360);
    CmdQcls->Move(buttonLeft, rowTop(1), buttonWidth, 360);
    CmdExit->Move(buttonLeft, rowTop(2), buttonWidth, 360);
    setTabOrder({Txtycbm, Txtycmc, TxtYcph, TxtYsqx, Txthwcd, TxtPjhm, TxtYcsl, TxtYcje, Txthwll,
                 TxtGjsj, Txtjbxm, CmdSave, CmdQcls, CmdExit});
}

void Frmycrk::Form_Load()
{
    setClientSize(9360, 1635);   // the MDI frame exists from here on
    forms::DoEvents();
    PlaceOnScreen(2, 5);
}

void Frmycrk::Form_Activate() { Qpcls(); }

void Frmycrk::clearOwnBoxes()
{
    for (forms::TextBox* box : {Txthwcd, TxtYcsl, TxtYcje, TxtYcph}) box->setText(QString());
    TxtYsqx->setText(core::dateText(forms::Clock::Today().addDays(ExpiryDays)));
}

std::vector<forms::TextBox*> Frmycrk::trimmedBoxes() const
{
    return {Txtycbm, Txtycmc, Txthwll, Txthwcd, TxtYcph, TxtYsqx, Txtjbxm, TxtPjhm};
}

std::vector<StockMovementWindow::Check> Frmycrk::inputChecks() const
{
    return {
        {lacksDrug(), QStringLiteral("请输入药材编码"), Txtycbm, true},
        {core::isEmpty(TxtPjhm), QStringLiteral("请输入票据号码"), TxtPjhm, false},
        {core::isEmpty(Txtjbxm), QStringLiteral("请输入经办者姓名"), Txtjbxm, false},
        {core::isEmpty(Txthwll), QStringLiteral("请输入药材来源"), Txthwll, false},
        {core::isEmpty(Txthwcd), QStringLiteral("请输入药材产地"), Txthwcd, false},
        {core::isEmpty(TxtYcph), QStringLiteral("请输入药材批号"), TxtYcph, false},
        {core::isShortDate(TxtGjsj), QStringLiteral("请输入药材购进时间"), TxtGjsj, true},
        {core::isNoDate(TxtGjsj), QStringLiteral("药材购进时间输入错误"), TxtGjsj, true},
        {core::isShortDate(TxtYsqx), QStringLiteral("请输入药材有效期限"), TxtYsqx, true},
        {core::isNoDate(TxtYsqx), QStringLiteral("药材有效期限输入错误"), TxtYsqx, true},
        {[this] { return core::laterThanToday(core::dateIn(*TxtGjsj)); },
         QStringLiteral("药材购进时间不能大于系统目前时间"), TxtGjsj, true},
        {[this] { return core::earlierThanToday(core::dateIn(*TxtYsqx)); },
         QStringLiteral("药材有效期限不能小于系统目前时间"), TxtYsqx, true},
        {core::isNoNumber(TxtYcsl), QStringLiteral("药材输入数量错误"), TxtYcsl, true},
        {core::isNoNumber(TxtYcje), QStringLiteral("药材输入金额错误"), TxtYcje, true},
    };
}

// A purchase costing as much per unit as the drug sells for, or more, is questioned.
bool Frmycrk::priceWarns(vb::Currency listPrice, vb::Currency unitPrice) const
{
    return listPrice <= unitPrice;
}

void Frmycrk::writeMovement(dao::Database& db)
{
    const double quantity = core::numberIn(*TxtYcsl);
    const double amount = core::numberIn(*TxtYcje);
    JournalRow row = journalRow(KindPurchase);
    row.origin = Txthwcd->Text();
    row.batch = TxtYcph->Text();
    row.expiry = core::dateIn(*TxtYsqx);
    row.quantityIn = quantity;
    row.amountIn = amount;

    StockLedger ledger(db);
    ledger.appendJournalRow(row);
    ledger.receive(row.drugName, quantity, amount);
}

// ---- the Enter chain ------------------------------------------------------------

void Frmycrk::TxtYcph_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (core::filled(TxtYcph))
        TxtYsqx->SetFocusSelectAll();
    else
        forms::Notice(QStringLiteral("请输入药品批号，没有批号用其它内容代替"));
}

void Frmycrk::TxtYsqx_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii, true)) return;
    if (core::dateAccepted(TxtYsqx, QStringLiteral("有效期限输入错误"), std::nullopt)) Txthwcd->SetFocusEnd();
}

void Frmycrk::Txthwcd_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txthwcd)) TxtPjhm->SetFocusEnd();
}

void Frmycrk::TxtPjhm_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (core::filled(TxtPjhm))
        TxtYcsl->SetFocusSelectAll();
    else
        core::prompt(QStringLiteral("请输入药品入库票据号码，没有可用其它内容代替"));
}

void Frmycrk::TxtYcsl_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::numberAccepted(TxtYcsl, QStringLiteral("输入药材数量错误")))
        TxtYcje->SetFocusSelectAll();
}

void Frmycrk::TxtYcje_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::numberAccepted(TxtYcje, QStringLiteral("药材输入金额错误")))
        Txthwll->SetFocusSelectAll();
}

void Frmycrk::Txthwll_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txthwll)) TxtGjsj->SetFocusSelectAll();
}

void Frmycrk::TxtGjsj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii)
        && core::dateAccepted(TxtGjsj, QStringLiteral("输入时间错误"), QStringLiteral("输入时间不能大于目前时间")))
        Txtjbxm->SetFocusSelectAll();
}

void Frmycrk::Txtjbxm_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txtjbxm)) CmdSave->SetFocus();
}

}  // namespace dispensary
