// The stock-in window Frmycrk driven as the user drives it: the code look-up, the
// Enter chain and its refusals, the ordered input check, the price question, the
// receipt written to the journal and the balance, returns, an apostrophe in a code
// and a name, and a failure between the journal row and the balance change.
#include "dispensary/stock_in.h"
#include "stock_window_driver.h"

#include <QTimer>
#include <QtTest>

using dispensary::Frmycrk;
using namespace stocktest;

class StockInTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshWindowOffersTodayAndTheExpiry();
    void codeLookUpFillsTheNameAndUpperCases();
    void codeLookUpRefusesUnknownCodes();
    void pastedCodeEmptiesTheName();
    void enterChainLeadsToTheSaveButton();
    void enterChainRefusals_data();
    void enterChainRefusals();
    void inputChecksRunInTheirOrder();
    void receiptsAddUpOnOneBalanceRow();
    void priceQuestionThreshold_data();
    void priceQuestionThreshold();
    void declinedQuestionsWriteNothing();
    void unknownCodeIsRefusedAfterBothQuestions();
    void returnLowersTheBalance();
    void apostropheInCodeAndNameIsStoredAndFound();
    void failedBalanceChangeLeavesBothTablesAndTheInputs();
    void zeroQuantityReportsTheDivision();
    void halfTypedReceiptIsClearedOnActivation();
    void clearButtonWaitsForTheSave();
    void datesOfTodayPass();

private:
    // Fills every box with a valid receipt of `code` (looked up through Enter).
    void fillReceipt(const QString& code, const QString& quantity, const QString& amount);
    // Presses save, answering the two questions Yes unless told otherwise.
    void save(std::initializer_list<int> answers = {forms::vbYes, forms::vbYes}) { driver_->save(answers); }
    // The box of the window by its name, for table-driven cases.
    forms::TextBox* box(const QString& name) const;

    std::unique_ptr<StockWindowDriver<Frmycrk>> driver_;
    WindowFixture* world_ = nullptr;
    Frmycrk* window_ = nullptr;
};

void StockInTest::init()
{
    driver_ = std::make_unique<StockWindowDriver<Frmycrk>>("ycrc");
    world_ = &driver_->world;
    window_ = driver_->window;
    QVERIFY(window_);
}

void StockInTest::cleanup()
{
    driver_.reset();
    world_ = nullptr;
    window_ = nullptr;
}

forms::TextBox* StockInTest::box(const QString& name) const
{
    const std::map<QString, forms::TextBox*> boxes = {
        {"Txtycbm", window_->Txtycbm}, {"TxtYcph", window_->TxtYcph}, {"TxtYsqx", window_->TxtYsqx},
        {"Txthwcd", window_->Txthwcd}, {"TxtPjhm", window_->TxtPjhm}, {"TxtYcsl", window_->TxtYcsl},
        {"TxtYcje", window_->TxtYcje}, {"Txthwll", window_->Txthwll}, {"TxtGjsj", window_->TxtGjsj},
        {"Txtjbxm", window_->Txtjbxm}};
    return boxes.at(name);
}

void StockInTest::fillReceipt(const QString& code, const QString& quantity, const QString& amount)
{
    window_->Txtycbm->setText(code);
    WindowFixture::pressEnter(window_->Txtycbm);
    window_->TxtYcph->setText("P2024");
    window_->Txthwcd->setText("甘肃");
    window_->TxtPjhm->setText("B-001");
    window_->TxtYcsl->setText(quantity);
    window_->TxtYcje->setText(amount);
    window_->Txthwll->setText("岷县药材公司");
    window_->Txtjbxm->setText("张三");
}

void StockInTest::freshWindowOffersTodayAndTheExpiry()
{
    QCOMPARE(window_->Caption(), QString("中药材入库、退库"));
    QCOMPARE(window_->TxtGjsj->Text(), QString("2024-03-15"));
    QCOMPARE(window_->TxtYsqx->Text(), world_->today().addDays(720).toString("yyyy-MM-dd"));
    for (forms::TextBox* box : {window_->Txtycbm, window_->Txtycmc, window_->TxtYcsl, window_->TxtYcje})
        QVERIFY(box->Text().isEmpty());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);   // first in the tab order
    QVERIFY(world_->messages().isEmpty());
}

