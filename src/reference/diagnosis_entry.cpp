// The diagnosis entry window Frmzyzddl; see diagnosis_entry.h.
#include "reference/diagnosis_entry.h"

#include "core/placement.h"
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/hand_off_text.h"
#include "reference/result_grid.h"

namespace reference {

using namespace data;

namespace {
constexpr int RowHeight = 460;
const QString GridFormat = QStringLiteral("^病症名称|<临床症状表现|<病症成因|<治疗措施");
constexpr int ColumnWidths[] = {1600, 8200, 3200, 4000};

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }
}  // namespace

Frmzyzddl::Frmzyzddl()
    : TxtBzmc(new forms::TextBox(this)),
      Txtbzzz(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      Txtbzcy(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      TxtZlcs(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      Label1(new forms::Label(this, QStringLiteral("病症名称"))),
      Label2(new forms::Label(this, QStringLiteral("病症症状"))),
      Label3(new forms::Label(this, QStringLiteral("病症成因"))),
      Label4(new forms::Label(this, QStringLiteral("治疗措施"))),
      CmdSave(new forms::CommandButton(this, QStringLiteral("保存&B"))),
      Cmdedit(new forms::CommandButton(this, QStringLiteral("修改&E"))),
      Cmddele(new forms::CommandButton(this, QStringLiteral("删除&D"))),
      CmdQcls(new forms::CommandButton(this, QStringLiteral("清屏&Q"))),
      Cmdprnt(new forms::CommandButton(this, QStringLiteral("编辑打印&P"))),
      CmdHelp(new forms::CommandButton(this, QStringLiteral("操作帮助&H"))),
      CmdExit(new forms::CommandButton(this, QStringLiteral("结束&T"))),
      Labsl(new forms::Label(this)),
      MSFGridzyzd(new forms::FlexGrid(this)),
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { Qpcls(); }, TxtBzmc, CmdSave,
                              Cmdedit},
            KnowledgeRecord(QStringLiteral("zybz"), QStringLiteral("zybzi"), {TxtBzmc, Txtbzzz},
                            {{zybz::bzmc, TxtBzmc, true, false}, {zybz::bzqk, Txtbzzz, true, false},
                             {zybz::bzcy, Txtbzcy}, {zybz::zlcs, TxtZlcs}},
                            KnowledgeRecord::NoEnteredBy))
{
    setClientSize(11370, 7740);
    setWindowButtons(WindowButtons::None);
    TxtBzmc->setMaxLength(200);
    for (forms::TextBox* box : {Txtbzzz, Txtbzcy, TxtZlcs}) {
        box->setMaxLength(248);
        box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    }
    MSFGridzyzd->setToolTipText(QStringLiteral("点击鼠标选取要浏览编辑的病症"));
    layOut();
    setTabOrder({TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs, CmdSave, Cmdedit, Cmddele, CmdQcls, Cmdprnt, CmdHelp, CmdExit,
                 MSFGridzyzd});

    // Enter moves along name, symptoms, cause, treatment once a box holds text; the
    // treatment box then takes the line break itself. No box takes a blank.
    const std::pair<forms::TextBox*, forms::TextBox*> chain[] = {{TxtBzmc, Txtbzzz}, {Txtbzzz, Txtbzcy},
                                                                  {Txtbzcy, TxtZlcs}};
    for (const auto& [box, next] : chain)
        box->KeyPress = [box, next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii) && !trimmed(box).isEmpty()) next->SetFocusEnd();
        };
    TxtZlcs->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace) keyAscii = 0;
        if (keyAscii == forms::vbKeyReturn && trimmed(TxtZlcs).isEmpty()) keyAscii = 0;
    };
    CmdSave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    Cmdprnt->Click = [this] { Cmdprnt_Click(); };
    CmdHelp->Click = [this] { CmdHelp_Click(); };
    CmdExit->Click = [this] { Unload(); };
    MSFGridzyzd->Click = [this] { MSFGridzyzd_Click(); };
}

void Frmzyzddl::layOut()
{
    core::placeAll({
        {TxtBzmc, 840, 120, 5055, 375},     {Txtbzzz, 6480, 120, 4815, 1815},  {Txtbzcy, 840, 600, 5055, 1335},
        {TxtZlcs, 840, 2040, 5055, 1335},   {Label1, 240, 120, 495, 495},      {Label2, 6000, 120, 495, 495},
        {Label3, 240, 600, 495, 495},       {Label4, 240, 2040, 495, 495},     {CmdSave, 6000, 2160, 1575, 375},
        {Cmdedit, 7800, 2160, 1575, 375},   {Cmddele, 9600, 2160, 1575, 375},  {CmdQcls, 6000, 2640, 1575, 375},
        {Cmdprnt, 7800, 2640, 1575, 375},   {CmdHelp, 9600, 2640, 1575, 375},  {CmdExit, 9600, 3120, 1575, 375},
        {Labsl, 6000, 3240, 3375, 255},     {MSFGridzyzd, 120, 3600, 11055, 3975},
    });
    for (forms::Label* label : {Label1, Label2, Label3, Label4}) {
        label->setWordWrap(true);   // two lines of two characters
        core::giveLook(label, core::look::LabelFontSize, false);
    }
    for (forms::TextBox* box : {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}) core::giveLook(box);
}

