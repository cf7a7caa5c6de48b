// The diagnosis entry window Frmzyzddl driven as the user drives it: the grid and its
// count (empty table, merged names, a Null row), the ordered input check, save / edit /
// delete on keys stored normalised or imported as typed (apostrophes and wildcards in
// them), the grid click, the Enter chain and the text for the word processor.
#include "reference/diagnosis_entry.h"
#include "support/window_fixture.h"

#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/textbox.h"
#include "platform/office/document.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

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
    void newKeysAreAddedAndMissingKeysRefused();
    void gridClickLoadsARowButNotTheHeader();
    void enterChainAndBlanks();
    void printHandsTheBoxesToTheWordProcessor();

private:
    Frmzyzddl* open() { return window_ = world_->open<Frmzyzddl>("ZysjDl2"); }
    void fill(const QString& name, const QString& symptoms, const QString& cause, const QString& treatment);
    void clickRow(int row) { WindowFixture::clickGridRow(window_->MSFGridzyzd, row); }
    QStringList column(int col) const;
    int stored(const QString& condition) const;

    std::unique_ptr<WindowFixture> world_;
    Frmzyzddl* window_ = nullptr;
};

void DiagnosisEntryTest::fill(const QString& name, const QString& symptoms, const QString& cause,
                              const QString& treatment)
{
    window_->TxtBzmc->setText(name);
    window_->Txtbzzz->setText(symptoms);
    window_->Txtbzcy->setText(cause);
    window_->TxtZlcs->setText(treatment);
}


QStringList DiagnosisEntryTest::column(int col) const
{
    QStringList texts;
    for (int row = 1; row < window_->MSFGridzyzd->Rows(); ++row) texts << window_->MSFGridzyzd->TextMatrix(row, col);
    return texts;
}

int DiagnosisEntryTest::stored(const QString& condition) const
{
    dao::Database db = world_->environment().open();
    return db.openRecordset("select * from zybz where " + condition).recordCount();
}

// ---- the grid -----------------------------------------------------------------------

void DiagnosisEntryTest::gridListsEveryRowByNameAndSymptoms_data()
{
    QTest::addColumn<bool>("seeded");
    QTest::addColumn<bool>("nullRow");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("count");
    QTest::newRow("empty table") << false << false << QStringList{} << "0";
    QTest::newRow("three rows") << true << false << QStringList{"肝郁", "脾虚", "脾虚"} << "系统已经登录  3";
    QTest::newRow("imported row without a name first") << true << true << QStringList{"", "肝郁", "脾虚", "脾虚"}
                                                      << "系统已经登录  4";
}

void DiagnosisEntryTest::gridListsEveryRowByNameAndSymptoms()
{
    QFETCH(bool, seeded);
    QFETCH(bool, nullRow);
    const TestEnvironment& env = world_->environment();
    if (seeded) {
        env.insert("zybz", {"脾虚", "乏力，食少", "饮食不节", "健脾益气"});
        env.insert("zybz", {"肝郁", "胁痛", "情志不畅", "疏肝"});
        env.insert("zybz", {"脾虚", "便溏，腹胀", "久病", "健脾"});
    }
    if (nullRow) env.insert("zybz", {vb::Variant(), "头痛", vb::Variant(), "止痛"});
    open();
    QTEST(column(0), "names");
    QTEST(window_->Labsl->Caption(), "count");
    QCOMPARE(window_->MSFGridzyzd->TextMatrix(0, 1), QString("临床症状表现"));
    if (seeded && !nullRow) {
        QCOMPARE(column(1), (QStringList{"胁痛", "便溏，腹胀", "乏力，食少"}));
        QVERIFY(window_->MSFGridzyzd->isMergedWithAbove(3, 0));
        QVERIFY(!window_->MSFGridzyzd->isMergedWithAbove(2, 0));
    }
    QVERIFY(world_->messages().isEmpty());
}

// ---- the input check ---------------------------------------------------------------

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
        fill("脾虚", "乏力", "饮食不节", "健脾");
        boxes[emptied]->setText("  ");
        world_->clearMessages();
        world_->answer({forms::vbYes});
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), message);
        QCOMPARE(WindowFixture::focusedControl(), boxes[emptied]);
    }
    // The delete asks before it checks; with an empty name its question keeps its blanks.
    fill("", "乏力", "因", "治");
    world_->clearMessages();
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), (QStringList{"确实要删除  的病症资料吗", "输入病症名称"}));
    QCOMPARE(world_->environment().count("zybz"), 0);
}

// ---- writing ------------------------------------------------------------------------

