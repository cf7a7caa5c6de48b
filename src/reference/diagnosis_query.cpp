// The diagnosis query window Frmzyzdll; see diagnosis_query.h.
#include "reference/diagnosis_query.h"

#include "core/placement.h"
#include "core/error_trap.h"
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
#include "reference/result_grid.h"


namespace reference {

using namespace data;

namespace {
constexpr int RowHeight = 460;
const QString GridFormat = QStringLiteral("^病症名称|<临  床  症  状  表  现|<病症成因|<治疗措施");
constexpr int ColumnWidths[] = {1600, 8200, 2000, 4000};
const QString NamesSource = QStringLiteral("select distinct bzmc from zybz order by bzmc");
const QString TermsSource = QStringLiteral("select * from bzzz ");
const QString Ordered = QStringLiteral(" order by bzmc,bzqk ");
const QString GridQuery = QStringLiteral("zybzqk");   // the stored query of every grid fill

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }
}  // namespace

Frmzyzdll::~Frmzyzdll() = default;

Frmzyzdll::Frmzyzdll()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("诊断查询浏览"), QStringLiteral("病症内容浏览")})),
      Data1(new forms::DataControl(this)),
      Data2(new forms::DataControl(this)),
      Dbobzmc(new forms::DBCombo(SSTab1->Page(0))),
      Label1(new forms::Label(SSTab1->Page(0), QStringLiteral("病症名称"))),
      MSFGridzyzd(new forms::FlexGrid(SSTab1->Page(0))),
      CmdSeek(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("查询&S"))),
      CmdQcls(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("清屏&Q"))),
      CmdExit(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("结束&T"))),
      TxtBzmc(new forms::TextBox(SSTab1->Page(1))),
      Txtbzzz(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      Txtbzcy(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      TxtZlcs(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      CmdSave(new forms::CommandButton(SSTab1->Page(1), QStringLiteral("保存&B"))),
      Cmdedit(new forms::CommandButton(SSTab1->Page(1), QStringLiteral("修改&E"))),
      Cmddele(new forms::CommandButton(SSTab1->Page(1), QStringLiteral("删除&D"))),
      CmdBack(new forms::CommandButton(SSTab1->Page(1), QStringLiteral("返回首页"))),
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { qclsseek(); }, TxtBzmc,
                              CmdSave, Cmdedit},
            KnowledgeRecord(QStringLiteral("zybz"), QStringLiteral("zybzi"), {TxtBzmc, Txtbzzz},
                            {{zybz::bzmc, TxtBzmc, true, false}, {zybz::bzqk, Txtbzzz, true, false},
                             {zybz::bzcy, Txtbzcy}, {zybz::zlcs, TxtZlcs}},
                            KnowledgeRecord::NoEnteredBy))
{
    setClientSize(11505, 8145);
    setWindowButtons(WindowButtons::None);
    for (int i = 0; i < 5; ++i) {
        Dbobzzz.add(new forms::DBCombo(SSTab1->Page(0)));
        Label2.add(new forms::Label(SSTab1->Page(0), QStringLiteral("病症症状")));
    }
    for (const char* caption : {"病症名称", "病症症状", "病症成因", "治疗措施"})
        Labbt.add(new forms::Label(SSTab1->Page(1), QString::fromUtf8(caption)));
    for (forms::TextBox* box : {Txtbzzz, Txtbzcy, TxtZlcs}) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    MSFGridzyzd->setToolTipText(QStringLiteral("点击鼠标选取要浏览的病症"));
    names_ = std::make_unique<PickList>(Data1, NamesSource, QStringLiteral("bzmc"),
                                        std::initializer_list<forms::DBCombo*>{Dbobzmc});
    terms_ = std::make_unique<PickList>(Data2, TermsSource, QStringLiteral("bzzz"),
                                        std::initializer_list<forms::DBCombo*>{Dbobzzz(0), Dbobzzz(1), Dbobzzz(2),
                                                                               Dbobzzz(3), Dbobzzz(4)});
    layOut();
    setTabOrder({Dbobzmc, Dbobzzz(0), Dbobzzz(1), Dbobzzz(2), Dbobzzz(3), Dbobzzz(4), MSFGridzyzd, CmdSeek, CmdQcls,
                 CmdExit, TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs, CmdSave, Cmdedit, Cmddele, CmdBack});

    // Enter moves on from a box that holds text; no blank reaches these three boxes.
    TxtBzmc->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii) && !trimmed(TxtBzmc).isEmpty()) Txtbzzz->SetFocusSelectAll();
    };
    Txtbzzz->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii) && !trimmed(Txtbzzz).isEmpty()) Txtbzcy->SetFocusSelectAll();
    };
    TxtZlcs->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii) && !trimmed(TxtZlcs).isEmpty()) CmdSave->SetFocus();
    };
    Dbobzmc->Click = [this] {
        if (!vb::Trim(Dbobzmc->Text()).isEmpty()) runOnce([this] { seekbzmc(); });
    };
    MSFGridzyzd->Click = [this] { MSFGridzyzd_Click(); };
    CmdSeek->Click = [this] { runOnce([this] { seekmsfgrid(); }); };
    CmdQcls->Click = [this] {
        runOnce([this] { Qpcls(); });
        Dbobzmc->SetFocus();
    };
    CmdExit->Click = [this] { Unload(); };
    CmdSave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    // The delete asks nothing and says nothing when the row is gone already.
    Cmddele->Click = [this] { road_.remove(QString(), QString(), EntryRoad::DeleteCheck::InputsFirst); };
    CmdBack->Click = [this] { runOnce([this] { CmdBack_Click(); }); };
}

