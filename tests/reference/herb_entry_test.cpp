// The herb entry window Frmzyyc driven as the user drives it: the input check and the
// Enter chain, add/edit/delete by the name in its stored form or as typed, the list,
// the count and the two combos after each reset, the fuzzy search, names and criteria
// with apostrophes and pattern characters, and the text for the word processor.
#include "reference/herb_entry.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/textbox.h"
#include "platform/office/document.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

using reference::Frmzyyc;

class HerbEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputCheckStopsAtTheFirstEmptyBox_data();
    void inputCheckStopsAtTheFirstEmptyBox();
    void enterChainAndItsMessages();
    void addStoresNormalizedTextsAndResets();
    void addOfAStoredNameAndEditOfAnAbsentOne();
    void nameIsSoughtStoredThenAsTyped();
    void deleteAsksAndSaysWhenTheNameIsAbsent();
    void lookupByEnter();
    void searchFindsByEveryCriterionAndNullColumns();
    void searchRefusalsAndNoResult();
    void accessKeysBeforeAndAfterAMessage();
    void literalNamesAndCriteria();
    void textForTheWordProcessor();

private:
    void open();
    void fill(const QString& name, const QString& effects, const QString& indications, const QString& usage);
    QStringList listed() const;
    QString stored(const QString& name, int column) const;

    std::unique_ptr<WindowFixture> world_;
    Frmzyyc* window_ = nullptr;
};

void HerbEntryTest::init()
{
    world_ = std::make_unique<WindowFixture>();
    core::OwnerName = QStringLiteral("张医生");
    core::LoginUser.clear();
}

void HerbEntryTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

void HerbEntryTest::open() { window_ = world_->open<Frmzyyc>(QStringLiteral("ZysjDl0")); }

void HerbEntryTest::fill(const QString& name, const QString& effects, const QString& indications, const QString& usage)
{
    window_->Txtycmc->setText(name);
    window_->Txtycgy->setText(effects);
    window_->Txtyczz->setText(indications);
    window_->Txtycyf->setText(usage);
}

QStringList HerbEntryTest::listed() const
{
    QStringList names;
    for (int i = 0; i < window_->ListYcmc->ListCount(); ++i) names << window_->ListYcmc->List(i);
    return names;
}

QString HerbEntryTest::stored(const QString& name, int column) const
{
    dao::Database db = world_->environment().open();
    dao::Recordset herb = db.openRecordset("select * from zyyc where ycmc = " + dao::quote(name));
    return herb.eof() ? QStringLiteral("<absent>") : herb.field(column).toString();
}

void HerbEntryTest::inputCheckStopsAtTheFirstEmptyBox_data()
{
    QTest::addColumn<QStringList>("inputs");     // name, effects, indications, usage
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focused");            // which of the four boxes

    QTest::newRow("name") << QStringList{" ", "补气", "气虚", "煎服"} << "输入药材名称" << 0;
    QTest::newRow("effects") << QStringList{"人参", "", "", ""} << "输入药材功用" << 1;
    QTest::newRow("indications") << QStringList{"人参", "补气", "  ", "煎服"} << "输入药材主治" << 2;
    QTest::newRow("usage") << QStringList{"人参", "补气", "气虚", ""} << "输入药材用法" << 3;
}

void HerbEntryTest::inputCheckStopsAtTheFirstEmptyBox()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(int, focused);
    open();
    fill(inputs[0], inputs[1], inputs[2], inputs[3]);
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(world_->messages(), QStringList{message});
    forms::TextBox* const boxes[] = {window_->Txtycmc, window_->Txtycgy, window_->Txtyczz, window_->Txtycyf};
    QCOMPARE(WindowFixture::focusedControl(), boxes[focused]);
    QCOMPARE(world_->environment().count("zyyc"), 0);
}

