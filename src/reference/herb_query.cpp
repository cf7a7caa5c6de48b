// The herb query window Frmzyll; see herb_query.h.
#include "reference/herb_query.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/placement.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/like_criteria.h"
#include "reference/result_grid.h"

namespace reference {

namespace {
constexpr int ClientWidth = 11385;
constexpr int ClientHeight = 7920;
constexpr double DetailLabelSize = 11.25;
const QString GridFormat = QStringLiteral("<  药 材 名 称|<归 经|<性  味|<功  用|<主    治|<用   法|<宜     忌");
constexpr int ColumnWidths[] = {1400, 2000, 2000, 3000, 3500, 3500, 3600};

forms::DBCombo* makeCombo(QWidget* parent)
{
    auto* combo = new forms::DBCombo(parent);
    core::giveLook(combo);
    return combo;
}

forms::TextBox* makeDetailBox(QWidget* parent, bool multiLine)
{
    auto* box = new forms::TextBox(parent, multiLine ? forms::TextBox::Lines::Multi : forms::TextBox::Lines::Single);
    if (multiLine) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    box->setLocked(true);
    core::giveLook(box);
    return box;
}
}  // namespace

Frmzyll::Frmzyll()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("药材查询"), QStringLiteral("查询结果浏览")})),
      Txtmcyc(core::makeBox(SSTab1->Page(0), 20)),
      Cboycxw(makeCombo(SSTab1->Page(0))),
      Cboycgj(makeCombo(SSTab1->Page(0))),
      Cboycgx1(makeCombo(SSTab1->Page(0))),
      Cboycgx2(makeCombo(SSTab1->Page(0))),
      Cboycgx3(makeCombo(SSTab1->Page(0))),
      Cboyczz1(makeCombo(SSTab1->Page(0))),
      Cboyczz2(makeCombo(SSTab1->Page(0))),
      Cboyczz3(makeCombo(SSTab1->Page(0))),
      CmdSeek(core::makeButton(SSTab1->Page(0), QStringLiteral("查询&L"))),
      CmdQcls(core::makeButton(SSTab1->Page(0), QStringLiteral("清屏&Q"))),
      CmdHelp(core::makeButton(SSTab1->Page(0), QStringLiteral("使用帮助&H"))),
      CmdExit(core::makeButton(SSTab1->Page(0), QStringLiteral("退出&E"))),
      Msfgridzyyc(new forms::FlexGrid(SSTab1->Page(0))),
      Txtycmc(makeDetailBox(SSTab1->Page(1), false)),
      Txtycxw(makeDetailBox(SSTab1->Page(1), false)),
      Txtycgj(makeDetailBox(SSTab1->Page(1), false)),
      Txtycgy(makeDetailBox(SSTab1->Page(1), true)),
      Txtyczz(makeDetailBox(SSTab1->Page(1), true)),
      Txtycyj(makeDetailBox(SSTab1->Page(1), true)),
      Txtycyf(makeDetailBox(SSTab1->Page(1), true)),
      Txtycxd(makeDetailBox(SSTab1->Page(1), true)),
      Cmdedit(core::makeButton(SSTab1->Page(1), QStringLiteral("返回&B")))
{
    setCaption(QStringLiteral("中医药材内容浏览"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    for (const char* caption : {"名称", "功效", "主治", "宜忌", "性味", "用法", "行医心得", "归经"})
        Labbq.add(new forms::Label(SSTab1->Page(1), QString::fromUtf8(caption)));
    Msfgridzyyc->setToolTipText(QStringLiteral("点击鼠标选取要浏览的药材"));

    const auto source = [this] { return new forms::DataControl(this); };
    pickLists_.push_back(std::make_unique<PickList>(source(), QStringLiteral("select DISTINCT ycxw from zyyc order by ycxw"),
                                                    QStringLiteral("ycxw"), std::initializer_list<forms::DBCombo*>{Cboycxw}));
    pickLists_.push_back(std::make_unique<PickList>(source(), QStringLiteral("select DISTINCT ycgj from zyyc order by ycgj"),
                                                    QStringLiteral("ycgj"), std::initializer_list<forms::DBCombo*>{Cboycgj}));
    pickLists_.push_back(std::make_unique<PickList>(source(), QStringLiteral("select DISTINCT * from ycgy order by ycgy"),
                                                    QStringLiteral("ycgy"),
                                                    std::initializer_list<forms::DBCombo*>{Cboycgx1, Cboycgx2, Cboycgx3}));
    pickLists_.push_back(std::make_unique<PickList>(source(), QStringLiteral("select DISTINCT * from yczz"),
                                                    QStringLiteral("yczz"),
                                                    std::initializer_list<forms::DBCombo*>{Cboyczz1, Cboyczz2, Cboyczz3}));
    layOut();
    setTabOrder({Txtmcyc, Cboycxw, Cboycgj, Cboycgx1, Cboycgx2, Cboycgx3, Cboyczz1, Cboyczz2, Cboyczz3, CmdSeek,
                 CmdQcls, CmdHelp, CmdExit, Msfgridzyyc, Txtycmc, Txtycxw, Txtycgj, Txtycgy, Txtyczz, Txtycyj,
                 Txtycyf, Txtycxd, Cmdedit});

    CmdSeek->Click = [this] { CmdSeek_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("Y-C")); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    Cmdedit->Click = [this] { Cmdedit_Click(); };
    Msfgridzyyc->Click = [this] { Msfgridzyyc_Click(); };
    const std::pair<forms::TextBox*, forms::Control*> chain[] = {
        {Txtycmc, Txtycxw}, {Txtycxw, Txtycgj}, {Txtycgj, Txtycgy}, {Txtycgy, Txtyczz},
        {Txtyczz, Txtycyj}, {Txtycyj, Txtycyf}, {Txtycyf, Txtycxd}, {Txtycxd, Cmdedit}};
    for (const auto& [box, next] : chain)
        box->KeyPress = [this, next = next](int& keyAscii) { detailKeyPress(keyAscii, next); };
}

Frmzyll::~Frmzyll() = default;

// Three rows of three criteria with the buttons on their right and the grid below
// them; the browse tab's one-line boxes across the top, the texts in two columns.
void Frmzyll::layOut()
{
    SSTab1->Move(0, 0, ClientWidth, ClientHeight);
    const core::FieldLayout criteria(this, {600, 60, 60, 300, core::look::FontSize, false});
    const struct {
        const char* caption;
        forms::Control* box;
    } rows[3][3] = {{{"名称", Txtmcyc}, {"性味", Cboycxw}, {"归经", Cboycgj}},
                    {{"功效1", Cboycgx1}, {"功效2", Cboycgx2}, {"功效3", Cboycgx3}},
                    {{"主治1", Cboyczz1}, {"主治2", Cboyczz2}, {"主治3", Cboyczz3}}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            forms::Label* label = new forms::Label(SSTab1->Page(0), QString::fromUtf8(rows[row][col].caption));
            criteria.place(label, rows[row][col].box, 120 + col * 3180, 180 + row * 480, 2460);
        }
    CmdSeek->Move(9780, 180, 690, 360);
    CmdQcls->Move(10530, 180, 690, 360);
    CmdHelp->Move(9780, 660, 1440, 360);
    CmdExit->Move(9780, 1140, 1440, 360);
    core::giveLook(Msfgridzyyc, core::look::GridFontSize, false);
    Msfgridzyyc->Move(150, 1680, 10935, 5295);

    const core::FieldLayout details(this, {660, 60, 60, 600, DetailLabelSize, true});
    details.place(Labbq(0), Txtycmc, 120, 180, 2580);
    details.place(Labbq(4), Txtycxw, 3480, 180, 2580);
    details.place(Labbq(7), Txtycgj, 6840, 180, 3720);
    const struct {
        int label;
        forms::TextBox* box;
        int left;
        int top;
        int width;
        int height;
    } areas[] = {{1, Txtycgy, 120, 660, 4680, 1920}, {2, Txtyczz, 120, 2700, 4680, 2040},
                 {3, Txtycyj, 120, 4860, 4680, 1740}, {5, Txtycyf, 5580, 660, 4980, 2520},
                 {6, Txtycxd, 5580, 3300, 4980, 3300}};
    for (const auto& area : areas) {
        details.place(Labbq(area.label), area.box, area.left, area.top, area.width);
        area.box->setHeight(area.height);
    }
    Cmdedit->Move(9540, 6720, 1440, 420);
}

std::vector<forms::Control*> Frmzyll::panel() const
{
    std::vector<forms::Control*> controls{Txtycmc, Txtycxw, Txtycgj, Txtycgy, Txtyczz, Txtycyj, Txtycyf, Txtycxd, Cmdedit};
    for (forms::Label* label : Labbq) controls.push_back(label);
    return controls;
}

void Frmzyll::kcxsgb()
{
    for (forms::Control* control : panel()) control->hide();
}

void Frmzyll::kcxsjb()
{
    for (forms::Control* control : panel()) control->show();
}

// ---- loading and reset ------------------------------------------------------------

void Frmzyll::Form_Load()
{
    const PumpScope pumping(*this);
    core::placeKnowledgeBase(*this);
    forms::DoEvents();
    Msfgridzyyc->setFormatString(GridFormat);
    Msfgridzyyc->setCols(7);
    Msfgridzyyc->setRows(2);
    Msfgridzyyc->setFixedCols(1);
    Msfgridzyyc->setFixedRows(1);
    for (int col = 0; col < 7; ++col) Msfgridzyyc->setColWidth(col, ColumnWidths[col]);
    forms::DoEvents();
    kcxsgb();
    Qpcls();
    forms::DoEvents();
}

void Frmzyll::Form_Activate() { forms::DoEvents(); }

void Frmzyll::Qpcls()
{
    const PumpScope pumping(*this);
    kcxsgb();
    SSTab1->setTab(1);
    core::runTrapped([this] {
        for (const auto& pickList : pickLists_) pickList->refill();
    });
    Txtmcyc->setText(QString());
    for (forms::DBCombo* combo : {Cboycxw, Cboycgj, Cboycgx1, Cboycgx2, Cboycgx3, Cboyczz1, Cboyczz2, Cboyczz3})
        combo->setText(QString());
    for (forms::TextBox* box : {Txtycmc, Txtycxw, Txtycgj, Txtycgy, Txtyczz, Txtycyj, Txtycyf, Txtycxd})
        box->setText(QString());
    forms::DoEvents();
    msfgridadd();
    forms::DoEvents();
    SSTab1->setTab(0);
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyll::msfgridadd()
{
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        dao::Recordset herbs = db.openRecordset(QStringLiteral("select * from zyyc order by ycmc"));
        fillGrid(*Msfgridzyyc, herbs);
    });
}

void Frmzyll::msfgridyccx(dao::Database& db)
{
    dao::Recordset found = db.openRecordset(QStringLiteral("yccx"));
    fillGrid(*Msfgridzyyc, found);
}

// ---- the query and the grid -------------------------------------------------------

void Frmzyll::CmdSeek_Click()
{
    const PumpScope pumping(*this);
    const auto text = [](const forms::DBCombo* combo) { return vb::Trim(combo->Text()); };
    const std::vector<LikeCriterion> criteria = {
        {QStringLiteral("ycmc"), vb::Trim(Txtmcyc->Text())},
        {QStringLiteral("ycgy"), text(Cboycgx1)}, {QStringLiteral("ycgy"), text(Cboycgx2)},
        {QStringLiteral("ycgy"), text(Cboycgx3)}, {QStringLiteral("ycgj"), text(Cboycgj)},
        {QStringLiteral("ycxw"), text(Cboycxw)},  {QStringLiteral("yczz"), text(Cboyczz1)},
        {QStringLiteral("yczz"), text(Cboyczz2)}, {QStringLiteral("yczz"), text(Cboyczz3)}};
    if (allEmpty(criteria)) {
        Txtmcyc->SetFocus();
        forms::Notice(QStringLiteral("输入查询条件。"));
        return;
    }
    try {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        const int found = db.storeAndOpen(QStringLiteral("yccx"), QStringLiteral("select * from zyyc where ")
                                                                      + likeConditions(criteria)
                                                                      + QStringLiteral(" order by ycmc"))
                              .recordCount();
        forms::Screen::setMousePointer(forms::vbHourglass);
        if (found == 0) {
            db.close();
            forms::Notice(QStringLiteral("没有符合条件的药材。"));
            Qpcls();
        } else {
            forms::DoEvents();
            msfgridyccx(db);
        }
    } catch (const std::exception& error) {
        forms::ReportErrorLine(error);
    }
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyll::Msfgridzyyc_Click()
{
    const int row = Msfgridzyyc->MouseRow();
    if (row < 1 || row > Msfgridzyyc->Rows() - 1) return;
    Msfgridzyyc->setRow(row);
    Msfgridzyyc->setCol(0);
    const QString name = vb::Trim(Msfgridzyyc->Text());
    if (name.isEmpty()) {
        forms::Notice(QStringLiteral("未有要查询的药材"));
        return;
    }
    const PumpScope pumping(*this);
    core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset herb = db.storeAndOpen(QStringLiteral("ycnr"),
                                              QStringLiteral("select * from zyyc where ycmc = ") + dao::quote(name));
        if (herb.eof()) return;
        kcxsjb();
        forms::DoEvents();
        forms::TextBox* const boxes[] = {Txtycmc, Txtycgj, Txtycxw, Txtycgy, Txtyczz, Txtycyf, Txtycyj, Txtycxd};
        for (int col = 0; col < 8; ++col) boxes[col]->setText(herb.field(col).toString());
        SSTab1->setTab(1);
    });
}

void Frmzyll::detailKeyPress(int& keyAscii, forms::Control* next)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (auto* box = qobject_cast<forms::TextBox*>(next)) box->SetFocusSelectAll();
    else next->SetFocus();
}

void Frmzyll::Cmdedit_Click()
{
    SSTab1->setTab(0);
    kcxsgb();
    CmdSeek->SetFocus();
    forms::DoEvents();
}

void Frmzyll::CmdQcls_Click()
{
    Qpcls();
    forms::DoEvents();
}

void Frmzyll::CmdExit_Click()
{
    Unload();
    forms::DoEvents();
    core::menuOn();
}

}  // namespace reference
