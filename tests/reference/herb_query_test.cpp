// The herb query window Frmzyll opened through its menu item (the herb dictionaries
// rebuilt first): the pick lists, the nine criteria alone and together, herbs whose
// columns hold no value, the refusal and the no-result reset, the grid click that
// shows a herb on the browse tab, and the key rule of the detail boxes.
#include "reference/herb_query.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "dictionary/dictionary_builder.h"
#include "platform/dao/fault_injector.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using reference::Frmzyll;

class HerbQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pickListsComeFromTheRebuiltDictionaries();
    void eachCriterionAlone_data();
    void eachCriterionAlone();
    void criteriaTogether();
    void refusalAndQueryWithoutResult();
    void gridClickShowsTheHerbAsStored();
    void failedRebuildStillOpensTheWindow();
    void emptyTableGridClickSaysSo();
    void detailBoxesTakeNoKeyAndEnterMovesOn();

private:
    // Opens the window through its menu item, with four herbs stored unless `seeded` is
    // false; the rebuild's write number `failingWrite` fails when it is not 0.
    void open(bool seeded = true, int failingWrite = 0);
    QStringList gridNames() const;
    void clickGridRow(int row);

    std::unique_ptr<WindowFixture> world_;
    Frmzyll* window_ = nullptr;
};

void HerbQueryTest::init() { world_ = std::make_unique<WindowFixture>(); }

void HerbQueryTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

void HerbQueryTest::open(bool seeded, int failingWrite)
{
    TestEnvironment& env = world_->environment();
    if (seeded) {
        env.insert("zyyc", {"人参", "脾、肺、心经", "甘、微苦，微温", "大补元气，补脾益肺。", "气虚欲脱，脾虚食少。", "另煎兑服", "  ", "  ", "李"});
        env.insert("zyyc", {"党参", "脾、肺经", "甘，平", "补中益气，养血。", "脾肺气虚，血虚。", "煎服", "  ", "  ", "李"});
        env.insert("zyyc", {"黄芪", "脾、肺经", "甘，微温", "补气升阳，利水消肿。", "气虚乏力，水肿。", "煎服", "  ", "  ", "李"});
        env.insert("zyyc", {"玄参"});                                     // imported: Nulls elsewhere
    }
    if (failingWrite) dao::WriteFault::arm(failingWrite);
    world_->mainWindow().wire(QStringLiteral("zycxll0"), [this] { return window_ = new Frmzyll; },
                              dictionary::BuildHerbDicts);
    world_->mainWindow().menuAction(QStringLiteral("zycxll0"))->trigger();
    QCoreApplication::processEvents();
}

QStringList HerbQueryTest::gridNames() const
{
    QStringList names;
    for (int row = 1; row < window_->Msfgridzyyc->Rows(); ++row) names << window_->Msfgridzyyc->TextMatrix(row, 0);
    return names;
}

void HerbQueryTest::clickGridRow(int row)
{
    QTableView* view = window_->Msfgridzyyc->view();
    const QRect cell = view->visualRect(view->model()->index(row - 1, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

void HerbQueryTest::pickListsComeFromTheRebuiltDictionaries()
{
    world_->environment().insert("ycgy", {"旧词"});
    open();
    QVERIFY(window_);
    QStringList effects;
    for (int i = 0; i < window_->Cboycgx2->ListCount(); ++i) effects << window_->Cboycgx2->List(i);
    QVERIFY(effects.contains("补脾益肺"));
    QVERIFY(effects.contains("利水消肿"));
    QVERIFY(!effects.contains("旧词"));
    QCOMPARE(window_->Cboyczz3->ListCount(), 6);
    QCOMPARE(window_->Cboycxw->List(0), QString());                        // the imported herb's Null
    QCOMPARE(gridNames(), (QStringList{"党参", "黄芪", "人参", "玄参"}));   // pinyin order
    QCOMPARE(window_->SSTab1->Tab(), 0);
}

void HerbQueryTest::eachCriterionAlone_data()
{
    QTest::addColumn<int>("box");          // 0 name, 1 nature, 2 meridians, 3-5 effects, 6-8 indications
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("name inside, Null columns too") << 0 << "参" << QStringList{"党参", "人参", "玄参"};
    QTest::newRow("nature") << 1 << "微温" << QStringList{"黄芪", "人参"};
    QTest::newRow("meridians") << 2 << "心" << QStringList{"人参"};
    QTest::newRow("effect 1") << 3 << "补气" << QStringList{"黄芪"};
    QTest::newRow("effect 2") << 4 << "养血" << QStringList{"党参"};
    QTest::newRow("indication 1") << 6 << "水肿" << QStringList{"黄芪"};
    QTest::newRow("indication 2 alone") << 7 << "脾" << QStringList{"党参", "人参"};
}

void HerbQueryTest::eachCriterionAlone()
{
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    open();
    if (box == 0) window_->Txtmcyc->setText(text);
    else {
        forms::DBCombo* const combos[] = {window_->Cboycxw,  window_->Cboycgj,  window_->Cboycgx1, window_->Cboycgx2,
                                          window_->Cboycgx3, window_->Cboyczz1, window_->Cboyczz2, window_->Cboyczz3};
        combos[box - 1]->setText(text);
    }
    WindowFixture::click(window_->CmdSeek);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(gridNames(), found);
}

void HerbQueryTest::criteriaTogether()
{
    open();
    window_->Txtmcyc->setText("参");
    window_->Cboycgx1->setText("补");
    window_->Cboycgx2->setText("补");                                      // the same term twice
    window_->Cboyczz1->setText("脾");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(gridNames(), (QStringList{"党参", "人参"}));
    window_->Cboycxw->setText("平");
    window_->Cboycgj->setText("脾");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(gridNames(), QStringList{"党参"});
    QCOMPARE(window_->Txtmcyc->Text(), QString("参"));                     // criteria stay
    window_->Cboyczz3->setText("O'Neil");                                  // an apostrophe is a criterion
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"没有符合条件的药材。"});
}

void HerbQueryTest::refusalAndQueryWithoutResult()
{
    open();
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);

    world_->clearMessages();
    window_->Txtmcyc->setText("参");
    WindowFixture::click(window_->CmdSeek);
    window_->Txtmcyc->setText("三七");
    window_->Cboycgx1->setText("止血");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"没有符合条件的药材。"});
    QCOMPARE(window_->Txtmcyc->Text(), QString());
    QCOMPARE(window_->Cboycgx1->Text(), QString());
    QCOMPARE(gridNames().size(), 4);
}

