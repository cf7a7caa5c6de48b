// Frmycjj, the prescription pricing and sale window; see prescription_pricing.h.
// Keyboard road: record number, department, date (the visit is found), then per drug
// its code and its dose; the charge writes the grid as sale rows.
#include "dispensary/prescription_pricing.h"

#include "core/globals.h"
#include "core/look.h"
#include "data/columns.h"
#include "core/main_window.h"
#include "core/error_trap.h"
#include "core/entry_boxes.h"
#include "dispensary/stock_ledger.h"
#include "outpatient/visits.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

#include <algorithm>
#include <vector>

namespace dispensary {

namespace {
// Grid columns and their formats.
constexpr int ColCode = 0;
constexpr int ColName = 1;
constexpr int ColDose = 2;
constexpr int ColPrice = 3;
constexpr int ColAmount = 4;
constexpr int GridColumns = 5;
constexpr int GridRowHeight = 420;
const QString DoseFormat = QStringLiteral("##,##0.00");
const QString AmountFormat = QStringLiteral("#,###,##0.00");

constexpr int ClientWidth = 8100;
constexpr int ClientHeight = 6120;

constexpr int TabDoses = 0;
constexpr int TabPrescription = 1;

const QString SaleExpiry = QStringLiteral("2050-01-01");

}  // namespace

Frmycjj::Frmycjj()
    : TxtBlhm(new forms::TextBox(this)),
      CboZdks(new forms::ComboBox(this)),
      MasZdsj(new forms::MaskEdBox(this)),
      Txtycbm(new forms::TextBox(this)),
      Txtycmc(new forms::TextBox(this)),
      TxtYcjl(new forms::TextBox(this)),
      TxtYchj(new forms::TextBox(this)),
      SSTab1(new forms::TabbedDialog(this, {QStringLiteral("处方药品剂量"), QStringLiteral("处方药品内容明细")})),
      MSFGridyfjg(new forms::FlexGrid(SSTab1->Page(TabDoses))),
      TxtCfnr(new forms::TextBox(SSTab1->Page(TabPrescription), forms::TextBox::Lines::Multi)),
      Cmdcksf(new forms::CommandButton(this, QStringLiteral("出库收费&M"))),
      CmdQcls(new forms::CommandButton(this, QStringLiteral("清屏&C"))),
      CmdExit(new forms::CommandButton(this, QStringLiteral("返回&T"))),
      CmdHelp(new forms::CommandButton(this, QStringLiteral("帮助&H"))),
      lookup_(*Txtycbm, *Txtycmc)
{
    setCaption(QStringLiteral("病志处方药材计价"));
    setWindowButtons(WindowButtons::None);

    TxtBlhm->setMaxLength(15);
    Txtycbm->setMaxLength(20);             // as long as the drug list's codes
    core::makeDateBox(*MasZdsj);
    Txtycmc->setLocked(true);
    Txtycmc->setAlignment(forms::Alignment::Right);
    TxtYcjl->setAlignment(forms::Alignment::Right);
    TxtYchj->setLocked(true);
    TxtYchj->setAlignment(forms::Alignment::Right);
    TxtCfnr->setLocked(true);
    TxtCfnr->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    CmdQcls->setToolTipText(QStringLiteral("按此键进行重新输入计算"));
    layOut();

    TxtBlhm->KeyPress = [this](int& k) { TxtBlhm_KeyPress(k); };
    CboZdks->KeyPress = [this](int& k) { CboZdks_KeyPress(k); };
    MasZdsj->KeyPress = [this](int& k) { MasZdsj_KeyPress(k); };
    Txtycbm->GotFocus = [this] { Txtycbm_GotFocus(); };
    Txtycbm->KeyPress = [this](int& k) { Txtycbm_KeyPress(k); };
    Txtycmc->KeyPress = [this](int& k) { Txtycmc_KeyPress(k); };
    TxtYcjl->GotFocus = [this] { TxtYcjl_GotFocus(); };
    TxtYcjl->KeyPress = [this](int& k) { TxtYcjl_KeyPress(k); };
    MSFGridyfjg->Click = [this] { MSFGridyfjg_Click(); };
    Cmdcksf->Click = [this] { Cmdcksf_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdExit->Click = [this] { CmdExit_Click(); };
}

void Frmycjj::layOut()
{
    // Two rows of labelled boxes, the tabs below them, the total and the buttons last.
    constexpr int boxHeight = core::look::BoxHeight;
    constexpr int firstRow = 150;
    constexpr int secondRow = 630;
    constexpr int bottomRow = 5580;
    const int columns[] = {120, 2700, 5520};
    const int boxWidths[] = {1500, 1620, 1560};
    // Labels in the boxes' size, standing a little lower than their box.
    const core::FieldLayout fields(this, {.width = 900, .drop = 45, .height = boxHeight - 45,
                                          .fontSize = core::look::FontSize});
    auto place = [&](const QString& caption, forms::Control* box, int column, int top) {
        core::giveLook(box, core::look::FontSize, false);
        fields.place(caption, box, columns[column], top, boxWidths[column]);
    };
    place(QStringLiteral("病历号码"), TxtBlhm, 0, firstRow);
    place(QStringLiteral("诊断科室"), CboZdks, 1, firstRow);
    place(QStringLiteral("诊断时间"), MasZdsj, 2, firstRow);
    place(QStringLiteral("药材编码"), Txtycbm, 0, secondRow);
    place(QStringLiteral("药材名称"), Txtycmc, 1, secondRow);
    place(QStringLiteral("药品剂量"), TxtYcjl, 2, secondRow);
    place(QStringLiteral("药费合计"), TxtYchj, 0, bottomRow);

    SSTab1->setFont(core::look::FontName, core::look::FontSize);
    SSTab1->Move(120, 1140, 7860, 4260);
    MSFGridyfjg->setFont(core::look::FontName, core::look::FontSize);
    MSFGridyfjg->Move(60, 60, 7680, 3720);
    TxtCfnr->setFont(core::look::FontName, core::look::FontSize);
    TxtCfnr->Move(60, 60, 7680, 3720);

    MSFGridyfjg->setCols(GridColumns);
    MSFGridyfjg->setRows(2);
    MSFGridyfjg->setFixedRows(1);
    MSFGridyfjg->setFixedCols(0);
    MSFGridyfjg->setFormatString(
        QStringLiteral("<编码|<名称|>用量(克)|>药价(元/克)|>药材金额(元)"));
    const int widths[GridColumns] = {1000, 1625, 1590, 1590, 1590};
    for (int col = 0; col < GridColumns; ++col) MSFGridyfjg->setColWidth(col, widths[col]);
    MSFGridyfjg->setRowHeight(0, GridRowHeight);

    int buttonLeft = columns[1];
    for (forms::CommandButton* button : {Cmdcksf, CmdQcls, CmdHelp, CmdExit}) {
        button->setFont(core::look::FontName, core::look::FontSize);
        button->Move(buttonLeft, bottomRow - 15, 1215, boxHeight + 30);
        buttonLeft += 1335;
    }
    setTabOrder({TxtBlhm, CboZdks, MasZdsj, Txtycbm, Txtycmc, TxtYcjl, Cmdcksf, CmdQcls, CmdHelp, CmdExit});
}

// ---- opening and reset ----------------------------------------------------------

void Frmycjj::Form_Load()
{
    setClientSize(ClientWidth, ClientHeight);   // the MDI frame exists from here on
    forms::DoEvents();
    PlaceOnScreen(2, 5);
    forms::DoEvents();
}

void Frmycjj::Form_Activate() { Qpcls(); }

bool Frmycjj::loadDepartments()
{
    QStringList departments;
    const bool ran = core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        departments = outpatient::visitDepartments(db);
        db.close();
    });
    if (!ran) return true;            // the error is shown; the window stays for another try
    if (departments.isEmpty()) {
        forms::MsgBox(QStringLiteral("没有诊断处方，该功能不能使用"), forms::vbQuestion | forms::vbOKOnly,
                      QString());
        Unload();
        forms::Screen::setMousePointer(forms::vbArrow);
        return false;
    }
    CboZdks->Clear();
    for (const QString& department : departments) CboZdks->AddItem(department);
    return true;
}

