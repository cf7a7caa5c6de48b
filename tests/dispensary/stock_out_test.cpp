// The other stock-out window FrmYcck driven as the user drives it: the digits-only
// quantity box, the Enter chain and its prompts, the ordered input check, the
// reversed price question, the stock check at the balance and one above it, the row
// written and the balance lowered, an apostrophe in a code and a name, and a failure
// between the journal row and the balance change.
#include "dispensary/stock_out.h"
#include "stock_window_driver.h"

#include <QAction>
#include <QFile>
#include <QTimer>
#include <QtTest>

using dispensary::FrmYcck;
using namespace stocktest;

class StockOutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshWindowOffersTodayAndZeros();
    void quantityBoxTakesDigitsOnly();
    void pastedNegativeQuantityIsNeverSaved();
    void enterChainLeadsToTheSaveButton();
    void enterChainRefusals_data();
    void enterChainRefusals();
    void inputChecksRunInTheirOrder();
    void stockOutOfTheWholeBalanceLeavesZero();
    void stockOutAboveTheBalanceIsRefused();
    void drugNeverReceivedIsRefused();
    void zeroQuantityFailsThePriceCheckThenTheInputCheck();
    void priceQuestionThreshold_data();
    void priceQuestionThreshold();
    void apostropheInCodeAndNameIsStoredAndFound();
    void failedBalanceChangeLeavesBothTablesAndTheInputs();
    void unfinishedStockOutSurvivesActivation();
    void exitHandsTheMenusBack();
    void missingDatabaseIsReportedAndTheInputsStay();
    void closeBoxHandsTheMenusBackToo();
    void closingDuringTheSaveWaitsForIt_data();
    void closingDuringTheSaveWaitsForIt();

private:
    // Fills every box with a valid stock-out of `code` (looked up through Enter).
    void fillStockOut(const QString& code, const QString& quantity, const QString& income);
    void save(std::initializer_list<int> answers = {forms::vbYes}) { driver_->save(answers); }
    // The box of the window by its name, for table-driven cases.
    forms::TextBox* box(const QString& name) const;

    std::unique_ptr<StockWindowDriver<FrmYcck>> driver_;
    WindowFixture* world_ = nullptr;
    FrmYcck* window_ = nullptr;
};

void StockOutTest::init()
{
    driver_ = std::make_unique<StockWindowDriver<FrmYcck>>("YcqkCk");
    world_ = &driver_->world;
    window_ = driver_->window;
    QVERIFY(window_);
    world_->environment().insert("ycyltb", {"当归", 2000, 20000, 1500});
}

void StockOutTest::cleanup()
{
    driver_.reset();
    world_ = nullptr;
    window_ = nullptr;
}

forms::TextBox* StockOutTest::box(const QString& name) const
{
    const std::map<QString, forms::TextBox*> boxes = {
        {"Txtycbm", window_->Txtycbm}, {"TxtPjhm", window_->TxtPjhm}, {"TxtGjsj", window_->TxtGjsj},
        {"Txthwll", window_->Txthwll}, {"TxtYcsl", window_->TxtYcsl}, {"TxtYcje", window_->TxtYcje},
        {"Txtjbxm", window_->Txtjbxm}};
    return boxes.at(name);
}

void StockOutTest::fillStockOut(const QString& code, const QString& quantity, const QString& income)
{
    window_->Txtycbm->setText(code);
    WindowFixture::pressEnter(window_->Txtycbm);
    window_->TxtPjhm->setText("C-07");
    window_->Txthwll->setText("科室领用");
    window_->TxtYcsl->setText(quantity);
    window_->TxtYcje->setText(income);
    window_->Txtjbxm->setText("李四");
}

void StockOutTest::freshWindowOffersTodayAndZeros()
{
    QCOMPARE(window_->Caption(), QString("药材出库"));
    QCOMPARE(window_->TxtGjsj->Text(), QString("2024-03-15"));
    QCOMPARE(window_->TxtYcsl->Text(), QString("0.00"));
    QCOMPARE(window_->TxtYcje->Text(), QString("0.00"));
    QVERIFY(window_->Txtycbm->Text().isEmpty());
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);   // first in the tab order
}

