// The diagnosis query window Frmzyzdll; see diagnosis_query.h.
#include "reference/diagnosis_query.h"

#include "core/placement.h"
#include "core/globals.h"
#include "core/look.h"
#include "core/main_window.h"
#include "dictionary/dictionary_builder.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/like_criteria.h"

namespace reference {

using namespace data;

namespace {
constexpr int RowHeight = 460;
const QString GridQuery = QStringLiteral("zybzqk");   // the stored query of every grid fill
const QString Ordered = QStringLiteral(" order by bzmc,bzqk ");
const QueryWindow::Grid ResultGrid{.format = QStringLiteral("^病症名称|<临  床  症  状  表  现|<病症成因|<治疗措施"),
                                   .widths = {1600, 8200, 2000, 4000},
                                   .rowHeight = RowHeight,
                                   .toolTip = QStringLiteral("点击鼠标选取要浏览的病症")};
// Every criterion may be empty; the errors are shown as their description alone.
const QueryWindow::Query DiagnosisQuery{.table = QStringLiteral("zybz"),
                                        .nameColumn = QStringLiteral("bzmc"),
                                        .order = Ordered,
                                        .resultQuery = GridQuery,
                                        .noMatch = QStringLiteral("没有符合查询条件的内容"),
                                        .trap = core::runTrapped};

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }
}  // namespace

