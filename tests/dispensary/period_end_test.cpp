// The period-end batches of the dispensary menu, run from their menu items on a fresh
// database. The stock-taking sheet 药品库存盘点: every balance row in stored order (zero
// balances too) read back from the workbook, an empty balance table writing nothing,
// an existing sheet replaced. The settlement 药品结帐: stock-outs costed at the
// average unit cost and balances re-based, each drug at its own cost; the progress
// labels; a drug that sold out in the period still costed; a cost that cannot be
// computed and a failure at each write leaving both stock tables exactly as they were.
// The menus and the arrow come back in every case.
#include "core/progress_driver.h"
#include "core/progress_window.h"
#include "dispensary/dispensary_menu.h"
#include "dispensary_support.h"
#include "support/paint_watch.h"


using namespace stocktest;

namespace {

// A journal row of a stock-in (quantityIn) or stock-out (quantityOut, its cost ckje).
void journal(const TestEnvironment& env, const QString& drug, double quantityIn, double quantityOut, double cost = 0)
{
    env.insert("yccrtb", {"2024-01-05", drug, quantityIn != 0 ? "购进" : "出库", " ", " ", " ", "2025-01-01",
                          " ", " ", quantityIn, quantityIn, quantityOut, cost, 0.0, "张", "李"});
}

}  // namespace

class PeriodEndTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); registerDispensaryWindows(world_->mainWindow()); }
    void cleanup() { world_.reset(); }

    // An empty balance table writes nothing; every balance row in stored order, an old
    // sheet replaced.
    void stockTakingSheet()
    {
        world_->mainWindow().menuAction("YckcPd")->trigger();
        QCOMPARE(world_->messages(), QStringList{"尚未发生药品购销业务"});
        QVERIFY(!QFile::exists(sheetPath()));
        QVERIFY(TestEnvironment::writeBytes(sheetPath(), "old sheet"));
        for (const auto& [name, onHand] : {std::pair{"黄芪", 1250.5}, {"当归", 0.0}, {"王不留'行", 3.0}})
            env().insert("ycyltb", {name, 10, 20, onHand});
        world_->clearMessages();
        world_->mainWindow().menuAction("YckcPd")->trigger();
        QCOMPARE(world_->messages(), QStringList{"生成图表已经存放在我的文档中，请查收"});
        QCOMPARE(world_->clock().waited, 3.0);
        QVERIFY(menusOn());
        const XlsxReader sheet(sheetPath());
        QCOMPARE((QStringList{sheet.text("A2"), sheet.text("B2"), sheet.text("C2"), sheet.text("D2")}),
                 (QStringList{"药品名称", "结余数量", "实余数量", "差异数量"}));
        QCOMPARE((QStringList{sheet.text("A4"), sheet.text("A5"), sheet.text("A6")}), (QStringList{"黄芪", "当归", "王不留'行"}));
        QCOMPARE(sheet.cell("B4")->number + sheet.cell("B5")->number, 1250.5);
        for (const char* cell : {"B4", "C6"}) QCOMPARE(sheet.cell(cell)->numberFormat, QString("##,###,##0.00_ "));
        QCOMPARE(sheet.cell("C4")->kind, XlsxReader::Cell::Kind::Blank);
        QVERIFY(!sheet.cell("D4") && !sheet.cell("A7"));
        QVERIFY(*sheet.columnWidth(3) > *sheet.columnWidth(4));   // D keeps the standard width
    }

    // No to the question changes nothing. Stopped at each of its writes in turn (the
    // sold-out pricing and removal, the pricing pass, the re-basing pass), the settlement
    // leaves both tables exactly as they were, the progress window gone, the menus and the
    // arrow back. With no write left to fail it costs the stock-outs at the average unit
    // cost and re-bases the balances, each drug at its own cost; a second run prices
    // nothing again. The progress window shows each pass while the menus stay locked; the
    // sold-out drug's row goes before the passes count, and with none left to settle the
    // passes still end. A cost that cannot be computed stops it before any write.
    void settlementPricesAndRebasesOrLeavesAll()
    {
        env().insert("ycyltb", {"当归", 100, 50, 40});        // unit cost 0.5
        env().insert("ycyltb", {"黄芪", 10, 30, 4});          // unit cost 3, settled after 当归
        env().insert("ycyltb", {"王不留'行", 10, 20, -5});    // negative balance: row kept
        env().insert("ycyltb", {"甘草", 8, 24, 0});           // sold out: costed, then removed
        journal(env(), "当归", 100, 0);                  // stock-in: untouched
        journal(env(), "当归", 0, 10);
        journal(env(), "当归", 0, 50);
        journal(env(), "当归", 0, 7, 9.99);              // priced before: keeps its cost
        journal(env(), "黄芪", 0, 6);
        journal(env(), "王不留'行", 0, 15);
        journal(env(), "甘草", 0, 8);
        journal(env(), "川芎", 0, 3);                    // no balance row: not priced
        const auto expectUntouched = [this](const auto& before, const QString& shown) {
            QCOMPARE(stockTables(env()), before);
            QCOMPARE(world_->messages().last(), shown);
            QCOMPARE(world_->boxes().shown().back().icon, 0);
            QVERIFY(menusOn());
            QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
            QVERIFY(world_->mainWindow().findChildren<core::Frmjdys*>().isEmpty());
        };
        const auto before = stockTables(env());
        QVERIFY(settle(forms::vbNo).isEmpty());
        QCOMPARE(stockTables(env()), before);
        QStringList labels;
        QVERIFY(writesFailedInTurn([&] { labels = settle(); }, [&] { expectUntouched(before, "3043\r\n磁盘或网络读写错误。"); }) >= 8);
        QCOMPARE(labels, (QStringList{"|", "20%|", "40%|", "60%|", "|60%", "73%|60%", "86%|60%", "99%|60%"}));
        for (int run = 0; run < 2; ++run) {
            if (run) settle();
            QCOMPARE(world_->messages().last(), QString("当期结帐已经完成"));
            QList<double> costs;   // ckje of each journal row
            for (const QStringList& row : rowsOf(env(), "yccrtb")) costs << row[12].toDouble();
            QCOMPARE(costs, (QList<double>{0, 5, 25, 9.99, 18, 30, 24, 0}));
            QCOMPARE(balanceOf(env(), "当归"), (Balance{40, 20, 40}));
            QCOMPARE(balanceOf(env(), "黄芪"), (Balance{4, 12, 4}));
            QCOMPARE(balanceOf(env(), "王不留'行"), (Balance{-5, -10, -5}));
            QCOMPARE(balanceOf(env(), "甘草"), Balance{});
            QVERIFY(menusOn());
        }
        QCOMPARE(world_->clock().waited, 6.0);

        env().open().execute("delete from ycyltb");
        env().insert("ycyltb", {"当归", 100, 50, 40});
        env().insert("ycyltb", {"黄芪", 0, 30, 4});           // nothing received, yet a balance
        journal(env(), "当归", 0, 6);
        const auto unpriced = stockTables(env());
        settle();
        expectUntouched(unpriced, "11\r\n药品“黄芪”的入库数量为 0 或入库金额为空，无法计算平均成本，结帐未进行。");

        env().open().execute("delete from ycyltb");
        env().insert("ycyltb", {"甘草", 10, 5, 0});           // sold out: none left to settle
        QCOMPARE(settle(), (QStringList{"|", "|60%"}));
        QCOMPARE(world_->messages().last() + QString::number(env().count("ycyltb")), QString("当期结帐已经完成0"));
        QVERIFY(!unlockedDuringRun_);
    }

private:
    TestEnvironment& env() { return world_->environment(); }
    QString sheetPath() const { return world_->environment().documentsDir() + "/药品盘点表.xls"; }
    bool menusOn() { return world_->mainWindow().menuAction("xtwh")->isEnabled(); }
    // Triggers 药品结帐 answering `answer`; returns the progress labels painted, in order.
    QStringList settle(int answer = forms::vbYes)
    {
        QStringList shown;
        const core::ProgressDriver::TestHook everyPlaceDrawn;
        const PaintWatch watch([&](core::Frmjdys* progress) {
            const QString label = progress->Labpre->Caption() + u'|' + progress->Labprg->Caption();
            unlockedDuringRun_ = unlockedDuringRun_ || menusOn();
            if (shown.isEmpty() || shown.last() != label) shown << label;
        });
        world_->answer({answer});
        world_->mainWindow().menuAction("Ypjz")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return shown;
    }

    std::unique_ptr<WindowFixture> world_;
    bool unlockedDuringRun_ = false;   // a menu was usable while the progress window showed
};

QTEST_MAIN(PeriodEndTest)
#include "period_end_test.moc"
