// The formula entry window Frmfjdl driven as the user drives it: the input check, save,
// edit and delete with their focus rules, the search and the count, the look-up by
// name and by list, the keys of the seven boxes and the composition box's trim, the
// text for the word processor, the herb look-up, and errors that must not end it.
#include "reference/formula_entry.h"
#include "formula_test_data.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/office/document.h"
#include "reference/herb_lookup.h"
#include "reference/reference_menu.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QtTest>

using reference::Frmfjdl;

class FormulaEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputCheckStopsAtTheFirstBlankBox_data();
    void inputCheckStopsAtTheFirstBlankBox();
    void saveEditAndDeleteByTheTrimmedName();
    void searchListsTheMatchesWithTheirCount();
    void nameLookUpAndListClickFillTheBoxes();
    void keysOfTheSevenBoxes();
    void compositionTrimKeepsWhereTheKeyLands_data();
    void compositionTrimKeepsWhereTheKeyLands();
    void printHandsTheFormulaToTheWordProcessor();
    void rightButtonOnAMarkedHerbOpensIt();
    void databaseErrorsAreReportedNotFatal();

private:
    std::vector<forms::TextBox*> boxes() const;
    void fill(const QStringList& texts);
    QStringList stored(const QString& name) const;
    QStringList listed() const;

    std::unique_ptr<WindowFixture> world_;
    Frmfjdl* window_ = nullptr;
};

void FormulaEntryTest::init()
{
    world_ = std::make_unique<WindowFixture>();
    formulatest::seed(world_->environment());
    core::OwnerName = "张医生";
    registerReferenceWindows(world_->mainWindow());    // as the program wires 中医方剂编辑
    world_->mainWindow().menuAction("ZysjDl1")->trigger();
    QCoreApplication::processEvents();
    window_ = qobject_cast<Frmfjdl*>(forms::Form::ActiveForm());
    QVERIFY(window_);
}

void FormulaEntryTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

// Name, composition, effects, indications, usage, source, notes.
std::vector<forms::TextBox*> FormulaEntryTest::boxes() const
{
    return {window_->Txtfjmc, window_->Txtfjnr, window_->Txtfjgy, window_->Txtfjzz,
            window_->Txtfjyf, window_->Txtfjly, window_->Txtlcxd};
}

void FormulaEntryTest::fill(const QStringList& texts)
{
    for (int i = 0; i < 7; ++i) boxes()[static_cast<std::size_t>(i)]->setText(texts.value(i));
}

QStringList FormulaEntryTest::stored(const QString& name) const
{
    dao::Database db = world_->environment().open();
    dao::Recordset row = db.openRecordset("select * from zyfj where fjmc = " + dao::quote(name));
    QStringList texts;
    for (int col = 0; !row.eof() && col < 8; ++col) texts << row.field(col).toString();
    return texts;
}

QStringList FormulaEntryTest::listed() const
{
    QStringList names;
    for (int i = 0; i < window_->ListFjmc->ListCount(); ++i) names << window_->ListFjmc->List(i);
    return names;
}

// Two boxes blank at once: the earlier one in the check's order is named.
void FormulaEntryTest::inputCheckStopsAtTheFirstBlankBox_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << 0 << 5 << "输入方剂名称";
    QTest::newRow("composition") << 1 << 2 << "输入方剂构成";
    QTest::newRow("effects") << 2 << 4 << "输入方剂功效";
    QTest::newRow("indications") << 3 << 5 << "输入方剂主治";
    QTest::newRow("usage") << 4 << 5 << "输入方剂用法";
    QTest::newRow("source, notes blank") << 5 << 6 << "输入方剂来源";
}

void FormulaEntryTest::inputCheckStopsAtTheFirstBlankBox()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, message);
    QStringList texts = {"新方", "甘草", "和中", "腹痛", "水煎服", "自拟", "验"};
    texts[first] = "  ";
    texts[second] = "";
    fill(texts);
    for (forms::CommandButton* button : {window_->CmdSave, window_->Cmdedit}) {
        world_->clearMessages();
        WindowFixture::click(button);
        QCOMPARE(world_->messages(), QStringList{message});
        QCOMPARE(WindowFixture::focusedControl(), boxes()[static_cast<std::size_t>(first)]);
    }
    QCOMPARE(world_->environment().count("zyfj"), 5);
}

