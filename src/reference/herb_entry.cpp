// The herb entry window Frmzyyc; see herb_entry.h.
#include "reference/herb_entry.h"

#include "core/enter_chain.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"

namespace reference {

namespace zyyc = data::zyyc;

Frmzyyc::Frmzyyc()
    : Txtycmc(core::makeBox(this, 0)),
      Cboycxw(core::makeCombo(this)),
      Cboycgj(core::makeCombo(this)),
      Txtycgy(core::makeTextArea(this)),
      Txtyczz(core::makeTextArea(this)),
      Txtycyf(core::makeTextArea(this)),
      Txtycyj(core::makeTextArea(this)),
      Txtycgb(core::makeTextArea(this)),
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
      CmdExit(core::makeButton(this, QStringLiteral("退出&E")))
{
    setClientSize(11385, 7440);
    setWindowButtons(WindowButtons::None);
    openRoad({Txtycmc, CmdSave, Cmdedit},
             KnowledgeRecord(QStringLiteral("zyyc"), QStringLiteral("ycmci"), Txtycmc,
                             {{zyyc::ycmc, Txtycmc}, {zyyc::ycgj, Cboycgj}, {zyyc::ycxw, Cboycxw},
                              {zyyc::ycgy, Txtycgy}, {zyyc::yczz, Txtyczz}, {zyyc::ycyf, Txtycyf},
                              {zyyc::ycyj, Txtycyj}, {zyyc::ycxd, Txtycgb}},
                             zyyc::dlxm));
    setChecks({.required = {{Txtycmc, QStringLiteral("输入药材名称")},
                            {Txtycgy, QStringLiteral("输入药材功用")},
                            {Txtyczz, QStringLiteral("输入药材主治")},
                            {Txtycyf, QStringLiteral("输入药材用法")}},
               .trimmed = {Txtycmc, Txtycgy, Txtyczz, Txtycyf, Txtycyj, Txtycgb, Cboycgj, Cboycxw}});
    setPrint({.lines = {{QStringLiteral("药材名称："), Txtycmc},
                        {QStringLiteral("药材性味："), Cboycxw, false},
                        {QStringLiteral("药材归经："), Cboycgj, false},
                        {QStringLiteral("药材功效："), Txtycgy},
                        {QStringLiteral("药材主治："), Txtyczz},
                        {QStringLiteral("使用方法："), Txtycyf},
                        {QStringLiteral("药材宜忌："), Txtycyj},
                        {QStringLiteral("应用心得："), Txtycgb, false}},
              .dateLine = DateLine::AfterEmptyLine,
              .refusedFocus = CmdQcls,
              .refusalTitled = true});
    setSearch({.table = QStringLiteral("zyyc"),
               .criteria = {{QStringLiteral("ycmc"), Txtycmc}, {QStringLiteral("ycyf"), Txtycyf},
                            {QStringLiteral("ycgj"), Cboycgj}, {QStringLiteral("ycxw"), Cboycxw},
                            {QStringLiteral("ycgy"), Txtycgy}, {QStringLiteral("ycxd"), Txtycgb},
                            {QStringLiteral("yczz"), Txtyczz}},
               .query = QStringLiteral("000"),
               .noCriterion = QStringLiteral("输入查询条件。"),
               .noMatch = QStringLiteral("未找到相关药材。")});
    setLists({{Cboycxw, QStringLiteral("ycxw"), QStringLiteral("select distinct ycxw from zyyc order by ycxw")},
              {Cboycgj, QStringLiteral("ycgjcd"), QStringLiteral("select distinct ycgj from zyyc order by ycgj")}});
    setNames({.list = std::make_shared<NameList>(Data1, ListYcmc, QStringLiteral("ycmc")),
              .sql = QStringLiteral("zyyc"),
              .count = {Labycsl, QStringLiteral("%1种"), QStringLiteral(" %1种")}});   // zyycsl
    layOut();
    wireButtons({CmdSave, Cmdedit, CmdQcls, Cmdprnt, CmdSeek});
    wireKeys();
    ListYcmc->Click = [this] { ListYcmc_Click(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("YC")); };
    CmdExit->Click = [this] { Unload(); };
}

// The inputs on the left, in the order of the Enter chain; the name list, the count
// and the buttons on the right.
void Frmzyyc::layOut()
{
    const auto label = [this](const char* caption) {
        forms::Label* made = core::makeLabel(this, QString::fromUtf8(caption));
        made->setWordWrap(true);
        return made;
    };
    core::placeAll({
        {label("名称"), 120, 240, 480, 300},     {Txtycmc, 660, 180, 2400, 360},
        {label("性味"), 3240, 240, 480, 300},    {Cboycxw, 3780, 180, 3960, 360},
        {label("归经"), 120, 720, 480, 300},     {Cboycgj, 660, 660, 7080, 360},
        {label("功效"), 120, 1200, 480, 600},    {Txtycgy, 660, 1140, 7080, 960},
        {label("主治"), 120, 2280, 480, 600},    {Txtyczz, 660, 2220, 7080, 1200},
        {label("用法"), 120, 3600, 480, 600},    {Txtycyf, 660, 3540, 7080, 960},
        {label("宜忌"), 120, 4680, 480, 600},    {Txtycyj, 660, 4620, 7080, 840},
        {label("行医心得"), 120, 5640, 480, 600}, {Txtycgb, 660, 5580, 7080, 1500},
        {ListYcmc, 7980, 180, 3285, 4440},       {Label9, 7980, 4800, 1860, 300},
        {Labycsl, 9840, 4800, 1425, 300},
        {CmdSave, 7980, 5280, 1560, 420},        {Cmdedit, 9705, 5280, 1560, 420},
        {CmdSeek, 7980, 5760, 1560, 420},        {Cmdprnt, 9705, 5760, 1560, 420},
        {CmdQcls, 7980, 6240, 1560, 420},        {Cmddele, 9705, 6240, 1560, 420},
        {CmdHelp, 7980, 6720, 1560, 420},        {CmdExit, 9705, 6720, 1560, 420},
    });
    core::giveLook(ListYcmc);
    setTabOrder({Txtycmc, Cboycxw, Cboycgj, Txtycgy, Txtycyf, Txtyczz, Txtycyj, Txtycgb, CmdSave, Cmdedit,
                 CmdSeek, Cmdprnt, CmdQcls, Cmddele, CmdHelp, CmdExit});
}

// Enter moves along the boxes; the effects, indications and usage must hold something
// first, or their message says so and the focus stays.
void Frmzyyc::wireKeys()
{
    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    Cboycxw->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii)) Cboycgj->SetFocus();
    };
    Cboycgj->KeyPress = [this](int& keyAscii) {
        if (forms::EnterPressed(keyAscii)) Txtycgy->SetFocusEnd();
    };
    const std::tuple<forms::TextBox*, forms::TextBox*, const char*> chain[] = {
        {Txtycgy, Txtyczz, "请输入药材功效内容"}, {Txtyczz, Txtycyf, "请输入药材主治内容"},
        {Txtycyf, Txtycyj, "请输入药材使用方法"}, {Txtycyj, Txtycgb, nullptr}};
    for (const auto& [box, next, message] : chain)
        box->KeyPress = [box, next, message](int& keyAscii) {
            if (!forms::EnterPressed(keyAscii)) return;
            if (!message || !box->Text().isEmpty()) next->SetFocusEnd();
            else forms::Notice(QString::fromUtf8(message));
        };
    Txtycgb->KeyPress = [this](int& keyAscii) { Txtycgb_KeyPress(keyAscii); };
}

void Frmzyyc::Form_Load()
{
    const PumpScope pumping(*this);
    forms::DoEvents();
    core::placeKnowledgeBase(*this);
    setUpNames();
    forms::DoEvents();
    Qpcls();
    forms::DoEvents();
}

void Frmzyyc::Form_Activate()
{
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void Frmzyyc::Txtycmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii) || !core::filled(Txtycmc)) return;
    road().load(Txtycmc->Text());
    Cboycxw->SetFocusSelectAll();
}

// The notes take Enter as a new line once they hold something.
void Frmzyyc::Txtycgb_KeyPress(int& keyAscii)
{
    if (keyAscii == forms::vbKeySpace || (keyAscii == forms::vbKeyReturn && !core::filled(Txtycgb))) keyAscii = 0;
}

void Frmzyyc::ListYcmc_Click()
{
    if (core::filled(ListYcmc->Text())) road().load(ListYcmc->Text());
}

void Frmzyyc::Cmddele_Click()
{
    road().remove(QStringLiteral("确实要删除 ") + vb::Trim(Txtycmc->Text()) + QStringLiteral(" 药材吗？"),
                  QStringLiteral("未找到要删除的药材。"));
}

}  // namespace reference
