// The formula entry window Frmfjdl; see formula_entry.h.
#include "reference/formula_entry.h"

#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "core/help_window.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/composition_trim.h"
#include "reference/entry_road.h"
#include "reference/hand_off_text.h"
#include "reference/herb_lookup.h"
#include "reference/like_criteria.h"

namespace reference {

using namespace data;

namespace {

constexpr int ClientWidth = 11670;
constexpr int ClientHeight = 8040;
constexpr int EntryTab = 0;
constexpr int HerbTab = 1;

const QString AllFormulas = QStringLiteral("select * from zyfj");

}  // namespace

Frmfjdl::Frmfjdl()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("方剂登录"), QStringLiteral("相关药材")})),
      Data1(new forms::DataControl(this))
{
    setCaption(QStringLiteral("方剂登录"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);

    QWidget* entry = SSTab1->Page(EntryTab);
    using Lines = forms::TextBox::Lines;
    Txtfjmc = new forms::TextBox(entry);
    Txtfjnr = new forms::TextBox(entry, Lines::Multi);
    Txtfjgy = new forms::TextBox(entry, Lines::Multi);
    Txtfjzz = new forms::TextBox(entry, Lines::Multi);
    Txtfjyf = new forms::TextBox(entry, Lines::Multi);
    Txtlcxd = new forms::TextBox(entry, Lines::Multi);
    Txtfjly = new forms::TextBox(entry);
    CmdSave = new forms::CommandButton(entry, QStringLiteral("保存&B"));
    Cmdedit = new forms::CommandButton(entry, QStringLiteral("修改&X"));
    CmdSeek = new forms::CommandButton(entry, QStringLiteral("查询&S"));
    Cmddele = new forms::CommandButton(entry, QStringLiteral("删除&D"));
    CmdQcls = new forms::CommandButton(entry, QStringLiteral("清屏&Q"));
    Cmdprnt = new forms::CommandButton(entry, QStringLiteral("编辑打印&P"));
    CmdHelp = new forms::CommandButton(entry, QStringLiteral("使用帮助&H"));
    CmdQuit = new forms::CommandButton(entry, QStringLiteral("退出&T"));
    ListFjmc = new forms::DBList(entry);
    LabFjsl = new forms::Label(entry);
    Txtfjmc->setMaxLength(100);
    Txtfjly->setMaxLength(100);
    names_ = std::make_unique<NameList>(Data1, ListFjmc, QStringLiteral("fjmc"));
    // The name is stored trimmed, as typed; the other texts normalised.
    road_ = std::make_unique<EntryRoad>(
        EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { Qpcls(); }, Txtfjmc, CmdSave,
                          Cmdedit, core::runTrappedLine},
        KnowledgeRecord(QStringLiteral("zyfj"), QStringLiteral("fjmci"), Txtfjmc,
                        {{zyfj::fjmc, Txtfjmc, false}, {zyfj::fjgc, Txtfjnr}, {zyfj::fjgy, Txtfjgy},
                         {zyfj::fjzz, Txtfjzz}, {zyfj::fjyf, Txtfjyf}, {zyfj::fjly, Txtfjly}, {zyfj::fjxd, Txtlcxd}},
                        zyfj::dlxm));

    herbs = std::make_unique<HerbLookup>(Txtfjnr, SSTab1, HerbTab, HerbLookup::Kind::Entry);

    layOut();
    wireKeys();
    CmdSave->Click = [this] { road_->save(); };
    Cmdedit->Click = [this] { road_->edit(); };
    CmdSeek->Click = [this] { CmdSeek_Click(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdQcls->Click = [this] { CmdQcls_Click(); };
    Cmdprnt->Click = [this] { Cmdprnt_Click(); };
    CmdHelp->Click = [this] { CmdHelp_Click(); };
    CmdQuit->Click = [this] { CmdQuit_Click(); };
    ListFjmc->Click = [this] { ListFjmc_Click(); };
}

Frmfjdl::~Frmfjdl() = default;

std::vector<forms::TextBox*> Frmfjdl::byColumn() const
{
    return {Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtfjly, Txtlcxd};
}

void Frmfjdl::layOut()
{
    SSTab1->setFont(core::look::FontName, core::look::FontSize);
    SSTab1->Move(0, 0, ClientWidth, ClientHeight);
    QWidget* entry = SSTab1->Page(EntryTab);
    struct Field {
        forms::TextBox* box;
        int left, top, width, height;
        const char* caption;
        int labelLeft, labelTop;
    };
    const Field fields[] = {
        {Txtfjmc, 840, 600, 4935, 375, "方剂名称", 240, 600},
        {Txtfjnr, 6480, 480, 4815, 1455, "方剂构成", 6000, 840},
        {Txtfjgy, 840, 1080, 4935, 855, "方剂功用", 240, 1320},
        {Txtfjzz, 840, 2040, 4935, 1575, "方剂主治", 240, 2400},
        {Txtfjyf, 6480, 2040, 4815, 1095, "方剂用法", 6000, 2160},
        {Txtlcxd, 840, 3840, 10455, 1815, "方剂临床治疗心得", 240, 4200},
        {Txtfjly, 6480, 3240, 4815, 375, "来源", 6000, 3360},
    };
    constexpr int Strip = core::look::TabStripHeight;
    for (const Field& field : fields) {
        field.box->Move(field.left, field.top - Strip, field.width, field.height);
        core::giveLook(field.box);
        if (field.box->MultiLine()) field.box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
        auto* label = new forms::Label(entry, QString::fromUtf8(field.caption));
        label->setFont(core::look::FontName, core::look::FontSize);
        label->setWordWrap(true);
        // Two characters a line in the narrow column before the box.
        const int lines = static_cast<int>(label->Caption().size() + 1) / 2;
        label->Move(field.labelLeft, field.labelTop - Strip, field.left - field.labelLeft - 60, lines * 300 + 60);
    }
    const std::pair<forms::CommandButton*, QRect> buttons[] = {
        {CmdSave, {600, 5880, 1815, 465}},  {Cmdedit, {2760, 5880, 1815, 495}}, {CmdSeek, {4920, 5880, 1935, 495}},
        {Cmddele, {600, 6480, 1815, 495}},  {CmdQcls, {2760, 6480, 1815, 495}}, {Cmdprnt, {4920, 6480, 1935, 495}},
        {CmdHelp, {600, 7080, 1815, 495}},  {CmdQuit, {2760, 7080, 1815, 495}}};
    for (const auto& [button, place] : buttons) {
        core::giveLook(button, core::look::FontSize, false);
        button->Move(place.x(), place.y() - Strip, place.width(), place.height());
    }
    core::giveLook(ListFjmc);
    ListFjmc->Move(7200, 5880 - Strip, 4095, 1500);
    auto* counted = new forms::Label(entry, QStringLiteral("共登录方剂"));
    for (forms::Label* label : {counted, LabFjsl}) label->setFont(core::look::FontName, core::look::FontSize);
    counted->Move(4995, 7320 - Strip, 1215, 300);
    LabFjsl->Move(6240, 7320 - Strip, 900, 300);

    setTabOrder({Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd, Txtfjly, CmdSave, Cmdedit, CmdSeek,
                 Cmddele, CmdQcls, Cmdprnt, CmdHelp, CmdQuit});
}

// ---- keys ---------------------------------------------------------------------------

// The space never enters a box; Enter in a box holding more than blanks moves on
// (the name box after its look-up), in a blank one it is swallowed. In the notes Enter
// starts a new line instead.
void Frmfjdl::wireKeys()
{
    const std::pair<forms::TextBox*, forms::Control*> chain[] = {
        {Txtfjgy, Txtfjzz}, {Txtfjzz, Txtfjyf}, {Txtfjyf, Txtlcxd}, {Txtfjly, CmdSave}};
    for (const auto& [box, next] : chain) {
        box->KeyPress = [box, next](int& keyAscii) {
            if (!forms::EnterPressed(keyAscii) || !core::filled(box)) return;
            if (auto* text = qobject_cast<forms::TextBox*>(next)) text->SetFocusEnd();
            else next->SetFocus();
        };
    }
    Txtlcxd->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace || (keyAscii == forms::vbKeyReturn && !core::filled(Txtlcxd))) keyAscii = 0;
    };
    Txtfjmc->KeyPress = [this](int& keyAscii) { Txtfjmc_KeyPress(keyAscii); };
    Txtfjnr->KeyPress = [this](int& keyAscii) { Txtfjnr_KeyPress(keyAscii); };
}

