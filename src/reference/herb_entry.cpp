// The herb entry window Frmzyyc; see herb_entry.h.
#include "reference/herb_entry.h"

#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/hand_off_text.h"
#include "reference/like_criteria.h"

namespace reference {

namespace {
constexpr int ClientWidth = 11385;
constexpr int ClientHeight = 7440;
namespace zyyc = data::zyyc;

forms::TextBox* makeTextArea(QWidget* parent)
{
    auto* box = new forms::TextBox(parent, forms::TextBox::Lines::Multi);
    box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    core::giveLook(box);
    return box;
}

forms::ComboBox* makeCombo(QWidget* parent)
{
    auto* combo = new forms::ComboBox(parent);
    core::giveLook(combo);
    return combo;
}

// Enter in a box of the chain that must hold something: on to `next` (caret at the
// end) when the box holds any character, otherwise `message` and the focus stays.
void requiredEnter(int& keyAscii, const forms::TextBox* box, forms::TextBox* next, const char* message)
{
    if (!forms::EnterPressed(keyAscii)) return;
    if (!box->Text().isEmpty()) next->SetFocusEnd();
    else forms::Notice(QString::fromUtf8(message));
}
}  // namespace

Frmzyyc::Frmzyyc()
    : Txtycmc(core::makeBox(this, 0)),
      Cboycxw(makeCombo(this)),
      Cboycgj(makeCombo(this)),
      Txtycgy(makeTextArea(this)),
      Txtyczz(makeTextArea(this)),
      Txtycyf(makeTextArea(this)),
      Txtycyj(makeTextArea(this)),
      Txtycgb(makeTextArea(this)),
      ListYcmc(new forms::DBList(this)),
      Data1(new forms::DataControl(this)),
      Label9(new forms::Label(this, QStringLiteral("本系统收集药材达"))),
      Labycsl(new forms::Label(this)),
      CmdSave(core::makeButton(this, QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(this, QStringLiteral("修改&X"))),
      CmdSeek(core::makeButton(this, QStringLiteral("查询&S"))),
      Cmdprnt(core::makeButton(this, QStringLiteral("编辑打印&P"))),
      CmdQcls(core::makeButton(this, QStringLiteral("清屏&Q"))),
      Cmddele(core::makeButton(this, QStringLiteral("删除&D"))),
      CmdHelp(core::makeButton(this, QStringLiteral("操作说明&H"))),
      CmdExit(core::makeButton(this, QStringLiteral("退出&E"))),
      names_(std::make_unique<NameList>(Data1, ListYcmc, QStringLiteral("ycmc"))),
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { Qpcls(); }, Txtycmc,
                              CmdSave, Cmdedit},
            KnowledgeRecord(QStringLiteral("zyyc"), QStringLiteral("ycmci"), Txtycmc,
                            {{zyyc::ycmc, Txtycmc}, {zyyc::ycgj, Cboycgj}, {zyyc::ycxw, Cboycxw},
                             {zyyc::ycgy, Txtycgy}, {zyyc::yczz, Txtyczz}, {zyyc::ycyf, Txtycyf},
                             {zyyc::ycyj, Txtycyj}, {zyyc::ycxd, Txtycgb}},
                            zyyc::dlxm))
{
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    layOut();
    setTabOrder({Txtycmc, Cboycxw, Cboycgj, Txtycgy, Txtycyf, Txtyczz, Txtycyj, Txtycgb, CmdSave, Cmdedit,
                 CmdSeek, Cmdprnt, CmdQcls, Cmddele, CmdHelp, CmdExit});

    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    Cboycxw->KeyPress = [this](int& keyAscii) { Cboycxw_KeyPress(keyAscii); };
    Cboycgj->KeyPress = [this](int& keyAscii) { Cboycgj_KeyPress(keyAscii); };
    Txtycgy->KeyPress = [this](int& keyAscii) { Txtycgy_KeyPress(keyAscii); };
    Txtyczz->KeyPress = [this](int& keyAscii) { Txtyczz_KeyPress(keyAscii); };
    Txtycyf->KeyPress = [this](int& keyAscii) { Txtycyf_KeyPress(keyAscii); };
    Txtycyj->KeyPress = [this](int& keyAscii) { Txtycyj_KeyPress(keyAscii); };
    Txtycgb->KeyPress = [this](int& keyAscii) { Txtycgb_KeyPress(keyAscii); };
    ListYcmc->Click = [this] { ListYcmc_Click(); };
    CmdSave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdSeek->Click = [this] { CmdSeek_Click(); };
    Cmdprnt->Click = [this] { Cmdprnt_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("YC")); };
    CmdExit->Click = [this] { CmdExit_Click(); };
}

