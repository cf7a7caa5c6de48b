// The diagnosis entry window Frmzyzddl; see diagnosis_entry.h.
#include "reference/diagnosis_entry.h"

#include "core/globals.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/result_grid.h"

namespace reference {

namespace zybz = data::zybz;

namespace {
constexpr int RowHeight = 460;
const QString GridFormat = QStringLiteral("^病症名称|<临床症状表现|<病症成因|<治疗措施");
constexpr int ColumnWidths[] = {1600, 8200, 3200, 4000};
}  // namespace

Frmzyzddl::Frmzyzddl()
    : TxtBzmc(core::makeBox(this, 200)),
      Txtbzzz(core::makeTextArea(this, 248)),
      Txtbzcy(core::makeTextArea(this, 248)),
      TxtZlcs(core::makeTextArea(this, 248)),
      Label1(core::makeLabel(this, QStringLiteral("病症名称"))),
      Label2(core::makeLabel(this, QStringLiteral("病症症状"))),
      Label3(core::makeLabel(this, QStringLiteral("病症成因"))),
      Label4(core::makeLabel(this, QStringLiteral("治疗措施"))),
      CmdSave(core::makeButton(this, QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(this, QStringLiteral("修改&E"))),
      Cmddele(core::makeButton(this, QStringLiteral("删除&D"))),
      CmdQcls(core::makeButton(this, QStringLiteral("清屏&Q"))),
      Cmdprnt(core::makeButton(this, QStringLiteral("编辑打印&P"))),
      CmdHelp(core::makeButton(this, QStringLiteral("操作帮助&H"))),
      CmdExit(core::makeButton(this, QStringLiteral("结束&T"))),
      Labsl(core::makeLabel(this)),
      MSFGridzyzd(new forms::FlexGrid(this))
{
    setClientSize(11370, 7740);
    setWindowButtons(WindowButtons::None);
    openRoad({TxtBzmc, CmdSave, Cmdedit},
             KnowledgeRecord(QStringLiteral("zybz"), QStringLiteral("zybzi"), {TxtBzmc, Txtbzzz},
                             {{zybz::bzmc, TxtBzmc, true, false}, {zybz::bzqk, Txtbzzz, true, false},
                              {zybz::bzcy, Txtbzcy}, {zybz::zlcs, TxtZlcs}},
                             KnowledgeRecord::NoEnteredBy));
    setChecks({.required = {{TxtBzmc, QStringLiteral("输入病症名称")},
                            {Txtbzzz, QStringLiteral("输入病症症状")},
                            {Txtbzcy, QStringLiteral("输入病症成因")},
                            {TxtZlcs, QStringLiteral("输入病症的治疗措施")}},
               .trimmed = {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}});
    setPrint({.lines = {{QStringLiteral("病症名称："), TxtBzmc},
                        {QStringLiteral("病症症状："), Txtbzzz},
                        {QStringLiteral("病症成因："), Txtbzcy},
                        {QStringLiteral("治疗措施："), TxtZlcs}},
              .dateLine = DateLine::Next,
              .refusedFocus = CmdQcls,
              .refusalTitled = true});
    MSFGridzyzd->setToolTipText(QStringLiteral("点击鼠标选取要浏览编辑的病症"));
    layOut();
    wireButtons({CmdSave, Cmdedit, CmdQcls, Cmdprnt});

    // Enter moves along name, symptoms, cause, treatment once a box holds text; the
    // treatment box then takes the line break itself. No box takes a blank.
    const std::pair<forms::TextBox*, forms::TextBox*> chain[] = {{TxtBzmc, Txtbzzz}, {Txtbzzz, Txtbzcy},
                                                                  {Txtbzcy, TxtZlcs}};
    for (const auto& [box, next] : chain)
        box->KeyPress = [box, next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii) && !vb::Trim(box->Text()).isEmpty()) next->SetFocusEnd();
        };
    TxtZlcs->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace) keyAscii = 0;
        if (keyAscii == forms::vbKeyReturn && vb::Trim(TxtZlcs->Text()).isEmpty()) keyAscii = 0;
    };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("ZD")); };
    CmdExit->Click = [this] { Unload(); };
    MSFGridzyzd->Click = [this] { MSFGridzyzd_Click(); };
}

// Every control in 宋体 10.5 pt; the labels two lines of two characters.
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
    for (forms::Label* label : {Label1, Label2, Label3, Label4}) label->setWordWrap(true);
    setTabOrder({TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs, CmdSave, Cmdedit, Cmddele, CmdQcls, Cmdprnt, CmdHelp, CmdExit,
                 MSFGridzyzd});
}

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


void Frmzyzddl::Qpcls()
{
    Labsl->setCaption(QString());
    KnowledgeEntry::Qpcls();
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
        Labsl->setCaption(count == 0 ? QStringLiteral("0") : QStringLiteral("系统已经登录  ") + QString::number(count));
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

void Frmzyzddl::Cmddele_Click()
{
    road().remove(QStringLiteral("确实要删除 ") + vb::Trim(TxtBzmc->Text()) + QStringLiteral(" 的病症资料吗"),
                  QStringLiteral("没有找到要删除的病症资料。"), EntryRoad::DeleteCheck::InputsFirst);
}

}  // namespace reference
