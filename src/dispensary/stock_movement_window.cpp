// The common body of the stock-in and other stock-out windows; see
// stock_movement_window.h.
#include "dispensary/stock_movement_window.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/main_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"


namespace dispensary {

namespace {
constexpr int FirstRowTop = 150;
constexpr int RowPitch = 480;
constexpr int FieldGap = 90;   // between a box and the label of the next column
}  // namespace

StockMovementWindow::StockMovementWindow(const QString& caption, const Wording& wording,
                                         const GridMetrics& grid)
    : Txtycbm(core::makeBox(this, 20)),
      Txtycmc(core::makeBox(this, 0)),
      TxtPjhm(core::makeBox(this, 0)),
      TxtGjsj(core::makeDateBox(this)),
      Txthwll(core::makeBox(this, 100)),
      TxtYcsl(core::makeBox(this, 0)),
      TxtYcje(core::makeBox(this, 0)),
      Txtjbxm(core::makeBox(this, 15)),
      CmdSave(core::makeButton(this, QStringLiteral("登录"))),
      CmdQcls(core::makeButton(this, QStringLiteral("清屏"))),
      CmdExit(core::makeButton(this, QStringLiteral("退出"))),
      wording_(wording),
      grid_(grid),
      lookup_(*Txtycbm, *Txtycmc)
{
    setCaption(caption);
    Txtycmc->setLocked(true);

    Txtycbm->KeyPress = [this](int& keyAscii) { Txtycbm_KeyPress(keyAscii); };
    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    CmdSave->Click = [this] { CmdSave_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdExit->Click = [this] { CmdExit_Click(); };
}

// ---- building -------------------------------------------------------------------

int StockMovementWindow::rowTop(int row) { return FirstRowTop + row * RowPitch; }

void StockMovementWindow::placeField(const QString& label, forms::TextBox* box, int column, int row)
{
    const core::FieldLayout fields(this, {grid_.labelWidth});
    fields.place(label, box, grid_.left + column * grid_.columnPitch, rowTop(row), grid_.boxWidth - FieldGap);
}

void StockMovementWindow::placeButton(forms::CommandButton* button, int column, int row)
{
    button->Move(grid_.left + column * grid_.columnPitch + grid_.labelWidth, rowTop(row), grid_.boxWidth,
                 core::look::BoxHeight);
}

// ---- procedures -----------------------------------------------------------------

void StockMovementWindow::Qpcls()
{
    for (forms::TextBox* box : {Txtycbm, Txtycmc, Txthwll, Txtjbxm, TxtPjhm}) box->setText(QString());
    lookup_.forget();
    TxtGjsj->setText(core::todayText());
    clearOwnBoxes();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void StockMovementWindow::srnrJy()
{
    srnrcw = 1;
    for (forms::TextBox* box : trimmedBoxes()) box->setText(vb::Trim(box->Text()));
    if (!core::passesChecks(inputChecks())) return;
    core::showAsNumber(*TxtYcsl);
    core::showAsNumber(*TxtYcje);
    forms::DoEvents();
    srnrcw = 0;
}

void StockMovementWindow::jyYpjg()
{
    srnrcw = 1;
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        const std::optional<Drug> drug =
            findDrugByCode(db, vb::Trim(Txtycbm->Text()), QStringLiteral("0000"));
        db.close();
        if (!drug) {
            forms::Notice(QStringLiteral("药品编码登录错误，重来"));
            Txtycbm->SetFocusSelectAll();
            return;
        }
        const vb::Currency unitPrice = core::moneyIn(*TxtYcje) / core::numberIn(*TxtYcsl);
        if (!priceWarns(vb::Currency::fromDouble(drug->price), unitPrice)) srnrcw = 0;
    });
}

// ---- checks and the journal row -------------------------------------------------

std::function<bool()> StockMovementWindow::lacksDrug() const
{
    return [this] { return Txtycbm->Text().isEmpty() || Txtycmc->Text().isEmpty() || !lookup_.drug(); };
}

QString StockMovementWindow::drugName() const { return vb::Trim(lookup_.drug()->name); }

JournalRow StockMovementWindow::journalRow(const QString& kind) const
{
    JournalRow row;
    row.date = core::dateIn(*TxtGjsj);
    row.drugName = drugName();
    row.kind = kind;
    row.source = Txthwll->Text();
    row.recordNumber = QStringLiteral(" ");
    row.department = QStringLiteral(" ");
    row.handler = Txtjbxm->Text();
    row.operatorName = core::LoginUser;
    return row;
}

// ---- handlers -------------------------------------------------------------------

void StockMovementWindow::CmdSave_Click()
{
    writer_.guarded([this] {
        jyYpjg();
        if (srnrcw == 1 && !core::askedYes(QStringLiteral("药品购进价格大于销售价格，继续吗？"))) {
            TxtYcsl->SetFocusSelectAll();
            return;
        }
        if (!core::askedYes(QStringLiteral("保存后，输入资料不能修改,保存吗？"))) return;
        srnrJy();
        if (srnrcw == 1) return;

        // The journal row and the balance change stand or fall together: on any error
        // nothing is written and the inputs stay for another try. The window's own
        // refusal (the stock check) is asked inside the transaction.
        bool admitted = false;
        const core::WriteRoutine::Outcome outcome = writer_.write([&](dao::Database& db) {
            admitted = admits(db);
            if (admitted) writeMovement(db);
            return admitted;
        });
        if (outcome == core::WriteRoutine::Outcome::Failed) return;
        if (!admitted) {
            showRefusal();
            return;
        }
        forms::DoEvents();
        Qpcls();
        Txtycbm->SetFocus();
        forms::DoEvents();
    });
}

// While a save runs the clear button does nothing: the save reads the boxes that the
// user confirmed.
void StockMovementWindow::CmdQcls_Click()
{
    writer_.guarded([this] {
        forms::DoEvents();
        Qpcls();
        Txtycbm->SetFocus();
    });
}

void StockMovementWindow::CmdExit_Click()
{
    Unload();        // Form_QueryUnload hands the menus back
}

// Whichever way the window closes, the main window's menus come back; an exit or a
// close during a save, the clear button or a look-up waits for its end.
void StockMovementWindow::Form_QueryUnload(int& /*cancel*/)
{
    core::menuOn();
}

void StockMovementWindow::Txtycbm_KeyPress(int& keyAscii)
{
    const PumpScope pumping(*this);
    switch (lookup_.codeKeyPress(keyAscii)) {
    case DrugLookup::Outcome::Found:
        afterCodeFound()->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::NotFound:
        forms::Notice(wording_.codeNotFound);
        Txtycbm->SetFocusSelectAll();
        break;
    default:
        break;
    }
}

void StockMovementWindow::Txtycmc_KeyPress(int& keyAscii)
{
    const PumpScope pumping(*this);
    switch (lookup_.nameKeyPress(keyAscii)) {
    case DrugLookup::Outcome::Found:
        TxtGjsj->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::NotFound:
        forms::Notice(wording_.nameNotFound);
        Txtycmc->SetFocusSelectAll();
        break;
    default:
        break;
    }
}

}  // namespace dispensary
