// The common body of the stock-in and other stock-out windows; see
// stock_movement_window.h.
#include "dispensary/stock_movement_window.h"

#include "core/globals.h"
#include "core/main_window.h"
#include "dispensary/error_trap.h"
#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QColor>
#include <QScopedValueRollback>

namespace dispensary {

namespace {
const QString FontName = QStringLiteral("宋体");
constexpr double FontSize = 10.5;
constexpr double LabelFontSize = 9;  // four characters fit the label column
const QColor BoxColor(192, 192, 255);

constexpr int FirstRowTop = 150;
constexpr int RowPitch = 480;
constexpr int BoxHeight = 360;
constexpr int LabelDrop = 60;         // a label stands a little lower than its box
}  // namespace

StockMovementWindow::StockMovementWindow(const QString& caption, const Wording& wording,
                                         const GridMetrics& grid)
    : Txtycbm(makeBox(20)),
      Txtycmc(makeBox(0)),
      TxtPjhm(makeBox(0)),
      TxtGjsj(makeDateBox()),
      Txthwll(makeBox(100)),
      TxtYcsl(makeBox(0)),
      TxtYcje(makeBox(0)),
      Txtjbxm(makeBox(15)),
      CmdSave(makeButton(QStringLiteral("登录"))),
      CmdQcls(makeButton(QStringLiteral("清屏"))),
      CmdExit(makeButton(QStringLiteral("退出"))),
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

forms::TextBox* StockMovementWindow::makeBox(int maxLength)
{
    auto* box = new forms::TextBox(this);
    box->setFont(FontName, FontSize);
    box->setBackColor(BoxColor);
    box->setMaxLength(maxLength);
    return box;
}

forms::MaskEdBox* StockMovementWindow::makeDateBox()
{
    auto* box = new forms::MaskEdBox(this);
    box->setFont(FontName, FontSize);
    box->setBackColor(BoxColor);
    box->setMaxLength(10);
    dispensary::makeDateBox(*box);
    return box;
}

forms::CommandButton* StockMovementWindow::makeButton(const QString& caption)
{
    auto* button = new forms::CommandButton(this, caption);
    button->setFont(FontName, FontSize);
    return button;
}

int StockMovementWindow::rowTop(int row) { return FirstRowTop + row * RowPitch; }

void StockMovementWindow::placeField(const QString& label, forms::TextBox* box, int column, int row)
{
    const int left = grid_.left + column * grid_.columnPitch;
    auto* caption = new forms::Label(this, label);
    caption->setFont(FontName, LabelFontSize);
    caption->Move(left, rowTop(row) + LabelDrop, grid_.labelWidth, BoxHeight - LabelDrop);
    box->Move(left + grid_.labelWidth, rowTop(row), grid_.boxWidth, BoxHeight);
}

void StockMovementWindow::placeButton(forms::CommandButton* button, int column, int row)
{
    button->Move(grid_.left + column * grid_.columnPitch + grid_.labelWidth, rowTop(row),
                 grid_.boxWidth, BoxHeight);
}

// ---- messages -------------------------------------------------------------------

void StockMovementWindow::prompt(const QString& text)
{
    forms::MsgBox(text, forms::vbQuestion | forms::vbOKOnly, QString());
}

bool StockMovementWindow::askedYes(const QString& text)
{
    return forms::MsgBox(text, forms::vbYesNo | forms::vbQuestion, QString()) == forms::vbYes;
}

// ---- procedures -----------------------------------------------------------------

void StockMovementWindow::Qpcls()
{
    for (forms::TextBox* box : {Txtycbm, Txtycmc, Txthwll, Txtjbxm, TxtPjhm}) box->setText(QString());
    TxtGjsj->setText(todayText());
    clearOwnBoxes();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void StockMovementWindow::srnrJy()
{
    srnrcw = 1;
    for (forms::TextBox* box : trimmedBoxes()) box->setText(vb::Trim(box->Text()));
    if (!passesChecks(inputChecks())) return;
    showAsNumber(*TxtYcsl);
    showAsNumber(*TxtYcje);
    forms::DoEvents();
    srnrcw = 0;
}

void StockMovementWindow::jyYpjg()
{
    srnrcw = 1;
    runTrapped([this] {
        dao::Database db = OpenDb();
        forms::DoEvents();
        const std::optional<Drug> drug =
            findDrugByCode(db, vb::Trim(Txtycbm->Text()), QStringLiteral("0000"));
        db.close();
        if (!drug) {
            forms::Notice(QStringLiteral("药品编码登录错误，重来"));
            Txtycbm->SetFocusSelectAll();
            return;
        }
        const vb::Currency unitPrice = moneyIn(*TxtYcje) / numberIn(*TxtYcsl);
        if (!priceWarns(vb::Currency::fromDouble(drug->price), unitPrice)) srnrcw = 0;
    });
}

// ---- checks and the journal row -------------------------------------------------

std::function<bool()> StockMovementWindow::isEmpty(const forms::TextBox* box)
{
    return [box] { return box->Text().isEmpty(); };
}

std::function<bool()> StockMovementWindow::lacksDrug() const
{
    return [this] { return Txtycbm->Text().isEmpty() || Txtycmc->Text().isEmpty(); };
}

std::function<bool()> StockMovementWindow::isShortDate(const forms::TextBox* box)
{
    return [box] { return box->Text().length() < 10; };
}

std::function<bool()> StockMovementWindow::isNoDate(const forms::TextBox* box)
{
    return [box] { return !holdsDate(*box); };
}

std::function<bool()> StockMovementWindow::isNoNumber(const forms::TextBox* box)
{
    return [box] { return !holdsNumber(*box); };
}

JournalRow StockMovementWindow::journalRow(const QString& kind) const
{
    JournalRow row;
    row.date = dateIn(*TxtGjsj);
    row.drugName = Txtycmc->Text();
    row.kind = kind;
    row.source = Txthwll->Text();
    row.recordNumber = QStringLiteral(" ");
    row.department = QStringLiteral(" ");
    row.handler = Txtjbxm->Text();
    row.operatorName = LoginUser;
    return row;
}

// ---- handlers -------------------------------------------------------------------

void StockMovementWindow::CmdSave_Click()
{
    const PumpScope pumping(*this);
    if (saving_) return;            // a second click while this one still runs
    QScopedValueRollback<bool> saving(saving_, true);

    jyYpjg();
    if (srnrcw == 1 && !askedYes(QStringLiteral("药品购进价格大于销售价格，继续吗？"))) {
        TxtYcsl->SetFocusSelectAll();
        return;
    }
    if (!askedYes(QStringLiteral("保存后，输入资料不能修改,保存吗？"))) return;
    srnrJy();
    if (srnrcw == 1) return;

    // The journal row and the balance change stand or fall together: on any error
    // nothing is written and the inputs stay for another try.
    bool admitted = false;
    const bool ran = runTrapped([&] {
        dao::Database db = OpenDb();
        forms::DoEvents();
        db.deleteAllQueryDefs();
        // Pending events run here, never while the transaction is open: a handler
        // they reach cannot slip its own writes into this movement's.
        forms::DoEvents();
        dao::Transaction transaction(db);
        admitted = admits(db);
        if (!admitted) return;
        writeMovement(db);
        transaction.commit();
    });
    if (!ran) return;
    if (!admitted) {
        showRefusal();
        return;
    }
    forms::DoEvents();
    Qpcls();
    Txtycbm->SetFocus();
    forms::DoEvents();
}

// While a save runs the clear button does nothing: the save reads the boxes that the
// user confirmed.
void StockMovementWindow::CmdQcls_Click()
{
    if (saving_) return;
    const PumpScope pumping(*this);
    forms::DoEvents();
    Qpcls();
    Txtycbm->SetFocus();
}

void StockMovementWindow::CmdExit_Click()
{
    Unload();        // Form_QueryUnload hands the menus back
}

// Whichever way the window closes, the main window's menus come back; an exit or a
// close during a save, the clear button or a look-up waits for its end.
void StockMovementWindow::Form_QueryUnload(int& /*cancel*/)
{
    menuOn();
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

// ---- Enter chain helpers --------------------------------------------------------

bool StockMovementWindow::filled(const forms::TextBox* box) { return !vb::Trim(box->Text()).isEmpty(); }

bool StockMovementWindow::dateAccepted(forms::MaskEdBox* box, const QString& notDateMessage,
                                       const std::optional<QString>& futureMessage)
{
    if (vb::Trim(box->Text()).length() != 10) {
        forms::Notice(QStringLiteral("请输入10位日期时间"));
    } else if (!holdsDate(*box)) {
        forms::Notice(notDateMessage);
    } else if (futureMessage && laterThanToday(dateIn(*box))) {
        forms::Notice(*futureMessage);
    } else {
        return true;
    }
    box->SetFocusSelectAll();
    return false;
}

bool StockMovementWindow::numberAccepted(forms::TextBox* box, const QString& notNumericMessage,
                                         const std::optional<QString>& zeroMessage, NumberTest isNumber)
{
    if (box->Text().isEmpty()) return false;
    if (!isNumber(*box)) {
        forms::Notice(notNumericMessage);
    } else if (zeroMessage && numberIn(*box) == 0) {
        forms::Notice(*zeroMessage);
    } else {
        showAsNumber(*box);
        return true;
    }
    box->SetFocusSelectAll();
    return false;
}

}  // namespace dispensary
