// The patent-medicine entry window FrmZycy; see patent_medicine_entry.h.
#include "reference/patent_medicine_entry.h"

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
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"
#include "reference/composition_trim.h"
#include "reference/hand_off_text.h"
#include "reference/like_criteria.h"

namespace reference {

using namespace data;

namespace {
const QString Registered = QStringLiteral("已经登录成药");

QString trimmed(const forms::TextBox* box) { return vb::Trim(box->Text()); }

}  // namespace

FrmZycy::~FrmZycy() = default;

FrmZycy::FrmZycy()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("成药内容"), QStringLiteral("药材浏览")})),
      Txtfjmc(new forms::TextBox(SSTab1->Page(0))),
      Txtfjnr(new forms::TextBox(SSTab1->Page(0), forms::TextBox::Lines::Multi)),
      Txtfjgy(new forms::TextBox(SSTab1->Page(0), forms::TextBox::Lines::Multi)),
      Txtfjzz(new forms::TextBox(SSTab1->Page(0), forms::TextBox::Lines::Multi)),
      Txtfjyf(new forms::TextBox(SSTab1->Page(0), forms::TextBox::Lines::Multi)),
      Txtlcxd(new forms::TextBox(SSTab1->Page(0), forms::TextBox::Lines::Multi)),
      ListFjmc(new forms::ListBox(SSTab1->Page(0))),
      LabFjsl(new forms::Label(SSTab1->Page(0), QStringLiteral("共登录成药"))),
      Label1(new forms::Label(SSTab1->Page(0), QStringLiteral("名称"))),
      Label2(new forms::Label(SSTab1->Page(0), QStringLiteral("临床应用心得"))),
      Label3(new forms::Label(SSTab1->Page(0), QStringLiteral("用法"))),
      Label4(new forms::Label(SSTab1->Page(0), QStringLiteral("成药构成"))),
      Label5(new forms::Label(SSTab1->Page(0), QStringLiteral("主治"))),
      Label6(new forms::Label(SSTab1->Page(0), QStringLiteral("功用"))),
      Cmdsave(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("保存&B"))),
      Cmdedit(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("修改&X"))),
      Cmdseek(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("查询&S"))),
      Cmddele(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("删除&D"))),
      Cmdqcls(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("清屏&Q"))),
      Cmdprnt(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("编辑打印&P"))),
      CmdHelp(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("操作帮助&H"))),
      Cmdquit(new forms::CommandButton(SSTab1->Page(0), QStringLiteral("退出&T"))),
      herbs(std::make_unique<HerbLookup>(Txtfjnr, SSTab1, 1, HerbLookup::Kind::Entry)),
      // The name is stored as typed and sought so; an edit that finds no row leaves
      // the focus in the name box.
      road_(EntryRoad::Window{*this, [this] { srnrJy(); return srnrcw == 0; }, [this] { Qpcls(); }, Txtfjmc, Txtfjmc,
                              Cmdedit},
            KnowledgeRecord(QStringLiteral("fjcy"), QStringLiteral("cymci"), Txtfjmc,
                            {{fjcy::cymc, Txtfjmc, false, false}, {fjcy::cygc, Txtfjnr}, {fjcy::cygy, Txtfjgy},
                             {fjcy::cyzz, Txtfjzz}, {fjcy::cyyf, Txtfjyf}, {fjcy::cyxd, Txtlcxd}},
                            fjcy::dlxm))
{
    setCaption(QStringLiteral("中医成药编辑"));
    setClientSize(11430, 7860);
    setWindowButtons(WindowButtons::None);
    Txtfjmc->setMaxLength(100);
    for (forms::TextBox* box : {Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd})
        box->setScrollBars(forms::TextBox::ScrollBars::Vertical);
    Txtfjnr->setToolTipText(QStringLiteral("拖动鼠标选中药材，双击鼠标右键，即可查询药材特点"));
    layOut();
    setTabOrder({Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd, Cmdsave, Cmdedit, Cmdseek, Cmddele, Cmdqcls,
                 Cmdprnt, CmdHelp, Cmdquit, ListFjmc});

    // Enter walks name, composition, effects, indications, usage, notes; no box takes a
    // blank, and only the notes box a line break.
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
        if (keyAscii == forms::vbKeyReturn && trimmed(Txtlcxd).isEmpty()) keyAscii = 0;
    };
    ListFjmc->Click = [this] { ListFjmc_Click(); };
    Cmdsave->Click = [this] { road_.save(); };
    Cmdedit->Click = [this] { road_.edit(); };
    Cmddele->Click = [this] { Cmddele_Click(); };
    Cmdseek->Click = [this] { Cmdseek_Click(); };
    Cmdprnt->Click = [this] { Cmdprnt_Click(); };
    Cmdqcls->Click = [this] {
        Qpcls();
        Txtfjmc->SetFocus();
        forms::DoEvents();
    };
    CmdHelp->Click = [this] { core::ShowHelpFor(this, QStringLiteral("CY")); };
    Cmdquit->Click = [this] { Unload(); };
}

void FrmZycy::layOut()
{
    // Left column name, effects, indications; right column composition, usage; the
    // notes across both; buttons in three rows at the left, the names at the right.
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
    for (forms::TextBox* box : {Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd}) core::giveLook(box);
    core::giveLook(ListFjmc);
}

forms::TextBox* FrmZycy::boxes(int column) const
{
    forms::TextBox* const inOrder[] = {Txtfjmc, Txtfjnr, Txtfjgy, Txtfjzz, Txtfjyf, Txtlcxd};
    return inOrder[column];
}

// ---- opening and reset ------------------------------------------------------------

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