void HerbEntryTest::enterChainAndItsMessages()
{
    open();
    window_->Txtycmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtycmc);                  // empty name: stays
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
    WindowFixture::type(window_->Txtycmc, "人 参");
    QCOMPARE(window_->Txtycmc->Text(), QString("人参"));           // no blank can be typed
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cboycxw);
    WindowFixture::pressEnter(window_->Cboycxw);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cboycgj);
    WindowFixture::pressEnter(window_->Cboycgj);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycgy);
    const std::tuple<forms::TextBox*, forms::TextBox*, const char*> required[] = {
        {window_->Txtycgy, window_->Txtyczz, "请输入药材功效内容"},
        {window_->Txtyczz, window_->Txtycyf, "请输入药材主治内容"},
        {window_->Txtycyf, window_->Txtycyj, "请输入药材使用方法"}};
    for (const auto& [box, next, message] : required) {
        world_->clearMessages();
        WindowFixture::pressEnter(box);
        QCOMPARE(world_->messages(), QStringList{QString::fromUtf8(message)});
        QCOMPARE(WindowFixture::focusedControl(), box);
        WindowFixture::type(box, "甲");
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), next);
    }
    WindowFixture::pressEnter(window_->Txtycyj);                  // cautions: no check
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycgb);
    WindowFixture::pressEnter(window_->Txtycgb);                  // empty notes: Enter dropped
    QCOMPARE(window_->Txtycgb->Text(), QString());
    WindowFixture::type(window_->Txtycgb, "甲");
    WindowFixture::pressEnter(window_->Txtycgb);
    WindowFixture::type(window_->Txtycgb, "乙");
    QCOMPARE(window_->Txtycgb->Text(), QString("甲\r\n乙"));
}

void HerbEntryTest::addStoresNormalizedTextsAndResets()
{
    open();
    QCOMPARE(window_->Labycsl->Caption(), QString("0种"));
    fill(" 人参 ", "大补元气,补脾益肺.", "气虚欲脱;脾虚食少", "煎服");
    window_->Cboycxw->setText("甘、微苦，微温");
    WindowFixture::click(window_->CmdSave);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(stored("人参", 3), QString("大补元气，补脾益肺。"));
    QCOMPARE(stored("人参", 4), QString("气虚欲脱；脾虚食少"));
    QCOMPARE(stored("人参", 1), QString("  "));                    // empty meridians: two blanks
    QCOMPARE(stored("人参", 8), QString("张医生"));                 // no login: the owner
    QCOMPARE(listed(), QStringList{"人参"});
    QCOMPARE(window_->Labycsl->Caption(), QString("1种"));
    QCOMPARE(window_->Cboycgj->ListCount(), 1);                   // the stored blank
    QCOMPARE(window_->Cboycgj->List(0), QString());
    QCOMPARE(window_->Txtycmc->Text(), QString());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);
}

void HerbEntryTest::addOfAStoredNameAndEditOfAnAbsentOne()
{
    world_->environment().insert("zyyc", {"人参", "脾", "甘", "补气", "气虚", "煎服", "  ", "  ", "李"});
    open();
    fill("人参", "大补元气", "气虚欲脱", "另煎");
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
    QCOMPARE(stored("人参", 3), QString("补气"));
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(stored("人参", 3), QString("大补元气"));
    QCOMPARE(stored("人参", 8), QString("张医生"));
    QCOMPARE(world_->environment().count("zyyc"), 1);

    fill("黄芪", "补气升阳", "气虚乏力", "煎服");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
    QCOMPARE(stored("黄芪", 0), QString("<absent>"));
    QVERIFY(world_->messages().isEmpty());
}

