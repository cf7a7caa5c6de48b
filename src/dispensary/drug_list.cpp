// The drug code and price list window Frmyjwh; see drug_list.h.
#include "dispensary/drug_list.h"

#include "core/globals.h"
#include "data/columns.h"
#include "core/help_window.h"
#include "core/main_window.h"
#include "dispensary/drug_list_export.h"
#include "dispensary/drug_lookup.h"
#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/entry_boxes.h"
#include "platform/dao/dao.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QFrame>

namespace dispensary {

namespace {
namespace D = data::ycjg;   // the drug list's columns; the grid shows them in their order

// Client area and the three bands of the window, in twips.
constexpr int ClientWidth = 10665;
constexpr int ClientHeight = 6645;
constexpr int Margin = 105;
constexpr int InputTop = 210;            // the labels, two lines of two characters, stand 60 higher
constexpr int FieldGap = 165;           // between an input and the next label
constexpr int ButtonTop = 780;
constexpr int ButtonWidth = 1215;
constexpr int ButtonHeight = 375;
constexpr int ButtonPitch = 1320;
constexpr int LineTop = 1440;
constexpr int GridTop = 1725;
constexpr int GridWidth = 10455;
constexpr int GridHeight = 4815;

constexpr int RowHeight = 400;
const QString GridFormat = QStringLiteral("<药品编码|<药 材 名 称|>药品销价|>计量单位|<药材类别");
constexpr int ColumnWidths[] = {1900, 2400, 1900, 1900, 2600};

const QString NotSaved = QStringLiteral("此条记录尚未保存");


}  // namespace

Frmyjwh::Frmyjwh()
    : CboYplb(new forms::ComboBox(this)),
      Txtycbm(new forms::TextBox(this)),
      Txtycmc(new forms::TextBox(this)),
      TxtJldw(new forms::TextBox(this)),
      Txtycdj(new forms::TextBox(this)),
      CmdSave(new forms::CommandButton(this, QStringLiteral("保存&S"))),
      CmdBmxg(new forms::CommandButton(this, QStringLiteral("修改编码"))),
      CmdMcxg(new forms::CommandButton(this, QStringLiteral("修改药名"))),
      Cmdedit(new forms::CommandButton(this, QStringLiteral("修改其它"))),
      Command1(new forms::CommandButton(this, QStringLiteral("操作说明&H"))),
      Cmddele(new forms::CommandButton(this, QStringLiteral("删除&D"))),
      CmdExit(new forms::CommandButton(this, QStringLiteral("打印&T"))),
      CmdQcls(new forms::CommandButton(this, QStringLiteral("清屏&Q"))),
      MSFGridBmmc(new forms::FlexGrid(this)),
      Label3(new forms::Label(this, QStringLiteral("药材销价"))),
      Line1(new QFrame(this))
{
    setCaption(QStringLiteral("药品价格维护"));
    setWindowButtons(WindowButtons::CloseBoxMinMax);
    for (const char* caption : {"药材编码", "药材名称", "计量单位", "药品类别"})
        Label1.add(new forms::Label(this, QString::fromUtf8(caption)));
    Txtycbm->setMaxLength(20);
    Txtycmc->setMaxLength(50);
    Txtycdj->setAlignment(forms::Alignment::Right);
    layOut();
    setTabOrder({CboYplb, Txtycbm, Txtycmc, Txtycdj, CmdSave, CmdBmxg, CmdMcxg, Cmdedit, Command1,
                 Cmddele, CmdExit, CmdQcls, TxtJldw});

    CboYplb->KeyPress = [this](int& keyAscii) { CboYplb_KeyPress(keyAscii); };
    Txtycbm->KeyPress = [this](int& keyAscii) { Txtycbm_KeyPress(keyAscii); };
    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    TxtJldw->KeyPress = [this](int& keyAscii) { TxtJldw_KeyPress(keyAscii); };
    Txtycdj->KeyPress = [this](int& keyAscii) { Txtycdj_KeyPress(keyAscii); };
    CmdSave->Click = [this] { CmdSave_Click(); };
    CmdBmxg->Click = [this] { CmdBmxg_Click(); };
    CmdMcxg->Click = [this] { CmdMcxg_Click(); };
    Cmdedit->Click = [this] { Cmdedit_Click(); };
    Command1->Click = [this] { Command1_Click(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    MSFGridBmmc->Click = [this] { MSFGridBmmc_Click(); };
}

Frmyjwh::~Frmyjwh() = default;

void Frmyjwh::layOut()
{
    // One row of labelled inputs: category, code, name, unit, price.
    struct Field {
        forms::Label* label;
        forms::Control* input;
        int width;
    };
    const Field fields[] = {{Label1(3), CboYplb, 2175}, {Label1(0), Txtycbm, 1575}, {Label1(1), Txtycmc, 1815},
                            {Label1(2), TxtJldw, 855},  {Label3, Txtycdj, 975}};
    const core::FieldLayout layout(this, {.width = 450, .gap = 30, .drop = -60, .height = 480, .wrap = true});
    int left = Margin;
    for (const Field& field : fields) {
        core::giveLook(field.input);
        left = layout.place(field.label, field.input, left, InputTop, field.width) + FieldGap;
    }

    int column = 0;
    for (forms::CommandButton* button : {CmdSave, CmdBmxg, CmdMcxg, Cmdedit, Command1, Cmddele, CmdExit, CmdQcls}) {
        core::giveLook(button, core::look::FontSize, false);
        button->Move(Margin + column++ * ButtonPitch, ButtonTop, ButtonWidth, ButtonHeight);
    }

    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(forms::toPixels(Margin), forms::toPixels(LineTop), forms::toPixels(GridWidth), 2);

    MSFGridBmmc->setFont(core::look::FontName, core::look::GridFontSize);
    MSFGridBmmc->setGridBackColor(core::look::BoxColor);
    MSFGridBmmc->Move(Margin, GridTop, GridWidth, GridHeight);
}

// ---- events of the window ---------------------------------------------------------

void Frmyjwh::Form_Load()
{
    forms::DoEvents();
    setClientSize(ClientWidth, ClientHeight);   // the MDI frame exists from here on
    PlaceOnScreen(4, 5);
    forms::DoEvents();
    MSFGridBmmc->setFormatString(GridFormat);
    MSFGridBmmc->setCols(5);
    MSFGridBmmc->setRows(2);
    MSFGridBmmc->setFixedRows(1);
    MSFGridBmmc->setFixedCols(1);
    for (int col = 0; col < 5; ++col) MSFGridBmmc->setColWidth(col, ColumnWidths[col]);
}

void Frmyjwh::Form_Activate() { Qpcls(); }

// The handlers that run the event pump (the grid fill, the writes, the export and its
// pause) hold a PumpScope: the close box pressed in the middle of one closes the
// window after it has ended, and only then do the menus come back.
void Frmyjwh::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

// ---- reset and fill ---------------------------------------------------------------

void Frmyjwh::Qpcls()
{
    const PumpScope pumping(*this);
    Txtycbm->setText(QString());
    Txtycmc->setText(QString());
    TxtJldw->setText(QString());
    Txtycdj->setText(QStringLiteral("0.00"));
    CboYplb->Clear();
    MSFGridBmmc->setRowHeight(0, RowHeight);
    MSFGridBmmc->setRows(1);
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        YplbAdd(db);
        GridBmmcAdd(db);
        db.close();
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmyjwh::YplbAdd(dao::Database& db)
{
    dao::Recordset categories =
        db.storeAndOpen(QStringLiteral("0001"), QStringLiteral("select distinct yplb from ycjg where ycbm<>'' "));
    if (!categories.eof() && !categories.field(0).isNull())
        for (; !categories.eof(); categories.moveNext()) CboYplb->AddItem(categories.field(0).toString());
    categories.close();
}

void Frmyjwh::GridBmmcAdd(dao::Database& db)
{
    dao::Recordset drugs = db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from ycjg order by ycbm"));
    if (!drugs.eof()) {
        MSFGridBmmc->setRows(drugs.recordCount() + 1);
        const forms::FlexGrid::RedrawPause paused(*MSFGridBmmc);   // the view told once, at the end
        forms::EventSlice pump;
        for (int row = 1; !drugs.eof(); drugs.moveNext(), ++row) {
            MSFGridBmmc->setRowHeight(row, RowHeight);
            for (int col = 0; col < 5; ++col)
                MSFGridBmmc->setTextMatrix(row, col, col == D::ycdj ? core::formatNumber(drugs.field(col))
                                                                    : drugs.field(col).toString());
            pump.DoEvents();
        }
    }
    drugs.close();
}

// ---- the input check --------------------------------------------------------------

void Frmyjwh::srnrJy()
{
    srnrcw = 1;
    CboYplb->setText(vb::Trim(CboYplb->Text()));
    Txtycbm->setText(vb::Trim(Txtycbm->Text().toUpper()));
    for (forms::TextBox* box : {Txtycmc, TxtJldw, Txtycdj}) box->setText(vb::Trim(box->Text()));

    // The price is read before any check runs, so a price beyond any range ends in
    // its overflow whatever else is missing.
    const bool priceIsNumber = core::holdsNumber(*Txtycdj);
    const bool priceNotPositive = priceIsNumber && core::numberIn(*Txtycdj) <= 0;
    const std::vector<core::InputCheck> checks = {
        {[this] { return CboYplb->Text().isEmpty(); }, QStringLiteral("输入药品类别"), Txtycmc, false},
        {[this] { return Txtycmc->Text().isEmpty(); }, QStringLiteral("输入药品名称"), Txtycmc, false},
        {[this] { return Txtycbm->Text().isEmpty(); }, QStringLiteral("输入药品编码"), Txtycbm, false},
        {[priceIsNumber] { return !priceIsNumber; }, QStringLiteral("药品单价输入错误"), Txtycdj, true},
        {[priceNotPositive] { return priceNotPositive; }, QStringLiteral("药品单价不能为零或小于零"), Txtycdj, true},
        {[this] { return TxtJldw->Text().isEmpty(); }, QStringLiteral("输入药品计量单位"), TxtJldw, false},
    };
    if (core::passesChecks(checks)) srnrcw = 0;
}

// ---- the writing buttons ----------------------------------------------------------

bool Frmyjwh::codeTaken(dao::Database& db)
{
    if (!findDrugByCode(db, Txtycbm->Text())) return false;
    forms::Notice(QStringLiteral("药品编码重复"));
    Txtycbm->SetFocusSelectAll();
    return true;
}

bool Frmyjwh::nameTaken(dao::Database& db)
{
    if (!findDrugByName(db, Txtycmc->Text())) return false;
    forms::Notice(QStringLiteral("药品名称重复"));
    Txtycmc->SetFocusSelectAll();
    return true;
}

void Frmyjwh::writeColumns(dao::Recordset& drug, const std::vector<int>& ordinals) const
{
    for (int ordinal : ordinals) {
        switch (ordinal) {
        case D::ycbm: drug.setField(ordinal, Txtycbm->Text()); break;
        case D::ycmc: drug.setField(ordinal, Txtycmc->Text()); break;
        case D::ycdj: drug.setField(ordinal, core::numberIn(*Txtycdj)); break;
        case D::jldw: drug.setField(ordinal, TxtJldw->Text()); break;
        case D::yplb: drug.setField(ordinal, CboYplb->Text()); break;
        }
    }
}

core::WriteRoutine::Work Frmyjwh::rewriteStoredDrug(const QString& index, const QString& key,
                                                     const std::vector<int>& ordinals)
{
    return [this, index, key, ordinals](dao::Database& db) {
        dao::Recordset drug = db.openTable(QStringLiteral("ycjg"));
        drug.setIndex(index);
        drug.seek(QStringLiteral("="), key);
        if (drug.noMatch()) return false;
        drug.edit();
        writeColumns(drug, ordinals);
        drug.update();
        drug.close();
        return true;
    };
}

void Frmyjwh::writeChecked(const core::WriteRoutine::Work& unique, const core::WriteRoutine::Work& change,
                           forms::Control* next)
{
    if (!core::runTrapped([this] { srnrJy(); }) || srnrcw == 1) return;
    bool isUnique = true;
    const core::WriteRoutine::Outcome outcome =
        writer_.write([&](dao::Database& db) { return isUnique = unique(db); }, change);
    if (outcome == core::WriteRoutine::Outcome::Written) {
        Qpcls();
        next->SetFocus();
    } else if (outcome == core::WriteRoutine::Outcome::Declined && isUnique) {
        forms::Notice(NotSaved);
        CmdSave->SetFocus();
    }
}

void Frmyjwh::CmdSave_Click()
{
    writer_.guarded([this] {
        writeChecked([this](dao::Database& db) { return !codeTaken(db) && !nameTaken(db); },
                     [this](dao::Database& db) {
                         dao::Recordset drug = db.openTable(QStringLiteral("ycjg"));
                         drug.addNew();
                         writeColumns(drug, {D::ycbm, D::ycmc, D::ycdj, D::jldw, D::yplb});
                         drug.update();
                         drug.close();
                         return true;
                     },
                     CboYplb);
    });
}

void Frmyjwh::CmdBmxg_Click()
{
    writer_.guarded([this] {
        writeChecked([this](dao::Database& db) { return !codeTaken(db); },
                     rewriteStoredDrug(QStringLiteral("ycmci"), Txtycmc->Text(), {D::ycbm, D::ycdj, D::jldw, D::yplb}),
                     CboYplb);
    });
}

void Frmyjwh::CmdMcxg_Click()
{
    writer_.guarded([this] {
        writeChecked([this](dao::Database& db) { return !nameTaken(db); },
                     rewriteStoredDrug(QStringLiteral("ycbmi"), Txtycbm->Text(), {D::ycmc, D::ycdj, D::jldw, D::yplb}),
                     CboYplb);
    });
}

void Frmyjwh::Cmdedit_Click()
{
    writer_.guarded([this] {
        writeChecked([](dao::Database&) { return true; },
                     rewriteStoredDrug(QStringLiteral("ycbmi"), Txtycbm->Text(), {D::ycdj, D::jldw, D::yplb}),
                     CboYplb);
    });
}

void Frmyjwh::Cmddele_Click()
{
    writer_.guarded([this] {
        if (!core::askedYes(QStringLiteral("确实要删除此条信息吗？"))) return;
        writeChecked([](dao::Database&) { return true; },
                     [this](dao::Database& db) {
                         dao::Recordset drug = db.openTable(QStringLiteral("ycjg"));
                         drug.setIndex(QStringLiteral("ycbmi"));
                         drug.seek(QStringLiteral("="), Txtycbm->Text());
                         if (drug.noMatch()) return false;
                         drug.remove();
                         drug.close();
                         return true;
                     },
                     Txtycbm);
    });
}

// ---- the other buttons and the grid -----------------------------------------------

void Frmyjwh::CmdQcls_Click()
{
    const PumpScope pumping(*this);
    Qpcls();
    forms::DoEvents();
    CboYplb->SetFocusSelectAll();
}

void Frmyjwh::Command1_Click() { core::ShowHelpFor(this, QStringLiteral("BM")); }

void Frmyjwh::CmdExit_Click()
{
    const PumpScope pumping(*this);
    exportDrugList(*MSFGridBmmc, CmdExit);
}

void Frmyjwh::MSFGridBmmc_Click()
{
    const int row = MSFGridBmmc->MouseRow();
    if (row < 1 || row > MSFGridBmmc->Rows() - 1) return;
    forms::TextBox* boxes[] = {Txtycbm, Txtycmc, Txtycdj, TxtJldw};
    for (int col = 0; col < 4; ++col) boxes[col]->setText(vb::Trim(MSFGridBmmc->TextMatrix(row, col)));
    CboYplb->setText(vb::Trim(MSFGridBmmc->TextMatrix(row, 4)));
    CboYplb->SetFocusSelectAll();
}

// ---- the Enter chain --------------------------------------------------------------

void Frmyjwh::CboYplb_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (core::filled(CboYplb->Text())) {
        Txtycbm->SetFocusSelectAll();
        return;
    }
    forms::Notice(QStringLiteral("输入药品类别，此项必须输入。"));
    CboYplb->SetFocus();
}

void Frmyjwh::Txtycbm_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txtycbm)) Txtycmc->SetFocusEnd();
}

void Frmyjwh::Txtycmc_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(Txtycmc)) TxtJldw->SetFocusSelectAll();
}

void Frmyjwh::TxtJldw_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii) && core::filled(TxtJldw)) Txtycdj->SetFocusSelectAll();
}

void Frmyjwh::Txtycdj_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    core::runTrapped([this] {   // a number beyond any range cannot be shown: its overflow is reported
        if (core::holdsNumber(*Txtycdj)) {
            core::showAsNumber(*Txtycdj);
            CmdSave->SetFocus();
            return;
        }
        forms::Notice(QStringLiteral("药品单价输入错误"));
        Txtycdj->SetFocusSelectAll();
    });
}

}  // namespace dispensary
