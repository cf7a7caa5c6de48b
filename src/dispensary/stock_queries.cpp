// Frmyckc, the stock queries window; see stock_queries.h. Its Enter chain runs code,
// start date, end date, query button.
#include "dispensary/stock_queries.h"

#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/main_window.h"
#include "dispensary/stock_reports.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

namespace dispensary {

namespace {
constexpr int DefaultRangeDays = 230;   // the start date: today − 230 days
constexpr double ButtonWaitSeconds = 5;
}  // namespace

Frmyckc::Frmyckc()
    : OptYcrk(new forms::OptionButton(this, QStringLiteral("药品入库"))),
      OptYcck(new forms::OptionButton(this, QStringLiteral("药品出库"))),
      OptYcjy(new forms::OptionButton(this, QStringLiteral("药品结余"))),
      OptCkrk(new forms::OptionButton(this, QStringLiteral("库存明细表"))),
      Txtycbm(core::makeBox(this, 20)),
      Txtycmc(core::makeBox(this, 0)),
      TxtQssj(core::makeDateBox(this)),
      TxtJssj(core::makeDateBox(this)),
      CmdSeek(core::makeButton(this, QStringLiteral("查询&F"))),
      CmdQcls(core::makeButton(this, QStringLiteral("清屏&Q"))),
      CmdExit(core::makeButton(this, QStringLiteral("退出&T"))),
      CmdHelp(core::makeButton(this, QStringLiteral("帮助&H"))),
      lookup_(*Txtycbm, *Txtycmc),
      press_(*this)
{
    setCaption(QStringLiteral("药材库存查询"));
    setWindowButtons(WindowButtons::None);
    Txtycmc->setLocked(true);
    layOut();

    OptYcrk->Click = [this] { OptionClicked(false); };
    OptCkrk->Click = [this] { OptionClicked(false); };
    OptYcck->Click = [this] { OptionClicked(true); };
    OptYcjy->Click = [this] { OptionClicked(true); };
    Txtycbm->KeyPress = [this](int& k) { Txtycbm_KeyPress(k); };
    TxtQssj->KeyPress = [this](int& k) { TxtQssj_KeyPress(k); };
    TxtJssj->KeyPress = [this](int& k) { TxtJssj_KeyPress(k); };
    CmdSeek->Click = [this] { CmdSeek_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    CmdHelp->Click = [this] { CmdHelp_Click(); };
}

void Frmyckc::layOut()
{
    int left = 240;
    for (forms::OptionButton* option : {OptYcrk, OptYcck, OptYcjy, OptCkrk}) {
        option->setFont(core::look::FontName, core::look::FontSize);
        option->Move(left, 150, 1500, core::look::BoxHeight);
        left += 1560;
    }
    const core::FieldLayout fields(this, {840});
    const int codeRight = fields.place(QStringLiteral("药材编码"), Txtycbm, 240, 690, 1500);
    fields.place(QStringLiteral("药材名称"), Txtycmc, codeRight + 240, 690, 2640);
    const int startRight = fields.place(QStringLiteral("查询时间"), TxtQssj, 240, 1230, 1500);
    const core::FieldLayout to(this, {240, 120});
    to.place(QStringLiteral("至"), TxtJssj, startRight + 240, 1230, 1500);
    left = 240;
    for (forms::CommandButton* button : {CmdSeek, CmdQcls, CmdExit, CmdHelp}) {
        button->Move(left, 1830, 1140, 420);
        left += 1560;
    }
    setTabOrder({Txtycbm, Txtycmc, TxtQssj, TxtJssj, CmdSeek, CmdQcls, CmdExit, CmdHelp, OptYcrk, OptYcck,
                 OptYcjy, OptCkrk});
}

void Frmyckc::Form_Load()
{
    setClientSize(6600, 2460);
    forms::DoEvents();
    PlaceOnMainWindow(2, 4);
    OptYcrk->setValue(true);
}

void Frmyckc::Form_Activate() { Qpcls(); }

void Frmyckc::Form_QueryUnload(int& /*cancel*/) { core::menuOn(); }

void Frmyckc::Qpcls()
{
    forms::Screen::setMousePointer(forms::vbArrow);
    Txtycmc->setText(QString());
    Txtycbm->setText(QString());
    TxtQssj->setText(core::dateText(forms::Clock::Today().addDays(-DefaultRangeDays)));
    TxtJssj->setText(core::todayText());
}

void Frmyckc::srnrJy()
{
    srnrcw = 1;
    if (core::passesChecks({
            {core::isNoDate(TxtQssj), QStringLiteral("查询起始时间输入错误"), TxtQssj, true},
            {core::isNoDate(TxtJssj), QStringLiteral("查询结束时间输入错误"), TxtJssj, true},
        }))
        srnrcw = 0;
}

void Frmyckc::waitment()
{
    const std::initializer_list<forms::CommandButton*> buttons{CmdSeek, CmdExit, CmdHelp, CmdQcls};
    for (forms::CommandButton* button : buttons) button->setEnabled(false);
    forms::Clock::WaitSeconds(ButtonWaitSeconds);
    forms::DoEvents();
    for (forms::CommandButton* button : buttons) button->setEnabled(true);
}

StockReportKind Frmyckc::selectedKind() const
{
    if (OptYcck->Value()) return StockReportKind::StockOut;
    if (OptYcjy->Value()) return StockReportKind::Balance;
    if (OptCkrk->Value()) return StockReportKind::Ledger;
    return StockReportKind::StockIn;
}

void Frmyckc::OptionClicked(bool focusOnCode)
{
    for (forms::TextBox* box : {Txtycbm, Txtycmc}) {
        box->setText(QString());
        box->setEnabled(true);
    }
    if (focusOnCode) Txtycbm->SetFocus();
}

void Frmyckc::Txtycbm_KeyPress(int& keyAscii)
{
    const PumpScope pumping(*this);
    switch (lookup_.codeKeyPress(keyAscii)) {
    case DrugLookup::Outcome::Found: TxtQssj->SetFocusSelectAll(); break;
    case DrugLookup::Outcome::NotFound:
        forms::Notice(QStringLiteral("药材编码输入错误"));
        Txtycbm->SetFocusSelectAll();
        break;
    default: break;
    }
}

void Frmyckc::TxtQssj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii, true) && core::dateAccepted(TxtQssj, QStringLiteral("查询起始时间输入错误")))
        TxtJssj->SetFocusSelectAll();
}

