// The western-drug window FrmXydl; see western_drug.h.
#include "reference/western_drug.h"

#include "core/placement.h"
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "data/columns.h"
#include "platform/dao/dao.h"
#include "platform/forms/lists.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/hand_off_text.h"
#include "reference/like_criteria.h"

namespace reference {

using namespace data;

namespace {
constexpr int ClientWidth = 11220;
constexpr int ClientHeight = 7680;
const QString Registered = QStringLiteral("已经登录西药");
const QString Found = QStringLiteral("符合查询条件的药材有 ");

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }
}  // namespace

FrmXydl::FrmXydl()
    : Txtycmc(new forms::TextBox(this)),
      CboXylb(new forms::ComboBox(this)),
      Txtyczz(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      Txtycyf(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      Txtycyj(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      Txtycgb(new forms::TextBox(this, forms::TextBox::Lines::Multi)),
      ListYcmc(new forms::ListBox(this)),
      LabJL(new forms::Label(this, QStringLiteral("本系统登记药材"))),
      Label5(new forms::Label(this, QStringLiteral("名称"))),
      Label1(new forms::Label(this, QStringLiteral("类别"))),
      Cmdsave(new forms::CommandButton(this, QStringLiteral("保存&B"))),
      Cmdedit(new forms::CommandButton(this, QStringLiteral("修改&X"))),
      Cmdseek(new forms::CommandButton(this, QStringLiteral("查询&S"))),
      Cmddele(new forms::CommandButton(this, QStringLiteral("删除&D"))),
      Cmdprnt(new forms::CommandButton(this, QStringLiteral("编辑打印&P"))),
      CmdHelp(new forms::CommandButton(this, QStringLiteral("操作说明&H"))),
      Cmdqcls(new forms::CommandButton(this, QStringLiteral("清屏&Q"))),
      Cmdexit(new forms::CommandButton(this, QStringLiteral("退出&E"))),
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { Qpcls(); }, Txtycmc, Cmdsave,
                              Cmdedit},
            KnowledgeRecord(QStringLiteral("ylsy"), QStringLiteral("symci"), Txtycmc,
                            {{ylsy::symc, Txtycmc, true, false}, {ylsy::syyt, Txtyczz}, {ylsy::syjl, Txtycyf},
                             {ylsy::syzy, Txtycyj}, {ylsy::syxd, Txtycgb}, {ylsy::sylb, CboXylb}},
                            ylsy::dlxm))
{
    setCaption(QStringLiteral("西药编辑"));
    setClientSize(ClientWidth, ClientHeight);
    setWindowButtons(WindowButtons::None);
    for (const char* caption : {"作用特点", "用法剂量", "注意事项", "临床治疗应用"})
        Labbt.add(new forms::Label(this, QString::fromUtf8(caption)));
    Txtycyf->setMaxLength(200);
    for (forms::TextBox* box : {Txtyczz, Txtycyf, Txtycyj, Txtycgb}) box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    layOut();
    setTabOrder({Txtycmc, Txtyczz, Txtycyf, Txtycyj, Txtycgb, Cmdsave, Cmdedit, Cmdseek, Cmddele, Cmdprnt, CmdHelp,
                 Cmdqcls, Cmdexit, ListYcmc, CboXylb});

    Txtycmc->KeyPress = [this](int& keyAscii) { Txtycmc_KeyPress(keyAscii); };
    CboXylb->KeyPress = [this](int& keyAscii) { CboXylb_KeyPress(keyAscii); };
    // The multi-line boxes take a line break only after some text; never a blank.
    for (forms::TextBox* box : {Txtyczz, Txtycyf, Txtycyj, Txtycgb})
        box->KeyPress = [box](int& keyAscii) {
            if (keyAscii == forms::vbKeySpace) keyAscii = 0;
            if (keyAscii == forms::vbKeyReturn && trimmed(box).isEmpty()) keyAscii = 0;
        };
    ListYcmc->Click = [this] { ListYcmc_Click(); };
    Cmdsave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    Cmdseek->Click = [this] { Cmdseek_Click(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    Cmdprnt->Click = [this] { Cmdprnt_Click(); };
    CmdHelp->Click = [this] { CmdHelp_Click(); };
    Cmdqcls->Click = [this] { Cmdqcls_Click(); };
    Cmdexit->Click = [this] { Cmdexit_Click(); };
}

void FrmXydl::layOut()
{
    // Top row: name and category; below, the four texts with their labels on the left;
    // on the right the count above the names, and the buttons under them.
    Label5->Move(120, 180, 500, 300);
    Txtycmc->Move(660, 120, 3660, 375);
    Label1->Move(4500, 180, 500, 300);
    CboXylb->Move(5040, 120, 2340, 375);
    const int tops[] = {640, 2340, 4040, 5740};
    const int heights[] = {1560, 1560, 1560, 1800};
    forms::TextBox* texts[] = {Txtyczz, Txtycyf, Txtycyj, Txtycgb};
    for (int i = 0; i < 4; ++i) {
        Labbt(i)->setWordWrap(true);
        Labbt(i)->Move(120, tops[i] + 60, 500, 900);
        texts[i]->Move(660, tops[i], 6720, heights[i]);
    }
    LabJL->Move(7560, 180, 3540, 300);
    ListYcmc->Move(7560, 540, 3540, 4920);
    int i = 0;
    for (forms::CommandButton* button : {Cmdsave, Cmdedit, Cmdseek, Cmddele, Cmdprnt, CmdHelp, Cmdqcls, Cmdexit}) {
        button->Move(7560 + (i % 2) * 1800, 5640 + (i / 2) * 480, 1740, 420);
        core::giveLook(button, core::look::FontSize, false);
        ++i;
    }
    for (forms::Control* input : std::initializer_list<forms::Control*>{Txtycmc, CboXylb, Txtyczz, Txtycyf, Txtycyj,
                                                                         Txtycgb, ListYcmc})
        core::giveLook(input);
    for (forms::Label* label : {LabJL, Label5, Label1}) core::giveLook(label, core::look::FontSize, false);
    for (forms::Label* label : Labbt) core::giveLook(label, core::look::FontSize, false);
}

// ---- opening and reset ------------------------------------------------------------

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

void FrmXydl::Qpcls()
{
    const PumpScope pumping(*this);
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    for (forms::TextBox* box : {Txtycmc, Txtyczz, Txtycyf, Txtycyj, Txtycgb}) box->setText(QString());
    LabJL->setCaption(Registered);
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        cboXylbad(db);
        listycmcadd(db);
        zyycsl(db);
        db.close();
    });
    CboXylb->setText(QString());
    forms::Screen::setMousePointer(forms::vbArrow);
}

// The reset's fills show every row, a Null one as an empty text; a table without rows
// leaves the lists empty.
void FrmXydl::cboXylbad(dao::Database& db)
{
    dao::Recordset categories = db.storeAndOpen(QStringLiteral("ycxw"), QStringLiteral("select distinct sylb from ylsy "));
    QStringList items;
    for (; !categories.eof(); categories.moveNext()) items << vb::Trim(categories.field(0).toString());
    CboXylb->setItems(items);
}

void FrmXydl::listycmcadd(dao::Database& db)
{
    dao::Recordset names =
        db.storeAndOpen(QStringLiteral("ycmc"), QStringLiteral("select distinct symc from ylsy order by symc"));
    QStringList items;
    for (; !names.eof(); names.moveNext()) items << vb::Trim(names.field(0).toString());
    ListYcmc->setItems(items);
}

void FrmXydl::zyycsl(dao::Database& db)
{
    dao::Recordset all = db.storeAndOpen(QStringLiteral("ycsl"), QStringLiteral("select * from ylsy "));
    if (all.eof()) {
        LabJL->setCaption(Registered + QStringLiteral(" 0 ") + QStringLiteral(" 种"));
        return;
    }
    all.moveLast();
    all.moveFirst();
    LabJL->setCaption(Registered + u' ' + QString::number(all.recordCount()) + QStringLiteral(" 种"));
}

bool FrmXydl::showFound(dao::Recordset& found)
{
    if (found.eof()) return false;
    found.moveLast();
    found.moveFirst();
    forms::DoEvents();
    LabJL->setCaption(Found + QString::number(found.recordCount()) + QStringLiteral(" 种"));
    ListYcmc->Clear();
    forms::EventSlice pump;
    for (; !found.eof(); found.moveNext()) {
        ListYcmc->AddItem(vb::Trim(found.field(0).toString()));
        pump.DoEvents();
    }
    return true;
}

// ---- input check and the writing buttons ------------------------------------------

void FrmXydl::srnrJy()
{
    for (forms::TextBox* box : {Txtycmc, Txtyczz, Txtycyf, Txtycyj, Txtycgb}) box->setText(trimmed(box));
    srnrcw = 1;
    struct Check {
        bool empty;
        const char* message;
        forms::Control* box;
    };
    const Check checks[] = {
        {Txtycmc->Text().isEmpty(), "输入西药名称", Txtycmc},
        {Txtyczz->Text().isEmpty(), "输入西药作用", Txtyczz},
        {Txtycyf->Text().isEmpty(), "输入西药用法与剂量", Txtycyf},
        {Txtycyj->Text().isEmpty(), "输入西药使用注意事项", Txtycyj},
        {vb::Trim(CboXylb->Text()).isEmpty(), "输入西药所属类别", CboXylb},
    };
    for (const Check& check : checks) {
        if (!check.empty) continue;
        forms::Notice(QString::fromUtf8(check.message));
        check.box->SetFocus();
        return;
    }
    if (Txtycgb->Text().isEmpty()) Txtycgb->setText(QStringLiteral("   "));
    srnrcw = 0;
}

void FrmXydl::Cmddele_Click()
{
    road_.remove(QStringLiteral("删除此条内容吗？"), QStringLiteral("没有找到要删除的西药。"));
}

// ---- look-ups and the query -------------------------------------------------------

void FrmXydl::Txtycmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString name = trimmed(Txtycmc);
    if (name.isEmpty()) return;
    const PumpScope pumping(*this);
    road_.load(name);
    CboXylb->SetFocusEnd();
    forms::DoEvents();
}