Frmzyzdll::Frmzyzdll()
    : QueryWindow({QStringLiteral("诊断查询浏览"), QStringLiteral("病症内容浏览")}, ResultGrid, DiagnosisQuery),
      Data1(new forms::DataControl(this)),
      Data2(new forms::DataControl(this)),
      Dbobzmc(newCombo(QueryTab)),
      Label1(newLabel(QueryTab, "病症名称")),
      MSFGridzyzd(grid()),
      CmdSeek(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("查询&S"))),
      CmdQcls(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("清屏&Q"))),
      CmdExit(core::makeButton(SSTab1->Page(QueryTab), QStringLiteral("结束&T"))),
      TxtBzmc(core::makeBox(SSTab1->Page(DetailTab), 0)),
      Txtbzzz(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      Txtbzcy(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      TxtZlcs(new forms::TextBox(SSTab1->Page(DetailTab), forms::TextBox::Lines::Multi)),
      CmdSave(core::makeButton(SSTab1->Page(DetailTab), QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(SSTab1->Page(DetailTab), QStringLiteral("修改&E"))),
      Cmddele(core::makeButton(SSTab1->Page(DetailTab), QStringLiteral("删除&D"))),
      CmdBack(core::makeButton(SSTab1->Page(DetailTab), QStringLiteral("返回首页"))),
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { qclsseek(); }, TxtBzmc,
                              CmdSave, Cmdedit},
            KnowledgeRecord(QStringLiteral("zybz"), QStringLiteral("zybzi"), {TxtBzmc, Txtbzzz},
                            {{zybz::bzmc, TxtBzmc, true, false}, {zybz::bzqk, Txtbzzz, true, false},
                             {zybz::bzcy, Txtbzcy}, {zybz::zlcs, TxtZlcs}},
                            KnowledgeRecord::NoEnteredBy))
{
    setClientSize(11505, 8145);
    for (int i = 0; i < 5; ++i) {
        Dbobzzz.add(newCombo(QueryTab));
        Label2.add(newLabel(QueryTab, "病症症状"));
    }
    for (const char* caption : {"病症名称", "病症症状", "病症成因", "治疗措施"})
        Labbt.add(newLabel(DetailTab, caption));
    for (forms::TextBox* box : {Txtbzzz, Txtbzcy, TxtZlcs}) {
        box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
        core::giveLook(box);
    }
    setCriteria({{"bzmc", Dbobzmc}, {"bzqk", Dbobzzz(0)}, {"bzqk", Dbobzzz(1)}, {"bzqk", Dbobzzz(2)},
                 {"bzqk", Dbobzzz(3)}, {"bzqk", Dbobzzz(4)}});
    std::vector<forms::Control*> others(Labbt.begin(), Labbt.end());
    others.insert(others.end(), {CmdSave, Cmdedit, Cmddele, CmdBack});
    setDetail({TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}, others);
    addPickList(Data1, QStringLiteral("select distinct bzmc from zybz order by bzmc"), QStringLiteral("bzmc"), {Dbobzmc});
    terms_ = &addPickList(Data2, QStringLiteral("select * from bzzz "), QStringLiteral("bzzz"),
                          {Dbobzzz(0), Dbobzzz(1), Dbobzzz(2), Dbobzzz(3), Dbobzzz(4)});
    layOut();
    setTabOrder({Dbobzmc, Dbobzzz(0), Dbobzzz(1), Dbobzzz(2), Dbobzzz(3), Dbobzzz(4), MSFGridzyzd, CmdSeek, CmdQcls,
                 CmdExit, TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs, CmdSave, Cmdedit, Cmddele, CmdBack});

    // Enter moves on from a box that holds more than blanks; Txtbzcy keeps the focus.
    chain({{TxtBzmc, Txtbzzz, Test::Filled}, {Txtbzzz, Txtbzcy, Test::Filled},
           {TxtZlcs, CmdSave, Test::Filled, Focus::Plain}});
    Dbobzmc->Click = [this] {
        if (!vb::Trim(Dbobzmc->Text()).isEmpty()) runOnce([this] { seekbzmc(); });
    };
    MSFGridzyzd->Click = [this] { MSFGridzyzd_Click(); };
    onceOnClick(CmdSeek, [this] { seekmsfgrid(); });
    CmdQcls->Click = [this] {
        runOnce([this] { Qpcls(); });
        Dbobzmc->SetFocus();
    };
    CmdExit->Click = [this] { Unload(); };
    CmdSave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    // The delete asks nothing and says nothing when the row is gone already.
    Cmddele->Click = [this] { road_.remove(QString(), QString(), EntryRoad::DeleteCheck::InputsFirst); };
    onceOnClick(CmdBack, [this] { CmdBack_Click(); });
}

void Frmzyzdll::layOut()
{
    core::placeAll({
        {SSTab1, 60, 60, 11385, 8025}, {Label1, 120, 240, 900, 300},
        {Dbobzmc, 1020, 180, 3255, 360}, {Label2(0), 4500, 240, 900, 300},
        {Dbobzzz(0), 5400, 180, 3255, 360}, {Label2(1), 120, 720, 900, 300},
        {Dbobzzz(1), 1020, 660, 3255, 360}, {Label2(2), 4500, 720, 900, 300},
        {Dbobzzz(2), 5400, 660, 3255, 360}, {Label2(3), 120, 1200, 900, 300},
        {Dbobzzz(3), 1020, 1140, 3255, 360}, {Label2(4), 4500, 1200, 900, 300},
        {Dbobzzz(4), 5400, 1140, 3255, 360}, {CmdSeek, 9360, 180, 1575, 375},
        {CmdQcls, 9360, 660, 1575, 375}, {CmdExit, 9360, 1140, 1575, 375},
        {MSFGridzyzd, 120, 1680, 11085, 5880}, {Labbt(0), 240, 300, 900, 300},
        {TxtBzmc, 1140, 240, 10005, 375}, {Labbt(1), 240, 840, 900, 300},
        {Txtbzzz, 1140, 780, 10005, 1920}, {Labbt(2), 240, 2880, 900, 300},
        {Txtbzcy, 1140, 2820, 10005, 1560}, {Labbt(3), 240, 4560, 900, 300},
        {TxtZlcs, 1140, 4500, 10005, 1920}, {CmdSave, 1140, 6660, 1575, 375},
        {Cmdedit, 2940, 6660, 1575, 375}, {Cmddele, 4740, 6660, 1575, 375},
        {CmdBack, 6540, 6660, 1575, 375}

    });
}

// The handlers that let events run share the write routine's guard with save, edit
// and delete: one runs at a time, a second press meanwhile does nothing.
void Frmzyzdll::runOnce(const std::function<void()>& handler) { road_.writer().guarded(handler); }

// ---- opening and reset ------------------------------------------------------------

void Frmzyzdll::Form_Load()
{
    core::placeKnowledgeBase(*this);
    setUpGrid();
    MSFGridzyzd->setMergeCol(0, true);
    MSFGridzyzd->setMergeCells(true);
    forms::DoEvents();
    runOnce([this] { Qpcls(); });
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyzdll::Form_QueryUnload(int& /*cancel*/)
{
    core::menuOn();
    forms::DoEvents();
}

void Frmzyzdll::Qpcls()
{
    SSTab1->setTab(QueryTab);
    forms::DoEvents();
    clearCriteria();
    forms::DoEvents();
    msfgridaddzyzd();
    forms::DoEvents();
    showDetail(false);
    refillPickLists();
}

void Frmzyzdll::qclsseek()
{
    for (forms::TextBox* box : {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}) box->setText(QString());
    SSTab1->setTab(QueryTab);
    showDetail(false);
    forms::DoEvents();
    refillPickLists();
    seekmsfgrid();
}

// ---- the grid -----------------------------------------------------------------------

void Frmzyzdll::showGrid(const std::function<dao::Recordset(dao::Database&)>& open)
{
    trapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset rows = open(db);
        if (rows.eof()) MSFGridzyzd->setRows(1);
        else fillResult(rows);
    });
}