void FrmZycy::Form_QueryUnload(int& /*cancel*/)
{
    forms::DoEvents();
    core::menuOn();
}

// A table without rows empties the list too, so a deleted last medicine goes from it.
void FrmZycy::Qpcls()
{
    const PumpScope pumping(*this);
    SSTab1->setTab(1);
    kcxsgb();
    forms::DoEvents();
    for (int col = 0; col < 6; ++col) boxes(col)->setText(QString());
    forms::DoEvents();
    core::runTrapped([this] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        dao::Recordset all = db.storeAndOpen(QStringLiteral("1234"), QStringLiteral("select * from fjcy"));
        QStringList names;
        for (; !all.eof(); all.moveNext()) names << vb::Trim(all.field(0).toString());
        LabFjsl->setCaption(names.isEmpty() ? Registered + QStringLiteral(" 0 条")
                                            : Registered + u' ' + QString::number(names.size()) + QStringLiteral(" 条"));
        ListFjmc->setItems(names);
    });
    forms::DoEvents();
    herbs->clear();
    forms::Screen::setMousePointer(forms::vbArrow);
    SSTab1->setTab(0);
}

void FrmZycy::kcxsgb() { herbs->hidePanel(); }

// ---- input check and the writing buttons ------------------------------------------

void FrmZycy::srnrJy()
{
    srnrcw = 1;
    const std::pair<forms::TextBox*, const char*> checks[] = {{Txtfjmc, "输入成药名称"}, {Txtfjnr, "输入成药构成"},
                                                              {Txtfjgy, "输入成药功效"}, {Txtfjzz, "输入成药主治"},
                                                              {Txtfjyf, "输入成药用法"}};
    for (const auto& [box, message] : checks) {
        if (!trimmed(box).isEmpty()) continue;
        forms::Notice(QString::fromUtf8(message));
        box->SetFocus();
        return;
    }
    if (trimmed(Txtlcxd).isEmpty()) Txtlcxd->setText(QStringLiteral(" "));
    srnrcw = 0;
}

void FrmZycy::Cmddele_Click()
{
    road_.remove(QStringLiteral("删除此条内容吗？"), QStringLiteral("没有找到要删除的成药。"),
                 EntryRoad::DeleteCheck::InputsFirst);
}

// ---- look-ups and the query -------------------------------------------------------

void FrmZycy::Txtfjmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii)) return;
    const QString name = trimmed(Txtfjmc);
    if (name.isEmpty()) return;
    const PumpScope pumping(*this);
    core::runTrapped([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset found =
            db.storeAndOpen(QStringLiteral("cynrcx"), QStringLiteral("select * from fjcy  where cymc=") + dao::quote(name));
        if (!found.eof()) road_.record().load(found);
    });
    forms::DoEvents();
    forms::DoEvents();
    Txtfjnr->SetFocusEnd();
}

void FrmZycy::ListFjmc_Click() { road_.load(ListFjmc->Text()); }

void FrmZycy::Cmdseek_Click()
{
    for (int col = 0; col < 6; ++col) boxes(col)->setText(trimmed(boxes(col)));
    bool allEmpty = true;
    for (int col = 0; col < 6; ++col) allEmpty = allEmpty && boxes(col)->Text().isEmpty();
    if (allEmpty) {
        forms::Notice(QStringLiteral("请输入查询条件"));
        Txtfjmc->SetFocus();
        return;
    }
    const QString sql = QStringLiteral("select * from fjcy where ") +
                        likeConditions({{QStringLiteral("cymc"), Txtfjmc->Text()},
                                        {QStringLiteral("cygc"), Txtfjnr->Text()},
                                        {QStringLiteral("cygy"), Txtfjgy->Text()},
                                        {QStringLiteral("cyzz"), Txtfjzz->Text()},
                                        {QStringLiteral("cyxd"), Txtlcxd->Text()},
                                        {QStringLiteral("cyyf"), Txtfjyf->Text()}}) +
                        QStringLiteral(" order by cymc ");
    const PumpScope pumping(*this);
    core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        forms::DoEvents();
        dao::Recordset found = db.storeAndOpen(QStringLiteral("1234"), sql);
        if (found.eof()) {
            forms::Notice(QStringLiteral("没有符合查询条件的内容"));
            return;
        }
        QStringList names;
        for (; !found.eof(); found.moveNext()) names << vb::Trim(found.field(0).toString());
        LabFjsl->setCaption(Registered + u' ' + QString::number(names.size()) + QStringLiteral(" 条"));
        ListFjmc->setItems(names);
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

// ---- print --------------------------------------------------------------------------

void FrmZycy::Cmdprnt_Click()
{
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    core::runTrappedLine([this] {
        const QString name = trimmed(Txtfjmc), composition = trimmed(Txtfjnr), effects = trimmed(Txtfjgy),
                      indications = trimmed(Txtfjzz), usage = trimmed(Txtfjyf), notes = trimmed(Txtlcxd);
        if (name.isEmpty() || composition.isEmpty() || effects.isEmpty() || indications.isEmpty() || usage.isEmpty()) {
            forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly, QString());
            Cmdqcls->SetFocus();
            return;
        }
        const QString text = handOffText({{QStringLiteral("成药名称："), name},
                                          {QStringLiteral("成药内容："), composition},
                                          {QStringLiteral("成药功效："), effects},
                                          {QStringLiteral("成药主治："), indications},
                                          {QStringLiteral("使用方法："), usage},
                                          {QStringLiteral("应用心得："), notes}},
                                         DateLine::Next);
        core::ShowTextInWord(text);
    });
    forms::Screen::setMousePointer(forms::vbArrow);
}

}  // namespace reference
