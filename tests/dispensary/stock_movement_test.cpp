// The stock-in window Frmycrk and the other stock-out window FrmYcck. What they share
// through their base StockMovementWindow runs over both: the Enter refusals, the
// ordered input check (two boxes broken at once), the price question at its threshold,
// the movement written to the journal and the balance, a failed write at every point
// leaving both tables and the inputs, the half-typed movement on re-activation, and the
// clear, exit and close box while the save runs. Then each window's own: the Enter
// chain, the look-ups, new balance rows and returns, declined questions, the price
// check's errors, dates of today, the stock check one above the balance. (An apostrophe
// in a code and a name runs through the same look-up and stock check in the pricing
// window's charge.)
#include "stock_window_driver.h"


using dispensary::FrmYcck;
using dispensary::Frmycrk;
using dispensary::StockMovementWindow;
using namespace stocktest;

namespace {

using Driver = StockWindowDriver<StockMovementWindow>;

// The window of a kind ("in" or "out"), opened through its menu item, with a balance
// of 当归 (sells at 12.50): 2000 received for 20000.00, 1500 on hand.
std::unique_ptr<Driver> openWindow(const QString& kind)
{
    auto driver = kind == "in" ? std::make_unique<Driver>("ycrc", std::type_identity<Frmycrk>{})
                               : std::make_unique<Driver>("YcqkCk", std::type_identity<FrmYcck>{});
    driver->environment().insert("ycyltb", {"当归", 2000, 20000, 1500});
    return driver;
}

const QString Confirm = QStringLiteral("保存后，输入资料不能修改,保存吗？");
const QString PriceQuestion = QStringLiteral("药品购进价格大于销售价格，继续吗？");

}  // namespace

class StockMovementTest : public QObject {
    Q_OBJECT

private slots:
    // Enter in a box holding what a paste may put there is refused, the box keeping the
    // focus; the save's checks run in their order, each broken together with the next.
    void refusalsAndChecksInTheirOrder()
    {
        const int question = forms::vbQuestion;
        const auto in = openWindow("in");
        auto* w = static_cast<Frmycrk*>(in->window);
        in->expectEnterRefused({{w->Txtycbm, "zz9", "药材编码输入错误"}, {w->TxtYcph, "", "请输入药品批号，没有批号用其它内容代替"},
            {w->TxtYsqx, "2024-02-30", "有效期限输入错误"}, {w->TxtPjhm, "", "请输入药品入库票据号码，没有可用其它内容代替", question},
            {w->TxtYcsl, "abc", "输入药材数量错误"}, {w->TxtYcje, "1.2.3", "药材输入金额错误"},
            {w->TxtGjsj, "2024-03-16", "输入时间不能大于目前时间"}, {w->TxtGjsj, "2024-13-01", "输入时间错误"}});
        in->expectChecksInOrder({{w->TxtPjhm, "  ", "请输入票据号码"}, {w->Txtjbxm, "", "请输入经办者姓名"},
            {w->Txthwll, "", "请输入药材来源"}, {w->Txthwcd, "", "请输入药材产地"}, {w->TxtYcph, "", "请输入药材批号"},
            {w->TxtGjsj, "2024-02-30", "药材购进时间输入错误"}, {w->TxtYsqx, "2024-0", "药材有效期限输入错误"},
            {w->TxtGjsj, "2024-03-16", "药材购进时间不能大于系统目前时间"},
            {w->TxtYsqx, "2024-03-14", "药材有效期限不能小于系统目前时间"}, {w->TxtYcje, "abc", "药材输入金额错误"}});

        const auto out = openWindow("out");
        StockMovementWindow* o = out->window;
        out->expectEnterRefused({{o->Txtycbm, "zz9", "药品编码输入错误"},
            {o->TxtPjhm, "", "请输入药品出库票据号码，没有可用其它内容代替", question}, {o->TxtGjsj, "2023-02-29", "输入时间错误"},
            {o->Txthwll, "", "请输入药品出库摘要", question}, {o->TxtYcsl, "0.00", "药品出库数量不能为零"},
            {o->TxtYcsl, "-5", "输入药品数量错误"}, {o->TxtYcsl, "2.5", "输入药品数量错误"},   // past the digit filter
            {o->TxtYcje, "abc", "药品输入金额错误"}});
        out->expectChecksInOrder({{o->TxtPjhm, "", "请输入票据号码"}, {o->Txtjbxm, " ", "请输入经办者姓名"},
            {o->Txthwll, "", "请输入药品来源"}, {o->TxtGjsj, "2024-1", "药品购进时间输入错误"},
            {o->TxtGjsj, "2024-03-16", "药品出库时间不能大于系统目前时间"}, {o->TxtYcsl, "-5", "药品输入数量错误"},
            {o->TxtYcsl, "2.5", "药品输入数量错误"}, {o->TxtYcje, "abc", "药品输入金额错误"}});
    }