void Frmzyzdll::layOut()
{
    SSTab1->Move(60, 60, 11385, 8025);
    Label1->Move(120, 240, 900, 300);
    Dbobzmc->Move(1020, 180, 3255, 360);
    // The five symptom terms: one beside the name, then two rows of two.
    const int lefts[] = {5400, 1020, 5400, 1020, 5400};
    const int tops[] = {180, 660, 660, 1140, 1140};
    for (int i = 0; i < 5; ++i) {
        Label2(i)->Move(lefts[i] - 900, tops[i] + 60, 900, 300);
        Dbobzzz(i)->Move(lefts[i], tops[i], 3255, 360);
    }
    int top = 180;
    for (forms::CommandButton* button : {CmdSeek, CmdQcls, CmdExit}) {
        button->Move(9360, top, 1575, 375);
        top += 480;
    }
    MSFGridzyzd->Move(120, 1680, 11085, 5880);

    forms::TextBox* boxes[] = {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs};
    const int boxTops[] = {240, 780, 2820, 4500};
    const int boxHeights[] = {375, 1920, 1560, 1920};
    for (int i = 0; i < 4; ++i) {
        Labbt(i)->Move(240, boxTops[i] + 60, 900, 300);
        boxes[i]->Move(1140, boxTops[i], 10005, boxHeights[i]);
        core::giveLook(boxes[i]);
        core::giveLook(Labbt(i), core::look::FontSize, false);
    }
    int left = 1140;
    for (forms::CommandButton* button : {CmdSave, Cmdedit, Cmddele, CmdBack}) {
        button->Move(left, 6660, 1575, 375);
        core::giveLook(button, core::look::FontSize, false);
        left += 1800;
    }
    for (forms::Control* control : std::initializer_list<forms::Control*>{Label1, CmdSeek, CmdQcls, CmdExit, MSFGridzyzd})
        core::giveLook(control, core::look::FontSize, false);
    core::giveLook(Dbobzmc);
    for (forms::DBCombo* combo : Dbobzzz) core::giveLook(combo);
    for (forms::Label* label : Label2) core::giveLook(label, core::look::FontSize, false);
}

// The handlers that let events run share the write routine's guard with save, edit
// and delete: one runs at a time, a second press meanwhile does nothing.
void Frmzyzdll::runOnce(const std::function<void()>& handler) { road_.writer().guarded(handler); }

// ---- opening and reset ------------------------------------------------------------