Frmzyyc::~Frmzyyc() = default;

// The inputs on the left, in the order of the Enter chain; the name list, the count
// and the buttons on the right.
void Frmzyyc::layOut()
{
    const core::FieldLayout fields(this, {480, 60, 60, 300, core::look::FontSize, true});
    fields.place(QStringLiteral("名称"), Txtycmc, 120, 180, 2400);
    fields.place(QStringLiteral("性味"), Cboycxw, 3240, 180, 3960);
    fields.place(QStringLiteral("归经"), Cboycgj, 120, 660, 7080);
    struct Area {
        const char* caption;
        forms::TextBox* box;
        int top;
        int height;
    };
    const Area areas[] = {{"功效", Txtycgy, 1140, 960},
                          {"主治", Txtyczz, 2220, 1200},
                          {"用法", Txtycyf, 3540, 960},
                          {"宜忌", Txtycyj, 4620, 840},
                          {"行医心得", Txtycgb, 5580, 1500}};
    const core::FieldLayout areaLabels(this, {480, 60, 60, 600, core::look::FontSize, true});
    for (const Area& area : areas) {
        areaLabels.place(QString::fromUtf8(area.caption), area.box, 120, area.top, 7080);
        area.box->setHeight(area.height);
    }

    core::giveLook(ListYcmc);
    ListYcmc->Move(7980, 180, 3285, 4440);
    for (forms::Label* label : {Label9, Labycsl}) label->setFont(core::look::FontName, core::look::FontSize);
    Label9->Move(7980, 4800, 1860, 300);
    Labycsl->Move(9840, 4800, 1425, 300);
    forms::CommandButton* const buttons[] = {CmdSave, Cmdedit, CmdSeek, Cmdprnt, CmdQcls, Cmddele, CmdHelp, CmdExit};
    for (int k = 0; k < 8; ++k) buttons[k]->Move(7980 + (k % 2) * 1725, 5280 + (k / 2) * 480, 1560, 420);
}

// ---- loading and reset ------------------------------------------------------------

void Frmzyyc::Form_Load()
{
    const PumpScope pumping(*this);
    forms::DoEvents();
    core::placeKnowledgeBase(*this);
    names_->setUp();
    forms::DoEvents();
    Qpcls();
    forms::DoEvents();
}

void Frmzyyc::Form_Activate()
{
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyyc::Qpcls()
{
    const PumpScope pumping(*this);
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        cboycxwad(db);
        cboycgjad(db);
    });
    for (forms::TextBox* box : {Txtycmc, Txtycgy, Txtyczz, Txtycyf, Txtycyj, Txtycgb}) box->setText(QString());
    Cboycxw->setText(QString());
    Cboycgj->setText(QString());
    Labycsl->setCaption(QStringLiteral("种"));
    core::runTrapped([this] {
        const int herbs = names_->show(QStringLiteral("zyyc"));
        forms::DoEvents();
        Labycsl->setCaption(QString::number(herbs) + QStringLiteral("种"));   // zyycsl
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyyc::cboycxwad(dao::Database& db)
{
    dao::Recordset values = db.storeAndOpen(QStringLiteral("ycxw"), QStringLiteral("select distinct ycxw from zyyc order by ycxw"));
    fillCombo(*Cboycxw, values);
}

void Frmzyyc::cboycgjad(dao::Database& db)
{
    dao::Recordset values = db.storeAndOpen(QStringLiteral("ycgjcd"), QStringLiteral("select distinct ycgj from zyyc order by ycgj"));
    fillCombo(*Cboycgj, values);
}

// ---- input check and the Enter chain ----------------------------------------------

void Frmzyyc::srnrJy()
{
    for (forms::TextBox* box : {Txtycmc, Txtycgy, Txtyczz, Txtycyf, Txtycyj, Txtycgb}) box->setText(vb::Trim(box->Text()));
    for (forms::ComboBox* combo : {Cboycgj, Cboycxw}) combo->setText(vb::Trim(combo->Text()));
    srnrcw = 1;
    const std::vector<core::InputCheck> checks = {
        {core::isEmpty(Txtycmc), QStringLiteral("输入药材名称"), Txtycmc, false},
        {core::isEmpty(Txtycgy), QStringLiteral("输入药材功用"), Txtycgy, false},
        {core::isEmpty(Txtyczz), QStringLiteral("输入药材主治"), Txtyczz, false},
        {core::isEmpty(Txtycyf), QStringLiteral("输入药材用法"), Txtycyf, false},
    };
    if (core::passesChecks(checks)) srnrcw = 0;
}

void Frmzyyc::Txtycmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii) || !core::filled(Txtycmc)) return;
    road_.load(Txtycmc->Text());
    Cboycxw->SetFocusSelectAll();
}