// ---- opening, reset and the grid -------------------------------------------------

void Frmzyzddl::Form_Load()
{
    core::placeKnowledgeBase(*this);
    forms::DoEvents();
    MSFGridzyzd->setFormatString(GridFormat);
    MSFGridzyzd->setCols(4);
    MSFGridzyzd->setFixedRows(1);
    MSFGridzyzd->setFixedCols(1);
    MSFGridzyzd->setRows(2);
    for (int col = 0; col < 4; ++col) MSFGridzyzd->setColWidth(col, ColumnWidths[col]);
    MSFGridzyzd->setMergeCol(0, true);
    Qpcls();
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}

// Unloading waits for a running handler; the menus come back when the window goes.
void Frmzyzddl::Form_QueryUnload(int& /*cancel*/)
{
    core::menuOn();
    forms::DoEvents();
}

void Frmzyzddl::Qpcls()
{
    Labsl->setCaption(QString());
    for (forms::TextBox* box : {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}) box->setText(QString());
    msfgridaddzyzd();
}

// Every stored row is listed, one whose name is Null as an empty name cell.
void Frmzyzddl::msfgridaddzyzd()
{
    const PumpScope pumping(*this);
    MSFGridzyzd->setRowHeight(0, RowHeight);
    MSFGridzyzd->setMergeCells(false);
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        dao::Recordset rows =
            db.storeAndOpen(QStringLiteral("zybzqk"), QStringLiteral("select * from zybz order by bzmc,bzqk"));
        const int count = rows.recordCount();
        if (count == 0) MSFGridzyzd->setRows(1);
        else fillGrid(*MSFGridzyzd, rows, RowHeight);
        Labsl->setCaption(count == 0 ? QStringLiteral("0")
                                     : QStringLiteral("系统已经登录  ") + QString::number(count));
    });
    MSFGridzyzd->setMergeCells(true);
}

void Frmzyzddl::MSFGridzyzd_Click()
{
    const int row = MSFGridzyzd->MouseRow();
    if (row < 1 || row >= MSFGridzyzd->Rows()) return;
    MSFGridzyzd->setRow(row);
    forms::TextBox* boxes[] = {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs};
    for (int col = 0; col < 4; ++col) boxes[col]->setText(vb::Trim(MSFGridzyzd->TextMatrix(row, col)));
}

// ---- input check and the writing buttons ------------------------------------------

void Frmzyzddl::srnrJy()
{
    srnrcw = 1;
    const std::pair<forms::TextBox*, const char*> checks[] = {
        {TxtBzmc, "输入病症名称"}, {Txtbzzz, "输入病症症状"}, {Txtbzcy, "输入病症成因"}, {TxtZlcs, "输入病症的治疗措施"}};
    for (const auto& [box, message] : checks) box->setText(trimmed(box));
    for (const auto& [box, message] : checks) {
        if (!box->Text().isEmpty()) continue;
        forms::Notice(QString::fromUtf8(message));
        box->SetFocus();
        return;
    }
    srnrcw = 0;
}

void Frmzyzddl::Cmddele_Click()
{
    road_.remove(QStringLiteral("确实要删除 ") + trimmed(TxtBzmc) + QStringLiteral(" 的病症资料吗"),
                 QStringLiteral("没有找到要删除的病症资料。"), EntryRoad::DeleteCheck::InputsFirst);
}

// ---- the other buttons ------------------------------------------------------------

void Frmzyzddl::Cmdprnt_Click()
{
    core::runTrappedLine([this] {
        const QString name = trimmed(TxtBzmc), symptoms = trimmed(Txtbzzz), cause = trimmed(Txtbzcy),
                      treatment = trimmed(TxtZlcs);
        if (name.isEmpty() || symptoms.isEmpty() || cause.isEmpty() || treatment.isEmpty()) {
            forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly);
            CmdQcls->SetFocus();
            return;
        }
        forms::Screen::setMousePointer(forms::vbArrowHourglass);
        const QString text = handOffText({{QStringLiteral("病症名称："), name},
                                          {QStringLiteral("病症症状："), symptoms},
                                          {QStringLiteral("病症成因："), cause},
                                          {QStringLiteral("治疗措施："), treatment}},
                                         DateLine::Next);
        core::ShowTextInWord(text);
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyzddl::CmdQcls_Click()
{
    Qpcls();
    forms::DoEvents();
    TxtBzmc->SetFocus();
}

void Frmzyzddl::CmdHelp_Click() { core::ShowHelpFor(this, QStringLiteral("ZD")); }

}  // namespace reference
