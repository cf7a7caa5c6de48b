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

constexpr int ClientWidth = 11670;
constexpr int ClientHeight = 8040;
constexpr int HerbTab = 2;

const QueryWindow::Grid ResultGrid{
    QStringLiteral("<  方 剂 名 称|<方 剂 组 成|<方 剂 功 用|<方 剂 主 治|<方 剂 用 法|<方 剂 来 源|<临 床 心 得"),
    {1400, 4500, 2000, 3000, 3000, 3500, 1600}};

QueryWindow::Query formulaQuery()
{
    return {QStringLiteral("zyfj"),           QStringLiteral("fjmc"),         QStringLiteral("order by fjmc "),
            QStringLiteral("fjcx"),           QStringLiteral("输入查询条件。"), QStringLiteral("查询条件输入错误。"),
            QStringLiteral("未有要查询的方剂"), true};
}

}  // namespace

Frmfjll::Frmfjll()
    : QueryWindow({QStringLiteral("方剂查询"), QStringLiteral("方剂具体内容"), QStringLiteral("相关药材内容")}, ResultGrid,
                  formulaQuery()),
      Data1(new forms::DataControl(this)), Data2(new forms::DataControl(this)),
      Data3(new forms::DataControl(this)), Data4(new forms::DataControl(this)),
      Data5(new forms::DataControl(this))
{
    setCaption(QStringLiteral("方剂内容浏览"));
    setClientSize(ClientWidth, ClientHeight);

    QWidget* query = SSTab1->Page(QueryTab);
    Txtmcyc = core::makeBox(query, 20);
    for (forms::DBCombo** combo : {&Cbofjly, &Cbocxyc1, &Cbocxyc2, &Cbocxyc3, &Cboycgx1, &Cboycgx2, &Cboycgx3,
                                   &Cboyczz1, &Cboyczz2, &Cboyczz3, &Cbofjlc1, &Cbofjlc2, &Cbofjlc3})
        *combo = new forms::DBCombo(query);
    CmdSeek = core::makeButton(query, QStringLiteral("查询&L"));
    CmdQcls = core::makeButton(query, QStringLiteral("清屏&Q"));
    CmdExit = core::makeButton(query, QStringLiteral("退出&E"));
    CmdHelp = core::makeButton(query, QStringLiteral("帮助&H"));
    MSFGridzyfj = grid();
    MSFGridzyfj->setToolTipText(QStringLiteral("点击鼠标选取要浏览的方剂"));

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
        Labfj.add(new forms::Label(formula, QString::fromUtf8(caption)));

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
    CmdSeek->Click = [this] { runQuery(); };
    CmdQcls->Click = [this] {
        Qpcls();
        forms::DoEvents();
    };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("F-J")); };
    CmdExit->Click = [this] { Unload(); };
    MSFGridzyfj->Click = [this] { MSFGridzyfj_Click(); };
    Txtfjly->GotFocus = [this] { Txtfjly_GotFocus(); };
}

Frmfjll::~Frmfjll() = default;

void Frmfjll::layOut()
{
    SSTab1->setFont(core::look::FontName, core::look::FontSize);
    SSTab1->Move(0, 0, ClientWidth, ClientHeight);

    // Tab 0: five rows of labelled criteria, the buttons beside them, the grid below.
    struct Field {
        const char* caption;
        forms::Control* box;
        int row, column, span;
    };
    const Field fields[] = {
        {"名称", Txtmcyc, 0, 0, 1},    {"方剂来源", Cbofjly, 0, 1, 2},
        {"药材1", Cbocxyc1, 1, 0, 1},  {"药材2", Cbocxyc2, 1, 1, 1},  {"药材3", Cbocxyc3, 1, 2, 1},
        {"功效1", Cboycgx1, 2, 0, 1},  {"功效2", Cboycgx2, 2, 1, 1},  {"功效3", Cboycgx3, 2, 2, 1},
        {"主治1", Cboyczz1, 3, 0, 1},  {"主治2", Cboyczz2, 3, 1, 1},  {"主治3", Cboyczz3, 3, 2, 1},
        {"临床1", Cbofjlc1, 4, 0, 1},  {"临床2", Cbofjlc2, 4, 1, 1},  {"临床3", Cbofjlc3, 4, 2, 1},
    };
    constexpr int Top = 240, RowPitch = 480, Left = 120, BoxWidth = 1860, Pitch = 2880;
    const core::FieldLayout layout(SSTab1->Page(QueryTab), {900, 0, 60, 300, core::look::FontSize});
    for (const Field& field : fields) {
        const int left = Left + field.column * Pitch;
        const int top = Top + field.row * RowPitch;
        core::giveLook(field.box);
        layout.place(QString::fromUtf8(field.caption), field.box, left, top, BoxWidth + (field.span - 1) * Pitch);
    }
    const std::pair<forms::CommandButton*, QPoint> buttons[] = {
        {CmdSeek, {8880, 240}}, {CmdQcls, {10200, 240}}, {CmdHelp, {8880, 840}}, {CmdExit, {10200, 840}}};
    for (const auto& [button, at] : buttons) {
        core::giveLook(button, core::look::FontSize, false);
        button->Move(at.x(), at.y(), 1200, 495);
    }
    core::giveLook(MSFGridzyfj, core::look::GridFontSize, false);
    MSFGridzyfj->Move(Left, 2700, 11160, 4680);

    // Tab 1: name and source on one line, the long texts below in two columns.
    struct PanelBox {
        forms::TextBox* box;
        int label;
        int left, top, width, height;
    };
    const PanelBox panel[] = {
        {Txtfjmc, 0, 1080, 240, 4200, 375},  {Txtfjly, 2, 6360, 240, 4800, 375},
        {Txtfjgc, 3, 1080, 840, 4200, 1800}, {Txtfjgx, 1, 6360, 840, 4800, 1800},
        {Txtfjzz, 6, 1080, 2760, 4200, 1800}, {Txtfjyf, 4, 6360, 2760, 4800, 1800},
        {Txtfjlc, 5, 1080, 4680, 10080, 2400},
    };
    for (const PanelBox& place : panel) {
        place.box->Move(place.left, place.top, place.width, place.height);
        place.box->setLocked(true);
        if (place.box->MultiLine()) place.box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
        core::giveLook(place.box, core::look::DetailFontSize, false);
        place.box->setBackColor(core::look::DetailColor);
        place.box->setForeColor(Qt::white);
        forms::Label* label = Labfj(place.label);
        label->setFont(core::look::FontName, core::look::FontSize);
        label->setWordWrap(true);
        label->Move(place.left - 900, place.top + 60, 840, 720);
    }

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
    herbs->hidePanel();
    fjkcxsgb();
    Qpcls();
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