void Frmzyyc::Cboycxw_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii)) Cboycgj->SetFocus();
}

void Frmzyyc::Cboycgj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii)) Txtycgy->SetFocusEnd();
}

void Frmzyyc::Txtycgy_KeyPress(int& keyAscii) { requiredEnter(keyAscii, Txtycgy, Txtyczz, "请输入药材功效内容"); }
void Frmzyyc::Txtyczz_KeyPress(int& keyAscii) { requiredEnter(keyAscii, Txtyczz, Txtycyf, "请输入药材主治内容"); }
void Frmzyyc::Txtycyf_KeyPress(int& keyAscii) { requiredEnter(keyAscii, Txtycyf, Txtycyj, "请输入药材使用方法"); }

void Frmzyyc::Txtycyj_KeyPress(int& keyAscii)
{
    if (forms::EnterPressed(keyAscii)) Txtycgb->SetFocusEnd();
}

// The notes take Enter as a new line once they hold something.
void Frmzyyc::Txtycgb_KeyPress(int& keyAscii)
{
    if (keyAscii == forms::vbKeySpace || (keyAscii == forms::vbKeyReturn && !core::filled(Txtycgb))) keyAscii = 0;
}

// ---- the list and the buttons -------------------------------------------------------

void Frmzyyc::ListYcmc_Click()
{
    if (core::filled(ListYcmc->Text())) road_.load(ListYcmc->Text());
}

void Frmzyyc::Cmddele_Click()
{
    road_.remove(QStringLiteral("确实要删除 ") + vb::Trim(Txtycmc->Text()) + QStringLiteral(" 药材吗？"),
                 QStringLiteral("未找到要删除的药材。"));
}

void Frmzyyc::CmdSeek_Click()
{
    const PumpScope pumping(*this);
    const std::vector<LikeCriterion> criteria = {
        {QStringLiteral("ycmc"), vb::Trim(Txtycmc->Text())}, {QStringLiteral("ycyf"), vb::Trim(Txtycyf->Text())},
        {QStringLiteral("ycgj"), vb::Trim(Cboycgj->Text())}, {QStringLiteral("ycxw"), vb::Trim(Cboycxw->Text())},
        {QStringLiteral("ycgy"), vb::Trim(Txtycgy->Text())}, {QStringLiteral("ycxd"), vb::Trim(Txtycgb->Text())},
        {QStringLiteral("yczz"), vb::Trim(Txtyczz->Text())}};
    if (allEmpty(criteria)) {
        Txtycmc->SetFocus();
        forms::Notice(QStringLiteral("输入查询条件。"));
        return;
    }
    try {
        dao::Database db = core::OpenDb();
        const int found = db.storeAndOpen(QStringLiteral("000"),
                                          QStringLiteral("select * from zyyc where ") + likeConditions(criteria))
                              .recordCount();
        db.close();
        if (found == 0) {
            forms::Notice(QStringLiteral("未找到相关药材。"));
        } else {
            Labycsl->setCaption(u' ' + QString::number(found) + QStringLiteral("种"));
            names_->show(QStringLiteral("000"));
            forms::DoEvents();
        }
    } catch (const std::exception& error) {
        forms::ReportErrorLine(error);
    }
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyyc::Cmdprnt_Click()
{
    for (const forms::TextBox* box : {Txtycmc, Txtycgy, Txtyczz, Txtycyf, Txtycyj}) {
        if (core::filled(box)) continue;
        forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly);
        CmdQcls->SetFocus();
        return;
    }
    core::ShowTextInWord(handOffText({{QStringLiteral("药材名称："), Txtycmc->Text()},
                                      {QStringLiteral("药材性味："), Cboycxw->Text()},
                                      {QStringLiteral("药材归经："), Cboycgj->Text()},
                                      {QStringLiteral("药材功效："), Txtycgy->Text()},
                                      {QStringLiteral("药材主治："), Txtyczz->Text()},
                                      {QStringLiteral("使用方法："), Txtycyf->Text()},
                                      {QStringLiteral("药材宜忌："), Txtycyj->Text()},
                                      {QStringLiteral("应用心得："), Txtycgb->Text()}},
                                     DateLine::AfterEmptyLine));
}

void Frmzyyc::CmdQcls_Click()
{
    Qpcls();
    Txtycmc->SetFocus();
}

void Frmzyyc::CmdExit_Click()
{
    Unload();
    core::menuOn();
    forms::DoEvents();
}

}  // namespace reference
