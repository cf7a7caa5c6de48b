// The stock-in window Frmycrk's own behaviour (what it shares with the other stock-out
// window is tested over both in stock_movement_test): the fresh window, the code and
// name look-ups, a pasted code emptying the name, the Enter chain, a new balance row and
// receipts adding up on it, declined questions, an unknown code refused after both
// questions, a return, a zero quantity, and dates of today.
#include "stock_window_driver.h"

#include <QtTest>

using dispensary::Frmycrk;
using namespace stocktest;

class StockInTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        driver_ = std::make_unique<StockWindowDriver<Frmycrk>>("ycrc");
        world_ = &driver_->world;
        window_ = driver_->window;
        QVERIFY(window_);
    }
    void cleanup() { driver_.reset(); }

    void codeLookUpFillsTheNameAndUpperCases()
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

    void codeLookUpRefusesUnknownCodes()
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
    void pastedCodeEmptiesTheName()
    {
        driver_->fill("DG01", "10", "100");
        driver_->paste(window_->Txtycbm, "HQ02");
        QCOMPARE(window_->Txtycbm->Text(), QString("HQ02"));
        QVERIFY(window_->Txtycmc->Text().isEmpty());

        world_->clearMessages();
        driver_->save();
        QCOMPARE(world_->messages().last(), QString("请输入药材编码"));
        QCOMPARE(world_->environment().count("yccrtb"), 0);

        // Cut empties it as well; the look-up's own upper-casing does not.
        WindowFixture::pressEnter(window_->Txtycbm);
        QCOMPARE(window_->Txtycmc->Text(), QString("黄芪"));
        window_->Txtycbm->SetFocusSelectAll();
        QTest::keyClick(window_->Txtycbm->inner(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(window_->Txtycmc->Text().isEmpty());
    }

    // From the fresh window, which offers today and an expiry 720 days on.
    void enterChainLeadsToTheSaveButton()
    {
        QCOMPARE(window_->TxtGjsj->Text(), QString("2024-03-15"));
        QCOMPARE(window_->TxtYsqx->Text(), QString("2026-03-05"));
        QVERIFY(window_->TxtYcsl->Text().isEmpty() && window_->TxtYcje->Text().isEmpty());
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        driver_->walkEnterChain({{window_->Txtycbm, "dg01", window_->TxtYcph}, {window_->TxtYcph, "P1", window_->TxtYsqx},
            {window_->TxtYsqx, "", window_->Txthwcd}, {window_->Txthwcd, "甘肃", window_->TxtPjhm},
            {window_->TxtPjhm, "B1", window_->TxtYcsl}, {window_->TxtYcsl, "1234.5", window_->TxtYcje},
            {window_->TxtYcje, "20000", window_->Txthwll}, {window_->Txthwll, "公司", window_->TxtGjsj},
            {window_->TxtGjsj, "", window_->Txtjbxm}, {window_->Txtjbxm, "张三", window_->CmdSave}});
        QCOMPARE(window_->TxtYcsl->Text(), QString("1,234.50"));
        QCOMPARE(window_->TxtYcje->Text(), QString("20,000.00"));
        QCOMPARE(window_->Txthwcd->Text(), QString("甘肃"));      // the space never gets in
        QVERIFY(world_->messages().isEmpty());
    }

    // The first receipt of a drug makes its balance row; the next adds to it; a return
    // (negative quantity and amount) lowers it and is journaled as a purchase.
    void receiptsAndReturnsAddUpOnOneBalanceRow()
    {
        driver_->fill("HQ02", "1250", "10,000.00");
        driver_->save();
        QCOMPARE(balanceOf(world_->environment(), "黄芪"), (Balance{1250, 10000, 1250}));
        driver_->fill("hq02", "1234.5", "2000");
        driver_->save();
        QCOMPARE(balanceOf(world_->environment(), "黄芪"), (Balance{2484.5, 12000, 2484.5}));
        driver_->fill("HQ02", "-5", "-50");
        driver_->save();
        QCOMPARE(balanceOf(world_->environment(), "黄芪"), (Balance{2479.5, 11950, 2479.5}));
        QCOMPARE(world_->environment().count("ycyltb"), 1);
        const std::vector<Row> journal = rowsOf(world_->environment(), "yccrtb");
        QCOMPARE(journal.size(), std::size_t(3));
        QCOMPARE(journal[1].number(9), 1234.5);
        QCOMPARE(journal[2].text(2), QString("购进"));
        QCOMPARE(journal[2].number(9), -5.0);
    }

    void declinedQuestionsWriteNothing()
    {
        driver_->fill("DG01", "10", "200");
        driver_->save({forms::vbNo});
        QCOMPARE(world_->messages(), QStringList{"药品购进价格大于销售价格，继续吗？"});
        QCOMPARE(WindowFixture::focusedControl(), window_->TxtYcsl);
        QCOMPARE(window_->TxtYcsl->SelLength(), 2);

        world_->clearMessages();
        driver_->save({forms::vbYes, forms::vbNo});
        QCOMPARE(world_->messages().size(), 2);
        QCOMPARE(world_->environment().count("yccrtb"), 0);
        QCOMPARE(window_->Txtycmc->Text(), QString("当归"));        // nothing cleared
    }

    // An unknown code and a zero quantity both fail the price check first, in their
    // own words; an unknown code goes on to both questions and is refused after them.
    void priceCheckErrorsComeFirst()
    {
        driver_->fill("ZZ9", "10", "100");
        world_->clearMessages();
        driver_->save();
        QCOMPARE(world_->messages(), QStringList({"药品编码登录错误，重来", "药品购进价格大于销售价格，继续吗？",
                                                  "保存后，输入资料不能修改,保存吗？", "请输入药材编码"}));
        driver_->fill("DG01", "0", "10");
        world_->clearMessages();
        driver_->save({forms::vbOK, forms::vbNo});
        QCOMPARE(world_->messages(), QStringList({"除数为零", "药品购进价格大于销售价格，继续吗？"}));
        QCOMPARE(world_->environment().count("yccrtb"), 0);
    }

    // A purchase and an expiry date of today pass; an expiry of yesterday passes Enter
    // but not the save.
    void datesOfTodayPass()
    {
        window_->TxtYsqx->setText("2024-03-14");
        window_->TxtYsqx->SetFocus();
        WindowFixture::pressEnter(window_->TxtYsqx);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txthwcd);

        driver_->fill("DG01", "10", "100");
        window_->TxtYsqx->setText("2024-03-14");
        driver_->save();
        QCOMPARE(world_->messages().last(), QString("药材有效期限不能小于系统目前时间"));

        window_->TxtYsqx->setText("2024-03-15");
        driver_->save();
        const std::vector<Row> journal = rowsOf(world_->environment(), "yccrtb");
        QCOMPARE(journal.size(), std::size_t(1));
        QCOMPARE(journal.front().date(0), QDate(2024, 3, 15));
        QCOMPARE(journal.front().date(6), QDate(2024, 3, 15));
    }

private:
    std::unique_ptr<StockWindowDriver<Frmycrk>> driver_;
    WindowFixture* world_ = nullptr;
    Frmycrk* window_ = nullptr;
};

QTEST_MAIN(StockInTest)
#include "stock_in_test.moc"