void Frmfjdl::Txtfjnr_KeyPress(int& keyAscii)
{
    if (keyAscii != forms::vbKeySpace) RetakeTrimmedText(*Txtfjnr);
    if (forms::EnterPressed(keyAscii) && core::filled(Txtfjnr)) Txtfjgy->SetFocusEnd();
}

// ---- opening and reset --------------------------------------------------------------

void Frmfjdl::Form_Load()
{
    core::placeKnowledgeBase(*this);
    names_->setUp();
    Qpcls();
    forms::Screen::setMousePointer(forms::vbDefault);
}

void Frmfjdl::Form_Activate() { forms::DoEvents(); }

void Frmfjdl::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

void Frmfjdl::kcxsgb() { herbs->hidePanel(); }

void Frmfjdl::Qpcls()
{
    SSTab1->setTab(HerbTab);
    kcxsgb();
    for (forms::TextBox* box : byColumn()) box->setText(QString());
    core::runTrappedLine([this] { LabFjsl->setCaption(QString::number(names_->show(AllFormulas)) + QStringLiteral("篇")); });
    herbs->clear();
    forms::Screen::setMousePointer(forms::vbDefault);
    SSTab1->setTab(EntryTab);
}

// ---- input check and the writes -----------------------------------------------------

void Frmfjdl::srnrJy()
{
    srnrcw = 1;
    const std::vector<core::InputCheck> checks = {
        {core::isBlank(Txtfjmc), QStringLiteral("输入方剂名称"), Txtfjmc, false},
        {core::isBlank(Txtfjnr), QStringLiteral("输入方剂构成"), Txtfjnr, false},
        {core::isBlank(Txtfjgy), QStringLiteral("输入方剂功效"), Txtfjgy, false},
        {core::isBlank(Txtfjzz), QStringLiteral("输入方剂主治"), Txtfjzz, false},
        {core::isBlank(Txtfjyf), QStringLiteral("输入方剂用法"), Txtfjyf, false},
        {core::isBlank(Txtfjly), QStringLiteral("输入方剂来源"), Txtfjly, false}};
    if (!core::passesChecks(checks)) return;
    if (!core::filled(Txtlcxd)) Txtlcxd->setText(QString());
    srnrcw = 0;
}