void HerbQueryTest::gridClickShowsTheHerbAsStored()
{
    world_->environment().insert("zyyc", {"当归'", "肝经", "甘，温", "补血", "血虚", "煎服", "  ", "  ", "李"});
    open();
    QVERIFY(!window_->Txtycmc->isVisible());
    clickGridRow(1);                                                       // 当归'
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QVERIFY(window_->Txtycmc->isVisible());
    QCOMPARE(window_->Txtycmc->Text(), QString("当归'"));
    QCOMPARE(window_->Txtycgj->Text(), QString("肝经"));
    QCOMPARE(window_->Txtycyj->Text(), QString("  "));                     // not trimmed
    QVERIFY(world_->messages().isEmpty());

    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QVERIFY(!window_->Txtycmc->isVisible());
    QCOMPARE(WindowFixture::focusedControl(), window_->CmdSeek);
    clickGridRow(5);                                                       // 玄参, Nulls show empty
    QCOMPARE(window_->Txtycmc->Text(), QString("玄参"));
    QCOMPARE(window_->Txtycgy->Text(), QString());

    const QString windowsDir = core::WindowsDir;
    core::WindowsDir += "/gone";                                           // the file cannot be opened
    clickGridRow(2);
    core::WindowsDir = windowsDir;
    QCOMPARE(world_->messages().size(), 1);                                // told, not ended
    QCOMPARE(window_->Txtycmc->Text(), QString("玄参"));
}

// A rebuild that fails is reported, and the window opens on the dictionaries as they were.
void HerbQueryTest::failedRebuildStillOpensTheWindow()
{
    world_->environment().insert("ycgy", {"旧词"});
    open(true, 3);
    QVERIFY(window_);
    QCOMPARE(world_->messages().size(), 1);
    QCOMPARE(window_->Cboycgx1->ListCount(), 1);
    QCOMPARE(window_->Cboycgx1->List(0), QString("旧词"));
    QCOMPARE(gridNames().size(), 4);
}

void HerbQueryTest::emptyTableGridClickSaysSo()
{
    open(false);
    QCOMPARE(window_->Msfgridzyyc->Rows(), 2);
    clickGridRow(1);
    QCOMPARE(world_->messages(), QStringList{"未有要查询的药材"});
    QCOMPARE(window_->SSTab1->Tab(), 0);
}

void HerbQueryTest::detailBoxesTakeNoKeyAndEnterMovesOn()
{
    open();
    clickGridRow(3);                                                       // 人参
    const std::pair<forms::TextBox*, forms::Control*> chain[] = {
        {window_->Txtycmc, window_->Txtycxw}, {window_->Txtycxw, window_->Txtycgj},
        {window_->Txtycgj, window_->Txtycgy}, {window_->Txtycgy, window_->Txtyczz},
        {window_->Txtyczz, window_->Txtycyj}, {window_->Txtycyj, window_->Txtycyf},
        {window_->Txtycyf, window_->Txtycxd}, {window_->Txtycxd, window_->Cmdedit}};
    window_->Txtycmc->SetFocus();
    for (const auto& [box, next] : chain) {
        const QString before = box->Text();
        WindowFixture::type(box, "a 甲");
        QCOMPARE(box->Text(), before);
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), next);
        if (auto* nextBox = qobject_cast<forms::TextBox*>(next)) QCOMPARE(nextBox->SelLength(), nextBox->Text().size());
    }
}

QTEST_MAIN(HerbQueryTest)
#include "herb_query_test.moc"
