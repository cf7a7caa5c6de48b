// The patent-medicine entry window FrmZycy; see patent_medicine_entry.h.
#include "reference/patent_medicine_entry.h"

#include "core/globals.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/placement.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/buttons.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/bound_lists.h"
#include "reference/composition_trim.h"

namespace reference {

namespace fjcy = data::fjcy;

namespace {
constexpr int EntryTab = 0;
constexpr int HerbTab = 1;
const QString Registered = QStringLiteral("已经登录成药 %1 条");
}  // namespace

FrmZycy::FrmZycy()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("成药内容"), QStringLiteral("药材浏览")})),
      Txtfjmc(core::makeBox(SSTab1->Page(EntryTab), 100)),
      Txtfjnr(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjgy(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjzz(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtfjyf(core::makeTextArea(SSTab1->Page(EntryTab))),
      Txtlcxd(core::makeTextArea(SSTab1->Page(EntryTab))),
      ListFjmc(new forms::ListBox(SSTab1->Page(EntryTab))),
      LabFjsl(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("共登录成药"))),
      Label1(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("名称"))),
      Label2(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("临床应用心得"))),
      Label3(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("用法"))),
      Label4(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("成药构成"))),
      Label5(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("主治"))),
      Label6(core::makeLabel(SSTab1->Page(EntryTab), QStringLiteral("功用"))),
      Cmdsave(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("保存&B"))),
      Cmdedit(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("修改&X"))),
      Cmdseek(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("查询&S"))),
      Cmddele(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("删除&D"))),
      Cmdqcls(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("清屏&Q"))),
      Cmdprnt(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("编辑打印&P"))),
      CmdHelp(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("操作帮助&H"))),
      Cmdquit(core::makeButton(SSTab1->Page(EntryTab), QStringLiteral("退出&T"))),
      herbs(std::make_unique<HerbLookup>(Txtfjnr, SSTab1, HerbTab, HerbLookup::Kind::Entry))
{
    setCaption(QStringLiteral("中医成药编辑"));
    setClientSize(11430, 7860);
    setWindowButtons(WindowButtons::None);
    // The name is stored as typed and sought so; an edit that finds no row leaves the
    // focus in the name box. The delete's errors show their number and description.
    openRoad({Txtfjmc, Txtfjmc, Cmdedit, core::runTrapped, core::runTrappedBlock},
             KnowledgeRecord(QStringLiteral("fjcy"), QStringLiteral("cymci"), Txtfjmc,
                             {{fjcy::cymc, Txtfjmc, false, false}, {fjcy::cygc, Txtfjnr}, {fjcy::cygy, Txtfjgy},
                              {fjcy::cyzz, Txtfjzz}, {fjcy::cyyf, Txtfjyf}, {fjcy::cyxd, Txtlcxd}},
                             fjcy::dlxm));
    setChecks({.required = {{Txtfjmc, QStringLiteral("输入成药名称")},
                            {Txtfjnr, QStringLiteral("输入成药构成")},
                            {Txtfjgy, QStringLiteral("输入成药功效")},
                            {Txtfjzz, QStringLiteral("输入成药主治")},
                            {Txtfjyf, QStringLiteral("输入成药用法")}},
               .notes = Txtlcxd,
               .filler = QStringLiteral(" ")});
    setPrint({.lines = {{QStringLiteral("成药名称："), Txtfjmc},
                        {QStringLiteral("成药内容："), Txtfjnr},
                        {QStringLiteral("成药功效："), Txtfjgy},
                        {QStringLiteral("成药主治："), Txtfjzz},
                        {QStringLiteral("使用方法："), Txtfjyf},
                        {QStringLiteral("应用心得："), Txtlcxd, false}},
              .dateLine = DateLine::Next,
              .refusedFocus = Cmdqcls});
    setSearch({.table = QStringLiteral("fjcy"),
               .criteria = {{QStringLiteral("cymc"), Txtfjmc}, {QStringLiteral("cygc"), Txtfjnr},
                            {QStringLiteral("cygy"), Txtfjgy}, {QStringLiteral("cyzz"), Txtfjzz},
                            {QStringLiteral("cyxd"), Txtlcxd}, {QStringLiteral("cyyf"), Txtfjyf}},
               .query = QStringLiteral("1234"),
               .orderBy = QStringLiteral(" order by cymc "),
               .noCriterion = QStringLiteral("请输入查询条件"),
               .noMatch = QStringLiteral("没有符合查询条件的内容"),
               .trimsBoxes = true});
    // A table without rows empties the list too, so a deleted last medicine goes from it.
    setNames({.list = std::make_shared<NameList>(ListFjmc),
              .query = QStringLiteral("1234"),
              .sql = QStringLiteral("select * from fjcy"),
              .count = {LabFjsl, Registered, Registered}});
    Txtfjnr->setToolTipText(QStringLiteral("拖动鼠标选中药材，双击鼠标右键，即可查询药材特点"));
    layOut();
    wireButtons({Cmdsave, Cmdedit, Cmdqcls, Cmdprnt, Cmdseek});
    wireKeys();
    ListFjmc->Click = [this] { road().load(ListFjmc->Text()); };
    Cmddele->Click = [this] {
        road().remove(QStringLiteral("删除此条内容吗？"), QStringLiteral("没有找到要删除的成药。"),
                      EntryRoad::DeleteCheck::InputsFirst);
    };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("CY")); };
    Cmdquit->Click = [this] { Unload(); };
}