void Frmzyzdll::Form_Load()
{
    core::placeKnowledgeBase(*this);
    MSFGridzyzd->setFormatString(GridFormat);
    MSFGridzyzd->setCols(4);
    MSFGridzyzd->setFixedRows(1);
    MSFGridzyzd->setFixedCols(1);
    for (int col = 0; col < 4; ++col) MSFGridzyzd->setColWidth(col, ColumnWidths[col]);
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

void Frmzyzdll::showDetail(bool shown)
{
    for (forms::Label* label : Labbt) label->setVisible(shown);
    for (forms::Control* control : std::initializer_list<forms::Control*>{TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs, CmdSave,
                                                                           Cmdedit, Cmddele, CmdBack})
        control->setVisible(shown);
}

void Frmzyzdll::refreshLists()
{
    core::runTrapped([this] {
        names_->refill();
        terms_->refill();
    });
}

void Frmzyzdll::Qpcls()
{
    SSTab1->setTab(0);
    forms::DoEvents();
    Dbobzmc->setText(QString());
    for (forms::DBCombo* combo : Dbobzzz) combo->setText(QString());
    forms::DoEvents();
    msfgridaddzyzd();
    forms::DoEvents();
    showDetail(false);
    refreshLists();
}

void Frmzyzdll::qclsseek()
{
    for (forms::TextBox* box : {TxtBzmc, Txtbzzz, Txtbzcy, TxtZlcs}) box->setText(QString());
    SSTab1->setTab(0);
    showDetail(false);
    forms::DoEvents();
    refreshLists();
    seekmsfgrid();
}

// ---- the grid -----------------------------------------------------------------------

bool Frmzyzdll::fillGrid(const QString& sql)
{
    return showGrid([&sql](dao::Database& db) { return db.storeAndOpen(GridQuery, sql); });
}

bool Frmzyzdll::showGrid(const std::function<dao::Recordset(dao::Database&)>& open)
{
    MSFGridzyzd->setRowHeight(0, RowHeight);
    int count = 0;
    MSFGridzyzd->setMergeCells(false);
    const bool ran = core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset rows = open(db);
        count = rows.recordCount();
        if (count == 0) MSFGridzyzd->setRows(1);
        else reference::fillGrid(*MSFGridzyzd, rows, RowHeight);
    });
    MSFGridzyzd->setMergeCells(true);
    return !ran || count > 0;
}

QString Frmzyzdll::nameCondition() const
{
    return likeConditions({{QStringLiteral("bzmc"), vb::Trim(Dbobzmc->Text())}});
}

void Frmzyzdll::msfgridaddzyzd() { fillGrid(QStringLiteral("select * from zybz order by bzmc,bzqk")); }

void Frmzyzdll::seekmsfgrid()
{
    std::vector<LikeCriterion> criteria = {{QStringLiteral("bzmc"), vb::Trim(Dbobzmc->Text())}};
    for (forms::DBCombo* combo : Dbobzzz) criteria.push_back({QStringLiteral("bzqk"), vb::Trim(combo->Text())});
    if (fillGrid(QStringLiteral("select * from zybz where ") + likeConditions(criteria) + Ordered)) return;
    forms::Notice(QStringLiteral("没有符合查询条件的内容"));
    Qpcls();
}

void Frmzyzdll::MSFGridzyzd_Click()
{
    const int row = MSFGridzyzd->MouseRow();
    if (row < 1 || row >= MSFGridzyzd->Rows()) return;
    SSTab1->setTab(1);
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
    const QString gridSql = QStringLiteral("select * from zybz where ") + nameCondition() + Ordered;
    const bool narrowed = dictionary::NarrowSymptomDict(
        QStringLiteral("select bzqk from zybz where ") + nameCondition(), [&gridSql](dao::Database& db) {
            db.deleteAllQueryDefs();
            db.createQueryDef(GridQuery, gridSql);
        });
    if (!narrowed) return;
    core::runTrapped([this] { terms_->refill(); });
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
    SSTab1->setTab(0);
    forms::DoEvents();
    qclsseek();
    Dbobzmc->SetFocusSelectAll();
    forms::DoEvents();
}

}  // namespace reference
