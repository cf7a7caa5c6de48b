// The herb query window Frmzyll; see herb_query.h.
#include "reference/herb_query.h"

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

namespace reference {

namespace {
const QueryWindow::Grid ResultGrid{
    .format = QStringLiteral("<  药 材 名 称|<归 经|<性  味|<功  用|<主    治|<用   法|<宜     忌"),
    .widths = {1400, 2000, 2000, 3000, 3500, 3500, 3600},
    .toolTip = QStringLiteral("点击鼠标选取要浏览的药材")};
const QueryWindow::Query HerbQuery{.table = QStringLiteral("zyyc"),
                                   .nameColumn = QStringLiteral("ycmc"),
                                   .order = QStringLiteral(" order by ycmc"),
                                   .resultQuery = QStringLiteral("yccx"),
                                   .noCriterion = QStringLiteral("输入查询条件。"),
                                   .noMatch = QStringLiteral("没有符合条件的药材。"),
                                   .noName = QStringLiteral("未有要查询的药材")};

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
    : QueryWindow({QStringLiteral("药材查询"), QStringLiteral("查询结果浏览")}, ResultGrid, HerbQuery),
      Txtmcyc(core::makeBox(SSTab1->Page(QueryTab), 20)),
      Cboycxw(newCombo(QueryTab)),
      Cboycgj(newCombo(QueryTab)),
      Cboycgx1(newCombo(QueryTab)),
      Cboycgx2(newCombo(QueryTab)),
      Cboycgx3(newCombo(QueryTab)),
      Cboyczz1(newCombo(QueryTab)),
      Cboyczz2(newCombo(QueryTab)),
      Cboyczz3(newCombo(QueryTab)),
      CmdSeek(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("查询&L"))),
      CmdQcls(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("清屏&Q"))),
      CmdHelp(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("使用帮助&H"))),
      CmdExit(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("退出&E"))),
      Msfgridzyyc(grid()),
      Txtycmc(makeDetailBox(SSTab1->Page(DetailTab), false)),
      Txtycxw(makeDetailBox(SSTab1->Page(DetailTab), false)),
      Txtycgj(makeDetailBox(SSTab1->Page(DetailTab), false)),
      Txtycgy(makeDetailBox(SSTab1->Page(DetailTab), true)),
      Txtyczz(makeDetailBox(SSTab1->Page(DetailTab), true)),
      Txtycyj(makeDetailBox(SSTab1->Page(DetailTab), true)),
      Txtycyf(makeDetailBox(SSTab1->Page(DetailTab), true)),
      Txtycxd(makeDetailBox(SSTab1->Page(DetailTab), true)),
      Cmdedit(core::makeButton(SSTab1->Page(DetailTab), QStringLiteral("返回&B")))
{
    setCaption(QStringLiteral("中医药材内容浏览"));
    setClientSize(11385, 7920);
    for (const char* caption : {"名称", "功效", "主治", "宜忌", "性味", "用法", "行医心得", "归经"})
        Labbq.add(newLabel(DetailTab, caption));

    setCriteria({{"ycmc", Txtmcyc}, {"ycgy", Cboycgx1}, {"ycgy", Cboycgx2}, {"ycgy", Cboycgx3}, {"ycgj", Cboycgj},
                 {"ycxw", Cboycxw}, {"yczz", Cboyczz1}, {"yczz", Cboyczz2}, {"yczz", Cboyczz3}});
    std::vector<forms::Control*> others{Cmdedit};
    for (forms::Label* label : Labbq) others.push_back(label);
    setDetail({Txtycmc, Txtycgj, Txtycxw, Txtycgy, Txtyczz, Txtycyf, Txtycyj, Txtycxd}, others);
    addPickList(nullptr, QStringLiteral("select DISTINCT ycxw from zyyc order by ycxw"), QStringLiteral("ycxw"), {Cboycxw});
    addPickList(nullptr, QStringLiteral("select DISTINCT ycgj from zyyc order by ycgj"), QStringLiteral("ycgj"), {Cboycgj});
    addPickList(nullptr, QStringLiteral("select DISTINCT * from ycgy order by ycgy"), QStringLiteral("ycgy"),
                {Cboycgx1, Cboycgx2, Cboycgx3});
    addPickList(nullptr, QStringLiteral("select DISTINCT * from yczz"), QStringLiteral("yczz"),
                {Cboyczz1, Cboyczz2, Cboyczz3});
    layOut();
    setTabOrder({Txtmcyc, Cboycxw, Cboycgj, Cboycgx1, Cboycgx2, Cboycgx3, Cboyczz1, Cboyczz2, Cboyczz3, CmdSeek,
                 CmdQcls, CmdHelp, CmdExit, Msfgridzyyc, Txtycmc, Txtycxw, Txtycgj, Txtycgy, Txtyczz, Txtycyj,
                 Txtycyf, Txtycxd, Cmdedit});

    onceOnClick(CmdSeek, [this] { CmdSeek_Click(); });
    onceOnClick(CmdQcls, [this] { CmdQcls_Click(); });
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("Y-C")); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    onceOnClick(Cmdedit, [this] { Cmdedit_Click(); });
    onceOnClick(Msfgridzyyc, [this] { Msfgridzyyc_Click(); });
    chain({{Txtycmc, Txtycxw}, {Txtycxw, Txtycgj}, {Txtycgj, Txtycgy}, {Txtycgy, Txtyczz}, {Txtyczz, Txtycyj},
           {Txtycyj, Txtycyf}, {Txtycyf, Txtycxd}, {Txtycxd, Cmdedit, Test::None, Focus::Plain}});
}

