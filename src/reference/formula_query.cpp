// The formula query window Frmfjll; see formula_query.h.
#include "reference/formula_query.h"

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
#include "reference/herb_lookup.h"

namespace reference {

namespace {
constexpr int HerbTab = 2;
const QueryWindow::Grid ResultGrid{
    .format = QStringLiteral("<  方 剂 名 称|<方 剂 组 成|<方 剂 功 用|<方 剂 主 治|<方 剂 用 法|<方 剂 来 源|<临 床 心 得"),
    .widths = {1400, 4500, 2000, 3000, 3000, 3500, 1600},
    .toolTip = QStringLiteral("点击鼠标选取要浏览的方剂")};
const QueryWindow::Query FormulaQuery{.table = QStringLiteral("zyfj"),
                                      .nameColumn = QStringLiteral("fjmc"),
                                      .order = QStringLiteral("order by fjmc "),
                                      .resultQuery = QStringLiteral("fjcx"),
                                      .noCriterion = QStringLiteral("输入查询条件。"),
                                      .noMatch = QStringLiteral("查询条件输入错误。"),
                                      .noName = QStringLiteral("未有要查询的方剂"),
                                      .trimInPlace = true};
}  // namespace

Frmfjll::Frmfjll()
    : QueryWindow({QStringLiteral("方剂查询"), QStringLiteral("方剂具体内容"), QStringLiteral("相关药材内容")}, ResultGrid,
                  FormulaQuery),
      Data1(new forms::DataControl(this)), Data2(new forms::DataControl(this)),
      Data3(new forms::DataControl(this)), Data4(new forms::DataControl(this)),
      Data5(new forms::DataControl(this))
{
    setCaption(QStringLiteral("方剂内容浏览"));
    setClientSize(11670, 8040);

    QWidget* query = SSTab1->Page(QueryTab);
    Txtmcyc = core::makeBox(query, 20);
    for (forms::DBCombo** combo : {&Cbofjly, &Cbocxyc1, &Cbocxyc2, &Cbocxyc3, &Cboycgx1, &Cboycgx2, &Cboycgx3,
                                   &Cboyczz1, &Cboyczz2, &Cboyczz3, &Cbofjlc1, &Cbofjlc2, &Cbofjlc3})
        *combo = newCombo(QueryTab);
    CmdSeek = core::makeButton(query, QStringLiteral("查询&L"));
    CmdQcls = core::makeButton(query, QStringLiteral("清屏&Q"));
    CmdExit = core::makeButton(query, QStringLiteral("退出&E"));
    CmdHelp = core::makeButton(query, QStringLiteral("帮助&H"));
    MSFGridzyfj = grid();

    QWidget* formula = SSTab1->Page(DetailTab);
    using Lines = forms::TextBox::Lines;
    Txtfjmc = new forms::TextBox(formula);
    Txtfjgc = new forms::TextBox(formula, Lines::Multi);
    Txtfjgx = new forms::TextBox(formula, Lines::Multi);
    Txtfjzz = new forms::TextBox(formula, Lines::Multi);
    Txtfjyf = new forms::TextBox(formula, Lines::Multi);
    Txtfjly = new forms::TextBox(formula);
    Txtfjlc = new forms::TextBox(formula, Lines::Multi);
    for (const char* caption : {"名称", "方剂功效", "来源", "方剂构成", "方剂用法", "方剂临床治疗心得", "方剂主治"})
        Labfj.add(newLabel(DetailTab, caption));

    herbs = std::make_unique<HerbLookup>(Txtfjgc, SSTab1, HerbTab, HerbLookup::Kind::Query);

    layOut();
    // The conditions in this order: name, herbs, effects, indications, notes, source.
    setCriteria({{"fjmc", Txtmcyc},  {"fjgc", Cbocxyc1}, {"fjgc", Cbocxyc2}, {"fjgc", Cbocxyc3}, {"fjgy", Cboycgx1},
                 {"fjgy", Cboycgx2}, {"fjgy", Cboycgx3}, {"fjzz", Cboyczz1}, {"fjzz", Cboyczz2}, {"fjzz", Cboyczz3},
                 {"fjxd", Cbofjlc1}, {"fjxd", Cbofjlc2}, {"fjxd", Cbofjlc3}, {"fjly", Cbofjly}});
    std::vector<forms::Control*> labels(Labfj.begin(), Labfj.end());
    setDetail({Txtfjmc, Txtfjgc, Txtfjgx, Txtfjzz, Txtfjyf, Txtfjly, Txtfjlc}, labels);
    addPickList(Data1, QStringLiteral("select ycmc from zyyc"), QStringLiteral("ycmc"), {Cbocxyc1, Cbocxyc2, Cbocxyc3});
    addPickList(Data2, QStringLiteral("select fjgy from fjgy"), QStringLiteral("fjgy"), {Cboycgx1, Cboycgx2, Cboycgx3});
    addPickList(Data3, QStringLiteral("select fjzz from fjzz"), QStringLiteral("fjzz"), {Cboyczz1, Cboyczz2, Cboyczz3});
    addPickList(Data4, QStringLiteral("select distinct fjly from zyfj"), QStringLiteral("fjly"), {Cbofjly});
    addPickList(Data5, QStringLiteral("select fjlc from lcfj"), QStringLiteral("fjlc"), {Cbofjlc1, Cbofjlc2, Cbofjlc3});

    // Enter walks the criteria that hold text up to 查询, and the formula boxes that
    // hold more than blanks (the notes with the caret at the end).
    constexpr Test any = Test::Any;
    constexpr Focus plain = Focus::Plain;
    chain({{Txtmcyc, Cbofjly, any, plain},   {Cbofjly, Cbocxyc1, any, plain},  {Cbocxyc1, Cbocxyc2, any, plain},
           {Cbocxyc2, Cbocxyc3, any, plain}, {Cbocxyc3, Cboycgx1, any, plain}, {Cboycgx1, Cboycgx2, any, plain},
           {Cboycgx2, Cboycgx3, any, plain}, {Cboycgx3, Cboyczz1, any, plain}, {Cboyczz1, Cboyczz2, any, plain},
           {Cboyczz2, Cboyczz3, any, plain}, {Cboyczz3, CmdSeek, any, plain},
           {Txtfjmc, Txtfjgc, Test::Filled}, {Txtfjgc, Txtfjgx, Test::Filled}, {Txtfjgx, Txtfjzz, Test::Filled},
           {Txtfjzz, Txtfjyf, Test::Filled}, {Txtfjyf, Txtfjlc, Test::Filled, Focus::End},
           {Txtfjlc, Txtfjly, Test::Filled}, {Txtfjly, nullptr}});
    chainHerbPanel(*herbs);
    onceOnClick(CmdSeek, [this] { CmdSeek_Click(); });
    onceOnClick(CmdQcls, [this] { CmdQcls_Click(); });
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("F-J")); };
    CmdExit->Click = [this] { Unload(); };
    onceOnClick(MSFGridzyfj, [this] { MSFGridzyfj_Click(); });
    Txtfjly->GotFocus = [this] { Txtfjly_GotFocus(); };
}

