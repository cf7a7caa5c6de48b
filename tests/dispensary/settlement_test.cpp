// The period settlement run from its menu item 药品结帐 on a fresh database: stock-outs
// costed at the average unit cost and balances re-based, each drug at its own cost;
// the progress labels; a drug that sold out in the period still costed; a cost that
// cannot be computed and a failure in the middle of each pass leaving both stock
// tables exactly as they were.
#include "core/main_window.h"
#include "core/progress_driver.h"
#include "core/progress_window.h"
#include "dispensary/dispensary_menu.h"
#include "platform/dao/fault_injector.h"
#include "platform/forms/buttons.h"
#include "stock_test_data.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QtTest>

using namespace stocktest;

namespace {

// Calls `seen` each time a progress window is painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void(core::Frmjdys*)> seen) : seen_(std::move(seen))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (auto* window = qobject_cast<core::Frmjdys*>(object); window && event->type() == QEvent::Paint)
            seen_(window);
        return false;
    }

private:
    std::function<void(core::Frmjdys*)> seen_;
};

// The journal columns a settlement reads and writes: 1 ycbm, 11 cksl, 12 ckje.
void journal(const TestEnvironment& env, const QString& drug, double quantityIn, double quantityOut,
             double cost = 0)
{
    env.insert("yccrtb", {"2024-01-05", drug, quantityIn != 0 ? "购进" : "出库", " ", " ", " ", "2025-01-01",
                          " ", " ", quantityIn, quantityIn, quantityOut, cost, 0.0, "张", "李"});
}

void balance(const TestEnvironment& env, const QString& drug, double quantityIn, double amountIn,
             double onHand)
{
    env.insert("ycyltb", {drug, quantityIn, amountIn, onHand});
}

// The costs (ckje) of the journal rows, in stored order.
QList<double> costs(const TestEnvironment& env)
{
    QList<double> out;
    for (const Row& row : rowsOf(env, "yccrtb")) out << row.number(12);
    return out;
}

// Both stock tables as the file holds them, row by row and field by field.
QList<QStringList> stockTables(const TestEnvironment& env)
{
    QList<QStringList> all;
    for (const QString table : {"ycyltb", "yccrtb"})
        for (const Row& row : rowsOf(env, table)) all << QStringList{table} + row.texts();
    return all;
}

}  // namespace

class SettlementTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        registerDispensaryWindows(world_->mainWindow());
    }
    void cleanup() { world_.reset(); }

    void stockOutsCostedAndBalancesRebased()
    {
        balance(env(), "当归", 100, 50, 40);            // unit cost 0.5
        balance(env(), "黄芪", 10, 30, 4);               // unit cost 3, settled after 当归
        balance(env(), "王不留'行", 10, 20, -5);         // negative balance: row kept
        balance(env(), "甘草", 8, 24, 0);                // sold out: costed, then removed
        journal(env(), "当归", 100, 0);                  // stock-in: untouched
        journal(env(), "当归", 0, 10);
        journal(env(), "当归", 0, 50);
        journal(env(), "当归", 0, 7, 9.99);              // priced before: keeps its cost
        journal(env(), "黄芪", 0, 6);
        journal(env(), "王不留'行", 0, 15);
        journal(env(), "甘草", 0, 8);
        journal(env(), "川芎", 0, 3);                    // no balance row: not priced
        const QList<QStringList> before = stockTables(env());
        QVERIFY(settle(forms::vbNo).isEmpty());           // No to the question changes nothing
        QCOMPARE(world_->boxes().shown().front().icon, forms::vbQuestion);
        QCOMPARE(stockTables(env()), before);

        settle();
        QCOMPARE(world_->messages(), (QStringList{"开始进行结帐处理吗？", "开始进行结帐处理吗？", "当期结帐已经完成"}));
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
        QCOMPARE(costs(env()), (QList<double>{0, 5, 25, 9.99, 18, 30, 24, 0}));
        QCOMPARE(balanceOf(env(), "当归"), (Balance{40, 20, 40}));
        QCOMPARE(balanceOf(env(), "黄芪"), (Balance{4, 12, 4}));
        QCOMPARE(balanceOf(env(), "王不留'行"), (Balance{-5, -10, -5}));
        QCOMPARE(balanceOf(env(), "甘草"), Balance{});
        QVERIFY(menusOn());
        QCOMPARE(world_->clock().waited, 3.0);
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);

        settle();                                         // a second settlement prices nothing again
        QCOMPARE(costs(env()), (QList<double>{0, 5, 25, 9.99, 18, 30, 24, 0}));
        QCOMPARE(balanceOf(env(), "当归"), (Balance{40, 20, 40}));
    }

    void progressLabels_data()
    {
        QTest::addColumn<int>("drugs");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("three drugs") << 3 << QStringList{"|", "20%|", "40%|", "60%|", "|60%", "73%|60%", "86%|60%", "99%|60%"};
        QTest::newRow("seven drugs") << 7 << QStringList{"|", "8.5714%|", "17.1428%|"};
        QTest::newRow("none left to settle") << 0 << QStringList{"|", "|60%"};
    }

    // Besides the drugs to settle, one sold out: its row goes before the passes count.
    void progressLabels()
    {
        QFETCH(int, drugs);
        QFETCH(QStringList, labels);
        balance(env(), "甘草", 10, 5, 0);
        for (int i = 0; i < drugs; ++i) balance(env(), QStringLiteral("药%1").arg(i), 10, 10, 5);
        const QStringList shown = settle();
        QCOMPARE(shown.mid(0, labels.size()), labels);
        QCOMPARE(world_->messages().last(), QString("当期结帐已经完成"));
        QCOMPARE(env().count("ycyltb"), drugs);
        QVERIFY(!unlockedDuringRun_);
    }

    // Stops at each write of the settlement in turn (the sold-out pricing and removal, the
    // pricing pass, the re-basing pass), then at a cost that cannot be computed.
    void failuresLeaveBothTables()
    {
        balance(env(), "甘草", 8, 24, 0);
        balance(env(), "当归", 100, 50, 40);
        balance(env(), "黄芪", 10, 30, 4);
        for (const QString drug : {"甘草", "当归", "黄芪"}) journal(env(), drug, 0, 6);
        const QList<QStringList> before = stockTables(env());
        const auto expectUntouched = [&](const QString& shown) {
            QCOMPARE(stockTables(env()), before);
            QCOMPARE(world_->messages().last(), shown);
            QCOMPARE(world_->boxes().shown().back().icon, 0);
            QVERIFY(menusOn());
            QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
            QVERIFY(world_->mainWindow().findChildren<core::Frmjdys*>().isEmpty());
        };
        int writes = 0;
        for (;; ++writes) {
            dao::WriteFault::arm(writes + 1);
            settle();
            if (!dao::WriteFault::fired()) break;
            expectUntouched("3043\r\n磁盘或网络读写错误。");
        }
        dao::WriteFault::disarm();
        QVERIFY(writes >= 8);

        env().open().execute("delete from ycyltb");
        env().open().execute("delete from yccrtb");
        balance(env(), "当归", 100, 50, 40);
        balance(env(), "黄芪", 0, 30, 4);                  // nothing received, yet a balance
        for (const QString drug : {"当归", "黄芪"}) journal(env(), drug, 0, 6);
        const QList<QStringList> unpriced = stockTables(env());
        settle();
        QCOMPARE(stockTables(env()), unpriced);
        QCOMPARE(world_->messages().last(), "11\r\n药品“黄芪”的入库数量为 0 或入库金额为空，无法计算平均成本，结帐未进行。");
    }

private:
    TestEnvironment& env() { return world_->environment(); }
    // Triggers 药品结帐 answering `answer`; returns the progress labels painted, in order.
    QStringList settle(int answer = forms::vbYes);
    bool menusOn() { return world_->mainWindow().menuAction("xtwh")->isEnabled(); }

    std::unique_ptr<WindowFixture> world_;
    bool unlockedDuringRun_ = false;   // a menu was usable while the progress window showed
};

QStringList SettlementTest::settle(int answer)
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

QTEST_MAIN(SettlementTest)
#include "settlement_test.moc"