// A name typed with an ASCII comma is stored with the full-width one and found again
// that way; an imported name kept as its source stored it is found as typed, and its
// edit stores the key in the stored form, never a second row.
void HerbEntryTest::nameIsSoughtStoredThenAsTyped()
{
    world_->environment().insert("zyyc", {"当归,酒"});                    // imported, Nulls elsewhere
    open();
    QCOMPARE(window_->Cboycgj->ListCount(), 0);                           // the Null adds nothing
    fill("川芎,炒", "活血", "头痛", "煎服");
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(listed(), (QStringList{"当归,酒", "川芎，炒"}));          // in stored order
    QCOMPARE(window_->Cboycgj->ListCount(), 1);                           // the stored blank, after the Null
    fill("川芎,炒", "活血行气", "头痛", "煎服");
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
    QCOMPARE(world_->environment().count("zyyc"), 2);

    window_->Txtycmc->setText("当归,酒");
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(window_->Txtycgy->Text(), QString());                        // Null loads as empty
    fill("当归,酒", "补血", "血虚", "煎服");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(listed(), (QStringList{"当归，酒", "川芎，炒"}));
    QCOMPARE(world_->environment().count("zyyc"), 2);
}

void HerbEntryTest::deleteAsksAndSaysWhenTheNameIsAbsent()
{
    world_->environment().insert("zyyc", {"人参", "脾经", "甘温", "补气", "气虚", "煎服", "  ", "  ", "李"});
    open();
    QCOMPARE(window_->Cboycgj->ListCount(), 1);
    world_->answer({forms::vbNo});
    window_->Txtycmc->setText("人参");
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), QStringList{"确实要删除 人参 药材吗？"});
    QCOMPARE(world_->boxes().shown()[0].icon, forms::vbQuestion);
    QCOMPARE(world_->environment().count("zyyc"), 1);

    world_->clearMessages();
    window_->Txtycmc->setText("");
    WindowFixture::click(window_->Cmddele);                               // Yes on an empty name
    QCOMPARE(world_->messages(), (QStringList{"确实要删除  药材吗？", "未找到要删除的药材。"}));

    world_->clearMessages();
    window_->Txtycmc->setText("人参");
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), QStringList{"确实要删除 人参 药材吗？"});
    QCOMPARE(world_->environment().count("zyyc"), 0);
    QCOMPARE(window_->Labycsl->Caption(), QString("0种"));
    QCOMPARE(window_->Cboycgj->ListCount(), 0);                           // no values of the deleted herb
    QCOMPARE(window_->Cboycxw->ListCount(), 0);
    QVERIFY(listed().isEmpty());
}

void HerbEntryTest::lookupByEnter()
{
    world_->environment().insert("zyyc", {"人参", "脾、肺经", "甘，微温", "大补元气", "气虚欲脱", "煎服", "实证忌用", "  ", "李"});
    open();
    window_->Txtycmc->setText("三七");
    window_->Txtycgy->setText("原样");
    WindowFixture::pressEnter(window_->Txtycmc);                          // not found: nothing changes
    QCOMPARE(window_->Txtycgy->Text(), QString("原样"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Cboycxw);

    window_->Txtycmc->setText("人参");
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(window_->Cboycgj->Text(), QString("脾、肺经"));
    QCOMPARE(window_->Cboycxw->Text(), QString("甘，微温"));
    QCOMPARE(window_->Txtycyj->Text(), QString("实证忌用"));
    QCOMPARE(window_->Txtycgb->Text(), QString("  "));                    // as stored
}

void HerbEntryTest::searchFindsByEveryCriterionAndNullColumns()
{
    TestEnvironment& env = world_->environment();
    env.insert("zyyc", {"人参", "脾、肺经", "甘，微温", "大补元气", "气虚欲脱", "煎服", "  ", "  ", "李"});
    env.insert("zyyc", {"党参", "脾、肺经", "甘，平", "补中益气", "脾肺气虚", "煎服", "  ", "常用", "李"});
    env.insert("zyyc", {"玄参"});                                        // imported, Nulls elsewhere
    open();
    const std::tuple<reference::Input, const char*, QStringList> cases[] = {
        {window_->Txtycmc, "参", {"人参", "党参", "玄参"}}, {window_->Txtycyf, "煎", {"人参", "党参"}},
        {window_->Cboycgj, "肺", {"人参", "党参"}},         {window_->Cboycxw, "平", {"党参"}},
        {window_->Txtycgy, "元气", {"人参"}},               {window_->Txtycgb, "常", {"党参"}},
        {window_->Txtyczz, "脾", {"党参"}}};
    for (const auto& [input, text, found] : cases) {
        WindowFixture::click(window_->CmdQcls);
        reference::setTextOf(input, QString::fromUtf8(text));
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(listed(), found);
        QCOMPARE(window_->Labycsl->Caption(), QString(" %1种").arg(found.size()));
    }
    WindowFixture::click(window_->CmdQcls);
    QCOMPARE(window_->Labycsl->Caption(), QString("3种"));
}

void HerbEntryTest::searchRefusalsAndNoResult()
{
    world_->environment().insert("zyyc", {"人参", "脾", "甘", "补气", "气虚", "煎服", "  ", "  ", "李"});
    open();
    window_->Txtycyj->setText("忌");                                      // cautions take no part
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycmc);

    world_->clearMessages();
    window_->Txtycmc->setText("黄");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"未找到相关药材。"});
    QCOMPARE(listed(), QStringList{"人参"});
    QCOMPARE(window_->Labycsl->Caption(), QString("1种"));
    QCOMPARE(window_->Txtycmc->Text(), QString("黄"));
}