void Frmzyzdll::fillResult(dao::Recordset& rows)
{
    MSFGridzyzd->setRowHeight(0, RowHeight);
    QueryWindow::fillResult(rows);
}

void Frmzyzdll::msfgridaddzyzd()
{
    showGrid([](dao::Database& db) {
        return db.storeAndOpen(GridQuery, QStringLiteral("select * from zybz order by bzmc,bzqk"));
    });
}

void Frmzyzdll::MSFGridzyzd_Click()
{
    const int row = MSFGridzyzd->MouseRow();
    if (row < 1 || row >= MSFGridzyzd->Rows()) return;
    SSTab1->setTab(DetailTab);
    MSFGridzyzd->setRow(row);
    forms::TextBox* boxes[] = {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs};
    for (int col = 0; col < 4; ++col) boxes[col]->setText(vb::Trim(MSFGridzyzd->TextMatrix(row, col)));
    showDetail(true);
}

// ---- the symptom dictionary narrowed to a name ---------------------------------------

// The dictionary narrowed to the syndromes whose name holds the picked text; a name
// that matches none changes nothing.
// The grid's stored query is written with the refill, so that the pick writes the
// file once; the names are not re-read, as the narrowing does not change them.
void Frmzyzdll::seekbzmc()
{
    forms::DoEvents();
    const QString nameCondition = whereClause({{QStringLiteral("bzmc"), vb::Trim(Dbobzmc->Text())}});
    const QString gridSql = QStringLiteral("select * from zybz") + nameCondition + Ordered;
    const bool narrowed = dictionary::NarrowSymptomDict(
        QStringLiteral("select bzqk from zybz") + nameCondition, [&gridSql](dao::Database& db) {
            db.deleteAllQueryDefs();
            db.createQueryDef(GridQuery, gridSql);
        });
    if (!narrowed) return;
    trapped([this] { terms_->refill(); });
    showGrid([](dao::Database& db) { return db.openRecordset(GridQuery); });
}

// ---- the detail tab -----------------------------------------------------------------

void Frmzyzdll::srnrJy()
{
    srnrcw = 1;
    forms::TextBox* boxes[] = {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs};
    for (forms::TextBox* box : boxes) box->setText(trimmed(box));
    for (forms::TextBox* box : boxes) {
        if (!box->Text().isEmpty()) continue;
        box->SetFocus();
        return;
    }
    srnrcw = 0;
}

void Frmzyzdll::CmdBack_Click()
{
    SSTab1->setTab(QueryTab);
    forms::DoEvents();
    qclsseek();
    Dbobzmc->SetFocusSelectAll();
    forms::DoEvents();
}

}  // namespace reference
