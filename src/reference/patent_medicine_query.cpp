// The patent-medicine query window FrmCyzy; see patent_medicine_query.h.
#include "reference/patent_medicine_query.h"

#include "core/placement.h"
#include "core/error_trap.h"
#include "core/globals.h"
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
#include "reference/bound_lists.h"
#include "reference/like_criteria.h"
#include "reference/result_grid.h"

#include <functional>
#include <vector>

namespace reference {

namespace {
constexpr int RowHeight = 400;
const QString GridFormat =
    QStringLiteral("<  中医成药名称|<中医成药组成|<中医成药功用|<中医成药主治|<中医成药用法|<临 床 心 得");
constexpr int ColumnWidths[] = {1400, 4500, 2000, 3000, 3000, 3500};
const QColor PanelColor(128, 128, 255);

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }

// White text on the query windows' blue.
void givePanelLook(forms::Control* control, double fontSize)
{
    control->setFont(core::look::FontName, fontSize);
    control->setBackColor(PanelColor);
    control->setForeColor(Qt::white);
}
}  // namespace

FrmCyzy::~FrmCyzy() = default;

FrmCyzy::FrmCyzy()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("中医成药查询"), QStringLiteral("中医成药具体内容"),
                                            QStringLiteral("中医药材内容浏览")})),
      Txtmcyc(new forms::TextBox(SSTab1->Page(0))),
      Data1(new forms::DataControl(this)),
      Data2(new forms::DataControl(this)),
      Data3(new forms::DataControl(this)),
      MSFGridzyfj(new forms::FlexGrid(SSTab1->Page(0))),
      CmdSeek(core::makeButton(SSTab1->Page(0), QStringLiteral("查询&L"))),
      CmdQcls(core::makeButton(SSTab1->Page(0), QStringLiteral("清屏&Q"))),
      CmdExit(core::makeButton(SSTab1->Page(0), QStringLiteral("退出&E"))),
      CmdHelp(core::makeButton(SSTab1->Page(0), QStringLiteral("帮助&H"))),
      Txtfjmc(new forms::TextBox(SSTab1->Page(1))),
      Txtfjgx(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      Txtfjzz(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      Txtfjgc(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      Txtfjyf(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      Txtfjlc(new forms::TextBox(SSTab1->Page(1), forms::TextBox::Lines::Multi)),
      herbs(std::make_unique<HerbLookup>(Txtfjgc, SSTab1, 2, HerbLookup::Kind::Query))
{
    setCaption(QStringLiteral("中医成药查询"));
    setClientSize(11505, 8145);
    setWindowButtons(WindowButtons::None);
    Txtmcyc->setMaxLength(20);
    for (int i = 0; i < 3; ++i) {
        Cbocxyc.add(new forms::DBCombo(SSTab1->Page(0)));
        Cboycgx.add(new forms::DBCombo(SSTab1->Page(0)));
        Cboyczz.add(new forms::DBCombo(SSTab1->Page(0)));
    }
    for (const char* caption : {"名称", "成药功效", "成药主治", "成药构成", "成药用法", "成药临床治疗心得"})
        Labfj.add(new forms::Label(SSTab1->Page(1), QString::fromUtf8(caption)));
    for (forms::TextBox* box : {Txtfjmc, Txtfjgx, Txtfjzz, Txtfjgc, Txtfjyf, Txtfjlc}) {
        box->setLocked(true);
        if (box != Txtfjmc) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    }
    Txtfjgc->setToolTipText(QStringLiteral("拖动鼠标选中药材，双击鼠标右键，即可查询药材特点"));
    MSFGridzyfj->setToolTipText(QStringLiteral("点击鼠标选取要浏览的方剂"));
    pickLists_.push_back(std::make_unique<PickList>(Data1, QStringLiteral("select ycmc from zyyc"), QStringLiteral("ycmc"),
                                                    std::initializer_list<forms::DBCombo*>{Cbocxyc(0), Cbocxyc(1), Cbocxyc(2)}));
    pickLists_.push_back(std::make_unique<PickList>(Data2, QStringLiteral("select cygy from cygx"), QStringLiteral("cygy"),
                                                    std::initializer_list<forms::DBCombo*>{Cboycgx(0), Cboycgx(1), Cboycgx(2)}));
    pickLists_.push_back(std::make_unique<PickList>(Data3, QStringLiteral("select cyzz from cyzz"), QStringLiteral("cyzz"),
                                                    std::initializer_list<forms::DBCombo*>{Cboyczz(0), Cboyczz(1), Cboyczz(2)}));
    layOut();
    setTabOrder({Txtmcyc, Cbocxyc(0), Cbocxyc(1), Cbocxyc(2), Cboycgx(0), Cboycgx(1), Cboycgx(2), Cboyczz(0),
                 Cboyczz(1), Cboyczz(2), CmdSeek, CmdQcls, CmdExit, CmdHelp, MSFGridzyfj});
    chainKeys();

    CmdSeek->Click = [this] { CmdSeek_Click(); };
    CmdQcls->Click = [this] {
        Qpcls();
        forms::DoEvents();
    };
    CmdExit->Click = [this] { Unload(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("C-Y")); };
    MSFGridzyfj->Click = [this] { MSFGridzyfj_Click(); };
}

void FrmCyzy::layOut()
{
    SSTab1->Move(60, 60, 11385, 8025);
    // The name, then one row each of herbs, effects and indications; the buttons at the
    // right, the grid below.
    const core::FieldLayout fields(SSTab1->Page(0), {600, 0, 60, 300, core::look::FontSize});
    fields.place(QStringLiteral("名称"), Txtmcyc, 120, 180, 2550);
    const std::pair<forms::ControlArray<forms::DBCombo>*, const char*> rows[] = {
        {&Cbocxyc, "药材"}, {&Cboycgx, "功效"}, {&Cboyczz, "主治"}};
    int top = 660;
    for (const auto& [combos, caption] : rows) {
        for (int i = 0; i < 3; ++i) {
            fields.place(QString::fromUtf8(caption) + QString::number(i + 1), (*combos)(i), 120 + i * 3300, top, 2550);
            core::giveLook((*combos)(i));
        }
        top += 480;
    }
    givePanelLook(Txtmcyc, core::look::FontSize);
    top = 180;
    for (forms::CommandButton* button : {CmdSeek, CmdQcls, CmdHelp, CmdExit}) {
        button->Move(9960, top, 1275, 375);
        top += 480;
    }
    MSFGridzyfj->Move(120, 2160, 11115, 5400);
    core::giveLook(MSFGridzyfj, core::look::LabelFontSize);   // the headings fit their columns

    // Detail: name, effects, indications, usage at the left; composition over notes at
    // the right.
    struct Place {
        forms::TextBox* box;
        int left, top, width, height;
    };
    const Place places[] = {{Txtfjmc, 1080, 180, 4500, 375},  {Txtfjgx, 1080, 660, 4500, 2040},
                            {Txtfjzz, 1080, 2820, 4500, 2040}, {Txtfjgc, 6780, 180, 4440, 3360},
                            {Txtfjyf, 1080, 4980, 4500, 2040}, {Txtfjlc, 6780, 3660, 4440, 3360}};
    for (int i = 0; i < 6; ++i) {
        const Place& place = places[i];
        place.box->Move(place.left, place.top, place.width, place.height);
        givePanelLook(place.box, 11.25);
        Labfj(i)->setWordWrap(true);
        Labfj(i)->Move(place.left - 960, place.top + 60, 900, 600);
        core::giveLook(Labfj(i), core::look::FontSize, false);
    }
}

// Criteria move on with Enter once they hold text; the detail boxes once filled; the
// herb boxes always. No box takes a blank.
void FrmCyzy::chainKeys()
{
    std::vector<std::pair<forms::Control*, std::function<QString()>>> criteria = {
        {Txtmcyc, [this] { return Txtmcyc->Text(); }}};
    for (auto* combos : {&Cbocxyc, &Cboycgx, &Cboyczz})
        for (forms::DBCombo* combo : *combos) criteria.push_back({combo, [combo] { return combo->Text(); }});
    for (std::size_t i = 0; i < criteria.size(); ++i) {
        forms::Control* next = i + 1 < criteria.size() ? criteria[i + 1].first : CmdSeek;
        criteria[i].first->KeyPress = [text = criteria[i].second, next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii) && !text().isEmpty()) next->SetFocus();
        };
    }
    const std::pair<forms::TextBox*, forms::TextBox*> details[] = {
        {Txtfjmc, Txtfjgc}, {Txtfjgc, Txtfjgx}, {Txtfjgx, Txtfjzz}, {Txtfjzz, Txtfjyf}};
    for (const auto& [box, next] : details)
        box->KeyPress = [box, next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii) && !trimmed(box).isEmpty()) next->SetFocusSelectAll();
        };
    Txtfjyf->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii) && !trimmed(Txtfjyf).isEmpty()) Txtfjlc->SetFocusEnd();
    };
    Txtfjlc->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace) keyAscii = 0;
        if (keyAscii == forms::vbKeyReturn && trimmed(Txtfjlc).isEmpty()) Txtfjlc->setText(QString());
    };
    const std::pair<forms::TextBox*, forms::TextBox*> herbChain[] = {
        {herbs->Txtycmc, herbs->Txtycxw}, {herbs->Txtycxw, herbs->Txtycgj}, {herbs->Txtycgj, herbs->Txtycgy},
        {herbs->Txtycgy, herbs->Txtyczz}, {herbs->Txtyczz, herbs->Txtycyj}, {herbs->Txtycyj, herbs->Txtycyf},
        {herbs->Txtycyf, nullptr},        {herbs->Txtycgb, nullptr}};
    for (const auto& [box, next] : herbChain)
        box->KeyPress = [next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii) && next) next->SetFocusSelectAll();
        };
}