    // Ten units of 当归, which sells at 12.50: a receipt asks at a cost of the price or
    // above, a stock-out at an income below it. The exit button and the close box, pressed
    // while the save lets events run, wait for it: the movement is written, then the window
    // closes and hands the menus back. The clear button pressed then does not empty the
    // boxes under the save.
    void priceQuestionAndClicksDuringTheSave()
    {
        const std::tuple<QString, const char*, bool, QString> cases[] = {{"in", "125", true, "exit"},
            {"in", "124.90", false, ""}, {"out", "124.90", true, "close"}, {"out", "125", false, "clear"}};
        for (const auto& [kind, amount, asked, action] : cases) {
            const auto driver = openWindow(kind);
            StockMovementWindow* window = driver->window;
            driver->fill("DG01", "10", amount);
            const QPointer<StockMovementWindow> alive(window);
            QTimer::singleShot(0, window, [window, action] {
                if (action == "exit") WindowFixture::click(window->CmdExit);
                else if (action == "close") window->subWindow()->close();
                else if (action == "clear") WindowFixture::click(window->CmdQcls);
            });
            driver->save();
            QVERIFY2(driver->world.messages().contains(PriceQuestion) == asked, amount);
            QCOMPARE(driver->world.messages().last(), Confirm);
            QCOMPARE(balanceOf(driver->environment(), "当归").onHand, kind == "in" ? 1510.0 : 1490.0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(alive.isNull(), action == "exit" || action == "close");
            QCOMPARE(menusOn(driver->world), action == "exit" || action == "close");
        }
    }

    // In each window: a receipt above 1,000.00 or a stock-out of exactly the balance, its
    // save failed at each of its two writes in turn, then written column by column and the
    // window cleared for the next movement; a half-typed receipt does not survive a change
    // of the active window, a half-typed stock-out does.
    void movementWrittenWholeOrNotAtAll()
    {
        const std::tuple<QString, const char*, const char*, QStringList, Balance, QString> cases[] = {
            {"in", "1250", "10,000.00", {"2024-03-15", "当归", "购进", "甘肃", "岷县药材公司", "P2024", "2026-03-05", " ",
                " ", "1250", "10000", "0", "0", "0", "张三", "操作员"}, Balance{3250, 30000, 2750}, ""},
            {"out", "1500", "18,750.00", {"2024-03-15", "当归", "出库", " ", "科室领用", " ", "2024-03-15", " ", " ",
                "0", "0", "1500", "0", "18750", "李四", "操作员"}, Balance{2000, 20000, 0}, "0.00"}};
        for (const auto& [kind, quantity, amount, journalRow, balance, clearedQuantity] : cases) {
            const auto driver = openWindow(kind);
            core::LoginUser = "操作员";
            driver->fill("DG01", quantity, amount);
            const auto before = stockTables(driver->environment());
            QCOMPARE(writesFailedInTurn([&] { driver->save(); }, [&] {
                QCOMPARE(driver->world.messages().size(), 2);   // the confirmation, then the error alone
                QVERIFY(driver->world.messages().last().contains(QStringLiteral("磁盘或网络读写错误")));
                QCOMPARE(stockTables(driver->environment()), before);
                QCOMPARE(driver->window->Txtycmc->Text(), QString("当归"));
            }), 2);
            QCOMPARE(rowsOf(driver->environment(), "yccrtb"), std::vector<QStringList>{journalRow});
            QCOMPARE(balanceOf(driver->environment(), "当归"), balance);
            QCOMPARE(driver->environment().count("ycyltb"), 1);
            QCOMPARE(driver->window->Txtycbm->Text() + "|" + driver->window->TxtYcsl->Text(), "|" + clearedQuantity);
            QCOMPARE(WindowFixture::focusedControl(), driver->window->Txtycbm);

            driver->fill("DG01", "10", "100");
            driver->world.activateAnotherAndBack(driver->window);
            QCOMPARE(driver->window->Txtycmc->Text().isEmpty(), kind == "in");
            QCOMPARE(driver->window->TxtPjhm->Text().isEmpty(), kind == "in");
            QCOMPARE(driver->window->TxtGjsj->Text(), QString("2024-03-15"));
        }
    }

    // The stock-in's own: its Enter chain from the fresh window (its dates filled in) to
    // the save button, numbers shown with separators; its look-up (the code upper-cased
    // and its name found; any key
    // but the space, or a paste, empties the name, so the save cannot record the old
    // drug); the first receipt of a drug making its balance row (an expiry of today passes) and a
    // return (negative quantity and amount) lowering it, journaled as a purchase; No to
    // either question writing and clearing nothing; an unknown code failing the price
    // check first, in its own words, and the input check after.
    void stockInOnItsOwn()
    {
        const auto driver = openWindow("in");
        auto* w = static_cast<Frmycrk*>(driver->window);
        walkEnterChain({{w->Txtycbm, "dg01", w->TxtYcph}, {w->TxtYcph, "P1", w->TxtYsqx}, {w->TxtYsqx, "", w->Txthwcd},
            {w->Txthwcd, "甘肃", w->TxtPjhm}, {w->TxtPjhm, "B1", w->TxtYcsl}, {w->TxtYcsl, "1234.5", w->TxtYcje},
            {w->TxtYcje, "20000", w->Txthwll}, {w->Txthwll, "公司", w->TxtGjsj}, {w->TxtGjsj, "", w->Txtjbxm},
            {w->Txtjbxm, "张三", w->CmdSave}});
        QCOMPARE(w->Txtycbm->Text() + w->Txtycmc->Text() + "|" + w->TxtYcsl->Text() + "|" + w->TxtYcje->Text(),
                 QString("DG01当归|1,234.50|20,000.00"));
        WindowFixture::type(w->Txtycbm, " x");
        QVERIFY(w->Txtycmc->Text().isEmpty());

        driver->fill("DG01", "10", "100");
        paste(w->Txtycbm, "HQ02");
        QCOMPARE(w->Txtycbm->Text() + w->Txtycmc->Text(), QString("HQ02"));
        driver->save();
        QCOMPARE(driver->world.messages().last(), QString("请输入药材编码"));
        QCOMPARE(driver->environment().count("yccrtb"), 0);
        WindowFixture::pressEnter(w->Txtycbm);
        QCOMPARE(w->Txtycmc->Text(), QString("黄芪"));

        driver->fill("HQ02", "1250", "10,000.00");
        w->TxtYsqx->setText("2024-03-15");
        driver->save();
        QCOMPARE(rowsOf(driver->environment(), "yccrtb").front()[6], QString("2024-03-15"));
        QCOMPARE(balanceOf(driver->environment(), "黄芪"), (Balance{1250, 10000, 1250}));
        driver->fill("hq02", "-5", "-50");
        driver->save();
        QCOMPARE(balanceOf(driver->environment(), "黄芪"), (Balance{1245, 9950, 1245}));
        QCOMPARE(rowsOf(driver->environment(), "yccrtb").back().mid(9, 1), QStringList{"-5"});

        driver->fill("DG01", "10", "200");
        driver->save({forms::vbNo});
        QCOMPARE(driver->world.messages(), QStringList{PriceQuestion});
        QCOMPARE(WindowFixture::focusedControl(), driver->window->TxtYcsl);
        driver->save({forms::vbYes, forms::vbNo});
        QCOMPARE(driver->world.messages(), (QStringList{PriceQuestion, Confirm}));
        QCOMPARE(driver->window->Txtycmc->Text(), QString("当归"));
        driver->fill("ZZ9", "10", "100");
        driver->save();
        QCOMPARE(driver->world.messages(), (QStringList{"药品编码登录错误，重来", PriceQuestion, Confirm, "请输入药材编码"}));
        QCOMPARE(driver->environment().count("yccrtb"), 2);
    }

    // The other stock-out's own: the quantity box takes digits only; its Enter chain; the
    // cleared window's "0.00" saved as it stands fails the price check (division by zero,
    // its question follows) and then the input check; one unit above the balance (1500)
    // and a drug with no balance row are refused after the confirmation. Nothing is
    // written and the inputs stay.
    void stockOutOnItsOwn()
    {
        const auto driver = openWindow("out");
        StockMovementWindow* o = driver->window;
        o->TxtYcsl->SetFocusSelectAll();
        WindowFixture::type(o->TxtYcsl, "1a 5.-x0");
        QTest::keyClick(o->TxtYcsl->inner(), Qt::Key_Backspace);   // refused as well
        QCOMPARE(o->TxtYcsl->Text(), QString("150"));
        o->Txtycbm->SetFocus();
        walkEnterChain({{o->Txtycbm, "dg01", o->TxtPjhm}, {o->TxtPjhm, "C1", o->TxtGjsj}, {o->TxtGjsj, "", o->Txthwll},
            {o->Txthwll, "报损", o->TxtYcsl}, {o->TxtYcsl, "1500", o->TxtYcje}, {o->TxtYcje, "1200", o->Txtjbxm},
            {o->Txtjbxm, "李四", o->CmdSave}});
        QCOMPARE(o->TxtYcsl->Text() + "|" + o->TxtYcje->Text(), QString("1,500.00|1,200.00"));

        driver->fill("DG01", "0.00", "0.00");
        driver->save();
        QCOMPARE(driver->world.messages(), (QStringList{"除数为零", PriceQuestion, Confirm, "出库数量不能为零"}));
        QCOMPARE(WindowFixture::focusedControl(), driver->window->TxtYcsl);
        for (const QString code : {"DG01", "HQ02"}) {
            driver->fill(code, "1501", "20000");
            driver->save();
            QCOMPARE(driver->world.messages(), (QStringList{Confirm, "库存中此药材余量不足"}));
            QCOMPARE(WindowFixture::focusedControl(), driver->window->Txtycbm);
            QCOMPARE(driver->window->TxtYcsl->Text(), QString("1,501.00"));
        }
        QCOMPARE(balanceOf(driver->environment(), "当归").onHand, 1500.0);
        QCOMPARE(driver->environment().count("ycyltb") + driver->environment().count("yccrtb"), 1);
    }
};

QTEST_MAIN(StockMovementTest)
#include "stock_movement_test.moc"