void StockInTest::codeLookUpFillsTheNameAndUpperCases()
{
    driver_->lookUpCode("dg01");
    QCOMPARE(window_->Txtycbm->Text(), QString("DG01"));
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(WindowFixture::focusedControl(), window_->TxtYcph);

    // The space leaves the name; any other key empties it.
    WindowFixture::type(window_->Txtycbm, " ");
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->Txtycbm->Text(), QString("DG01"));
    WindowFixture::type(window_->Txtycbm, "x");
    QVERIFY(window_->Txtycmc->Text().isEmpty());

    // Enter in the locked name box finds the code of the name.
    window_->Txtycbm->setText("");
    window_->Txtycmc->setText("黄芪");
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(window_->Txtycbm->Text(), QString("HQ02"));
    QCOMPARE(WindowFixture::focusedControl(), window_->TxtGjsj);
    QVERIFY(world_->messages().isEmpty());
}

void StockInTest::codeLookUpRefusesUnknownCodes()
{
    window_->Txtycmc->setText("当归");
    WindowFixture::pressEnter(window_->Txtycbm);             // empty: only the name goes
    QVERIFY(window_->Txtycmc->Text().isEmpty());
    QVERIFY(world_->messages().isEmpty());

    driver_->lookUpCode("zz9");
    QCOMPARE(world_->messages(), QStringList{"药材编码输入错误"});
    QVERIFY(window_->Txtycmc->Text().isEmpty());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
    QCOMPARE(window_->Txtycbm->SelLength(), 3);

    world_->clearMessages();
    window_->Txtycmc->setText("没有的药");
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(world_->messages(), QStringList{"此药材编码没有登记，请先登记药材编码名称销价"});
}

// A code pasted over the looked-up one must not keep the old drug's name: the save
// would record that drug while the box shows another code.
void StockInTest::pastedCodeEmptiesTheName()
{
    fillReceipt("DG01", "10", "100");
    driver_->paste(window_->Txtycbm, "HQ02");
    QCOMPARE(window_->Txtycbm->Text(), QString("HQ02"));
    QVERIFY(window_->Txtycmc->Text().isEmpty());

    world_->clearMessages();
    save({forms::vbYes, forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages().last(), QString("请输入药材编码"));
    QCOMPARE(world_->environment().count("yccrtb"), 0);

    // Cut empties it as well; the look-up's own upper-casing does not.
    WindowFixture::pressEnter(window_->Txtycbm);
    QCOMPARE(window_->Txtycmc->Text(), QString("黄芪"));
    window_->Txtycbm->SetFocusSelectAll();
    QTest::keyClick(window_->Txtycbm->inner(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(window_->Txtycmc->Text().isEmpty());
}

void StockInTest::enterChainLeadsToTheSaveButton()
{
    window_->Txtycbm->SetFocus();
    driver_->walkEnterChain({
        {window_->Txtycbm, "dg01", window_->TxtYcph},
        {window_->TxtYcph, "P1", window_->TxtYsqx},
        {window_->TxtYsqx, "", window_->Txthwcd},
        {window_->Txthwcd, "甘肃", window_->TxtPjhm},
        {window_->TxtPjhm, "B1", window_->TxtYcsl},
        {window_->TxtYcsl, "1234.5", window_->TxtYcje},
        {window_->TxtYcje, "20000", window_->Txthwll},
        {window_->Txthwll, "公司", window_->TxtGjsj},
        {window_->TxtGjsj, "", window_->Txtjbxm},
        {window_->Txtjbxm, "张三", window_->CmdSave},
    });
    QCOMPARE(window_->TxtYcsl->Text(), QString("1,234.50"));
    QCOMPARE(window_->TxtYcje->Text(), QString("20,000.00"));
    QCOMPARE(window_->Txthwcd->Text(), QString("甘肃"));      // the space never gets in
    QVERIFY(world_->messages().isEmpty());
}

void StockInTest::enterChainRefusals_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("batch empty") << "TxtYcph" << "" << "请输入药品批号，没有批号用其它内容代替";
    QTest::newRow("expiry no date") << "TxtYsqx" << "2024-02-30" << "有效期限输入错误";
    QTest::newRow("expiry half typed") << "TxtYsqx" << "2024-0" << "有效期限输入错误";
    QTest::newRow("bill empty") << "TxtPjhm" << "" << "请输入药品入库票据号码，没有可用其它内容代替";
    QTest::newRow("quantity letters") << "TxtYcsl" << "abc" << "输入药材数量错误";
    QTest::newRow("amount letters") << "TxtYcje" << "1.2.3" << "药材输入金额错误";
    QTest::newRow("purchase tomorrow") << "TxtGjsj" << "2024-03-16" << "输入时间不能大于目前时间";
    QTest::newRow("purchase no date") << "TxtGjsj" << "2024-13-01" << "输入时间错误";
}

void StockInTest::enterChainRefusals()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const int icon = boxName == "TxtPjhm" ? forms::vbQuestion : forms::vbInformation;
    driver_->expectEnterRefused(box(boxName), text, message, icon);
}

void StockInTest::inputChecksRunInTheirOrder()
{
    Frmycrk* w = window_;
    driver_->expectChecksInOrder(
        {{w->TxtPjhm, "  ", "请输入票据号码"},
         {w->Txtjbxm, "", "请输入经办者姓名"},
         {w->Txthwll, "", "请输入药材来源"},
         {w->Txthwcd, "", "请输入药材产地"},
         {w->TxtYcph, "", "请输入药材批号"},
         {w->TxtGjsj, "2024-02-30", "药材购进时间输入错误"},
         {w->TxtYsqx, "2024-0", "药材有效期限输入错误"},
         {w->TxtGjsj, "2024-03-16", "药材购进时间不能大于系统目前时间"},
         {w->TxtYsqx, "2024-03-14", "药材有效期限不能小于系统目前时间"},
         {w->TxtYcje, "abc", "药材输入金额错误"}},
        [this] { fillReceipt("DG01", "10", "100"); }, {forms::vbYes, forms::vbYes},
        {forms::vbOK, forms::vbYes, forms::vbYes});
}

void StockInTest::receiptsAddUpOnOneBalanceRow()
{
    core::LoginUser = "操作员";
    fillReceipt("DG01", "1250", "10,000.00");
    WindowFixture::pressEnter(window_->TxtYcsl);
    QCOMPARE(window_->TxtYcsl->Text(), QString("1,250.00"));
    save();
    QCOMPARE(world_->messages(), QStringList{"保存后，输入资料不能修改,保存吗？"});
    QCOMPARE(balanceOf(world_->environment(), "当归"), (Balance{1250, 10000, 1250}));

    // The window is cleared for the next receipt.
    QVERIFY(window_->Txtycbm->Text().isEmpty());
    QVERIFY(window_->TxtYcsl->Text().isEmpty());
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);

    fillReceipt("dg01", "1234.5", "2000");
    save();
    QCOMPARE(balanceOf(world_->environment(), "当归"), (Balance{2484.5, 12000, 2484.5}));
    QCOMPARE(world_->environment().count("ycyltb"), 1);

    const std::vector<Row> journal = rowsOf(world_->environment(), "yccrtb");
    QCOMPARE(journal.size(), std::size_t(2));
    const Row& first = journal.front();
    QCOMPARE(first.date(0), QDate(2024, 3, 15));
    QCOMPARE(first.text(1), QString("当归"));
    QCOMPARE(first.text(2), QString("购进"));
    QCOMPARE(first.text(3), QString("甘肃"));
    QCOMPARE(first.text(4), QString("岷县药材公司"));
    QCOMPARE(first.text(5), QString("P2024"));
    QCOMPARE(first.date(6), QDate(2024, 3, 15).addDays(720));
    QCOMPARE(first.text(7), QString(" "));
    QCOMPARE(first.text(8), QString(" "));
    QCOMPARE(first.number(9), 1250.0);
    QCOMPARE(first.number(10), 10000.0);
    QCOMPARE(first.number(11), 0.0);
    QCOMPARE(first.number(12), 0.0);
    QCOMPARE(first.number(13), 0.0);
    QCOMPARE(first.text(14), QString("张三"));
    QCOMPARE(first.text(15), QString("操作员"));
    QCOMPARE(journal.back().number(9), 1234.5);
}