// ---- opening and reset ------------------------------------------------------------

void FrmCyzy::Form_Load()
{
    core::placeKnowledgeBase(*this);
    MSFGridzyfj->setFormatString(GridFormat);
    MSFGridzyfj->setCols(6);
    MSFGridzyfj->setRows(2);
    MSFGridzyfj->setFixedRows(1);
    for (int col = 0; col < 6; ++col) MSFGridzyfj->setColWidth(col, ColumnWidths[col]);
    forms::DoEvents();
    yckcxsgb();
    CykcXsgb();
}

void FrmCyzy::yckcxsgb() { herbs->hidePanel(); }

void FrmCyzy::Form_Activate() { Qpcls(); }

void FrmCyzy::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

void FrmCyzy::fjkcxsjb()
{
    for (forms::TextBox* box : {Txtfjmc, Txtfjgc, Txtfjgx, Txtfjlc, Txtfjzz, Txtfjyf}) box->setVisible(true);
    for (forms::Label* label : Labfj) label->setVisible(true);
}

void FrmCyzy::CykcXsgb()
{
    for (forms::TextBox* box : {Txtfjmc, Txtfjgc, Txtfjgx, Txtfjlc, Txtfjzz, Txtfjyf}) box->setVisible(false);
    for (forms::Label* label : Labfj) label->setVisible(false);
}

