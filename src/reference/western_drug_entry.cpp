// The western-drug entry window FrmXydl; see western_drug_entry.h.
#include "reference/western_drug_entry.h"

#include "core/help_window.h"
#include "core/look.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"

namespace reference {

namespace ylsy = data::ylsy;

FrmXydl::FrmXydl()
    : Txtycmc(core::makeBox(this, 0)),
      CboXylb(core::makeCombo(this)),
      Txtyczz(core::makeTextArea(this)),
      Txtycyf(core::makeTextArea(this, 200)),
      Txtycyj(core::makeTextArea(this)),
      Txtycgb(core::makeTextArea(this)),
      ListYcmc(new forms::ListBox(this)),
      LabJL(core::makeLabel(this, QStringLiteral("本系统登记药材"))),
      Label5(core::makeLabel(this, QStringLiteral("名称"))),
      Label1(core::makeLabel(this, QStringLiteral("类别"))),
      Cmdsave(core::makeButton(this, QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(this, QStringLiteral("修改&X"))),
      Cmdseek(core::makeButton(this, QStringLiteral("查询&S"))),
      Cmddele(core::makeButton(this, QStringLiteral("删除&D"))),
      Cmdprnt(core::makeButton(this, QStringLiteral("编辑打印&P"))),
      CmdHelp(core::makeButton(this, QStringLiteral("操作说明&H"))),
      Cmdqcls(core::makeButton(this, QStringLiteral("清屏&Q"))),
      Cmdexit(core::makeButton(this, QStringLiteral("退出&E")))
{
    setCaption(QStringLiteral("西药编辑"));
    setClientSize(11220, 7680);
    setWindowButtons(WindowButtons::None);
    for (const char* caption : {"作用特点", "用法剂量", "注意事项", "临床治疗应用"})
        Labbt.add(core::makeLabel(this, QString::fromUtf8(caption)));
    openRoad({Txtycmc, Cmdsave, Cmdedit},
             KnowledgeRecord(QStringLiteral("ylsy"), QStringLiteral("symci"), Txtycmc,
                             {{ylsy::symc, Txtycmc, true, false}, {ylsy::syyt, Txtyczz}, {ylsy::syjl, Txtycyf},
                              {ylsy::syzy, Txtycyj}, {ylsy::syxd, Txtycgb}, {ylsy::sylb, CboXylb}},
                             ylsy::dlxm));
    setChecks({.required = {{Txtycmc, QStringLiteral("输入西药名称")},
                            {Txtyczz, QStringLiteral("输入西药作用")},
                            {Txtycyf, QStringLiteral("输入西药用法与剂量")},
                            {Txtycyj, QStringLiteral("输入西药使用注意事项")},
                            {CboXylb, QStringLiteral("输入西药所属类别")}},
               .trimmed = {Txtycmc, Txtyczz, Txtycyf, Txtycyj, Txtycgb},
               .notes = Txtycgb,
               .filler = QStringLiteral("   ")});
    setPrint({.lines = {{QStringLiteral("药材名称："), Txtycmc},
                        {QStringLiteral("药材类别："), CboXylb},
                        {QStringLiteral("药材作用："), Txtyczz},
                        {QStringLiteral("用法剂量："), Txtycyf},
                        {QStringLiteral("注意事项："), Txtycyj},
                        {QStringLiteral("应用心得："), Txtycgb, false}},
              .dateLine = DateLine::AfterEmptyLine,
              .refusedFocus = Cmdqcls,
              .paused = Cmdprnt});
    setSearch({.table = QStringLiteral("ylsy"),
               .criteria = {{QStringLiteral("symc"), Txtycmc}, {QStringLiteral("syyt"), Txtyczz},
                            {QStringLiteral("syjl"), Txtycyf}, {QStringLiteral("syzy"), Txtycyj},
                            {QStringLiteral("sylb"), CboXylb}, {QStringLiteral("syxd"), Txtycgb}},
               .query = QStringLiteral("0000"),
               .noCriterion = QStringLiteral("输入查询条件。"),
               .noMatch = QStringLiteral("未找到相关药材。")});
    // The reset's fills show every row, a Null one as an empty text.
    setLists({{CboXylb, QStringLiteral("ycxw"), QStringLiteral("select distinct sylb from ylsy "), true}});
    setNames({.list = std::make_shared<NameList>(ListYcmc),
              .query = QStringLiteral("ycmc"),
              .sql = QStringLiteral("select distinct symc from ylsy order by symc"),
              .countQuery = std::pair{QStringLiteral("ycsl"), QStringLiteral("select * from ylsy ")},   // zyycsl
              .count = {LabJL, QStringLiteral("已经登录西药 %1 种"), QStringLiteral("符合查询条件的药材有 %1 种"),
                        QStringLiteral("已经登录西药 0  种")}});
    layOut();
    wireButtons({Cmdsave, Cmdedit, Cmdqcls, Cmdprnt, Cmdseek});

    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    CboXylb->KeyPress = [this](int& keyAscii) { CboXylb_KeyPress(keyAscii); };
    // The multi-line boxes take a line break only after some text; never a blank.
    for (forms::TextBox* box : {Txtyczz, Txtycyf, Txtycyj, Txtycgb})
        box->KeyPress = [box](int& keyAscii) {
            if (keyAscii == forms::vbKeySpace) keyAscii = 0;
            if (keyAscii == forms::vbKeyReturn && vb::Trim(box->Text()).isEmpty()) keyAscii = 0;
        };
    ListYcmc->Click = [this] { ListYcmc_Click(); };
    Cmddele->Click = [this] { road().remove(QStringLiteral("删除此条内容吗？"), QStringLiteral("没有找到要删除的西药。")); };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("XY")); };
    Cmdexit->Click = [this] { Unload(); };   // waits for a running handler
}