void StockInTest::priceQuestionThreshold_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("asked");
    // 当归 sells at 12.50; ten units received.
    QTest::newRow("cost equal to the price") << "125" << true;
    QTest::newRow("cost above the price") << "200" << true;
    QTest::newRow("one cent below the price") << "124.90" << false;
}

void StockInTest::priceQuestionThreshold()
{
    QFETCH(QString, amount);
    QFETCH(bool, asked);
    fillReceipt("DG01", "10", amount);
    world_->clearMessages();
    save({forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages().contains("药品购进价格大于销售价格，继续吗？"), asked);
    QCOMPARE(world_->environment().count("yccrtb"), 1);
}

void StockInTest::declinedQuestionsWriteNothing()
{
    fillReceipt("DG01", "10", "200");
    save({forms::vbNo});
    QCOMPARE(world_->messages(), QStringList{"药品购进价格大于销售价格，继续吗？"});
    QCOMPARE(WindowFixture::focusedControl(), window_->TxtYcsl);
    QCOMPARE(window_->TxtYcsl->SelLength(), 2);

    world_->clearMessages();
    save({forms::vbYes, forms::vbNo});
    QCOMPARE(world_->messages().size(), 2);
    QCOMPARE(world_->environment().count("yccrtb"), 0);
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));        // nothing cleared
}

