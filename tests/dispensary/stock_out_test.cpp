// The other stock-out window FrmYcck's own behaviour (what it shares with the stock-in
// window is tested over both in stock_movement_test): the fresh window, the digits-only
// quantity box, the Enter chain, the stock check one above the balance and for a drug
// never received, a zero quantity failing the price check and then the input check,
// and a database that cannot be opened.
#include "stock_window_driver.h"

#include <QFile>
#include <QtTest>

using dispensary::FrmYcck;
using namespace stocktest;

class StockOutTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        driver_ = std::make_unique<StockWindowDriver<FrmYcck>>("YcqkCk");
        world_ = &driver_->world;
        window_ = driver_->window;
        QVERIFY(window_);
        world_->environment().insert("ycyltb", {"当归", 2000, 20000, 1500});
    }
    void cleanup() { driver_.reset(); }

    // The fresh window offers today and zeros; the quantity box takes digits only.
    void freshWindowDigitsAndTheEnterChain()
    {
        QCOMPARE(window_->TxtGjsj->Text(), QString("2024-03-15"));
        QCOMPARE(window_->TxtYcje->Text(), QString("0.00"));
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        QCOMPARE(window_->TxtYcsl->Text(), QString("0.00"));
        window_->TxtYcsl->SetFocusSelectAll();
        WindowFixture::type(window_->TxtYcsl, "1a 5.-x0");
        QTest::keyClick(window_->TxtYcsl->inner(), Qt::Key_Backspace);   // refused as well
        QCOMPARE(window_->TxtYcsl->Text(), QString("150"));

        window_->Txtycbm->SetFocus();
        driver_->walkEnterChain({{window_->Txtycbm, "dg01", window_->TxtPjhm}, {window_->TxtPjhm, "C1", window_->TxtGjsj},
            {window_->TxtGjsj, "", window_->Txthwll}, {window_->Txthwll, "报损", window_->TxtYcsl},
            {window_->TxtYcsl, "1500", window_->TxtYcje}, {window_->TxtYcje, "1200", window_->Txtjbxm},
            {window_->Txtjbxm, "李四", window_->CmdSave}});
        QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
        QCOMPARE(window_->TxtYcsl->Text(), QString("1,500.00"));
        QCOMPARE(window_->TxtYcje->Text(), QString("1,200.00"));
        QVERIFY(world_->messages().isEmpty());
    }

    // One unit above the balance (1500) and a drug with no balance row are refused after
    // the confirmation; the inputs stay. The whole balance goes out in stock_movement_test.
    void stockOutAboveTheBalanceIsRefused()
    {
        driver_->fill("DG01", "1501", "20000");
        world_->clearMessages();
        driver_->save();
        QCOMPARE(world_->messages(), QStringList({"保存后，输入资料不能修改,保存吗？", "库存中此药材余量不足"}));
        QCOMPARE(balanceOf(world_->environment(), "当归").onHand, 1500.0);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
        QCOMPARE(window_->TxtYcsl->Text(), QString("1,501.00"));

        driver_->fill("HQ02", "1", "5");
        world_->clearMessages();
        driver_->save();
        QCOMPARE(world_->messages().last(), QString("库存中此药材余量不足"));
        QCOMPARE(world_->environment().count("yccrtb"), 0);
        QCOMPARE(world_->environment().count("ycyltb"), 1);
    }

    // The cleared window's "0.00" saved as it stands: the price check divides by zero and
    // says so, its question follows, and the input check refuses the quantity.
    void zeroQuantityFailsThePriceCheckThenTheInputCheck()
    {
        driver_->fill("DG01", "0.00", "0.00");
        world_->clearMessages();
        driver_->save();
        QCOMPARE(world_->messages(), QStringList({"除数为零", "药品购进价格大于销售价格，继续吗？",
                                                  "保存后，输入资料不能修改,保存吗？", "出库数量不能为零"}));
        QCOMPARE(WindowFixture::focusedControl(), window_->TxtYcsl);
        QCOMPARE(world_->environment().count("yccrtb"), 0);
    }

    // The look-ups and the save trap a database that cannot be opened: its description
    // is shown, and the window and its inputs stay.
    void missingDatabaseIsReportedAndTheInputsStay()
    {
        driver_->fill("DG01", "10", "200");
        QVERIFY(QFile::rename(world_->environment().databasePath(), world_->environment().databasePath() + ".away"));
        world_->clearMessages();
        driver_->save();
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

private:
    std::unique_ptr<StockWindowDriver<FrmYcck>> driver_;
    WindowFixture* world_ = nullptr;
    FrmYcck* window_ = nullptr;
};

QTEST_MAIN(StockOutTest)
#include "stock_out_test.moc"