// Top row: name and category; below, the four texts with their labels on the left;
// on the right the count above the names, and the buttons under them.
void FrmXydl::layOut()
{
    core::placeAll({
        {Label5, 120, 180, 500, 300},        {Txtycmc, 660, 120, 3660, 375},
        {Label1, 4500, 180, 500, 300},       {CboXylb, 5040, 120, 2340, 375},
        {Labbt(0), 120, 700, 500, 900},      {Txtyczz, 660, 640, 6720, 1560},
        {Labbt(1), 120, 2400, 500, 900},     {Txtycyf, 660, 2340, 6720, 1560},
        {Labbt(2), 120, 4100, 500, 900},     {Txtycyj, 660, 4040, 6720, 1560},
        {Labbt(3), 120, 5800, 500, 900},     {Txtycgb, 660, 5740, 6720, 1800},
        {LabJL, 7560, 180, 3540, 300},       {ListYcmc, 7560, 540, 3540, 4920},
        {Cmdsave, 7560, 5640, 1740, 420},    {Cmdedit, 9360, 5640, 1740, 420},
        {Cmdseek, 7560, 6120, 1740, 420},    {Cmddele, 9360, 6120, 1740, 420},
        {Cmdprnt, 7560, 6600, 1740, 420},    {CmdHelp, 9360, 6600, 1740, 420},
        {Cmdqcls, 7560, 7080, 1740, 420},    {Cmdexit, 9360, 7080, 1740, 420},
    });
    for (forms::Label* label : Labbt) label->setWordWrap(true);
    core::giveLook(ListYcmc);
    setTabOrder({Txtycmc, Txtyczz, Txtycyf, Txtycyj, Txtycgb, Cmdsave, Cmdedit, Cmdseek, Cmddele, Cmdprnt, CmdHelp,
                 Cmdqcls, Cmdexit, ListYcmc, CboXylb});
}

void FrmXydl::Form_Load()
{
    forms::DoEvents();
    core::placeKnowledgeBase(*this);
    forms::DoEvents();
}

void FrmXydl::Form_Activate()
{
    Qpcls();
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}


void FrmXydl::Txtycmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString name = vb::Trim(Txtycmc->Text());
    if (name.isEmpty()) return;
    const PumpScope pumping(*this);
    road().load(name);
    CboXylb->SetFocusEnd();
    forms::DoEvents();
}

void FrmXydl::ListYcmc_Click()
{
    const QString name = vb::Trim(ListYcmc->Text());
    if (!name.isEmpty()) road().load(name);
}

// The drugs of the category typed; one not stored changes nothing.
void FrmXydl::CboXylb_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString category = vb::Trim(CboXylb->Text());
    if (!category.isEmpty())
        road().writer().guarded([&] {
            showFound(QStringLiteral("12345"), QStringLiteral("select * from ylsy where sylb=") + dao::quote(category));
        });
    Txtyczz->SetFocusEnd();
}

}  // namespace reference