void StockOutTest::quantityBoxTakesDigitsOnly()
{
    window_->TxtYcsl->SetFocusSelectAll();
    WindowFixture::type(window_->TxtYcsl, "1a 5.-x0");
    QCOMPARE(window_->TxtYcsl->Text(), QString("150"));
    QTest::keyClick(window_->TxtYcsl->inner(), Qt::Key_Backspace);
    QCOMPARE(window_->TxtYcsl->Text(), QString("150"));
}

// Ctrl+V gets past the key filter; a negative quantity would raise the balance.
void StockOutTest::pastedNegativeQuantityIsNeverSaved()
{
    fillStockOut("DG01", "10", "200");
    driver_->paste(window_->TxtYcsl, "-5");
    QCOMPARE(window_->TxtYcsl->Text(), QString("-5"));
    world_->clearMessages();
    save({forms::vbYes, forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages().last(), QString("药品输入数量错误"));
    QCOMPARE(world_->environment().count("yccrtb"), 0);
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1500.0);
}

void StockOutTest::enterChainLeadsToTheSaveButton()
{
    window_->Txtycbm->SetFocus();
    driver_->walkEnterChain({
        {window_->Txtycbm, "dg01", window_->TxtPjhm},
        {window_->TxtPjhm, "C1", window_->TxtGjsj},
        {window_->TxtGjsj, "", window_->Txthwll},
        {window_->Txthwll, "报损", window_->TxtYcsl},
        {window_->TxtYcsl, "1500", window_->TxtYcje},
        {window_->TxtYcje, "1200", window_->Txtjbxm},
        {window_->Txtjbxm, "李四", window_->CmdSave},
    });
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->TxtYcsl->Text(), QString("1,500.00"));
    QCOMPARE(window_->TxtYcje->Text(), QString("1,200.00"));
    QVERIFY(world_->messages().isEmpty());
}

void StockOutTest::enterChainRefusals_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    const int info = forms::vbInformation;
    const int question = forms::vbQuestion;
    QTest::newRow("unknown code") << "Txtycbm" << "zz9" << "药品编码输入错误" << info;
    QTest::newRow("bill empty") << "TxtPjhm" << "" << "请输入药品出库票据号码，没有可用其它内容代替" << question;
    QTest::newRow("date tomorrow") << "TxtGjsj" << "2024-03-16" << "输入时间不能大于目前时间" << info;
    QTest::newRow("date no date") << "TxtGjsj" << "2023-02-29" << "输入时间错误" << info;
    QTest::newRow("summary empty") << "Txthwll" << "" << "请输入药品出库摘要" << question;
    QTest::newRow("quantity zero") << "TxtYcsl" << "0.00" << "药品出库数量不能为零" << info;
    // Pasted past the digit filter: a negative or broken quantity is no quantity.
    QTest::newRow("quantity pasted negative") << "TxtYcsl" << "-5" << "输入药品数量错误" << info;
    QTest::newRow("quantity pasted fraction") << "TxtYcsl" << "2.5" << "输入药品数量错误" << info;
    QTest::newRow("income letters") << "TxtYcje" << "abc" << "药品输入金额错误" << info;
}

void StockOutTest::enterChainRefusals()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, icon);
    driver_->expectEnterRefused(box(boxName), text, message, icon);
}

void StockOutTest::inputChecksRunInTheirOrder()
{
    FrmYcck* w = window_;
    driver_->expectChecksInOrder(
        {{w->TxtPjhm, "", "请输入票据号码"},
         {w->Txtjbxm, " ", "请输入经办者姓名"},
         {w->Txthwll, "", "请输入药品来源"},
         {w->TxtGjsj, "2024-1", "药品购进时间输入错误"},
         {w->TxtGjsj, "2024-03-16", "药品出库时间不能大于系统目前时间"},
         {w->TxtYcsl, "-5", "药品输入数量错误"},
         {w->TxtYcsl, "2.5", "药品输入数量错误"},
         {w->TxtYcje, "abc", "药品输入金额错误"}},
        [this] { fillStockOut("DG01", "10", "200"); }, {forms::vbYes}, {forms::vbOK, forms::vbYes, forms::vbYes});
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1500.0);
}

