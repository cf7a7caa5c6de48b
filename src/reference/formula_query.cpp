// The formula query window Frmfjll; see formula_query.h.
#include "reference/formula_query.h"

#include "core/enter_chain.h"
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
#include "reference/herb_lookup.h"
#include "reference/knowledge_record.h"
#include "reference/like_criteria.h"
#include "reference/result_grid.h"

namespace reference {

namespace {

constexpr int ClientWidth = 11670;
constexpr int ClientHeight = 8040;

constexpr int QueryTab = 0;
constexpr int FormulaTab = 1;
constexpr int HerbTab = 2;

constexpr int RowHeight = 400;
const QString GridFormat = QStringLiteral(
    "<  方 剂 名 称|<方 剂 组 成|<方 剂 功 用|<方 剂 主 治|<方 剂 用 法|<方 剂 来 源|<临 床 心 得");
constexpr int ColumnWidths[] = {1400, 4500, 2000, 3000, 3000, 3500, 1600};
constexpr int GridColumns = 7;

}  // namespace

Frmfjll::Frmfjll()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("方剂查询"), QStringLiteral("方剂具体内容"),
                                            QStringLiteral("相关药材内容")})),
      Data1(new forms::DataControl(this)), Data2(new forms::DataControl(this)),
      Data3(new forms::DataControl(this)), Data4(new forms::DataControl(this)),
      Data5(new forms::DataControl(this))
{
    setCaption(QStringLiteral("方剂内容浏览"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);

    QWidget* query = SSTab1->Page(QueryTab);
    Txtmcyc = new forms::TextBox(query);
    Txtmcyc->setMaxLength(20);
    for (forms::DBCombo** combo : {&Cbofjly, &Cbocxyc1, &Cbocxyc2, &Cbocxyc3, &Cboycgx1, &Cboycgx2, &Cboycgx3,
                                   &Cboyczz1, &Cboyczz2, &Cboyczz3, &Cbofjlc1, &Cbofjlc2, &Cbofjlc3})
        *combo = new forms::DBCombo(query);
    CmdSeek = new forms::CommandButton(query, QStringLiteral("查询&L"));
    CmdQcls = new forms::CommandButton(query, QStringLiteral("清屏&Q"));
    CmdExit = new forms::CommandButton(query, QStringLiteral("退出&E"));
    CmdHelp = new forms::CommandButton(query, QStringLiteral("帮助&H"));
    MSFGridzyfj = new forms::FlexGrid(query);
    MSFGridzyfj->setToolTipText(QStringLiteral("点击鼠标选取要浏览的方剂"));

    QWidget* formula = SSTab1->Page(FormulaTab);
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
    bindPickLists();
    wireKeys();
    CmdSeek->Click = [this] { CmdSeek_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdHelp->Click = [this] { CmdHelp_Click(); };
    CmdExit->Click = [this] { CmdExit_Click(); };
    MSFGridzyfj->Click = [this] { MSFGridzyfj_Click(); };
    Txtfjly->GotFocus = [this] { Txtfjly_GotFocus(); };
}

Frmfjll::~Frmfjll() = default;

std::vector<forms::TextBox*> Frmfjll::formulaBoxes() const
{
    return {Txtfjmc, Txtfjgc, Txtfjgx, Txtfjzz, Txtfjyf, Txtfjly, Txtfjlc};
}

std::vector<Input> Frmfjll::criteria() const
{
    return {Txtmcyc,  Cbocxyc1, Cbocxyc2, Cbocxyc3, Cboycgx1, Cboycgx2, Cboycgx3,
            Cboyczz1, Cboyczz2, Cboyczz3, Cbofjlc1, Cbofjlc2, Cbofjlc3, Cbofjly};
}

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

void Frmfjll::bindPickLists()
{
    const auto list = [this](forms::DataControl* data, const char* sql, const char* column,
                             std::initializer_list<forms::DBCombo*> combos) {
        pickLists_.push_back(std::make_unique<PickList>(data, QString::fromUtf8(sql), QString::fromUtf8(column), combos));
    };
    list(Data1, "select ycmc from zyyc", "ycmc", {Cbocxyc1, Cbocxyc2, Cbocxyc3});
    list(Data2, "select fjgy from fjgy", "fjgy", {Cboycgx1, Cboycgx2, Cboycgx3});
    list(Data3, "select fjzz from fjzz", "fjzz", {Cboyczz1, Cboyczz2, Cboyczz3});
    list(Data4, "select distinct fjly from zyfj", "fjly", {Cbofjly});
    list(Data5, "select fjlc from lcfj", "fjlc", {Cbofjlc1, Cbofjlc2, Cbofjlc3});
}

// ---- keys ---------------------------------------------------------------------------

void Frmfjll::wireKeys()
{
    // Enter moves along a chain: the criteria when the box holds any text; the
    // formula boxes when the box holds more than blanks, each next box with its text
    // selected (the notes with the caret at the end); the herb boxes always.
    enum class Test { Any, Filled, None };
    enum class Focus { Plain, SelectAll, End };
    struct Link {
        Input input;
        forms::Control* next;
        Test test;
        Focus focus;
    };
    const Link chain[] = {
        {Txtmcyc, Cbofjly, Test::Any, Focus::Plain},
        {Cbofjly, Cbocxyc1, Test::Any, Focus::Plain},
        {Cbocxyc1, Cbocxyc2, Test::Any, Focus::Plain},
        {Cbocxyc2, Cbocxyc3, Test::Any, Focus::Plain},
        {Cbocxyc3, Cboycgx1, Test::Any, Focus::Plain},
        {Cboycgx1, Cboycgx2, Test::Any, Focus::Plain},
        {Cboycgx2, Cboycgx3, Test::Any, Focus::Plain},
        {Cboycgx3, Cboyczz1, Test::Any, Focus::Plain},
        {Cboyczz1, Cboyczz2, Test::Any, Focus::Plain},
        {Cboyczz2, Cboyczz3, Test::Any, Focus::Plain},
        {Cboyczz3, CmdSeek, Test::Any, Focus::Plain},
        {Txtfjmc, Txtfjgc, Test::Filled, Focus::SelectAll},
        {Txtfjgc, Txtfjgx, Test::Filled, Focus::SelectAll},
        {Txtfjgx, Txtfjzz, Test::Filled, Focus::SelectAll},
        {Txtfjzz, Txtfjyf, Test::Filled, Focus::SelectAll},
        {Txtfjyf, Txtfjlc, Test::Filled, Focus::End},
        {Txtfjlc, Txtfjly, Test::Filled, Focus::SelectAll},
        {Txtfjly, nullptr, Test::None, Focus::Plain},
        {herbs->Txtycmc, herbs->Txtycxw, Test::None, Focus::SelectAll},
        {herbs->Txtycxw, herbs->Txtycgj, Test::None, Focus::SelectAll},
        {herbs->Txtycgj, herbs->Txtycgy, Test::None, Focus::SelectAll},
        {herbs->Txtycgy, herbs->Txtyczz, Test::None, Focus::SelectAll},
        {herbs->Txtyczz, herbs->Txtycyj, Test::None, Focus::SelectAll},
        {herbs->Txtycyj, herbs->Txtycyf, Test::None, Focus::SelectAll},
        {herbs->Txtycyf, nullptr, Test::None, Focus::Plain},
        {herbs->Txtycgb, nullptr, Test::None, Focus::Plain},
    };
    for (const Link& link : chain) {
        auto* box = std::visit([](forms::Control* control) { return control; }, link.input);
        box->KeyPress = [link](int& keyAscii) {
            if (!forms::EnterPressed(keyAscii) || !link.next) return;
            const QString text = textOf(link.input);
            if (link.test == Test::Any && text.isEmpty()) return;
            if (link.test == Test::Filled && !core::filled(text)) return;
            auto* next = qobject_cast<forms::TextBox*>(link.next);
            if (next && link.focus == Focus::SelectAll) next->SetFocusSelectAll();
            else if (next && link.focus == Focus::End) next->SetFocusEnd();
            else link.next->SetFocus();
        };
    }
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
    MSFGridzyfj->setFormatString(GridFormat);
    MSFGridzyfj->setCols(GridColumns);
    MSFGridzyfj->setRows(2);
    MSFGridzyfj->setFixedRows(1);
    MSFGridzyfj->setFixedCols(1);
    for (int col = 0; col < GridColumns; ++col) MSFGridzyfj->setColWidth(col, ColumnWidths[col]);
    forms::DoEvents();
    yckcxsgb();
    fjkcxsgb();
    SSTab1->setTab(HerbTab);
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
    const PumpScope pumping(*this);
    SSTab1->setTab(HerbTab);
    core::runTrappedLine([this] {
        for (const auto& pickList : pickLists_) pickList->refill();
    });
    forms::DoEvents();
    for (const Input& criterion : criteria()) setTextOf(criterion, QString());
    herbs->clear();
    for (forms::TextBox* box : formulaBoxes()) box->setText(QString());
    forms::DoEvents();
    msfgridfjadd();
    forms::DoEvents();
    SSTab1->setTab(QueryTab);
    forms::Screen::setMousePointer(forms::vbArrow);
}

// ---- the grid -----------------------------------------------------------------------

void Frmfjll::msfgridfjadd()
{
    core::runTrappedLine([this] {
        dao::Database db = core::OpenDb();
        dao::Recordset all = db.openTable(QStringLiteral("zyfj"));
        msfgridfjcx(all);
    });
}

// A result without rows leaves the grid as it is.
void Frmfjll::msfgridfjcx(dao::Recordset& found)
{
    if (!found.eof()) fillGrid(*MSFGridzyfj, found);
}

// ---- the query ----------------------------------------------------------------------

// The query: every criterion trimmed in place, then all fourteen conditions in their
// order, each empty one letting every row through.
void Frmfjll::CmdSeek_Click()
{
    static const char* const Columns[] = {"fjmc", "fjgc", "fjgc", "fjgc", "fjgy", "fjgy", "fjgy",
                                          "fjzz", "fjzz", "fjzz", "fjxd", "fjxd", "fjxd", "fjly"};
    std::vector<LikeCriterion> conditions;
    for (const Input& criterion : criteria()) {
        const QString text = vb::Trim(textOf(criterion));
        if (text != textOf(criterion)) setTextOf(criterion, text);
        conditions.push_back({QString::fromUtf8(Columns[conditions.size()]), text});
    }
    if (allEmpty(conditions)) {
        Txtmcyc->SetFocus();
        forms::Notice(QStringLiteral("输入查询条件。"));
        return;
    }
    const QString sql = QStringLiteral("select * from zyfj where ") + likeConditions(conditions) +
                        QStringLiteral("order by fjmc ");

    const PumpScope pumping(*this);
    forms::Screen::setMousePointer(forms::vbHourglass);
    bool none = false;
    core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        dao::Recordset found = db.storeAndOpen(QStringLiteral("fjcx"), sql);
        db.close();
        none = found.eof();
        if (!none) msfgridfjcx(found);
    });
    if (none) {
        forms::Notice(QStringLiteral("查询条件输入错误。"));
        Qpcls();
    }
    forms::Screen::setMousePointer(forms::vbArrow);
}

