// What the stock-in window Frmycrk and the other stock-out window FrmYcck share through
// their base StockMovementWindow, each case run over both windows: the Enter refusals,
// the ordered input check (two boxes broken at once), the price question at its
// threshold, the movement written to the journal and the balance, an apostrophe in a
// code and a name, a failed write at every point leaving both tables and the inputs,
// the half-typed movement on re-activation, and the clear, exit and close box while
// the save runs. Each window's own behaviour is tested in its own file.
#include "stock_window_driver.h"

#include <QAction>
#include <QTimer>
#include <QtTest>
#include <tuple>

using dispensary::StockMovementWindow;
using namespace stocktest;

Q_DECLARE_METATYPE(stocktest::Balance)

namespace {

using Driver = StockWindowDriver<StockMovementWindow>;

// The window of a row ("in" or "out"), opened through its menu item, with a balance of
// 当归 (sells at 12.50): 2000 received for 20000.00, 1500 on hand.
std::unique_ptr<Driver> openWindow(const QString& kind)
{
    auto driver = kind == "in" ? std::make_unique<Driver>("ycrc", std::type_identity<dispensary::Frmycrk>{})
                               : std::make_unique<Driver>("YcqkCk", std::type_identity<dispensary::FrmYcck>{});
    driver->environment().insert("ycyltb", {"当归", 2000, 20000, 1500});
    return driver;
}

}  // namespace

class StockMovementTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { core::LoginUser.clear(); }

    void enterChainRefusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const int info = forms::vbInformation;
        const int question = forms::vbQuestion;
        QTest::newRow("in: batch empty") << "in" << "TxtYcph" << "" << "请输入药品批号，没有批号用其它内容代替" << info;
        QTest::newRow("in: expiry no date") << "in" << "TxtYsqx" << "2024-02-30" << "有效期限输入错误" << info;
        QTest::newRow("in: expiry half typed") << "in" << "TxtYsqx" << "2024-0" << "有效期限输入错误" << info;
        QTest::newRow("in: bill empty") << "in" << "TxtPjhm" << "" << "请输入药品入库票据号码，没有可用其它内容代替" << question;
        QTest::newRow("in: quantity letters") << "in" << "TxtYcsl" << "abc" << "输入药材数量错误" << info;
        QTest::newRow("in: amount letters") << "in" << "TxtYcje" << "1.2.3" << "药材输入金额错误" << info;
        QTest::newRow("in: date tomorrow") << "in" << "TxtGjsj" << "2024-03-16" << "输入时间不能大于目前时间" << info;
        QTest::newRow("in: date no date") << "in" << "TxtGjsj" << "2024-13-01" << "输入时间错误" << info;
        QTest::newRow("out: unknown code") << "out" << "Txtycbm" << "zz9" << "药品编码输入错误" << info;
        QTest::newRow("out: bill empty") << "out" << "TxtPjhm" << "" << "请输入药品出库票据号码，没有可用其它内容代替" << question;
        QTest::newRow("out: date tomorrow") << "out" << "TxtGjsj" << "2024-03-16" << "输入时间不能大于目前时间" << info;
        QTest::newRow("out: date no date") << "out" << "TxtGjsj" << "2023-02-29" << "输入时间错误" << info;
        QTest::newRow("out: summary empty") << "out" << "Txthwll" << "" << "请输入药品出库摘要" << question;
        QTest::newRow("out: quantity zero") << "out" << "TxtYcsl" << "0.00" << "药品出库数量不能为零" << info;
        // Pasted past the digit filter: a negative or broken quantity is no quantity.
        QTest::newRow("out: quantity negative") << "out" << "TxtYcsl" << "-5" << "输入药品数量错误" << info;
        QTest::newRow("out: quantity fraction") << "out" << "TxtYcsl" << "2.5" << "输入药品数量错误" << info;
        QTest::newRow("out: income letters") << "out" << "TxtYcje" << "abc" << "药品输入金额错误" << info;
    }

    void enterChainRefusals()
    {
        QFETCH(QString, kind);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, icon);
        const auto driver = openWindow(kind);
        driver->expectEnterRefused(driver->box(box), text, message, icon);
    }

    // Each check broken together with the next: the save stops at the earlier one.
    void inputChecksRunInTheirOrder()
    {
        using Checks = std::vector<std::tuple<const char*, const char*, const char*>>;
        const std::pair<QString, Checks> windows[] = {
            {"in", {{"TxtPjhm", "  ", "请输入票据号码"}, {"Txtjbxm", "", "请输入经办者姓名"}, {"Txthwll", "", "请输入药材来源"},
                    {"Txthwcd", "", "请输入药材产地"}, {"TxtYcph", "", "请输入药材批号"},
                    {"TxtGjsj", "2024-02-30", "药材购进时间输入错误"}, {"TxtYsqx", "2024-0", "药材有效期限输入错误"},
                    {"TxtGjsj", "2024-03-16", "药材购进时间不能大于系统目前时间"},
                    {"TxtYsqx", "2024-03-14", "药材有效期限不能小于系统目前时间"}, {"TxtYcje", "abc", "药材输入金额错误"}}},
            {"out", {{"TxtPjhm", "", "请输入票据号码"}, {"Txtjbxm", " ", "请输入经办者姓名"}, {"Txthwll", "", "请输入药品来源"},
                     {"TxtGjsj", "2024-1", "药品购进时间输入错误"}, {"TxtGjsj", "2024-03-16", "药品出库时间不能大于系统目前时间"},
                     {"TxtYcsl", "-5", "药品输入数量错误"}, {"TxtYcsl", "2.5", "药品输入数量错误"},
                     {"TxtYcje", "abc", "药品输入金额错误"}}}};
        for (const auto& [kind, checks] : windows) {
            const auto driver = openWindow(kind);
            std::vector<Driver::BrokenBox> broken;
            for (const auto& [box, text, message] : checks) broken.push_back({driver->box(box), text, message});
            driver->expectChecksInOrder(broken);
            QCOMPARE(balanceOf(driver->environment(), "当归").onHand, 1500.0);
        }
    }

    void priceQuestionThreshold_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("asked");
        // Ten units of 当归, which sells at 12.50: a receipt asks at a cost of the price
        // or above, a stock-out at an income below it.
        QTest::newRow("in: cost equal to the price") << "in" << "125" << true;
        QTest::newRow("in: cost above the price") << "in" << "200" << true;
        QTest::newRow("in: one cent below the price") << "in" << "124.90" << false;
        QTest::newRow("out: one cent below the price") << "out" << "124.90" << true;
        QTest::newRow("out: equal to the price") << "out" << "125" << false;
        QTest::newRow("out: above the price") << "out" << "300" << false;
    }

    void priceQuestionThreshold()
    {
        QFETCH(QString, kind);
        QFETCH(QString, amount);
        QFETCH(bool, asked);
        const auto driver = openWindow(kind);
        driver->fill("DG01", "10", amount);
        driver->world.clearMessages();
        driver->save();
        QCOMPARE(driver->world.messages().contains("药品购进价格大于销售价格，继续吗？"), asked);
        QCOMPARE(driver->environment().count("yccrtb"), 1);
        QCOMPARE(balanceOf(driver->environment(), "当归").onHand, kind == "in" ? 1510.0 : 1490.0);
    }

    void movementIsJournaledAndBalanced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("journalRow");
        QTest::addColumn<Balance>("balance");
        QTest::addColumn<QString>("clearedQuantity");
        QTest::newRow("in: amounts above 1,000.00") << "in" << "1250" << "10,000.00"
            << QStringList{"2024-03-15", "当归", "购进", "甘肃", "岷县药材公司", "P2024", "2026-03-05", " ", " ",
                           "1250", "10000", "0", "0", "0", "张三", "操作员"}
            << Balance{3250, 30000, 2750} << "";
        QTest::newRow("out: exactly the balance") << "out" << "1500" << "1,200.00"
            << QStringList{"2024-03-15", "当归", "出库", " ", "科室领用", " ", "2024-03-15", " ", " ",
                           "0", "0", "1500", "0", "1200", "李四", "操作员"}
            << Balance{2000, 20000, 0} << "0.00";
    }

    void movementIsJournaledAndBalanced()
    {
        QFETCH(QString, kind);
        QFETCH(QString, quantity);
        QFETCH(QString, amount);
        QFETCH(QStringList, journalRow);
        QFETCH(Balance, balance);
        QFETCH(QString, clearedQuantity);
        const auto driver = openWindow(kind);
        core::LoginUser = "操作员";
        driver->fill("DG01", quantity, amount);
        driver->world.clearMessages();
        driver->save();
        QCOMPARE(driver->world.messages().last(), QString("保存后，输入资料不能修改,保存吗？"));
        const std::vector<Row> journal = rowsOf(driver->environment(), "yccrtb");
        QCOMPARE(journal.size(), std::size_t(1));
        QCOMPARE(journal.front().texts(), journalRow);
        QCOMPARE(balanceOf(driver->environment(), "当归"), balance);
        QCOMPARE(driver->environment().count("ycyltb"), 1);
        // Cleared for the next movement.
        QVERIFY(driver->window->Txtycbm->Text().isEmpty());
        QCOMPARE(driver->window->TxtYcsl->Text(), clearedQuantity);
        QCOMPARE(WindowFixture::focusedControl(), driver->window->Txtycbm);
    }

    // Looked up in lower case, stored and found again in both queries of the save.
    void apostropheInCodeAndName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("onHandAfterOne");
        QTest::addColumn<double>("onHandAfterTwo");
        QTest::newRow("in") << "in" << 14.0 << 18.0;
        QTest::newRow("out") << "out" << 6.0 << 2.0;
    }

    void apostropheInCodeAndName()
    {
        QFETCH(QString, kind);
        QFETCH(double, onHandAfterOne);
        QFETCH(double, onHandAfterTwo);
        const auto driver = openWindow(kind);
        driver->environment().insert("ycyltb", {"王不留'行", 10, 10, 10});
        driver->lookUpCode("o'1");
        QCOMPARE(driver->window->Txtycmc->Text(), QString("王不留'行"));
        driver->fill("o'1", "4", "8");
        driver->save();
        QCOMPARE(balanceOf(driver->environment(), "王不留'行").onHand, onHandAfterOne);
        driver->fill("O'1", "4", "8");
        driver->save();
        QCOMPARE(balanceOf(driver->environment(), "王不留'行").onHand, onHandAfterTwo);
        QCOMPARE(driver->environment().count("ycyltb"), 2);
        QCOMPARE(driver->environment().count("yccrtb"), 2);
    }

    // The save failed at each of its two writes in turn:
    // the error shown, both tables exactly as they were, the inputs kept; then saved once.
    void failedSaveLeavesBothTablesAndTheInputs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("amount");   // no price question
        QTest::addColumn<Balance>("saved");
        QTest::newRow("in") << "in" << "100" << Balance{2010, 20100, 1510};
        QTest::newRow("out") << "out" << "200" << Balance{2000, 20000, 1490};
    }

    void failedSaveLeavesBothTablesAndTheInputs()
    {
        QFETCH(QString, kind);
        QFETCH(QString, amount);
        QFETCH(Balance, saved);
        const auto driver = openWindow(kind);
        driver->fill("DG01", "10", amount);
        driver->expectEveryWriteFaultLeavesAll(2);
        QCOMPARE(balanceOf(driver->environment(), "当归"), saved);
    }

    // A half-typed receipt does not survive a change of the active window; a half-typed
    // stock-out does.
    void halfTypedMovementOnActivation_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("in") << "in" << true;
        QTest::newRow("out") << "out" << false;
    }

    void halfTypedMovementOnActivation()
    {
        QFETCH(QString, kind);
        QFETCH(bool, cleared);
        const auto driver = openWindow(kind);
        driver->fill("DG01", "10", "100");
        driver->activateAnotherAndBack();
        QCOMPARE(driver->window->Txtycmc->Text().isEmpty(), cleared);
        QCOMPARE(driver->window->TxtPjhm->Text().isEmpty(), cleared);
        QCOMPARE(driver->window->TxtGjsj->Text(), QString("2024-03-15"));
    }

    // The exit button and the close box, pressed while the save lets events run, wait for
    // it: the movement is written, then the window closes and hands the menus back. The
    // clear button pressed then does not empty the boxes under the save.
    void clearExitAndCloseDuringTheSave_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action");
        for (const char* kind : {"in", "out"})
            for (const char* action : {"exit", "close", "clear"}) QTest::addRow("%s: %s", kind, action) << kind << action;
    }

    void clearExitAndCloseDuringTheSave()
    {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        const auto driver = openWindow(kind);
        StockMovementWindow* window = driver->window;
        QAction* menu = driver->world.mainWindow().menuAction("ycrk");
        QVERIFY(!menu->isEnabled());
        driver->fill("DG01", "10", "200");
        const QPointer<StockMovementWindow> alive(window);
        const auto act = [window, action] {
            if (action == "exit") WindowFixture::click(window->CmdExit);
            else if (action == "close") window->subWindow()->close();
            else WindowFixture::click(window->CmdQcls);
        };
        QTimer::singleShot(0, window, act);
        driver->world.clearMessages();
        driver->save();
        QCOMPARE(driver->world.messages().last(), QString("保存后，输入资料不能修改,保存吗？"));
        QCOMPARE(driver->environment().count("yccrtb"), 1);
        QCOMPARE(balanceOf(driver->environment(), "当归").onHand, kind == "in" ? 1510.0 : 1490.0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(alive.isNull(), action != "clear");
        QCOMPARE(menu->isEnabled(), action != "clear");
    }
};

QTEST_MAIN(StockMovementTest)
#include "stock_movement_test.moc"