void StockOutTest::stockOutOfTheWholeBalanceLeavesZero()
{
    core::LoginUser = "操作员";
    fillStockOut("DG01", "1500", "1,200.00");
    world_->clearMessages();
    save({forms::vbYes, forms::vbYes});          // 0.80 a unit is below the price: asked
    QCOMPARE(world_->messages(),
             QStringList({"药品购进价格大于销售价格，继续吗？", "保存后，输入资料不能修改,保存吗？"}));
    QCOMPARE(balanceOf(world_->environment(), "当归"), (Balance{2000, 20000, 0}));

    const std::vector<Row> journal = rowsOf(world_->environment(), "yccrtb");
    QCOMPARE(journal.size(), std::size_t(1));
    const Row& row = journal.front();
    QCOMPARE(row.date(0), QDate(2024, 3, 15));
    QCOMPARE(row.text(1), QString("当归"));
    QCOMPARE(row.text(2), QString("出库"));
    QCOMPARE(row.text(3), QString(" "));
    QCOMPARE(row.text(4), QString("科室领用"));
    QCOMPARE(row.text(5), QString(" "));
    QCOMPARE(row.date(6), QDate(2024, 3, 15));
    QCOMPARE(row.text(7), QString(" "));
    QCOMPARE(row.text(8), QString(" "));
    QCOMPARE(row.number(9), 0.0);
    QCOMPARE(row.number(10), 0.0);
    QCOMPARE(row.number(11), 1500.0);
    QCOMPARE(row.number(12), 0.0);
    QCOMPARE(row.number(13), 1200.0);
    QCOMPARE(row.text(14), QString("李四"));
    QCOMPARE(row.text(15), QString("操作员"));

    // Cleared for the next stock-out.
    QVERIFY(window_->Txtycbm->Text().isEmpty());
    QCOMPARE(window_->TxtYcsl->Text(), QString("0.00"));
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
}

void StockOutTest::stockOutAboveTheBalanceIsRefused()
{
    fillStockOut("DG01", "1501", "20000");
    world_->clearMessages();
    save();
    QCOMPARE(world_->messages(), QStringList({"保存后，输入资料不能修改,保存吗？", "库存中此药材余量不足"}));
    QCOMPARE(world_->environment().count("yccrtb"), 0);
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1500.0);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->TxtYcsl->Text(), QString("1,501.00"));
}

void StockOutTest::drugNeverReceivedIsRefused()
{
    fillStockOut("HQ02", "1", "5");
    world_->clearMessages();
    save();
    QCOMPARE(world_->messages().last(), QString("库存中此药材余量不足"));
    QCOMPARE(world_->environment().count("yccrtb"), 0);
    QCOMPARE(world_->environment().count("ycyltb"), 1);
}

// The cleared window's "0.00" saved as it stands: the price check divides by zero and
// says so, its question follows, and the input check refuses the quantity.
void StockOutTest::zeroQuantityFailsThePriceCheckThenTheInputCheck()
{
    fillStockOut("DG01", "0.00", "0.00");
    world_->clearMessages();
    save({forms::vbOK, forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages(), QStringList({"除数为零", "药品购进价格大于销售价格，继续吗？",
                                              "保存后，输入资料不能修改,保存吗？", "出库数量不能为零"}));
    QCOMPARE(WindowFixture::focusedControl(), window_->TxtYcsl);
    QCOMPARE(world_->environment().count("yccrtb"), 0);
}

void StockOutTest::priceQuestionThreshold_data()
{
    QTest::addColumn<QString>("income");
    QTest::addColumn<bool>("asked");
    // 当归 sells at 12.50; ten units go out.
    QTest::newRow("below the price") << "124.90" << true;
    QTest::newRow("equal to the price") << "125" << false;
    QTest::newRow("above the price") << "300" << false;
}

void StockOutTest::priceQuestionThreshold()
{
    QFETCH(QString, income);
    QFETCH(bool, asked);
    fillStockOut("DG01", "10", income);
    world_->clearMessages();
    save({forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages().contains("药品购进价格大于销售价格，继续吗？"), asked);
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1490.0);
}

void StockOutTest::apostropheInCodeAndNameIsStoredAndFound()
{
    world_->environment().insert("ycyltb", {"王不留'行", 10, 10, 10});
    driver_->lookUpCode("o'1");
    QCOMPARE(window_->Txtycmc->Text(), QString("王不留'行"));
    fillStockOut("o'1", "10", "20");
    save();
    QCOMPARE(balanceOf(world_->environment(), "王不留'行").onHand, 0.0);
    fillStockOut("o'1", "1", "2");
    world_->clearMessages();
    save();
    QCOMPARE(world_->messages().last(), QString("库存中此药材余量不足"));
    QCOMPARE(world_->environment().count("yccrtb"), 1);
}

void StockOutTest::failedBalanceChangeLeavesBothTablesAndTheInputs()
{
    fillStockOut("DG01", "10", "200");
    driver_->expectSaveFailsAndKeepsAll({forms::vbYes});
    QCOMPARE(window_->TxtYcsl->Text(), QString("10.00"));

    // Failed at each of its writes in turn, then saved exactly once.
    driver_->expectEveryWriteFaultLeavesAll({forms::vbYes}, 2);
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1490.0);
}