void FormulaEntryTest::saveEditAndDeleteByTheTrimmedName()
{
    QCOMPARE(window_->LabFjsl->Caption(), QString("5篇"));
    world_->environment().insert("zyfj", {"新方，甲", "甘草"});   // the name stored with a full-width comma
    fill({"  新方,甲 ", "甘草,大枣", "和中", "腹痛", "水煎服", "自拟", ""});
    WindowFixture::click(window_->CmdSave);             // the name is sought and stored as typed
    QCOMPARE(stored("新方,甲"), QStringList({"新方,甲", "甘草，大枣", "和中", "腹痛", "水煎服", "自拟", "  ", "张医生"}));
    QCOMPARE(window_->LabFjsl->Caption(), QString("7篇"));
    QCOMPARE(window_->Txtfjmc->Text(), QString());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    fill({"新方,甲", "甘草", "和中", "腹痛", "冲服", "自拟", "验"});
    WindowFixture::click(window_->CmdSave);             // stored already: on to 修改
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
    QCOMPARE(stored("新方,甲").value(4), QString("水煎服"));
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(stored("新方,甲").value(4) + stored("新方，甲").value(4), QString("冲服"));
    fill({"无此方", "甘草", "和中", "腹痛", "冲服", "自拟", ""});
    WindowFixture::click(window_->Cmdedit);             // not stored: on to 保存
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);

    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    fill({});
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);             // the question comes before the check
    QCOMPARE(world_->messages(), QStringList({"确实要删除 无此方 方剂吗？", "未找到要删除的方剂。",
                                              "确实要删除  方剂吗？", "输入方剂名称"}));
    fill({"王氏'清暑益气汤", "甘草", "和中", "腹痛", "冲服", "自拟", ""});
    world_->answer({forms::vbNo, forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zyfj"), 7);
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zyfj"), 6);
    QVERIFY(!listed().contains("王氏'清暑益气汤"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);
}

void FormulaEntryTest::searchListsTheMatchesWithTheirCount()
{
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"请输入查询条件"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjmc);

    const std::pair<QStringList, QStringList> searches[] = {
        {{" 汤"}, {"八珍汤", "四君子汤", "四物汤", "王氏'清暑益气汤"}},
        {{"", "当归", "", "", "", "和剂"}, {"四物汤", "逍遥散"}},     // Null notes of the imported row pass
        {{"王氏'", "石斛*"}, {"王氏'清暑益气汤"}}};
    for (const auto& [criteria, found] : searches) {
        fill(criteria);
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(listed(), found);
        QCOMPARE(window_->LabFjsl->Caption(), QString::number(found.size()) + "种");
    }
    QCOMPARE(window_->Txtfjmc->Text(), QString("王氏'"));
    fill({"麻黄汤"});
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages().last(), QString("没有符合查询条件的方剂"));
    QCOMPARE(window_->LabFjsl->Caption(), QString("5篇"));
}

void FormulaEntryTest::nameLookUpAndListClickFillTheBoxes()
{
    window_->Txtfjnr->setText("旧文");
    window_->Txtfjmc->setText("无此方");
    WindowFixture::pressEnter(window_->Txtfjmc);        // not stored: the boxes stay
    QCOMPARE(window_->Txtfjnr->Text(), QString("旧文"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtfjnr);
    QCOMPARE(window_->Txtfjnr->SelLength(), 2);
    window_->Txtfjmc->setText("王氏'清暑益气汤");
    WindowFixture::pressEnter(window_->Txtfjmc);
    QCOMPARE(window_->Txtfjnr->Text() + window_->Txtfjly->Text(), QString("西洋参、石斛*、麦冬'温热经纬"));

    QListWidget* list = window_->ListFjmc->listWidget();
    const int row = listed().indexOf("逍遥散");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QCOMPARE(window_->Txtfjmc->Text() + window_->Txtlcxd->Text(), QString("逍遥散"));   // Null shows empty
    QVERIFY(world_->messages().isEmpty());
}

void FormulaEntryTest::keysOfTheSevenBoxes()
{
    const std::pair<forms::TextBox*, forms::Control*> chain[] = {
        {window_->Txtfjnr, window_->Txtfjgy}, {window_->Txtfjgy, window_->Txtfjzz},
        {window_->Txtfjzz, window_->Txtfjyf}, {window_->Txtfjyf, window_->Txtlcxd},
        {window_->Txtfjly, window_->CmdSave}};
    for (const auto& [box, next] : chain) {
        box->setText("  ");
        box->SetFocus();
        WindowFixture::pressEnter(box);                 // blank: swallowed, stays
        QCOMPARE(WindowFixture::focusedControl(), box);
        WindowFixture::type(box, "甘 草");
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), next);
        QCOMPARE(box->Text().trimmed(), QString("甘草"));
        if (auto* text = qobject_cast<forms::TextBox*>(next)) QCOMPARE(text->SelStart(), text->Text().size());
    }
    window_->Txtlcxd->setText("");
    WindowFixture::pressEnter(window_->Txtlcxd);
    WindowFixture::type(window_->Txtlcxd, "验");
    WindowFixture::pressEnter(window_->Txtlcxd);        // a new line in the notes, once they hold text
    WindowFixture::type(window_->Txtlcxd, "方");
    QCOMPARE(window_->Txtlcxd->Text(), QString("验\r\n方"));
}

