// The formula entry window Frmfjdl; see formula_entry.h.
#include "reference/formula_entry.h"

#include "core/enter_chain.h"
#include "core/error_trap.h"
#include "core/globals.h"
#include "core/help_window.h"
#include "core/input_check.h"
#include "core/look.h"
#include "core/main_window.h"
#include "core/print_handoff.h"
#include "core/text_normalizer.h"
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"
#include "reference/composition_trim.h"
#include "reference/herb_lookup.h"

#include <QColor>

namespace reference {

namespace {

constexpr int ClientWidth = 11670;
constexpr int ClientHeight = 8040;
constexpr int EntryTab = 0;
constexpr int HerbTab = 1;

const QString AllFormulas = QStringLiteral("select * from zyfj");

// The condition of one search criterion (see Frmfjll's query).
QString likeCondition(const QString& column, const QString& criterion)
{
    if (criterion.isEmpty()) return QStringLiteral("(%1 like '**' or %1 is null)").arg(column);
    return column + QStringLiteral(" like ") + dao::quote(QLatin1Char('*') + criterion + QLatin1Char('*'));
}

}  // namespace

Frmfjdl::Frmfjdl()
    : SSTab1(new forms::TabbedDialog(this, {QStringLiteral("方剂登录"), QStringLiteral("相关药材")})),
      Data1(new forms::DataControl(this))
{
    setCaption(QStringLiteral("方剂登录"));
    setClientSize(ClientWidth, ClientHeight);
    setCloseBox(false);
    setMinMaxButtons(false);

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
    ListFjmc->setDataSource(Data1);

    herbs = std::make_unique<HerbLookup>(Txtfjnr, SSTab1, HerbTab, HerbLookup::Kind::Entry);

    layOut();
    wireKeys();
    CmdSave->Click = [this] { CmdSave_Click(); };
    Cmdedit->Click = [this] { Cmdedit_Click(); };
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

// The look-up by name: a stored formula fills the boxes; found or not, the
// composition box is next, its text selected.
void Frmfjdl::Txtfjmc_KeyPress(int& keyAscii)
{
    if (!forms::EnterPressed(keyAscii) || !core::filled(Txtfjmc)) return;
    core::runTrappedLine([this] {
        dao::Database db = core::OpenDb();
        dao::Recordset formula = db.storeAndOpen(
            QStringLiteral("fjnrcx"),
            QStringLiteral("select * from zyfj  where fjmc=") + dao::quote(vb::Trim(Txtfjmc->Text())));
        if (!formula.eof()) fillFrom(formula);
    });
    Txtfjnr->SetFocusSelectAll();
}

// ---- opening and reset --------------------------------------------------------------

void Frmfjdl::Form_Load()
{
    PlaceKnowledgeBase();
    Data1->setDatabaseName(data::databasePath(core::WindowsDir));
    Data1->setConnect(data::connectText());
    Data1->setRecordsetType(forms::vbRSTypeDynaset);
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
    core::runTrappedLine([this] {
        Data1->setRecordSource(AllFormulas);
        Data1->Refresh();
        ListFjmc->setListField(QStringLiteral("fjmc"));
    });
    LabFjsl->setCaption(QString::number(Data1->Recordset().recordCount()) + QStringLiteral("篇"));
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

void Frmfjdl::fillFrom(const dao::Recordset& formula)
{
    const std::vector<forms::TextBox*> boxes = byColumn();
    for (int column = 0; column < static_cast<int>(boxes.size()); ++column) {
        const vb::Variant value = formula.field(column);
        boxes[static_cast<std::size_t>(column)]->setText(value.isNull() ? QString() : value.toString());
    }
}

// Column 0 takes the trimmed name, columns 1 to 6 the normalised texts, column 7 the
// login user or, when nobody logged in, the registered owner.
void Frmfjdl::writeColumns(dao::Recordset& formula) const
{
    const std::vector<forms::TextBox*> boxes = byColumn();
    formula.setField(0, vb::Trim(Txtfjmc->Text()));
    for (int column = 1; column < static_cast<int>(boxes.size()); ++column)
        formula.setField(column, core::NormalizeText(vb::Trim(boxes[static_cast<std::size_t>(column)]->Text())));
    formula.setField(7, vb::Trim(core::LoginUser).isEmpty() ? core::OwnerName : core::LoginUser);
}

void Frmfjdl::seekName(const std::function<void(dao::Recordset& formulas, bool found)>& work)
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset formulas = db.openTable(QStringLiteral("zyfj"));
        formulas.setIndex(QStringLiteral("fjmci"));
        formulas.seek(QStringLiteral("="), vb::Trim(Txtfjmc->Text()));
        work(formulas, !formulas.noMatch());
    });
    forms::Screen::setMousePointer(forms::vbDefault);
}

void Frmfjdl::CmdSave_Click()
{
    srnrJy();
    if (srnrcw == 1) return;
    seekName([this](dao::Recordset& formulas, bool found) {
        if (found) {
            Cmdedit->SetFocus();
            return;
        }
        formulas.addNew();
        writeColumns(formulas);
        formulas.update();
        Qpcls();
        Txtfjmc->SetFocus();
    });
}