// ---- the formula and the herb of a row ----------------------------------------------

void Frmfjll::MSFGridzyfj_Click()
{
    const int row = MSFGridzyfj->MouseRow();
    if (row > MSFGridzyfj->Rows() - 1) return;
    MSFGridzyfj->setRow(row);
    MSFGridzyfj->setCol(0);
    const QString name = vb::Trim(MSFGridzyfj->TextMatrix(row, 0));
    if (name.isEmpty()) {
        forms::Notice(QStringLiteral("未有要查询的方剂"));
        return;
    }
    const PumpScope pumping(*this);
    core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset formula =
            db.storeAndOpen(QStringLiteral("ycnr"), QStringLiteral("select * from zyfj where fjmc = ") + dao::quote(name));
        if (formula.eof()) return;
        fjkcxsjb();
        forms::DoEvents();
        int column = 0;
        for (forms::TextBox* box : formulaBoxes()) box->setText(formula.field(column++).toString());
        SSTab1->setTab(FormulaTab);
    });
}

void Frmfjll::yckcxsgb() { herbs->hidePanel(); }

void Frmfjll::fjkcxsgb() { showFormulaPanel(false); }
void Frmfjll::fjkcxsjb() { showFormulaPanel(true); }

void Frmfjll::showFormulaPanel(bool shown)
{
    for (forms::TextBox* box : formulaBoxes()) box->setVisible(shown);
    for (forms::Label* label : Labfj) label->setVisible(shown);
}

// ---- buttons ------------------------------------------------------------------------

void Frmfjll::CmdQcls_Click()
{
    Qpcls();
    forms::DoEvents();
}

void Frmfjll::CmdHelp_Click() { core::ShowHelpFor(this, QStringLiteral("F-J")); }

void Frmfjll::CmdExit_Click() { Unload(); }

// The menus come back when the window really closes, never while a handler that
// delays the close still runs.
void Frmfjll::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

}  // namespace reference