// Unlike the stock-in window, a half-typed stock-out is not cleared when the window
// becomes active again.
void StockOutTest::unfinishedStockOutSurvivesActivation()
{
    fillStockOut("DG01", "10", "200");
    driver_->activateAnotherAndBack();
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->TxtPjhm->Text(), QString("C-07"));
}

void StockOutTest::exitHandsTheMenusBack()
{
    QAction* menu = world_->mainWindow().menuAction("ycrk");
    QVERIFY(!menu->isEnabled());
    QPointer<FrmYcck> window(window_);
    WindowFixture::click(window_->CmdExit);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QVERIFY(menu->isEnabled());
}

// Closing by the close box must not leave the main window locked.
void StockOutTest::closeBoxHandsTheMenusBackToo()
{
    QAction* menu = world_->mainWindow().menuAction("ycrk");
    QPointer<FrmYcck> window(window_);
    window_->subWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QVERIFY(menu->isEnabled());
}

void StockOutTest::closingDuringTheSaveWaitsForIt_data()
{
    QTest::addColumn<bool>("byExitButton");
    QTest::newRow("exit button") << true;
    QTest::newRow("close box") << false;
}

// The save lets events run; an exit or close arriving meanwhile must not delete the
// window under it. The stock-out is written, then the window closes.
void StockOutTest::closingDuringTheSaveWaitsForIt()
{
    QFETCH(bool, byExitButton);
    fillStockOut("DG01", "10", "200");
    QPointer<FrmYcck> window(window_);
    QTimer::singleShot(0, window_, [this, byExitButton] {
        if (byExitButton)
            WindowFixture::click(window_->CmdExit);
        else
            window_->subWindow()->close();
    });
    save();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QCOMPARE(world_->environment().count("yccrtb"), 1);
    QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1490.0);
    QVERIFY(world_->mainWindow().menuAction("ycrk")->isEnabled());
}

// The look-ups and the save trap a database that cannot be opened: its description
// is shown, and the window and its inputs stay.
void StockOutTest::missingDatabaseIsReportedAndTheInputsStay()
{
    fillStockOut("DG01", "10", "200");
    QVERIFY(QFile::rename(world_->environment().databasePath(),
                          world_->environment().databasePath() + ".away"));
    world_->clearMessages();
    save({forms::vbOK, forms::vbYes, forms::vbYes, forms::vbOK});
    // The price check's error, its question, the confirmation, the save's error.
    QCOMPARE(world_->messages().size(), 4);
    QVERIFY(world_->messages().first().contains("zyqhmz.mdb"));
    QCOMPARE(world_->messages().last(), world_->messages().first());
    QCOMPARE(window_->TxtPjhm->Text(), QString("C-07"));
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));

    world_->clearMessages();
    WindowFixture::pressEnter(window_->Txtycbm);
    QCOMPARE(world_->messages().size(), 1);
    QVERIFY(world_->messages().front().contains("zyqhmz.mdb"));
    QCOMPARE(window_->Txtycbm->Text(), QString("DG01"));
}

QTEST_MAIN(StockOutTest)
#include "stock_out_test.moc"
