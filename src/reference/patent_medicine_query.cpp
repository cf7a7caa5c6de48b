// The patent-medicine query window FrmCyzy; see patent_medicine_query.h.
#include "reference/patent_medicine_query.h"

#include "core/placement.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/main_window.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

namespace reference {

namespace {
constexpr int HerbTab = 2;
const QueryWindow::Grid ResultGrid{
    .format = QStringLiteral("<  中医成药名称|<中医成药组成|<中医成药功用|<中医成药主治|<中医成药用法|<临 床 心 得"),
    .widths = {1400, 4500, 2000, 3000, 3000, 3500},
    .toolTip = QStringLiteral("点击鼠标选取要浏览的方剂")};
const QueryWindow::Query PatentQuery{.table = QStringLiteral("fjcy"),
                                     .nameColumn = QStringLiteral("cymc"),
                                     .order = QStringLiteral("order by cymc "),
                                     .resultQuery = QStringLiteral("fjcx"),
                                     .noCriterion = QStringLiteral("输入查询条件。"),
                                     .noMatch = QStringLiteral("查询条件输入错误。"),
                                     .noName = QStringLiteral("未有要查询的方剂"),
                                     .trimInPlace = true};
}  // namespace

FrmCyzy::FrmCyzy()
    : QueryWindow({QStringLiteral("中医成药查询"), QStringLiteral("中医成药具体内容"),
                   QStringLiteral("中医药材内容浏览")},
                  ResultGrid, PatentQuery),
      Txtmcyc(core::makeBox(SSTab1->Page(QueryTab), 20)),
      Data1(new forms::DataControl(this)),
      Data2(new forms::DataControl(this)),
      Data3(new forms::DataControl(this)),
      MSFGridzyfj(grid()),
      CmdSeek(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("查询&L"))),
      CmdQcls(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("清屏&Q"))),
      CmdExit(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("退出&E"))),
      CmdHelp(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("帮助&H"))),
      Txtfjmc(new forms::TextBox(SSTab1->Page(DetailTab))),
      Txtfjgx(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      Txtfjzz(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      Txtfjgc(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      Txtfjyf(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      Txtfjlc(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      herbs(std::make_unique<HerbLookup>(Txtfjgc, SSTab1, HerbTab, HerbLookup::Kind::Query,
                                         HerbLookup::Rows::FullWidth))
{
    setCaption(QStringLiteral("中医成药查询"));
    setClientSize(11505, 8145);
    for (int i = 0; i < 3; ++i) {
        Cbocxyc.add(newCombo(QueryTab));
        Cboycgx.add(newCombo(QueryTab));
        Cboyczz.add(newCombo(QueryTab));
    }
    for (const char* caption : {"名称", "成药功效", "成药主治", "成药构成", "成药用法", "成药临床治疗心得"})
        Labfj.add(newLabel(DetailTab, caption));

    setCriteria({{"cymc", Txtmcyc},    {"cygc", Cbocxyc(0)}, {"cygc", Cbocxyc(1)}, {"cygc", Cbocxyc(2)},
                 {"cygy", Cboycgx(0)}, {"cygy", Cboycgx(1)}, {"cygy", Cboycgx(2)}, {"cyzz", Cboyczz(0)},
                 {"cyzz", Cboyczz(1)}, {"cyzz", Cboyczz(2)}});
    std::vector<forms::Control*> labels(Labfj.begin(), Labfj.end());
    setDetail({Txtfjmc, Txtfjgc, Txtfjgx, Txtfjzz, Txtfjyf, Txtfjlc}, labels);
    addPickList(Data1, QStringLiteral("select ycmc from zyyc"), QStringLiteral("ycmc"), {Cbocxyc(0), Cbocxyc(1), Cbocxyc(2)});
    addPickList(Data2, QStringLiteral("select cygy from cygx"), QStringLiteral("cygy"), {Cboycgx(0), Cboycgx(1), Cboycgx(2)});
    addPickList(Data3, QStringLiteral("select cyzz from cyzz"), QStringLiteral("cyzz"), {Cboyczz(0), Cboyczz(1), Cboyczz(2)});
    layOut();
    setTabOrder({Txtmcyc, Cbocxyc(0), Cbocxyc(1), Cbocxyc(2), Cboycgx(0), Cboycgx(1), Cboycgx(2), Cboyczz(0),
                 Cboyczz(1), Cboyczz(2), CmdSeek, CmdQcls, CmdExit, CmdHelp, MSFGridzyfj});
    chainKeys();

    onceOnClick(CmdSeek, [this] { CmdSeek_Click(); });
    onceOnClick(CmdQcls, [this] {
        Qpcls();
        forms::DoEvents();
    });
    CmdExit->Click = [this] { Unload(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("C-Y")); };
    onceOnClick(MSFGridzyfj, [this] { MSFGridzyfj_Click(); });
}

void FrmCyzy::layOut()
{
    core::placeAll({
        {SSTab1, 60, 60, 11385, 8025}, {newLabel(QueryTab, "名称"), 120, 240, 600, 300},
        {Txtmcyc, 720, 180, 2550, 360}, {newLabel(QueryTab, "药材1"), 120, 720, 600, 300},
        {Cbocxyc(0), 720, 660, 2550, 360}, {newLabel(QueryTab, "药材2"), 3420, 720, 600, 300},
        {Cbocxyc(1), 4020, 660, 2550, 360}, {newLabel(QueryTab, "药材3"), 6720, 720, 600, 300},
        {Cbocxyc(2), 7320, 660, 2550, 360}, {newLabel(QueryTab, "功效1"), 120, 1200, 600, 300},
        {Cboycgx(0), 720, 1140, 2550, 360}, {newLabel(QueryTab, "功效2"), 3420, 1200, 600, 300},
        {Cboycgx(1), 4020, 1140, 2550, 360}, {newLabel(QueryTab, "功效3"), 6720, 1200, 600, 300},
        {Cboycgx(2), 7320, 1140, 2550, 360}, {newLabel(QueryTab, "主治1"), 120, 1680, 600, 300},
        {Cboyczz(0), 720, 1620, 2550, 360}, {newLabel(QueryTab, "主治2"), 3420, 1680, 600, 300},
        {Cboyczz(1), 4020, 1620, 2550, 360}, {newLabel(QueryTab, "主治3"), 6720, 1680, 600, 300},
        {Cboyczz(2), 7320, 1620, 2550, 360}, {CmdSeek, 9960, 180, 1275, 375},
        {CmdQcls, 9960, 660, 1275, 375}, {CmdHelp, 9960, 1140, 1275, 375},
        {CmdExit, 9960, 1620, 1275, 375}, {MSFGridzyfj, 120, 2160, 11115, 5400},
        {Labfj(0), 120, 240, 900, 600}, {Txtfjmc, 1080, 180, 4500, 375},
        {Labfj(1), 120, 720, 900, 600}, {Txtfjgx, 1080, 660, 4500, 2040},
        {Labfj(2), 120, 2880, 900, 600}, {Txtfjzz, 1080, 2820, 4500, 2040},
        {Labfj(3), 5820, 240, 900, 600}, {Txtfjgc, 6780, 180, 4440, 3360},
        {Labfj(4), 120, 5040, 900, 600}, {Txtfjyf, 1080, 4980, 4500, 2040},
        {Labfj(5), 5820, 3720, 900, 600}, {Txtfjlc, 6780, 3660, 4440, 3360}
    });
    core::giveLook(MSFGridzyfj, core::look::LabelFontSize);   // the headings fit their columns
    giveDetailLook({Txtfjmc, Txtfjgx, Txtfjzz, Txtfjgc, Txtfjyf, Txtfjlc}, Labfj);
    Txtmcyc->setBackColor(core::look::DetailColor);
    Txtmcyc->setForeColor(Qt::white);
}

// Criteria move on with Enter once they hold text; the detail boxes once filled; the
// herb boxes always. No box takes a blank.
void FrmCyzy::chainKeys()
{
    constexpr Test any = Test::Any;
    constexpr Focus plain = Focus::Plain;
    chain({{Txtmcyc, Cbocxyc(0), any, plain},    {Cbocxyc(0), Cbocxyc(1), any, plain},
           {Cbocxyc(1), Cbocxyc(2), any, plain}, {Cbocxyc(2), Cboycgx(0), any, plain},
           {Cboycgx(0), Cboycgx(1), any, plain}, {Cboycgx(1), Cboycgx(2), any, plain},
           {Cboycgx(2), Cboyczz(0), any, plain}, {Cboyczz(0), Cboyczz(1), any, plain},
           {Cboyczz(1), Cboyczz(2), any, plain}, {Cboyczz(2), CmdSeek, any, plain},
           {Txtfjmc, Txtfjgc, Test::Filled},     {Txtfjgc, Txtfjgx, Test::Filled},
           {Txtfjgx, Txtfjzz, Test::Filled},     {Txtfjzz, Txtfjyf, Test::Filled},
           {Txtfjyf, Txtfjlc, Test::Filled, Focus::End}});
    Txtfjlc->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace) keyAscii = 0;
        if (keyAscii == forms::vbKeyReturn && vb::Trim(Txtfjlc->Text()).isEmpty()) Txtfjlc->setText(QString());
    };
    chainHerbPanel(*herbs);
}

// ---- opening and reset ------------------------------------------------------------

void FrmCyzy::Form_Load()
{
    core::placeKnowledgeBase(*this);
    setUpGrid();
    forms::DoEvents();
    CykcXsgb();
}

void FrmCyzy::Form_Activate()
{
    runOnce([this] { Qpcls(); });
}

void FrmCyzy::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

void FrmCyzy::Qpcls()
{
    herbs->clear();
    reset([this] { msfgridCyadd(); });
}

// Every medicine in the table's stored order; a Null row shows as empty cells.
void FrmCyzy::msfgridCyadd()
{
    listRows([](dao::Database& db) { return db.openTable(QStringLiteral("fjcy")); });
}

void FrmCyzy::MSFGridzyfj_Click()
{
    if (const auto name = clickedName()) showRecord(*name);
}

}  // namespace reference
