// The formula entry window Frmfjdl; see formula_entry.h.
#include "reference/formula_entry.h"

#include "core/enter_chain.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/composition_trim.h"
#include "reference/herb_lookup.h"

namespace reference {

namespace zyfj = data::zyfj;

namespace {
constexpr int ClientWidth = 11670;
constexpr int ClientHeight = 8040;
constexpr int EntryTab = 0;
constexpr int HerbTab = 1;
}  // namespace

Frmfjdl::Frmfjdl()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("方剂登录"), QStringLiteral("相关药材")})),
      Txtfjmc(core::makeBox(SSTab1->Page(EntryTab), 100)),
      Txtfjnr(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjgy(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjzz(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjyf(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtlcxd(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjly(core::makeBox(SSTab1->Page(EntryTab), 100)),
      CmdSave(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("修改&X"))),
      CmdSeek(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("查询&S"))),
      Cmddele(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("删除&D"))),
      CmdQcls(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("清屏&Q"))),
      Cmdprnt(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("编辑打印&P"))),
      CmdHelp(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("使用帮助&H"))),
      CmdQuit(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("退出&T"))),
      ListFjmc(new forms::DBList(SSTab1->Page(EntryTab))),
      LabFjsl(core::makeLabel(SSTab1->Page(EntryTab))),
      Data1(new forms::DataControl(this)),
      herbs(std::make_unique<HerbLookup>(Txtfjnr, SSTab1, HerbTab, HerbLookup::Kind::Entry))
{
    setCaption(QStringLiteral("方剂登录"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    // The name is stored trimmed, as typed; the other texts normalised.
    openRoad({Txtfjmc, CmdSave, Cmdedit, core::runTrappedLine},
             KnowledgeRecord(QStringLiteral("zyfj"), QStringLiteral("fjmci"), Txtfjmc,
                             {{zyfj::fjmc, Txtfjmc, false}, {zyfj::fjgc, Txtfjnr}, {zyfj::fjgy, Txtfjgy},
                              {zyfj::fjzz, Txtfjzz}, {zyfj::fjyf, Txtfjyf}, {zyfj::fjly, Txtfjly},
                              {zyfj::fjxd, Txtlcxd}},
                             zyfj::dlxm));
    setChecks({.required = {{Txtfjmc, QStringLiteral("输入方剂名称")},
                            {Txtfjnr, QStringLiteral("输入方剂构成")},
                            {Txtfjgy, QStringLiteral("输入方剂功效")},
                            {Txtfjzz, QStringLiteral("输入方剂主治")},
                            {Txtfjyf, QStringLiteral("输入方剂用法")},
                            {Txtfjly, QStringLiteral("输入方剂来源")}},
               .notes = Txtlcxd});
    setPrint({.lines = {{QStringLiteral("方剂名称："), Txtfjmc},
                        {QStringLiteral("方剂来源："), Txtfjly},
                        {QStringLiteral("方剂内容："), Txtfjnr},
                        {QStringLiteral("方剂功效："), Txtfjgy},
                        {QStringLiteral("方剂主治："), Txtfjzz},
                        {QStringLiteral("使用方法："), Txtfjyf},
                        {QStringLiteral("应用心得："), Txtlcxd, false}},
              .dateLine = DateLine::Next,
              .refusedFocus = CmdQcls,
              .paused = Cmdprnt});
    setSearch({.table = QStringLiteral("zyfj"),
               .criteria = {{QStringLiteral("fjmc"), Txtfjmc}, {QStringLiteral("fjgc"), Txtfjnr},
                            {QStringLiteral("fjgy"), Txtfjgy}, {QStringLiteral("fjzz"), Txtfjzz},
                            {QStringLiteral("fjly"), Txtfjly}, {QStringLiteral("fjxd"), Txtlcxd},
                            {QStringLiteral("fjyf"), Txtfjyf}},
               .orderBy = QStringLiteral(" order by fjmc "),
               .noCriterion = QStringLiteral("请输入查询条件"),
               .noMatch = QStringLiteral("没有符合查询条件的方剂"),
               .trimsBoxes = true,
               .resetsOnNoMatch = true});
    setNames({.list = std::make_shared<NameList>(Data1, ListFjmc, QStringLiteral("fjmc")),
              .sql = QStringLiteral("select * from zyfj"),
              .count = {LabFjsl, QStringLiteral("%1篇"), QStringLiteral("%1种")}});
    layOut();
    wireButtons({CmdSave, Cmdedit, CmdQcls, Cmdprnt, CmdSeek});
    wireKeys();
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("FJ")); };
    CmdQuit->Click = [this] { Unload(); };
    ListFjmc->Click = [this] {
        if (core::filled(ListFjmc->Text())) road().load(ListFjmc->Text());
    };
}

