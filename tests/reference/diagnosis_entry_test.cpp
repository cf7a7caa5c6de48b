// The diagnosis entry window Frmzyzddl driven as the user drives it: the grid and its
// count (empty table, merged names, a Null row), the ordered input check, save / edit /
// delete on keys stored normalised or imported as typed (apostrophes and wildcards in
// them), the grid click, the Enter chain and the text for the word processor.
#include "reference/diagnosis_entry.h"
#include "knowledge_test_support.h"
#include "support/window_fixture.h"

#include "platform/forms/buttons.h"

#include <QtTest>

using knowledgetest::columnOf;
using reference::Frmzyzddl;

class DiagnosisEntryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void gridListsEveryRowByNameAndSymptoms_data();
    void gridListsEveryRowByNameAndSymptoms();
    void inputCheckStopsAtTheFirstEmptyBox_data();
    void inputCheckStopsAtTheFirstEmptyBox();
    void keyRowIsFoundStoredOrAsTyped_data();
    void keyRowIsFoundStoredOrAsTyped();
    void gridClickEnterChainAndPrint();

private:
    Frmzyzddl* open() { return window_ = world_->open<Frmzyzddl>("ZysjDl2"); }
    void fill(const QStringList& texts)
    {
        knowledgetest::fillBoxes({window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs}, texts);
    }
    int stored(const QString& condition) const
    {
        return world_->environment().open().openRecordset("select * from zybz where " + condition).recordCount();
    }

    std::unique_ptr<WindowFixture> world_;
    Frmzyzddl* window_ = nullptr;
};

void DiagnosisEntryTest::gridListsEveryRowByNameAndSymptoms_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty table") << 0 << QStringList{} << "0";
    QTest::newRow("three rows, one name twice") << 3 << QStringList{"肝郁", "脾虚", "脾虚"} << "系统已经登录  3";
    QTest::newRow("imported row without a name") << 4 << QStringList{"", "肝郁", "脾虚", "脾虚"} << "系统已经登录  4";
}

void DiagnosisEntryTest::gridListsEveryRowByNameAndSymptoms()
{
    QFETCH(int, rows);
    const TestEnvironment& env = world_->environment();
    if (rows > 0) {
        env.insert("zybz", {"脾虚", "乏力，食少", "饮食不节", "健脾益气"});
        env.insert("zybz", {"肝郁", "胁痛", "情志不畅", "疏肝"});
        env.insert("zybz", {"脾虚", "便溏，腹胀", "久病", "健脾"});
    }
    if (rows == 4) env.insert("zybz", {vb::Variant(), "头痛", vb::Variant(), "止痛"});
    open();
    QTEST(columnOf(window_->MSFGridzyzd, 0), "names");
    QTEST(window_->Labsl->Caption(), "count");
    if (rows == 3) {
        QCOMPARE(columnOf(window_->MSFGridzyzd, 1), (QStringList{"胁痛", "便溏，腹胀", "乏力，食少"}));
        QVERIFY(window_->MSFGridzyzd->isMergedWithAbove(3, 0) && !window_->MSFGridzyzd->isMergedWithAbove(2, 0));
    }
}

void DiagnosisEntryTest::inputCheckStopsAtTheFirstEmptyBox_data()
{
    QTest::addColumn<int>("emptied");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << 0 << "输入病症名称";
    QTest::newRow("symptoms") << 1 << "输入病症症状";
    QTest::newRow("cause of blanks") << 2 << "输入病症成因";
    QTest::newRow("treatment") << 3 << "输入病症的治疗措施";
}

void DiagnosisEntryTest::inputCheckStopsAtTheFirstEmptyBox()
{
    QFETCH(int, emptied);
    QFETCH(QString, message);
    open();
    forms::TextBox* boxes[] = {window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs};
    for (forms::CommandButton* button : {window_->CmdSave, window_->Cmdedit, window_->Cmddele}) {
        QStringList texts = {"脾虚", "乏力", "饮食不节", "健脾"};
        texts[emptied] = "  ";
        fill(texts);
        world_->clearMessages();
        world_->answer({forms::vbYes});
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), message);
        QCOMPARE(WindowFixture::focusedControl(), boxes[emptied]);
    }
    // The delete asks before it checks: an empty name leaves only its question's blanks.
    if (emptied == 0) QCOMPARE(world_->messages().first(), QString("确实要删除  的病症资料吗"));
    QCOMPARE(world_->environment().count("zybz"), 0);
}

void DiagnosisEntryTest::keyRowIsFoundStoredOrAsTyped_data()
{
    QTest::addColumn<QStringList>("key");     // name and symptoms as the row holds them
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("stored full-width, typed half-width") << QStringList{"湿热，下注", "带下，黄稠"}
                                                         << QStringList{"湿热,下注", "带下,黄稠"};
    QTest::newRow("imported half-width") << QStringList{"湿热,下注", "带下,黄稠"} << QStringList{"湿热,下注", "带下,黄稠"};
    QTest::newRow("apostrophe and wildcards") << QStringList{"O'Neil*", "a?[b]#"} << QStringList{"O'Neil*", "a?[b]#"};
}

void DiagnosisEntryTest::keyRowIsFoundStoredOrAsTyped()
{
    QFETCH(QStringList, key);
    QFETCH(QStringList, typed);
    world_->environment().insert("zybz", {key[0], key[1], "旧因", "旧治"});
    open();
    const QString row = "bzmc = " + dao::quote(key[0]) + " and bzqk = " + dao::quote(key[1]);
    fill({typed[0], typed[1], "新,因", "新治"});
    WindowFixture::click(window_->CmdSave);   // found: nothing added, the focus on 修改
    QCOMPARE(world_->environment().count("zybz"), 1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);
    WindowFixture::click(window_->Cmdedit);   // cause and treatment only, normalised
    QCOMPARE(stored(row + " and bzcy = '新，因' and zlcs = '新治' and dlxm is null"), 1);

    fill({typed[0], "头痛", "因", "治"});     // another symptom text is another key
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages().last(), QString("没有找到要删除的病症资料。"));
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(window_->Labsl->Caption(), QString("系统已经登录  2"));

    fill({typed[0], typed[1], "因", "治"});
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(stored(row), 0);
    QCOMPARE(world_->environment().count("zybz"), 1);
}

void DiagnosisEntryTest::gridClickEnterChainAndPrint()
{
    world_->environment().insert("zybz", {"脾虚", "乏力", "饮食不节", "健脾\r\n益气"});
    open();
    fill({"x"});
    WindowFixture::clickGridRow(window_->MSFGridzyzd, 0);   // the header: nothing
    QCOMPARE(window_->TxtBzmc->Text(), QString("x"));
    WindowFixture::clickGridRow(window_->MSFGridzyzd, 1);
    QCOMPARE(window_->TxtZlcs->Text(), QString("健脾\r\n益气"));

    // Enter moves on from a filled box only; no box takes a blank; treatment takes lines.
    fill({});
    window_->TxtBzmc->SetFocus();
    for (forms::TextBox* box : {window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy, window_->TxtZlcs}) {
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), box);
        WindowFixture::type(box, "a b");
        WindowFixture::pressEnter(box);
    }
    QCOMPARE(window_->TxtZlcs->Text(), QString("ab\r\n"));

    window_->Txtbzcy->setText(" ");   // the hand-off refuses a box left empty
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdQcls);
}

QTEST_MAIN(DiagnosisEntryTest)
#include "diagnosis_entry_test.moc"