void Frmycjj::Qpcls()
{
    const PumpScope pumping(*this);
    if (!loadDepartments()) return;
    visitRecordNumber_.clear();
    visitDepartment_.clear();
    doctor_.clear();
    for (forms::TextBox* box : {TxtBlhm, Txtycmc, Txtycbm, TxtCfnr}) box->setText(QString());
    lookup_.forget();
    TxtYcjl->setText(QStringLiteral("0.00"));
    TxtYchj->setText(QStringLiteral("0.00"));
    MasZdsj->setText(core::todayText());
    sale_.clear();
    showSale();
    forms::Screen::setMousePointer(forms::vbArrow);
    SSTab1->setTab(TabDoses);
}

// ---- the visit ------------------------------------------------------------------

void Frmycjj::TxtBlhm_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && !vb::Trim(TxtBlhm->Text()).isEmpty()) CboZdks->SetFocus();
}

void Frmycjj::CboZdks_KeyPress(int& keyAscii)
{
    if (keyAscii != forms::vbKeyReturn) return;
    keyAscii = 0;
    if (!vb::Trim(CboZdks->Text()).isEmpty() && TxtBlhm->Text().isEmpty()) {
        forms::Notice(QStringLiteral("请输入病历号码"));
        TxtBlhm->SetFocus();
        return;
    }
    MasZdsj->SetFocusSelectAll();
}