void Frmfjdl::Cmdedit_Click()
{
    srnrJy();
    if (srnrcw == 1) return;
    seekName([this](dao::Recordset& formula, bool found) {
        if (!found) {
            CmdSave->SetFocus();
            return;
        }
        formula.edit();
        writeColumns(formula);
        formula.update();
        Qpcls();
        Txtfjmc->SetFocus();
    });
}

// The question comes before the input check. A name not stored is said, not passed
// over in silence.
void Frmfjdl::Cmddele_Click()
{
    const QString question = QStringLiteral("确实要删除 ") + vb::Trim(Txtfjmc->Text()) + QStringLiteral(" 方剂吗？");
    if (forms::MsgBox(question, forms::vbYesNo | forms::vbQuestion, QString()) == forms::vbNo) return;
    srnrJy();
    if (srnrcw == 1) return;
    seekName([this](dao::Recordset& formula, bool found) {
        if (!found) {
            forms::Notice(QStringLiteral("没有找到要删除的方剂"));
            return;
        }
        formula.remove();
        Qpcls();
    });
    Txtfjmc->SetFocus();
}

// ---- search, list and print ---------------------------------------------------------

void Frmfjdl::CmdSeek_Click()
{
    for (forms::TextBox* box : byColumn()) box->setText(vb::Trim(box->Text()));
    const std::vector<forms::TextBox*> boxes = byColumn();
    if (std::none_of(boxes.begin(), boxes.end(), [](const forms::TextBox* box) { return core::filled(box); })) {
        forms::Notice(QStringLiteral("请输入查询条件"));
        Txtfjmc->SetFocus();
        return;
    }
    const std::pair<const char*, forms::TextBox*> criteria[] = {
        {"fjmc", Txtfjmc}, {"fjgc", Txtfjnr}, {"fjgy", Txtfjgy}, {"fjzz", Txtfjzz},
        {"fjly", Txtfjly}, {"fjxd", Txtlcxd}, {"fjyf", Txtfjyf}};
    QStringList conditions;
    for (const auto& [column, box] : criteria) conditions << likeCondition(QString::fromUtf8(column), box->Text());
    const QString sql = QStringLiteral("select * from zyfj where ") + conditions.join(QStringLiteral(" and ")) +
                        QStringLiteral(" order by fjmc ");
    core::runTrappedLine([&] {
        Data1->setRecordSource(sql);
        Data1->Refresh();
        ListFjmc->setListField(QStringLiteral("fjmc"));
        const int found = Data1->Recordset().recordCount();
        if (found == 0) {
            forms::Notice(QStringLiteral("没有符合查询条件的方剂"));
            Qpcls();
        } else {
            LabFjsl->setCaption(QString::number(found) + QStringLiteral("种"));
        }
    });
    forms::Screen::setMousePointer(forms::vbDefault);
}

void Frmfjdl::ListFjmc_Click()
{
    const QString name = vb::Trim(ListFjmc->Text());
    core::runTrappedLine([&] {
        dao::Database db = core::OpenDb();
        dao::Recordset formulas = db.openTable(QStringLiteral("zyfj"));
        formulas.setIndex(QStringLiteral("fjmci"));
        formulas.seek(QStringLiteral("="), name);
        if (!formulas.noMatch()) fillFrom(formulas);
    });
}

void Frmfjdl::Cmdprnt_Click()
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    const QString name = vb::Trim(Txtfjmc->Text()), composition = vb::Trim(Txtfjnr->Text()),
                  effects = vb::Trim(Txtfjgy->Text()), indications = vb::Trim(Txtfjzz->Text()),
                  usage = vb::Trim(Txtfjyf->Text()), source = vb::Trim(Txtfjly->Text()),
                  notes = vb::Trim(Txtlcxd->Text());
    for (const QString& required : {name, composition, effects, indications, usage, source}) {
        if (!required.isEmpty()) continue;
        forms::MsgBox(QStringLiteral("打印内容输入不完全，不能打印"), forms::vbOKOnly, QString());
        CmdQcls->SetFocus();
        forms::Screen::setMousePointer(forms::vbDefault);
        return;
    }
    const QStringList lines = {
        QStringLiteral("方剂名称：") + name,     QStringLiteral("方剂来源：") + source,
        QStringLiteral("方剂内容：") + composition, QStringLiteral("方剂功效：") + effects,
        QStringLiteral("方剂主治：") + indications, QStringLiteral("使用方法：") + usage,
        QStringLiteral("应用心得：") + notes,
        QStringLiteral("打印时间：") + forms::Clock::Today().toString(QStringLiteral("yyyy-MM-dd"))};
    const PumpScope pumping(*this);
    core::PauseAfterPrint(Cmdprnt);
    core::ShowTextInWord(vb::Trim(lines.join(QStringLiteral("\r\n"))));
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