void DiagnosisEntryTest::keyRowIsFoundStoredOrAsTyped_data()
{
    QTest::addColumn<QString>("name");      // as the row holds it
    QTest::addColumn<QString>("symptoms");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedSymptoms");
    QTest::newRow("stored full-width, typed half-width") << "湿热，下注" << "带下，黄稠" << "湿热,下注" << "带下,黄稠";
    QTest::newRow("imported half-width") << "湿热,下注" << "带下,黄稠" << "湿热,下注" << "带下,黄稠";
    QTest::newRow("apostrophe and wildcards") << "O'Neil*" << "a?[b]#" << "O'Neil*" << "a?[b]#";
}

void DiagnosisEntryTest::keyRowIsFoundStoredOrAsTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, symptoms);
    QFETCH(QString, typedName);
    QFETCH(QString, typedSymptoms);
    world_->environment().insert("zybz", {name, symptoms, "旧因", "旧治"});
    open();
    const QString key = "bzmc = " + dao::quote(name) + " and bzqk = " + dao::quote(symptoms);

    fill(typedName, typedSymptoms, "新因", "新治");
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->environment().count("zybz"), 1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cmdedit);

    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(stored(key + " and bzcy = '新因' and zlcs = '新治'"), 1);
    QVERIFY(window_->TxtBzmc->Text().isEmpty());

    fill(typedName, typedSymptoms, "新因", "新治");
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zybz"), 0);
    QCOMPARE(window_->MSFGridzyzd->Rows(), 1);
    QCOMPARE(window_->Labsl->Caption(), QString("0"));
    QCOMPARE(world_->messages().size(), 1);   // the question only
}

void DiagnosisEntryTest::newKeysAreAddedAndMissingKeysRefused()
{
    world_->environment().insert("zybz", {"脾虚", "乏力", "饮食不节", "健脾"});
    open();
    // A changed symptom text is a new key: edit misses it, save adds it normalised.
    fill("脾虚", "乏力,食少", "久病.劳倦", "健脾");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSave);
    QCOMPARE(world_->environment().count("zybz"), 1);
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(stored("bzmc = '脾虚' and bzqk = '乏力，食少' and bzcy = '久病。劳倦'"), 1);
    QCOMPARE(stored("dlxm is null"), 2);
    QCOMPARE(window_->Labsl->Caption(), QString("系统已经登录  2"));

    // A delete of a key not stored says so after the question.
    fill("脾虚", "头痛", "因", "治");
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), (QStringList{"确实要删除 脾虚 的病症资料吗", "没有找到要删除的病症资料。"}));
    QCOMPARE(world_->environment().count("zybz"), 2);

    world_->clearMessages();
    world_->answer({forms::vbNo});
    fill("脾虚", "乏力", "因", "治");
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->environment().count("zybz"), 2);
}

void DiagnosisEntryTest::gridClickLoadsARowButNotTheHeader()
{
    world_->environment().insert("zybz", {"脾虚", "乏力", "饮食不节", "健脾\r\n益气"});
    open();
    fill("x", "", "", "");
    clickRow(0);
    QCOMPARE(window_->TxtBzmc->Text(), QString("x"));
    clickRow(1);
    QCOMPARE(window_->TxtBzmc->Text(), QString("脾虚"));
    QCOMPARE(window_->TxtZlcs->Text(), QString("健脾\r\n益气"));
}

void DiagnosisEntryTest::enterChainAndBlanks()
{
    open();
    window_->TxtBzmc->SetFocus();
    for (forms::TextBox* box : {window_->TxtBzmc, window_->Txtbzzz, window_->Txtbzcy}) {
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), box);
        WindowFixture::type(box, "a b");
        WindowFixture::pressEnter(box);
        QCOMPARE(box->Text(), QString("ab"));
    }
    QCOMPARE(WindowFixture::focusedControl(), window_->TxtZlcs);
    WindowFixture::pressEnter(window_->TxtZlcs);
    WindowFixture::type(window_->TxtZlcs, "c d");
    WindowFixture::pressEnter(window_->TxtZlcs);
    QCOMPARE(window_->TxtZlcs->Text(), QString("cd\r\n"));
}

void DiagnosisEntryTest::printHandsTheBoxesToTheWordProcessor()
{
    office::setDocumentOpener([](const QString&) { return true; });
    open();
    fill("脾虚", "乏力", " ", "健脾");
    WindowFixture::click(window_->Cmdprnt);
    QCOMPARE(world_->messages(), QStringList{"打印内容输入不完全，不能打印"});
    QCOMPARE(world_->boxes().shown().at(0).icon, 0);
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdQcls);

    world_->clearMessages();
    window_->Txtbzcy->setText("饮食不节");
    WindowFixture::click(window_->Cmdprnt);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("病症名称：脾虚\r\n病症症状：乏力\r\n病症成因：饮食不节\r\n治疗措施：健脾\r\n打印时间：2024-03-15"));
    office::setDocumentOpener({});
}

QTEST_MAIN(DiagnosisEntryTest)
#include "diagnosis_entry_test.moc"