void Frmycjj::MasZdsj_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (MasZdsj->Text().length() < 10) {
        forms::Notice(QStringLiteral("诊断时间输入内容错误"));
        MasZdsj->SetFocusSelectAll();
        return;
    }
    if (!core::holdsDate(*MasZdsj)) {
        forms::Notice(QStringLiteral("诊断时间输入错误"));
        MasZdsj->SetFocusSelectAll();
        return;
    }
    const QString recordNumber = vb::Trim(TxtBlhm->Text());
    const QString department = vb::Trim(CboZdks->Text());
    if (recordNumber.isEmpty()) {
        forms::Notice(QStringLiteral("请输入病历号码"));
        TxtBlhm->SetFocus();
        return;
    }
    if (department.isEmpty()) {
        forms::Notice(QStringLiteral("诊断科室请输入诊断科室"));
        CboZdks->SetFocus();
        return;
    }
    std::optional<outpatient::Visit> visit;
    const bool ran = core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        visit = outpatient::findVisit(db, recordNumber, department, MasZdsj->Text());
        db.close();
    });
    if (!ran) return;
    if (!visit) {
        forms::Notice(QStringLiteral("病历号码、诊断科室及诊断时间输入错误"));
        TxtBlhm->SetFocusSelectAll();
        return;
    }
    visitRecordNumber_ = vb::Trim(visit->recordNumber);
    visitDepartment_ = vb::Trim(visit->department);
    doctor_ = visit->doctor;
    TxtCfnr->setText(visit->prescription);
    SSTab1->setTab(TabPrescription);
    Txtycbm->SetFocusSelectAll();
}

// ---- the drug -------------------------------------------------------------------

void Frmycjj::Txtycbm_GotFocus()
{
    SSTab1->setTab(TabPrescription);
    Txtycbm->setSelStart(0);
    Txtycbm->setSelLength(static_cast<int>(Txtycbm->Text().length()));
}

void Frmycjj::TxtYcjl_GotFocus()
{
    SSTab1->setTab(TabDoses);
    TxtYcjl->setSelStart(0);
    TxtYcjl->setSelLength(static_cast<int>(TxtYcjl->Text().length()));
}

void Frmycjj::Txtycbm_KeyPress(int& keyAscii)
{
    const PumpScope pumping(*this);
    switch (lookup_.codeKeyPress(keyAscii)) {
    case DrugLookup::Outcome::Found:
        SSTab1->setTab(TabDoses);
        TxtYcjl->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::Empty:   // an empty code finds no drug either
    case DrugLookup::Outcome::NotFound:
        forms::Notice(QStringLiteral("药材编码输入错误，重来！"));
        Txtycbm->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::Typing:
    case DrugLookup::Outcome::Failed:
        break;
    }
}