void FrmXydl::ListYcmc_Click()
{
    const QString name = vb::Trim(ListYcmc->Text());
    if (name.isEmpty()) return;
    road_.load(name);
}

void FrmXydl::CboXylb_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString category = vb::Trim(CboXylb->Text());
    // The list fills let events run: the road's guard keeps a second press out meanwhile.
    if (!category.isEmpty())
        road_.writer().guarded([&] {
            core::runTrapped([&] {
                dao::Database db = core::OpenDb();
                forms::DoEvents();
                dao::Recordset found = db.storeAndOpen(
                    QStringLiteral("12345"), QStringLiteral("select * from ylsy where sylb=") + dao::quote(category));
                showFound(found);
            });
        });
    Txtyczz->SetFocusEnd();
}

void FrmXydl::Cmdseek_Click()
{
    const QString name = trimmed(Txtycmc), effects = trimmed(Txtyczz), usage = trimmed(Txtycyf),
                  notes = trimmed(Txtycgb), cautions = trimmed(Txtycyj), category = vb::Trim(CboXylb->Text());
    if ((name + effects + usage + notes + cautions + category).isEmpty()) {
        Txtycmc->SetFocus();
        forms::Notice(QStringLiteral("输入查询条件。"));
        return;
    }
    const QString sql = QStringLiteral("select * from ylsy where ") +
                        likeConditions({{QStringLiteral("symc"), name},
                                        {QStringLiteral("syyt"), effects},
                                        {QStringLiteral("syjl"), usage},
                                        {QStringLiteral("syzy"), cautions},
                                        {QStringLiteral("sylb"), category},
                                        {QStringLiteral("syxd"), notes}});
    road_.writer().guarded([&] {
        core::runTrappedLine([&] {
            dao::Database db = core::OpenDb();
            forms::DoEvents();
            dao::Recordset found = db.storeAndOpen(QStringLiteral("0000"), sql);
            forms::DoEvents();
            if (!showFound(found)) forms::Notice(QStringLiteral("未找到相关药材。"));
        });
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

// ---- print, help, clear, exit -----------------------------------------------------

void FrmXydl::Cmdprnt_Click()
{
    const QString name = trimmed(Txtycmc), category = vb::Trim(CboXylb->Text()), effects = trimmed(Txtyczz),
                  usage = trimmed(Txtycyf), cautions = trimmed(Txtycyj), notes = trimmed(Txtycgb);
    if (name.isEmpty() || category.isEmpty() || effects.isEmpty() || cautions.isEmpty() || usage.isEmpty()) {
        forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly, QString());
        Cmdqcls->SetFocus();
        return;
    }
    const PumpScope pumping(*this);
    core::runTrappedLine([&] {
        forms::Screen::setMousePointer(forms::vbArrowHourglass);
        const QString text = handOffText({{QStringLiteral("药材名称："), name},
                                          {QStringLiteral("药材类别："), category},
                                          {QStringLiteral("药材作用："), effects},
                                          {QStringLiteral("用法剂量："), usage},
                                          {QStringLiteral("注意事项："), cautions},
                                          {QStringLiteral("应用心得："), notes}},
                                         DateLine::AfterEmptyLine);
        core::PauseAfterPrint(Cmdprnt);
        core::ShowTextInWord(text);
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

void FrmXydl::CmdHelp_Click() { core::ShowHelpFor(this, QStringLiteral("XY")); }

void FrmXydl::Cmdqcls_Click()
{
    Qpcls();
    Txtycmc->SetFocus();
}

// Unloading waits for a running handler; the menus come back when the window goes.
void FrmXydl::Cmdexit_Click() { Unload(); }

void FrmXydl::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

}  // namespace reference