FrmZycy::~FrmZycy() = default;

// Left column name, effects, indications; right column composition, usage; the notes
// across both; buttons in three rows at the left, the names at the right.
void FrmZycy::layOut()
{
    core::placeAll({
        {Label1, 120, 210, 660, 300},        {Txtfjmc, 840, 150, 4500, 375},    {Label4, 5520, 150, 540, 600},
        {Txtfjnr, 6180, 150, 5040, 1800},    {Label6, 120, 710, 660, 300},      {Txtfjgy, 840, 650, 4500, 1300},
        {Label5, 120, 2110, 660, 300},       {Txtfjzz, 840, 2050, 4500, 1300},  {Label3, 5520, 2110, 540, 300},
        {Txtfjyf, 6180, 2050, 5040, 1300},   {Label2, 120, 3510, 660, 900},     {Txtlcxd, 840, 3450, 10380, 1300},
        {Cmdsave, 840, 4950, 1500, 420},     {Cmdedit, 2460, 4950, 1500, 420},  {Cmdseek, 4080, 4950, 1500, 420},
        {Cmddele, 840, 5490, 1500, 420},     {Cmdqcls, 2460, 5490, 1500, 420},  {Cmdprnt, 4080, 5490, 1500, 420},
        {CmdHelp, 840, 6030, 1500, 420},     {Cmdquit, 2460, 6030, 1500, 420},  {LabFjsl, 4080, 6090, 2000, 300},
        {ListFjmc, 6180, 4950, 5040, 2280},
    });
    for (forms::Label* label : {Label2, Label4}) label->setWordWrap(true);
    core::giveLook(ListFjmc);
    core::giveLook(SSTab1, core::look::FontSize, false);
    setTabOrder({Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd, Cmdsave, Cmdedit, Cmdseek, Cmddele, Cmdqcls,
                 Cmdprnt, CmdHelp, Cmdquit, ListFjmc});
}

// Enter walks name, composition, effects, indications, usage, notes; no box takes a
// blank, and only the notes box a line break.
void FrmZycy::wireKeys()
{
    Txtfjmc->KeyPress = [this](int& keyAscii) { Txtfjmc_KeyPress(keyAscii); };
    Txtfjnr->KeyPress = [this](int& keyAscii) {
        if (keyAscii != forms::vbKeySpace) RetakeTrimmedText(*Txtfjnr);
        if (forms::EnterPressed(keyAscii) && !Txtfjnr->Text().isEmpty()) Txtfjgy->SetFocusEnd();
    };
    const std::pair<forms::TextBox*, forms::TextBox*> chain[] = {{Txtfjgy, Txtfjzz}, {Txtfjzz, Txtfjyf},
                                                                  {Txtfjyf, Txtlcxd}};
    for (const auto& [box, next] : chain)
        box->KeyPress = [next](int& keyAscii) {
            if (forms::EnterPressed(keyAscii)) next->SetFocusEnd();
        };
    Txtlcxd->KeyPress = [this](int& keyAscii) {
        if (keyAscii == forms::vbKeySpace) keyAscii = 0;
        if (keyAscii == forms::vbKeyReturn && vb::Trim(Txtlcxd->Text()).isEmpty()) keyAscii = 0;
    };
}

void FrmZycy::Form_Load()
{
    forms::DoEvents();
    core::placeKnowledgeBase(*this);
    SSTab1->Move(0, 0, ScaleWidth(), ScaleHeight());
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
}

void FrmZycy::Form_Activate()
{
    forms::DoEvents();
    Qpcls();
}


void FrmZycy::Qpcls()
{
    SSTab1->setTab(HerbTab);
    herbs->hidePanel();   // kcxsgb
    forms::DoEvents();
    KnowledgeEntry::Qpcls();
    herbs->clear();
    SSTab1->setTab(EntryTab);
}

void FrmZycy::Txtfjmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString name = vb::Trim(Txtfjmc->Text());
    if (name.isEmpty()) return;
    const PumpScope pumping(*this);
    core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset found =
            db.storeAndOpen(QStringLiteral("cynrcx"), QStringLiteral("select * from fjcy  where cymc=") + dao::quote(name));
        if (!found.eof()) road().record().load(found);
    });
    forms::DoEvents();
    forms::DoEvents();
    Txtfjnr->SetFocusEnd();
}

}  // namespace reference