void Frmycjj::Txtycmc_KeyPress(int& keyAscii)
{
    const PumpScope pumping(*this);
    switch (lookup_.nameKeyPress(keyAscii)) {
    case DrugLookup::Outcome::Found:
        TxtYcjl->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::Empty:
    case DrugLookup::Outcome::NotFound:
        forms::Notice(QStringLiteral("药材名称输入错误，重来！"));
        Txtycmc->SetFocusSelectAll();
        break;
    case DrugLookup::Outcome::Typing:
    case DrugLookup::Outcome::Failed:
        break;
    }
}

// ---- pricing --------------------------------------------------------------------

void Frmycjj::TxtYcjl_KeyPress(int& keyAscii)
{
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (keyAscii != forms::vbKeyReturn) {
        if (!digit) keyAscii = 0;
        return;
    }
    keyAscii = 0;
    // A dose is a whole number of grams, not below 0: one pasted past the key filter
    // ("-5", "2.5") is refused like any other text that is no dose, so a sale never
    // raises a balance.
    if (!core::holdsWholeNumber(*TxtYcjl)) {
        forms::Notice(QStringLiteral("药材用量输入错误。"));
        TxtYcjl->SetFocusSelectAll();
        return;
    }
    // The dose is the number the box shows: "1,000.00" after a take-back is 1000.
    // Its errors are reported as their number, CR LF and their description.
    core::runTrappedNumbered([this] { priceDrug(core::numberIn(*TxtYcjl)); });
}

void Frmycjj::priceDrug(double dose)
{
    // The drug the look-up kept, read again from the drug list for its current price.
    const std::optional<Drug> taken = lookup_.drug();
    const QString code = taken ? taken->code : QString();
    const QString name = taken ? taken->name : QString();

    dao::Database db = core::OpenDb();
    dao::Recordset drug = db.storeAndOpen(
        QStringLiteral("ycmcbm"), QStringLiteral("select * from ycjg where ycbm=") + dao::quote(code)
                                      + QStringLiteral(" and ycmc=") + dao::quote(name));
    if (drug.eof() || drug.field(data::ycjg::ycbm).isNull()) {
        db.close();
        forms::Notice(QStringLiteral("药材编码与名称不符"));
        Txtycbm->SetFocusSelectAll();
        return;
    }
    const vb::Currency price = vb::CCur(drug.field(data::ycjg::ycdj));
    drug.close();
    const bool covered = StockLedger(db).covers(name, dose);
    db.close();
    if (!covered) {
        forms::Notice(QStringLiteral("库存中此药材余量不足"));
        Txtycbm->SetFocusSelectAll();
        return;
    }

    if (!vb::Trim(TxtCfnr->Text()).contains(name)) {
        forms::Notice(QStringLiteral("处方中无此药材"));
        Txtycbm->setText(QString());
        Txtycmc->setText(QString());
        lookup_.forget();
        Txtycbm->SetFocus();
        return;
    }
    if (alreadySold(code)) {
        forms::Notice(name + QStringLiteral(" 的用量已经输过。"));
        Txtycbm->SetFocusSelectAll();
        return;
    }

    // The line shows the code as the user entered it (upper-cased), as it always has.
    Drug sold = *taken;
    sold.code = vb::Trim(Txtycbm->Text());
    sale_.push_back({sold, dose, price, (price * dose).roundedToCents()});
    showSale();
    TxtYchj->setText(vb::Format(total(), AmountFormat));
    for (forms::TextBox* box : {Txtycbm, Txtycmc, TxtYcjl}) box->setText(QString());
    lookup_.forget();
    Txtycbm->SetFocus();
    SSTab1->setTab(TabPrescription);
}

// Codes are compared without letter case, as the drug list finds them.
bool Frmycjj::alreadySold(const QString& code) const
{
    return std::any_of(sale_.begin(), sale_.end(), [&](const SaleLine& line) {
        return line.drug.code.compare(code, Qt::CaseInsensitive) == 0;
    });
}