// The question comes before the input check, so the formula deleted is the one on
// the screen. A name not stored is said, not passed over in silence.
void Frmfjdl::Cmddele_Click()
{
    road_->remove(QStringLiteral("确实要删除 ") + vb::Trim(Txtfjmc->Text()) + QStringLiteral(" 方剂吗？"),
                 QStringLiteral("未找到要删除的方剂。"), EntryRoad::DeleteCheck::InputsFirst);
}

// ---- search, list and print ---------------------------------------------------------

void Frmfjdl::CmdSeek_Click()
{
    for (forms::TextBox* box : byColumn()) box->setText(vb::Trim(box->Text()));
    const std::vector<LikeCriterion> criteria = {
        {QStringLiteral("fjmc"), Txtfjmc->Text()}, {QStringLiteral("fjgc"), Txtfjnr->Text()},
        {QStringLiteral("fjgy"), Txtfjgy->Text()}, {QStringLiteral("fjzz"), Txtfjzz->Text()},
        {QStringLiteral("fjly"), Txtfjly->Text()}, {QStringLiteral("fjxd"), Txtlcxd->Text()},
        {QStringLiteral("fjyf"), Txtfjyf->Text()}};
    if (allEmpty(criteria)) {
        forms::Notice(QStringLiteral("请输入查询条件"));
        Txtfjmc->SetFocus();
        return;
    }
    const QString sql =
        QStringLiteral("select * from zyfj where ") + likeConditions(criteria) + QStringLiteral(" order by fjmc ");
    int found = -1;
    core::runTrappedLine([&] { found = names_->show(sql); });
    if (found == 0) {
        forms::Notice(QStringLiteral("没有符合查询条件的方剂"));
        Qpcls();
    } else if (found > 0) {
        LabFjsl->setCaption(QString::number(found) + QStringLiteral("种"));
    }
    forms::Screen::setMousePointer(forms::vbDefault);
}

void Frmfjdl::ListFjmc_Click()
{
    if (core::filled(ListFjmc->Text())) road_->load(ListFjmc->Text());
}

// The look-up by name: a stored formula fills the boxes; found or not, the
// composition box is next, its text selected.
void Frmfjdl::Txtfjmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii) || !core::filled(Txtfjmc)) return;
    road_->load(Txtfjmc->Text());
    Txtfjnr->SetFocusSelectAll();
}

void Frmfjdl::Cmdprnt_Click()
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    for (const forms::TextBox* box : {Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtfjly}) {
        if (core::filled(box)) continue;
        forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly, QString());
        CmdQcls->SetFocus();
        forms::Screen::setMousePointer(forms::vbDefault);
        return;
    }
    const QString text = handOffText({{QStringLiteral("方剂名称："), Txtfjmc->Text()},
                                      {QStringLiteral("方剂来源："), Txtfjly->Text()},
                                      {QStringLiteral("方剂内容："), Txtfjnr->Text()},
                                      {QStringLiteral("方剂功效："), Txtfjgy->Text()},
                                      {QStringLiteral("方剂主治："), Txtfjzz->Text()},
                                      {QStringLiteral("使用方法："), Txtfjyf->Text()},
                                      {QStringLiteral("应用心得："), Txtlcxd->Text()}},
                                     DateLine::Next);
    const PumpScope pumping(*this);
    core::PauseAfterPrint(Cmdprnt);
    core::ShowTextInWord(text);
    forms::Screen::setMousePointer(forms::vbDefault);
}

// ---- buttons ------------------------------------------------------------------------

void Frmfjdl::CmdQcls_Click()
{
    Qpcls();
    Txtfjmc->SetFocus();
}

void Frmfjdl::CmdHelp_Click() { core::ShowHelpFor(this, QStringLiteral("FJ")); }

void Frmfjdl::CmdQuit_Click() { Unload(); }

}  // namespace reference