// The composition box re-takes its text trimmed before a key, and the key lands where
// the caret or the selection stood.
void FormulaEntryTest::compositionTrimKeepsWhereTheKeyLands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("between herbs") << "  当归川芎  " << 4 << 0 << "、" << "当归、川芎";
    QTest::newRow("over a selection") << " 当归川芎" << 3 << 2 << "白芍" << "当归白芍";
    QTest::newRow("at the very start") << "  当归" << 1 << 0 << "x" << "x当归";
    QTest::newRow("among trailing blanks") << "当归   " << 4 << 0 << "x" << "当归x";
    QTest::newRow("nothing to trim") << "当归" << 1 << 0 << "x" << "当x归";
    QTest::newRow("second line") << "当归\r\n川芎 " << 4 << 0 << "x" << "当归\r\n川x芎";
}

void FormulaEntryTest::compositionTrimKeepsWhereTheKeyLands()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    window_->Txtfjnr->setText(text);
    window_->Txtfjnr->SetFocus();
    window_->Txtfjnr->setSelStart(start);
    window_->Txtfjnr->setSelLength(length);
    WindowFixture::type(window_->Txtfjnr, typed);
    QCOMPARE(window_->Txtfjnr->Text(), result);
}

void FormulaEntryTest::printHandsTheFormulaToTheWordProcessor()
{
    QString opened;
    office::setDocumentOpener([&](const QString& path) { opened = path; return true; });
    fill({"四物汤", "当归", "补血", "血虚", "水煎服", "", ""});
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(world_->boxes().shown().back().icon, 0);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdQcls);

    fill({" 四物汤", "当归、川芎", "补血", "血虚", "水煎服", "和剂局方 ", ""});
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("方剂名称：四物汤\r\n方剂来源：和剂局方\r\n方剂内容：当归、川芎\r\n方剂功效：补血\r\n"
                     "方剂主治：血虚\r\n使用方法：水煎服\r\n应用心得：\r\n打印时间：2024-03-15"));
    QCOMPARE(world_->clock().waits, 1);
    QFile::remove(opened);
    office::setDocumentOpener({});
}

// The entry windows' trigger: a right button going down or up over a marked text that
// is not blank pops the menu up, 查询药材特点 shown bold.
void FormulaEntryTest::rightButtonOnAMarkedHerbOpensIt()
{
    forms::PopupMenus::TestHook popups;
    reference::HerbLookup& herbs = *window_->herbs;
    window_->Txtfjnr->setText("川芎、 当归 ");
    formulatest::markAndUse(window_->Txtfjnr, 0, 0, Qt::RightButton);   // nothing marked
    formulatest::markAndUse(window_->Txtfjnr, 3, 1, Qt::RightButton);   // only a blank
    formulatest::markAndUse(window_->Txtfjnr, 3, 4, Qt::LeftButton);
    QCOMPARE(popups.log.size(), std::size_t(0));
    popups.choose(herbs.FindYc);
    formulatest::markAndUse(window_->Txtfjnr, 3, 4, Qt::RightButton);   // " 当归 ": trimmed before the look-up
    QCOMPARE(popups.log.size(), std::size_t(2));
    QCOMPARE(popups.log[0].defaultItem, herbs.FindYc);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(herbs.Txtycmc->Text() + herbs.Txtycgj->Text() + herbs.Txtycxw->Text() + herbs.Txtycgb->Text(),
             QString("当归肝、心、脾经甘、辛，温补血圣药"));
    QCOMPARE(herbs.labels(5)->Caption(), QString("临床心得"));
    QVERIFY(herbs.labels(7)->isVisibleTo(window_));

    WindowFixture::click(window_->CmdQcls);              // the reset hides and empties the panel
    QVERIFY(!herbs.Txtycmc->isVisibleTo(window_));
    QCOMPARE(herbs.Txtycmc->Text(), QString());
}

// With the database file gone, every handler that reads it says so and the window
// stays usable.
void FormulaEntryTest::databaseErrorsAreReportedNotFatal()
{
    forms::PopupMenus::TestHook popups;
    QVERIFY(QFile::rename(world_->environment().databasePath(), world_->environment().databasePath() + ".away"));
    fill({"四物汤", "当归", "补血", "血虚", "水煎服", "和剂局方", ""});
    WindowFixture::click(window_->Cmdedit);
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    WindowFixture::pressEnter(window_->Txtfjmc);
    popups.choose(window_->herbs->FindYc);
    formulatest::markAndUse(window_->Txtfjnr, 0, 2, Qt::RightButton);
    QCOMPARE(world_->messages().filter("错误号码：").size(), 4);
    QCOMPARE(window_->Txtfjmc->Text(), QString("四物汤"));
}

QTEST_MAIN(FormulaEntryTest)
#include "formula_entry_test.moc"