void Frmycjj::showSale()
{
    const int first = MSFGridyfjg->FixedRows();
    MSFGridyfjg->setRows(first + static_cast<int>(sale_.size()));
    for (std::size_t i = 0; i < sale_.size(); ++i) {
        const SaleLine& line = sale_[i];
        const int row = first + static_cast<int>(i);
        MSFGridyfjg->setRowHeight(row, GridRowHeight);
        MSFGridyfjg->setTextMatrix(row, ColCode, line.drug.code);
        MSFGridyfjg->setTextMatrix(row, ColName, line.drug.name);
        MSFGridyfjg->setTextMatrix(row, ColDose, vb::Format(line.dose, DoseFormat));
        MSFGridyfjg->setTextMatrix(row, ColPrice, core::formatNumber(line.price));
        MSFGridyfjg->setTextMatrix(row, ColAmount, vb::Format(line.amount, AmountFormat));
    }
}

vb::Currency Frmycjj::total() const
{
    vb::Currency sum;
    for (const SaleLine& line : sale_) sum += line.amount;
    return sum;
}

// ---- taking a row back ----------------------------------------------------------

void Frmycjj::MSFGridyfjg_Click()
{
    const int clicked = MSFGridyfjg->MouseRow() - MSFGridyfjg->FixedRows();
    if (clicked < 0 || clicked >= static_cast<int>(sale_.size())) return;
    const PumpScope pumping(*this);

    const SaleLine line = sale_[clicked];
    sale_.erase(sale_.begin() + clicked);
    lookup_.take(line.drug);
    TxtYcjl->setText(vb::Format(line.dose, DoseFormat));
    TxtYchj->setText(vb::Variant(total()).toString());
    showSale();
    Txtycbm->SetFocusSelectAll();
    forms::DoEvents();
}

// ---- charge, clear, exit --------------------------------------------------------

void Frmycjj::Cmdcksf_Click()
{
    if (sale_.empty()) return;
    writer_.guarded([this] {
        // All sale rows and balance changes stand or fall together: on any error
        // nothing is written and the sale stays as it was for another try. The lines
        // and the visit are taken as they stand when the button is pressed.
        const std::vector<SaleLine> lines = sale_;
        const JournalRow row = saleRow();
        const auto outcome = writer_.write([&](dao::Database& db) { return writeSale(db, lines, row); });
        if (outcome != core::WriteRoutine::Outcome::Written) return;
        Qpcls();
        Txtycbm->SetFocus();
        forms::DoEvents();
    });
}

JournalRow Frmycjj::saleRow() const
{
    JournalRow row;
    row.date = forms::Clock::Today();
    row.kind = KindPrescriptionSale;
    row.origin = QStringLiteral("  ");
    row.source = QStringLiteral("  ");
    row.batch = QStringLiteral(" ");
    row.expiry = QDate::fromString(SaleExpiry, Qt::ISODate);
    row.recordNumber = visitRecordNumber_;
    row.department = visitDepartment_;
    row.handler = doctor_;
    row.operatorName = core::LoginUser;
    return row;
}

bool Frmycjj::writeSale(dao::Database& db, const std::vector<SaleLine>& lines, JournalRow row)
{
    StockLedger ledger(db);
    for (const SaleLine& line : lines) {
        row.drugName = line.drug.name;
        row.quantityOut = line.dose;
        row.salesIncome = line.amount.toDouble();
        ledger.appendJournalRow(row);
        ledger.issue(line.drug.name, line.dose);
    }
    return true;
}

// While a charge runs the clear button does nothing: a failed charge leaves the grid
// as it was.
void Frmycjj::CmdQcls_Click()
{
    writer_.guarded([this] {
        Qpcls();
        forms::DoEvents();
        TxtBlhm->SetFocus();
    });
}

// Pressed from inside the pump of a running handler, the exit closes the window once
// that handler has ended (see Form::PumpScope).
void Frmycjj::CmdExit_Click() { Unload(); }

// The menus come back when the window really closes, never while a handler that
// delays the close still runs.
void Frmycjj::Form_QueryUnload(int& /*cancel*/) { core::menuOn(); }

}  // namespace dispensary