Frmfjll::~Frmfjll() = default;

void Frmfjll::layOut()
{
    core::placeAll({
        {SSTab1, 0, 0, 11670, 8040}, {newLabel(QueryTab, "名称"), 120, 300, 900, 300},
        {Txtmcyc, 1020, 240, 1860, 360}, {newLabel(QueryTab, "方剂来源"), 3000, 300, 900, 300},
        {Cbofjly, 3900, 240, 4740, 360}, {newLabel(QueryTab, "药材1"), 120, 780, 900, 300},
        {Cbocxyc1, 1020, 720, 1860, 360}, {newLabel(QueryTab, "药材2"), 3000, 780, 900, 300},
        {Cbocxyc2, 3900, 720, 1860, 360}, {newLabel(QueryTab, "药材3"), 5880, 780, 900, 300},
        {Cbocxyc3, 6780, 720, 1860, 360}, {newLabel(QueryTab, "功效1"), 120, 1260, 900, 300},
        {Cboycgx1, 1020, 1200, 1860, 360}, {newLabel(QueryTab, "功效2"), 3000, 1260, 900, 300},
        {Cboycgx2, 3900, 1200, 1860, 360}, {newLabel(QueryTab, "功效3"), 5880, 1260, 900, 300},
        {Cboycgx3, 6780, 1200, 1860, 360}, {newLabel(QueryTab, "主治1"), 120, 1740, 900, 300},
        {Cboyczz1, 1020, 1680, 1860, 360}, {newLabel(QueryTab, "主治2"), 3000, 1740, 900, 300},
        {Cboyczz2, 3900, 1680, 1860, 360}, {newLabel(QueryTab, "主治3"), 5880, 1740, 900, 300},
        {Cboyczz3, 6780, 1680, 1860, 360}, {newLabel(QueryTab, "临床1"), 120, 2220, 900, 300},
        {Cbofjlc1, 1020, 2160, 1860, 360}, {newLabel(QueryTab, "临床2"), 3000, 2220, 900, 300},
        {Cbofjlc2, 3900, 2160, 1860, 360}, {newLabel(QueryTab, "临床3"), 5880, 2220, 900, 300},
        {Cbofjlc3, 6780, 2160, 1860, 360}, {CmdSeek, 8880, 240, 1200, 495},
        {CmdQcls, 10200, 240, 1200, 495}, {CmdHelp, 8880, 840, 1200, 495},
        {CmdExit, 10200, 840, 1200, 495}, {MSFGridzyfj, 120, 2700, 11160, 4680},
        {Labfj(0), 180, 300, 840, 720}, {Txtfjmc, 1080, 240, 4200, 375},
        {Labfj(2), 5460, 300, 840, 720}, {Txtfjly, 6360, 240, 4800, 375},
        {Labfj(3), 180, 900, 840, 720}, {Txtfjgc, 1080, 840, 4200, 1800},
        {Labfj(1), 5460, 900, 840, 720}, {Txtfjgx, 6360, 840, 4800, 1800},
        {Labfj(6), 180, 2820, 840, 720}, {Txtfjzz, 1080, 2760, 4200, 1800},
        {Labfj(4), 5460, 2820, 840, 720}, {Txtfjyf, 6360, 2760, 4800, 1800},
        {Labfj(5), 180, 4740, 840, 720}, {Txtfjlc, 1080, 4680, 10080, 2400}
    });
    core::giveLook(MSFGridzyfj, core::look::GridFontSize, false);
    giveDetailLook({Txtfjmc, Txtfjgc, Txtfjgx, Txtfjzz, Txtfjyf, Txtfjly, Txtfjlc}, Labfj);
    setTabOrder({Txtmcyc, Cbofjly, Cbocxyc1, Cbocxyc2, Cbocxyc3, Cboycgx1, Cboycgx2, Cboycgx3, Cboyczz1,
                 Cboyczz2, Cboyczz3, Cbofjlc1, Cbofjlc2, Cbofjlc3, CmdSeek, CmdQcls, CmdHelp, CmdExit,
                 MSFGridzyfj});
}

void Frmfjll::Txtfjly_GotFocus()
{
    Txtfjly->setSelStart(0);
    Txtfjly->setSelLength(Txtfjly->Text().size());
}

// ---- opening and reset --------------------------------------------------------------

void Frmfjll::Form_Load()
{
    core::placeKnowledgeBase(*this);
    setUpGrid();
    forms::DoEvents();
    fjkcxsgb();
    runOnce([this] { Qpcls(); });
    forms::DoEvents();
}

void Frmfjll::Form_Activate()
{
    forms::DoEvents();
    forms::DoEvents();
}

void Frmfjll::Qpcls()
{
    herbs->clear();
    reset([this] { msfgridfjadd(); });
}

void Frmfjll::CmdQcls_Click()
{
    Qpcls();
    forms::DoEvents();
}

void Frmfjll::msfgridfjadd()
{
    listRows([](dao::Database& db) { return db.openTable(QStringLiteral("zyfj")); });
}

void Frmfjll::MSFGridzyfj_Click()
{
    if (const auto name = clickedName()) showRecord(*name);
}

// The menus come back when the window really closes, never while a handler that
// delays the close still runs.
void Frmfjll::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

}  // namespace reference