void FrmCyzy::Qpcls()
{
    const PumpScope pumping(*this);
    core::runTrapped([this] {
        for (const auto& pickList : pickLists_) pickList->refill();
    });
    SSTab1->setTab(1);
    forms::DoEvents();
    Txtmcyc->setText(QString());
    for (auto* combos : {&Cbocxyc, &Cboycgx, &Cboyczz})
        for (forms::DBCombo* combo : *combos) combo->setText(QString());
    herbs->clear();
    for (forms::TextBox* box : {Txtfjmc, Txtfjgx, Txtfjzz, Txtfjgc, Txtfjyf, Txtfjlc}) box->setText(QString());
    forms::DoEvents();
    msfgridCyadd();
    forms::DoEvents();
    SSTab1->setTab(0);
    forms::Screen::setMousePointer(forms::vbArrow);
}

// ---- the grid -----------------------------------------------------------------------

// Every medicine in the table's stored order; a Null row shows as empty cells.
void FrmCyzy::msfgridCyadd()
{
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        dao::Recordset all = db.openTable(QStringLiteral("fjcy"));
        if (!all.eof()) fillGrid(*MSFGridzyfj, all);
    });
}

void FrmCyzy::CmdSeek_Click()
{
    Txtmcyc->setText(trimmed(Txtmcyc));
    std::vector<LikeCriterion> criteria = {{QStringLiteral("cymc"), Txtmcyc->Text()}};
    const std::pair<forms::ControlArray<forms::DBCombo>*, const char*> columns[] = {
        {&Cbocxyc, "cygc"}, {&Cboycgx, "cygy"}, {&Cboyczz, "cyzz"}};
    for (const auto& [combos, column] : columns)
        for (forms::DBCombo* combo : *combos) {
            combo->setText(vb::Trim(combo->Text()));
            criteria.push_back({QString::fromUtf8(column), combo->Text()});
        }
    const PumpScope pumping(*this);
    core::runTrappedLine([&] {
        if (allEmpty(criteria)) {
            forms::Notice(QStringLiteral("输入查询条件。"));
            Txtmcyc->SetFocus();
            return;
        }
        const QString sql =
            QStringLiteral("select * from fjcy where ") + likeConditions(criteria) + QStringLiteral("order by cymc ");
        forms::Screen::setMousePointer(forms::vbHourglass);
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        dao::Recordset found = db.storeAndOpen(QStringLiteral("fjcx"), sql);
        if (found.eof()) {
            forms::Notice(QStringLiteral("查询条件输入错误。"));
            Qpcls();
        } else {
            fillGrid(*MSFGridzyfj, found);
        }
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

void FrmCyzy::MSFGridzyfj_Click()
{
    const int row = MSFGridzyfj->MouseRow();
    if (row >= MSFGridzyfj->Rows()) return;
    MSFGridzyfj->setRow(row);
    MSFGridzyfj->setCol(0);
    const QString name = vb::Trim(MSFGridzyfj->Text());
    if (name.isEmpty()) {
        forms::Notice(QStringLiteral("未有要查询的方剂"));
        return;
    }
    core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset found =
            db.storeAndOpen(QStringLiteral("ycnr"), QStringLiteral("select * from fjcy where cymc = ") + dao::quote(name));
        if (found.eof() || found.field(0).isNull()) return;
        forms::TextBox* boxes[] = {Txtfjmc, Txtfjgc, Txtfjgx, Txtfjzz, Txtfjyf, Txtfjlc};
        for (int col = 0; col < 6; ++col) boxes[col]->setText(found.field(col).toString());
        fjkcxsjb();
        SSTab1->setTab(1);
        forms::DoEvents();
    });
}

}  // namespace reference