// An access key clicks its button the way the toolkit animates it: a moment later.
void HerbEntryTest::accessKeysBeforeAndAfterAMessage()
{
    open();
    QTest::keyClick(window_->Txtycmc->inner(), Qt::Key_S, Qt::AltModifier);   // 查询&S
    QTRY_COMPARE(world_->messages(), QStringList{"输入查询条件。"});
    fill("人参", "大补元气", "气虚欲脱", "煎服");
    QTest::keyClick(WindowFixture::focusedControl()->inner(), Qt::Key_B, Qt::AltModifier);   // 保存&B
    QTRY_COMPARE(world_->environment().count("zyyc"), 1);
    QCOMPARE(listed(), QStringList{"人参"});
}

// Names with an apostrophe or the pattern characters are stored, sought and deleted
// as they stand; in a search they are criteria like any other (an apostrophe no longer
// breaks the query, "*" still matches any run of characters).
void HerbEntryTest::literalNamesAndCriteria()
{
    open();
    const QStringList names{"当归'", "a*b", "a?c", "[x]", "50%"};
    for (const QString& name : names) {
        fill(name, "补血", "血虚", "煎服");
        WindowFixture::click(window_->CmdSave);
    }
    QCOMPARE(world_->environment().count("zyyc"), names.size());
    for (const QString& name : names) {
        WindowFixture::click(window_->CmdQcls);
        window_->Txtycmc->setText(name);
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(window_->Txtycgy->Text(), QString("补血"));
    }
    world_->clearMessages();
    window_->Txtycmc->setText("归'");
    WindowFixture::click(window_->CmdSeek);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(listed(), QStringList{"当归'"});
    window_->Txtycmc->setText("a*");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(listed().size(), 2);
    window_->Txtycmc->setText("a*b");
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zyyc"), names.size() - 1);
    QCOMPARE(stored("a?c", 3), QString("补血"));
}

void HerbEntryTest::textForTheWordProcessor()
{
    office::setDocumentOpener([](const QString&) { return true; });
    open();
    fill("人参", "大补元气", "气虚欲脱", "煎服");
    WindowFixture::click(window_->Cmdprnt);                               // no cautions: refused
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(world_->boxes().shown()[0].icon, 0);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdQcls);

    world_->clearMessages();
    window_->Txtycyj->setText(" 实证忌用 ");
    window_->Txtycgb->setText("另煎\r\n兑服");
    WindowFixture::click(window_->Cmdprnt);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("药材名称：人参\r\n药材性味：\r\n药材归经：\r\n药材功效：大补元气\r\n药材主治：气虚欲脱\r\n"
                     "使用方法：煎服\r\n药材宜忌：实证忌用\r\n应用心得：另煎\r\n兑服\r\n\r\n打印时间：2024-03-15"));
    office::setDocumentOpener({});
}

QTEST_MAIN(HerbEntryTest)
#include "herb_entry_test.moc"
