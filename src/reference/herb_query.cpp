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
constexpr int ClientWidth = 11385;
constexpr int ClientHeight = 7920;
constexpr double DetailLabelSize = 11.25;

const QueryWindow::Grid ResultGrid{
    QStringLiteral("<  药 材 名 称|<归 经|<性  味|<功  用|<主    治|<用   法|<宜     忌"),
    {1400, 2000, 2000, 3000, 3500, 3500, 3600}};

QueryWindow::Query herbQuery()
{
    return {QStringLiteral("zyyc"),          QStringLiteral("ycmc"),        QStringLiteral(" order by ycmc"),
            QStringLiteral("yccx"),          QStringLiteral("输入查询条件。"), QStringLiteral("没有符合条件的药材。"),
            QStringLiteral("未有要查询的药材")};
}

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
    : QueryWindow({QStringLiteral("药材查询"), QStringLiteral("查询结果浏览")}, ResultGrid, herbQuery()),
      Txtmcyc(core::makeBox(SSTab1->Page(QueryTab), 20)),
      Cboycxw(makeCombo(SSTab1->Page(QueryTab))),
      Cboycgj(makeCombo(SSTab1->Page(QueryTab))),
      Cboycgx1(makeCombo(SSTab1->Page(QueryTab))),
      Cboycgx2(makeCombo(SSTab1->Page(QueryTab))),
      Cboycgx3(makeCombo(SSTab1->Page(QueryTab))),
      Cboyczz1(makeCombo(SSTab1->Page(QueryTab))),
      Cboyczz2(makeCombo(SSTab1->Page(QueryTab))),
      Cboyczz3(makeCombo(SSTab1->Page(QueryTab))),
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
    setClientSize(ClientWidth, ClientHeight);
    for (const char* caption : {"名称", "功效", "主治", "宜忌", "性味", "用法", "行医心得", "归经"})
        Labbq.add(new forms::Label(SSTab1->Page(DetailTab), QString::fromUtf8(caption)));
    Msfgridzyyc->setToolTipText(QStringLiteral("点击鼠标选取要浏览的药材"));

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

    CmdSeek->Click = [this] { runQuery(); };
    CmdQcls->Click = [this] {
        Qpcls();
        forms::DoEvents();
    };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("Y-C")); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    Cmdedit->Click = [this] { Cmdedit_Click(); };
    Msfgridzyyc->Click = [this] { Msfgridzyyc_Click(); };
    chain({{Txtycmc, Txtycxw}, {Txtycxw, Txtycgj}, {Txtycgj, Txtycgy}, {Txtycgy, Txtyczz}, {Txtyczz, Txtycyj},
           {Txtycyj, Txtycyf}, {Txtycyf, Txtycxd}, {Txtycxd, Cmdedit, Test::None, Focus::Plain}});
}

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
            forms::Label* label = new forms::Label(SSTab1->Page(QueryTab), QString::fromUtf8(rows[row][col].caption));
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

// ---- loading and reset ------------------------------------------------------------

void Frmzyll::Form_Load()
{
    const PumpScope pumping(*this);
    core::placeKnowledgeBase(*this);
    forms::DoEvents();
    setUpGrid();
    forms::DoEvents();
    kcxsgb();
    Qpcls();
    forms::DoEvents();
}

void Frmzyll::Form_Activate() { forms::DoEvents(); }

void Frmzyll::Qpcls()
{
    kcxsgb();
    reset([this] { msfgridadd(); });
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