// Three rows of three criteria with the buttons on their right and the grid below
// them; the browse tab's one-line boxes across the top, the texts in two columns.
void Frmzyll::layOut()
{
    core::placeAll({
        {SSTab1, 0, 0, 11385, 7920}, {newLabel(QueryTab, "名称"), 120, 240, 600, 300},
        {Txtmcyc, 780, 180, 2460, 360}, {newLabel(QueryTab, "性味"), 3300, 240, 600, 300},
        {Cboycxw, 3960, 180, 2460, 360}, {newLabel(QueryTab, "归经"), 6480, 240, 600, 300},
        {Cboycgj, 7140, 180, 2460, 360}, {newLabel(QueryTab, "功效1"), 120, 720, 600, 300},
        {Cboycgx1, 780, 660, 2460, 360}, {newLabel(QueryTab, "功效2"), 3300, 720, 600, 300},
        {Cboycgx2, 3960, 660, 2460, 360}, {newLabel(QueryTab, "功效3"), 6480, 720, 600, 300},
        {Cboycgx3, 7140, 660, 2460, 360}, {newLabel(QueryTab, "主治1"), 120, 1200, 600, 300},
        {Cboyczz1, 780, 1140, 2460, 360}, {newLabel(QueryTab, "主治2"), 3300, 1200, 600, 300},
        {Cboyczz2, 3960, 1140, 2460, 360}, {newLabel(QueryTab, "主治3"), 6480, 1200, 600, 300},
        {Cboyczz3, 7140, 1140, 2460, 360}, {CmdSeek, 9780, 180, 690, 360},
        {CmdQcls, 10530, 180, 690, 360}, {CmdHelp, 9780, 660, 1440, 360},
        {CmdExit, 9780, 1140, 1440, 360}, {Msfgridzyyc, 150, 1680, 10935, 5295},
        {Labbq(0), 120, 240, 660, 600}, {Txtycmc, 840, 180, 2580, 360},
        {Labbq(4), 3480, 240, 660, 600}, {Txtycxw, 4200, 180, 2580, 360},
        {Labbq(7), 6840, 240, 660, 600}, {Txtycgj, 7560, 180, 3720, 360},
        {Labbq(1), 120, 720, 660, 600}, {Txtycgy, 840, 660, 4680, 1920},
        {Labbq(2), 120, 2760, 660, 600}, {Txtyczz, 840, 2700, 4680, 2040},
        {Labbq(3), 120, 4920, 660, 600}, {Txtycyj, 840, 4860, 4680, 1740},
        {Labbq(5), 5580, 720, 660, 600}, {Txtycyf, 6300, 660, 4980, 2520},
        {Labbq(6), 5580, 3360, 660, 600}, {Txtycxd, 6300, 3300, 4980, 3300},
        {Cmdedit, 9540, 6720, 1440, 420}
    });
    core::giveLook(Msfgridzyyc, core::look::GridFontSize, false);
    for (forms::Label* label : Labbq) {
        label->setFont(core::look::FontName, core::look::DetailFontSize);
        label->setWordWrap(true);
    }
}

// ---- loading and reset ------------------------------------------------------------

void Frmzyll::Form_Load()
{
    const PumpScope pumping(*this);
    core::placeKnowledgeBase(*this);
    forms::DoEvents();
    setUpGrid();
    forms::DoEvents();
    kcxsgb();
    runOnce([this] { Qpcls(); });
    forms::DoEvents();
}

void Frmzyll::Form_Activate() { forms::DoEvents(); }

void Frmzyll::Qpcls()
{
    kcxsgb();
    reset([this] { msfgridadd(); });
}

void Frmzyll::CmdQcls_Click()
{
    Qpcls();
    forms::DoEvents();
}

void Frmzyll::msfgridadd()
{
    listRows([](dao::Database& db) { return db.openRecordset(QStringLiteral("select * from zyyc order by ycmc")); });
}

// ---- the grid and the browse tab --------------------------------------------------

void Frmzyll::Msfgridzyyc_Click()
{
    if (const auto name = clickedName()) showRecord(*name);
}

void Frmzyll::Cmdedit_Click()
{
    SSTab1->setTab(QueryTab);
    kcxsgb();
    CmdSeek->SetFocus();
    forms::DoEvents();
}

void Frmzyll::CmdExit_Click()
{
    Unload();
    forms::DoEvents();
    core::menuOn();
}

}  // namespace reference