Frmfjdl::~Frmfjdl() = default;

// Places on the tab's page; the labels two characters a line in the narrow column
// before their boxes.
void Frmfjdl::layOut()
{
    SSTab1->setFont(core::look::FontName, core::look::FontSize);
    SSTab1->Move(0, 0, ClientWidth, ClientHeight);
    QWidget* entry = SSTab1->Page(EntryTab);
    const auto label = [entry](const char* caption) {
        forms::Label* made = core::makeLabel(entry, QString::fromUtf8(caption));
        made->setWordWrap(true);
        return made;
    };
    core::placeAll({
        {label("方剂名称"), 240, 240, 540, 660},   {Txtfjmc, 840, 240, 4935, 375},
        {label("方剂构成"), 6000, 480, 420, 660},  {Txtfjnr, 6480, 120, 4815, 1455},
        {label("方剂功用"), 240, 960, 540, 660},   {Txtfjgy, 840, 720, 4935, 855},
        {label("方剂主治"), 240, 2040, 540, 660},  {Txtfjzz, 840, 1680, 4935, 1575},
        {label("方剂用法"), 6000, 1800, 420, 660}, {Txtfjyf, 6480, 1680, 4815, 1095},
        {label("方剂临床治疗心得"), 240, 3840, 540, 1260}, {Txtlcxd, 840, 3480, 10455, 1815},
        {label("来源"), 6000, 3000, 420, 360},     {Txtfjly, 6480, 2880, 4815, 375},
        {CmdSave, 600, 5520, 1815, 465},           {Cmdedit, 2760, 5520, 1815, 495},
        {CmdSeek, 4920, 5520, 1935, 495},          {Cmddele, 600, 6120, 1815, 495},
        {CmdQcls, 2760, 6120, 1815, 495},          {Cmdprnt, 4920, 6120, 1935, 495},
        {CmdHelp, 600, 6720, 1815, 495},           {CmdQuit, 2760, 6720, 1815, 495},
        {ListFjmc, 7200, 5520, 4095, 1500},
        {core::makeLabel(entry, QStringLiteral("共登录方剂")), 4995, 6960, 1215, 300},
        {LabFjsl, 6240, 6960, 900, 300},
    });
    core::giveLook(ListFjmc);
    setTabOrder({Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd, Txtfjly, CmdSave, Cmdedit, CmdSeek,
                 Cmddele, CmdQcls, Cmdprnt, CmdHelp, CmdQuit});
}

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

// The look-up by name: a stored formula fills the boxes; found or not, the
// composition box is next, its text selected.
void Frmfjdl::Txtfjmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii) || !core::filled(Txtfjmc)) return;
    road().load(Txtfjmc->Text());
    Txtfjnr->SetFocusSelectAll();
}

void Frmfjdl::Form_Load()
{
    core::placeKnowledgeBase(*this);
    setUpNames();
    Qpcls();
    forms::Screen::setMousePointer(forms::vbDefault);
}

void Frmfjdl::Form_Activate() { forms::DoEvents(); }


void Frmfjdl::Qpcls()
{
    SSTab1->setTab(HerbTab);
    herbs->hidePanel();   // kcxsgb
    KnowledgeEntry::Qpcls();
    herbs->clear();
    SSTab1->setTab(EntryTab);
}

// The question comes before the input check, so the formula deleted is the one on
// the screen. A name not stored is said, not passed over in silence.
void Frmfjdl::Cmddele_Click()
{
    road().remove(QStringLiteral("确实要删除 ") + vb::Trim(Txtfjmc->Text()) + QStringLiteral(" 方剂吗？"),
                  QStringLiteral("未找到要删除的方剂。"), EntryRoad::DeleteCheck::InputsFirst);
}

}  // namespace reference