void Frmyckc::TxtJssj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii, true) && core::dateAccepted(TxtJssj, QStringLiteral("查询载止时间输入错误")))
        CmdSeek->SetFocus();
}

// Under the one-press guard: the query and the report let events run, and a second
// press meanwhile does nothing.
void Frmyckc::CmdSeek_Click()
{
    press_.run([this] { seekAndReport(); });
}

void Frmyckc::seekAndReport()
{
    srnrJy();
    if (srnrcw == 1) return;
    dao::Recordset records;
    const bool ran = core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        const StockReportKind kind = selectedKind();
        const StockSelection selection{TxtQssj->Text(), TxtJssj->Text(), vb::Trim(Txtycmc->Text()),
                                       !Txtycbm->Text().isEmpty()};
        records = db.storeAndOpen(stockQueryName(kind), stockQuerySql(kind, selection));
        forms::DoEvents();
        db.close();
    });
    if (!ran) return;
    if (records.eof() || records.field(2).isNull()) {
        forms::Notice(QStringLiteral("没有符合查询条件的内容"));
        Txtycbm->SetFocusSelectAll();
        return;
    }
    forms::DoEvents();
    CmdSeek->setEnabled(false);
    createxcelyc(records);
}

// The workbook of the query just stored, from the rows it read (a snapshot, so they
// are read once). Only this report's file is replaced; the other reports of the same
// range stay. On any error the description is shown and the buttons and the pointer
// come back.
void Frmyckc::createxcelyc(dao::Recordset& records)
{
    const StockReportKind kind = selectedKind();
    const QString path = stockReportPath(kind, {TxtQssj->Text(), TxtJssj->Text()});
    core::runTrapped([&] { writeStockReport(records, kind, path, [this] { waitment(); }); });
    records.close();
    for (forms::CommandButton* button : {CmdSeek, CmdExit, CmdHelp, CmdQcls}) button->setEnabled(true);
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmyckc::CmdQcls_Click()
{
    Qpcls();
    Txtycbm->SetFocus();
}

void Frmyckc::CmdExit_Click()
{
    Unload();        // Form_QueryUnload hands the menus back
}

void Frmyckc::CmdHelp_Click() { core::ShowHelpFor(this, QStringLiteral("YCKC")); }

}  // namespace dispensary
