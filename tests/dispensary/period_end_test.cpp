// The period-end batches of the dispensary menu, run from their menu items on a fresh
// database. The stock-taking sheet 药品库存盘点: nothing written without balances;
// every balance row in stored order (zero balances too) read back from the workbook
// with each column's type, format and width, an existing sheet replaced. The
// settlement 药品结帐: stock-outs costed at the average unit cost and balances
// re-based, each drug at its own cost, as a dispenser meets them (a drug sold out, one
// fully returned, a cost of 10/3, one that cannot be computed); the progress labels;
// a failure at each write leaving both stock tables exactly as they were. The menus
// and the arrow come back in every case.
#include "core/progress_driver.h"
#include "core/progress_window.h"
#include "platform/forms/progressbar.h"
#include "core/globals.h"
#include "dispensary/dispensary_menu.h"
#include "dispensary/settlement.h"
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

    void emptyBalancesWriteNoSheet()
    {
        world_->mainWindow().menuAction("YckcPd")->trigger();
        QCOMPARE(world_->messages(), QStringList{"尚未发生药品购销业务"});
        QVERIFY(!QFile::exists(sheetPath()));
        QVERIFY(menusOn());
    }

    // Every balance row in stored order; per column its header, the cells' kind and
    // format, the width (the difference keeps the standard width, narrower than 10).
    // Menus and arrow come back.
    void stockTakingSheetReadBack()
    {
        QVERIFY(TestEnvironment::writeBytes(sheetPath(), "old sheet"));
        for (const auto& [name, onHand] : {std::pair{"黄芪", 1250.5}, {"当归", 0.0}, {"0012", 3.0}})
            env().insert("ycyltb", {name, 10, 20, onHand});
        bool busy = false;   // while the sheet is written: menus locked, the hourglass
        QTimer::singleShot(0, [&] { busy = !menusOn() && forms::Screen::MousePointer() == forms::vbArrowHourglass; });
        world_->mainWindow().menuAction("YckcPd")->trigger();
        QCOMPARE(world_->messages(), QStringList{"生成图表已经存放在我的文档中，请查收"});
        QCOMPARE(world_->clock().waited, 3.0);
        QVERIFY(busy && menusOn());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
        using Kind = XlsxReader::Cell::Kind;
        const struct { const char* header; Kind kind; const char* format; double width; QStringList cells; } columns[] = {
            {"药品名称", Kind::Text, "", 10, {"黄芪", "当归", "0012"}},
            {"结余数量", Kind::Number, "##,###,##0.00_ ", 10, {"1250.5", "0", "3"}},
            {"实余数量", Kind::Blank, "##,###,##0.00_ ", 10, {"", "", ""}},
            {"差异数量", Kind::Blank, "", 8.43, {}}};
        const XlsxReader sheet(sheetPath());
        for (int c = 0; c < 4; ++c) {
            const auto& column = columns[c];
            const QString letter(QChar('A' + c));
            QCOMPARE(sheet.text(letter + "2"), QString(column.header));
            QVERIFY(qAbs(*sheet.columnWidth(c + 1) - column.width) < 1);
            QStringList cells;
            for (int r = 4; r < 4 + column.cells.size(); ++r) {
                const XlsxReader::Cell cell = *sheet.cell(letter + QString::number(r));
                QCOMPARE(std::pair(cell.kind, cell.numberFormat), std::pair(column.kind, QString(column.format)));
                cells << (cell.kind == Kind::Number ? QString::number(cell.number) : cell.text);
            }
            QCOMPARE(cells, column.cells);
        }
        QVERIFY(!sheet.cell("D4") && !sheet.cell("A7"));
    }

    // No to the question changes nothing. Yes costs the stock-outs at the average unit
    // cost and re-bases the balances, each drug at its own cost; a second run prices
    // nothing again.
    void settlementPricesAndRebases()
    {
        seedFourDrugs();
        const auto before = stockTables(env());
        QVERIFY(settle(forms::vbNo).isEmpty());
        QCOMPARE(stockTables(env()), before);
        for (int run = 0; run < 2; ++run) {
            settle();
            QCOMPARE(world_->messages().last(), QString("当期结帐已经完成"));
            QCOMPARE(costsOf(env()), (QList<double>{0, 5, 25, 9.99, 18, 30, 24, 0}));
            QCOMPARE(balanceOf(env(), "当归"), (Balance{40, 20, 40}));
            QCOMPARE(balanceOf(env(), "黄芪"), (Balance{4, 12, 4}));
            QCOMPARE(balanceOf(env(), "王不留'行"), (Balance{-5, -10, -5}));
            QCOMPARE(balanceOf(env(), "甘草"), Balance{});
            QVERIFY(menusOn());
        }
        QCOMPARE(world_->clock().waited, 6.0);
    }

    // Stopped at each of its writes in turn (the sold-out pricing and removal, the
    // pricing pass, the re-basing pass), the settlement leaves both tables exactly as
    // they were, the progress window gone, the menus and the arrow back. The progress
    // window shows each pass while the menus stay locked under the hourglass; the
    // sold-out drug's row goes before the passes count.
    void failedWriteLeavesBothTables()
    {
        seedFourDrugs();
        const auto before = stockTables(env());
        QStringList labels;
        QVERIFY(writesFailedInTurn([&] { labels = settle(); }, [&] { expectUntouched(before, "3043\r\n磁盘或网络读写错误。"); }) >= 8);
        QCOMPARE(labels, (QStringList{"|", "20%|", "40%|", "60%|", "|60%", "73%|60%", "86%|60%", "99%|60%"}));
        QCOMPARE(bars_.mid(bars_.size() - 8), (QList<double>{0, 20, 40, 60, 60, 73, 86, 99}));
        QVERIFY(!unlockedDuringRun_);
    }

    // Nothing to settle (no balance row): the passes run no statement of their own, only
    // the removal of zero balances and the re-basing of every row; the progress window
    // goes from 0 to 60 and closes, and the closing message is still shown.
    void nothingToSettle()
    {
        journal(env(), "川芎", 0, 3);
        QCOMPARE(writesFailedInTurn([&] { settle(); }, [] {}), 2);
        QCOMPARE(settle(), (QStringList{"|", "|60%"}));
        QCOMPARE(world_->messages().last(), QString("当期结帐已经完成"));
        QCOMPARE(costsOf(env()), QList<double>{0});
    }

    // Seven drugs to settle: each step of each pass held to four decimals. Their
    // stock-outs, stored in turn, are all priced at their own costs, the last row too.
    void progressOfSevenDrugs()
    {
        for (int i = 0; i < 7; ++i) env().insert("ycyltb", {QString("药%1").arg(i), 10, 10.0 * (i + 1), 5});
        QList<double> costs;
        for (int row = 0; row < 30; ++row) {
            journal(env(), QString("药%1").arg(row % 7), 0, row + 1);
            costs << (row + 1) * (row % 7 + 1);
        }
        QCOMPARE(settle(), (QStringList{"|", "8.5714%|", "17.1428%|", "25.7142%|", "34.2856%|", "42.857%|",
                                        "51.4284%|", "59.9998%|", "|60%", "65.5714%|60%", "71.1428%|60%",
                                        "76.7142%|60%", "82.2856%|60%", "87.857%|60%", "93.4284%|60%",
                                        "98.9998%|60%"}));
        QCOMPARE(costsOf(env()), costs);
    }

    // The bar tells how far the pricing has gone: after each drug's step the stock-outs
    // stored in that share of the journal are priced, the later ones not yet (30 rows,
    // 7 drugs: 30 × i / 7 rows after step i); the re-basing prices nothing more.
    void barFollowsThePricing()
    {
        for (int i = 0; i < 7; ++i) env().insert("ycyltb", {QString("药%1").arg(i), 10, 10, 5});
        for (int row = 0; row < 30; ++row) journal(env(), QString("药%1").arg(row % 7), 0, 1);
        struct PricedAtEachStep : dispensary::SettlementProgress {
            dao::Database db = core::OpenDb();   // the settlement's own connection, inside its transaction
            QList<int> priced;
            void begin(double, const QString&) override {}
            void advance(double, const QString&) override
            {
                priced << db.openRecordset("select count(*) from yccrtb where ckje<>0").field(0).toDouble();
            }
            void end() override {}
        } progress;
        dao::Transaction transaction(progress.db);
        dispensary::Settlement settlement(progress.db, progress);
        settlement.PrepareSettlement();
        settlement.PriceStockOuts();
        settlement.RebaseStockBalances();
        QCOMPARE(progress.priced, (QList<int>{4, 8, 12, 17, 21, 25, 30, 30, 30, 30, 30, 30, 30, 30}));
    }

    // Drugs a dispenser meets at the period's end: the costs of the journal's rows and
    // the balances after, or the message that stopped the settlement with both tables
    // untouched.
    void drugsAtThePeriodsEnd()
    {
        const struct {
            const char* what;
            std::vector<std::tuple<const char*, double, double, double>> balances;   // name, rksl, rkje, ycyl
            std::vector<std::pair<const char*, double>> stockOuts;                   // name, quantity
            QString message;
            QList<double> costs;
            std::vector<std::pair<const char*, Balance>> after;
        } cases[] = {
            {"bought and fully returned", {{"当归", 0, 0, 0}, {"黄芪", 10, 30, 4}}, {{"黄芪", 6}}, "当期结帐已经完成",
             {18}, {{"当归", {}}, {"黄芪", {4, 12, 4}}}},
            {"a cost of 10/3", {{"甘草", 6, 20, 3}, {"川芎", 3, 10, 0}}, {{"甘草", 3}, {"川芎", 3}}, "当期结帐已经完成",
             {10, 10}, {{"甘草", {3, 10, 3}}, {"川芎", {}}}},
            {"nothing received, yet a balance", {{"当归", 100, 50, 40}, {"黄芪", 0, 30, 4}}, {{"当归", 6}},
             "11\r\n药品“黄芪”的入库数量为 0 或入库金额为空，无法计算平均成本，结帐未进行。", {0}, {{"黄芪", {0, 30, 4}}}},
            {"nothing received for the first drug", {{"黄芪", 0, 30, 4}, {"当归", 100, 50, 40}}, {{"当归", 6}},
             "11\r\n药品“黄芪”的入库数量为 0 或入库金额为空，无法计算平均成本，结帐未进行。", {0}, {{"黄芪", {0, 30, 4}}}},
            {"sold out, none left to settle", {{"甘草", 10, 5, 0}}, {}, "当期结帐已经完成", {}, {{"甘草", {}}}},
            {"sold out, its stock-out priced alone", {{"甘草", 10, 5, 0}}, {{"甘草", 4}, {"当归", 1}}, "当期结帐已经完成",
             {2, 0}, {{"甘草", {}}}},
            // A balance name is trimmed and compared as the journal compares names (A to
            // Z without case); a journal name with a blank of its own is another drug.
            {"names as the journal compares them", {{"Dg当归 ", 10, 5, 4}, {"hq", 10, 30, 5}},
             {{"DG当归", 2}, {"HQ", 1}, {"hq ", 1}}, "当期结帐已经完成", {1, 3, 0}, {{"hq", {5, 15, 5}}}},
            // One name twice: a first without a cost leaves the rows to the second.
            {"one name twice, the first without a cost", {{"甘草", 10, 0, 5}, {"甘草 ", 10, 20, 5}, {"黄芪", 4, 8, 1}},
             {{"甘草", 3}, {"黄芪", 1}}, "当期结帐已经完成", {6, 2}, {}},
            {"one name twice in other letter case, the first cost holds", {{"Az参", 10, 10, 5}, {"aZ参 ", 10, 20, 5}},
             {{"AZ参", 3}}, "当期结帐已经完成", {3}, {}}};
        for (const auto& drugCase : cases) {
            env().open().execute("delete from ycyltb");
            env().open().execute("delete from yccrtb");
            for (const auto& [name, quantityIn, amountIn, onHand] : drugCase.balances)
                env().insert("ycyltb", {name, quantityIn, amountIn, onHand});
            for (const auto& [name, quantity] : drugCase.stockOuts) journal(env(), name, 0, quantity);
            const auto before = stockTables(env());
            settle();
            if (drugCase.message.startsWith("11")) expectUntouched(before, drugCase.message);
            QVERIFY2(world_->messages().last() == drugCase.message, drugCase.what);
            const QList<double> costs = costsOf(env());
            QCOMPARE(costs.size(), drugCase.costs.size());
            for (int i = 0; i < costs.size(); ++i) QVERIFY2(qAbs(costs[i] - drugCase.costs[i]) < 1e-9, drugCase.what);
            for (const auto& [name, balance] : drugCase.after) QCOMPARE(balanceOf(env(), name), balance);
        }
    }