void StockInTest::unknownCodeIsRefusedAfterBothQuestions()
{
    fillReceipt("ZZ9", "10", "100");
    world_->clearMessages();
    save({forms::vbOK, forms::vbYes, forms::vbYes});
    QCOMPARE(world_->messages(), QStringList({"药品编码登录错误，重来", "药品购进价格大于销售价格，继续吗？",
                                              "保存后，输入资料不能修改,保存吗？", "请输入药材编码"}));
    QCOMPARE(world_->environment().count("yccrtb"), 0);
}

void StockInTest::returnLowersTheBalance()
{
    world_->environment().insert("ycyltb", {"黄芪", 100, 80, 100});
    fillReceipt("HQ02", "-5", "-50");
    save({forms::vbYes, forms::vbYes});
    QCOMPARE(balanceOf(world_->environment(), "黄芪"), (Balance{95, 30, 95}));
    const std::vector<Row> journal = rowsOf(world_->environment(), "yccrtb");
    QCOMPARE(journal.size(), std::size_t(1));
    QCOMPARE(journal.front().text(2), QString("购进"));
    QCOMPARE(journal.front().number(9), -5.0);
}

void StockInTest::apostropheInCodeAndNameIsStoredAndFound()
{
    driver_->lookUpCode("o'1");
    QCOMPARE(window_->Txtycmc->Text(), QString("王不留'行"));
    fillReceipt("o'1", "3", "3");
    save();
    QCOMPARE(balanceOf(world_->environment(), "王不留'行"), (Balance{3, 3, 3}));
    fillReceipt("O'1", "2", "2");
    save();
    QCOMPARE(balanceOf(world_->environment(), "王不留'行"), (Balance{5, 5, 5}));
    QCOMPARE(world_->environment().count("ycyltb"), 1);
}

void StockInTest::failedBalanceChangeLeavesBothTablesAndTheInputs()
{
    world_->environment().insert("ycyltb", {"当归", 10, 100, 10});
    fillReceipt("DG01", "5", "50");
    driver_->expectSaveFailsAndKeepsAll({forms::vbYes, forms::vbYes});
    QCOMPARE(window_->TxtYcsl->Text(), QString("5.00"));

    // Failed at each of its writes in turn, then saved exactly once.
    driver_->expectEveryWriteFaultLeavesAll({forms::vbYes, forms::vbYes}, 2);
    QCOMPARE(balanceOf(world_->environment(), "当归"), (Balance{15, 150, 15}));
}

void StockInTest::zeroQuantityReportsTheDivision()
{
    fillReceipt("DG01", "0", "10");
    world_->clearMessages();
    save({forms::vbOK, forms::vbNo});
    QCOMPARE(world_->messages(), QStringList({"除数为零", "药品购进价格大于销售价格，继续吗？"}));
    QCOMPARE(world_->environment().count("yccrtb"), 0);
}

// A half-typed receipt does not survive a change of the active window.
void StockInTest::halfTypedReceiptIsClearedOnActivation()
{
    fillReceipt("DG01", "10", "100");
    driver_->activateAnotherAndBack();
    QVERIFY(window_->Txtycmc->Text().isEmpty());
    QVERIFY(window_->TxtPjhm->Text().isEmpty());
    QCOMPARE(window_->TxtGjsj->Text(), QString("2024-03-15"));
}

// The save lets events run (its price check, its write); a click on the clear button
// arriving then must not empty the boxes under it.
void StockInTest::clearButtonWaitsForTheSave()
{
    fillReceipt("DG01", "10", "100");
    QTimer::singleShot(0, window_, [this] { WindowFixture::click(window_->CmdQcls); });
    world_->clearMessages();
    save();
    QCOMPARE(world_->messages(), QStringList{"保存后，输入资料不能修改,保存吗？"});
    QCOMPARE(balanceOf(world_->environment(), "当归"), (Balance{10, 100, 10}));
}

// A purchase and an expiry date of today pass; an expiry of yesterday passes Enter
// but not the save.
void StockInTest::datesOfTodayPass()
{
    window_->TxtYsqx->setText("2024-03-14");
    window_->TxtYsqx->SetFocus();
    WindowFixture::pressEnter(window_->TxtYsqx);
    QCOMPARE(WindowFixture::focusedControl(), window_->Txthwcd);

    fillReceipt("DG01", "10", "100");
    window_->TxtYsqx->setText("2024-03-14");
    save();
    QCOMPARE(world_->messages().last(), QString("药材有效期限不能小于系统目前时间"));

    window_->TxtYsqx->setText("2024-03-15");
    save();
    QCOMPARE(world_->environment().count("yccrtb"), 1);
    const Row row = rowsOf(world_->environment(), "yccrtb").front();
    QCOMPARE(row.date(0), QDate(2024, 3, 15));
    QCOMPARE(row.date(6), QDate(2024, 3, 15));
}

QTEST_MAIN(StockInTest)
#include "stock_in_test.moc"