private:
    TestEnvironment& env() { return world_->environment(); }
    // Four drugs of the period: two to settle, one with a negative balance, one sold
    // out; a stock-out priced before, one without a balance row.
    void seedFourDrugs()
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
    }
    // Both tables as they were, the message shown, the window gone, menus and arrow back.
    void expectUntouched(const std::pair<std::vector<QStringList>, std::vector<QStringList>>& before, const QString& shown)
    {
        QCOMPARE(stockTables(env()), before);
        QCOMPARE(world_->messages().last(), shown);
        QCOMPARE(world_->boxes().shown().back().icon, 0);
        QVERIFY(menusOn());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
        QVERIFY(world_->mainWindow().findChildren<core::Frmjdys*>().isEmpty());
    }
    // ckje of each journal row in stored order.
    static QList<double> costsOf(const TestEnvironment& env)
    {
        QList<double> costs;
        for (const QStringList& row : rowsOf(env, "yccrtb")) costs << row[12].toDouble();
        return costs;
    }
    QString sheetPath() const { return world_->environment().documentsDir() + "/药品盘点表.xls"; }
    bool menusOn() { return world_->mainWindow().menuAction("xtwh")->isEnabled(); }
    // Triggers 药品结帐 answering `answer`; returns the progress labels painted, in order.
    QStringList settle(int answer = forms::vbYes)
    {
        QStringList shown;
        const core::ProgressDriver::TestHook everyPlaceDrawn;
        const PaintWatch watch([&](core::Frmjdys* progress) {
            const QString label = progress->Labpre->Caption() + u'|' + progress->Labprg->Caption();
            unlockedDuringRun_ = unlockedDuringRun_ || menusOn() || forms::Screen::MousePointer() != forms::vbArrowHourglass;
            if (shown.isEmpty() || shown.last() != label) {
                shown << label;
                bars_ << progress->ProgBar->Value();
            }
        });
        world_->answer({answer});
        world_->mainWindow().menuAction("Ypjz")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return shown;
    }

    std::unique_ptr<WindowFixture> world_;
    QList<double> bars_;               // the bar's value at each label settle() saw
    bool unlockedDuringRun_ = false;   // a menu was usable or no hourglass while the progress window showed
};

QTEST_MAIN(PeriodEndTest)
#include "period_end_test.moc"
