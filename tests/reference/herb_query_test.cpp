// The herb query window Frmzyll opened through its menu item (the herb dictionaries
// rebuilt first): the pick lists, the nine criteria alone and together, herbs whose
// columns hold no value, the refusal and the no-result reset, the grid click that
// shows a herb on the browse tab, a failed rebuild, and the key rule of the detail
// boxes.
#include "reference/herb_query.h"
#include "knowledge_test_support.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "dictionary/dictionary_builder.h"
#include "platform/dao/fault_injector.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/tabbeddialog.h"

#include <QtTest>

using knowledgetest::itemsOf;
using reference::Frmzyll;

class HerbQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void pickListsComeFromTheRebuiltDictionaries()
    {
        world_->environment().insert("ycgy", {"旧词"});
        open();
        const QStringList effects = itemsOf(window_->Cboycgx2);
        QVERIFY(effects.contains("补脾益肺") && effects.contains("利水消肿") && !effects.contains("旧词"));
        QCOMPARE(window_->Cboyczz3->ListCount(), 6);
        QCOMPARE(window_->Cboycxw->List(0), QString());   // the imported herb's Null
        QCOMPARE(names(), (QStringList{"党参", "黄芪", "人参", "玄参"}));   // pinyin order
    }

    // Boxes by number (0 name, 1 nature, 2 meridians, 3-5 effects, 6-8 indications)
    // and their texts; the herbs found in pinyin order.
    void criteriaAloneAndTogether_data()
    {
        QTest::addColumn<QStringList>("criteria");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name inside, Null columns too") << QStringList{"0", "参"} << QStringList{"党参", "人参", "玄参"};
        QTest::newRow("nature") << QStringList{"1", "微温"} << QStringList{"黄芪", "人参"};
        QTest::newRow("meridians") << QStringList{"2", "心"} << QStringList{"人参"};
        QTest::newRow("effect 1") << QStringList{"3", "补气"} << QStringList{"黄芪"};
        QTest::newRow("effect 2") << QStringList{"4", "养血"} << QStringList{"党参"};
        QTest::newRow("effect 3") << QStringList{"5", "元气"} << QStringList{"人参"};
        QTest::newRow("indication 1") << QStringList{"6", "水肿"} << QStringList{"黄芪"};
        QTest::newRow("indication 2") << QStringList{"7", "脾"} << QStringList{"党参", "人参"};
        QTest::newRow("indication 3") << QStringList{"8", "欲脱"} << QStringList{"人参"};
        QTest::newRow("six") << QStringList{"0", "参", "3", "补", "6", "脾", "1", "平", "2", "脾"} << QStringList{"党参"};
    }
    void criteriaAloneAndTogether()
    {
        QFETCH(QStringList, criteria);
        open();
        for (int i = 0; i < criteria.size(); i += 2) reference::setTextOf(criterion(criteria[i].toInt()), criteria[i + 1]);
        WindowFixture::click(window_->CmdSeek);
        QVERIFY(world_->messages().isEmpty());
        QTEST(names(), "found");
        QCOMPARE(reference::textOf(criterion(criteria[0].toInt())), criteria[1]);   // criteria stay
    }

    // An apostrophe is a criterion like any other; a query without a match says so and
    // resets.
    void refusalAndQueryWithoutResult()
    {
        open();
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        world_->clearMessages();
        window_->Txtmcyc->setText("参");
        WindowFixture::click(window_->CmdSeek);
        window_->Cboyczz3->setText("O'Neil");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), QStringList{"没有符合条件的药材。"});
        QCOMPARE(window_->Txtmcyc->Text() + window_->Cboyczz3->Text(), QString());
        QCOMPARE(names().size(), 4);
    }

    void gridClickShowsTheHerbAsStored()
    {
        world_->environment().insert("zyyc", {"当归'", "肝经", "甘，温", "补血", "血虚", "煎服", "  ", "  ", "李"});
        open();
        QVERIFY(!window_->Txtycmc->isVisible());
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 1);   // 当归'
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QVERIFY(window_->Txtycmc->isVisible());
        QCOMPARE(window_->Txtycmc->Text() + window_->Txtycgj->Text() + window_->Txtycyj->Text(), QString("当归'肝经  "));
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(window_->SSTab1->Tab(), 0);
        QVERIFY(!window_->Txtycmc->isVisible());
        QCOMPARE(WindowFixture::focusedControl(), window_->CmdSeek);
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 5);   // 玄参, Nulls show empty
        QCOMPARE(window_->Txtycmc->Text() + window_->Txtycgy->Text(), QString("玄参"));
        QVERIFY(world_->messages().isEmpty());

        const QString windowsDir = core::WindowsDir;
        core::WindowsDir += "/gone";   // the file cannot be opened: told, not ended
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 2);
        core::WindowsDir = windowsDir;
        QCOMPARE(world_->messages().size(), 1);
        QCOMPARE(window_->Txtycmc->Text(), QString("玄参"));
    }

    // A rebuild that fails is reported, and the window opens on the dictionaries as
    // they were.
    void failedRebuildStillOpensTheWindow()
    {
        world_->environment().insert("ycgy", {"旧词"});
        open(true, 3);
        QVERIFY(window_);
        QCOMPARE(world_->messages().size(), 1);
        QCOMPARE(itemsOf(window_->Cboycgx1), QStringList{"旧词"});
        QCOMPARE(names().size(), 4);
    }

    void emptyTableGridClickSaysSo()
    {
        open(false);
        QCOMPARE(window_->Msfgridzyyc->Rows(), 2);
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 1);
        QCOMPARE(world_->messages(), QStringList{"未有要查询的药材"});
        QCOMPARE(window_->SSTab1->Tab(), 0);
    }

    // The detail boxes take no key; Enter moves on, the next box's text all selected.
    void detailBoxesTakeNoKeyAndEnterMovesOn()
    {
        open();
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 3);   // 人参
        const std::vector<forms::Control*> chain = {window_->Txtycmc, window_->Txtycxw, window_->Txtycgj, window_->Txtycgy,
                                                    window_->Txtyczz, window_->Txtycyj, window_->Txtycyf, window_->Txtycxd,
                                                    window_->Cmdedit};
        window_->Txtycmc->SetFocus();
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
            auto* box = static_cast<forms::TextBox*>(chain[i]);
            const QString before = box->Text();
            WindowFixture::type(box, "a 甲");
            QCOMPARE(box->Text(), before);
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), chain[i + 1]);
            if (auto* next = qobject_cast<forms::TextBox*>(chain[i + 1])) QCOMPARE(next->SelLength(), next->Text().size());
        }
    }

private:
    // Opens the window through its menu item, with four herbs stored unless `seeded`
    // is false; the rebuild's write number `failingWrite` fails when it is not 0.
    void open(bool seeded = true, int failingWrite = 0)
    {
        TestEnvironment& env = world_->environment();
        if (seeded) {
            env.insert("zyyc", {"人参", "脾、肺、心经", "甘、微苦，微温", "大补元气，补脾益肺。", "气虚欲脱，脾虚食少。", "另煎兑服", "  ", "  ", "李"});
            env.insert("zyyc", {"党参", "脾、肺经", "甘，平", "补中益气，养血。", "脾肺气虚，血虚。", "煎服", "  ", "  ", "李"});
            env.insert("zyyc", {"黄芪", "脾、肺经", "甘，微温", "补气升阳，利水消肿。", "气虚乏力，水肿。", "煎服", "  ", "  ", "李"});
            env.insert("zyyc", {"玄参"});   // imported: Nulls elsewhere
        }
        if (failingWrite) dao::WriteFault::arm(failingWrite);
        world_->mainWindow().wire("zycxll0", [this] { return window_ = new Frmzyll; }, dictionary::BuildHerbDicts);
        world_->mainWindow().menuAction("zycxll0")->trigger();
        QCoreApplication::processEvents();
    }
    reference::Input criterion(int box) const
    {
        if (box == 0) return window_->Txtmcyc;
        forms::DBCombo* const combos[] = {window_->Cboycxw,  window_->Cboycgj,  window_->Cboycgx1, window_->Cboycgx2,
                                          window_->Cboycgx3, window_->Cboyczz1, window_->Cboyczz2, window_->Cboyczz3};
        return combos[box - 1];
    }
    QStringList names() const { return knowledgetest::columnOf(window_->Msfgridzyyc, 0); }

    std::unique_ptr<WindowFixture> world_;
    Frmzyll* window_ = nullptr;
};

QTEST_MAIN(HerbQueryTest)
#include "herb_query_test.moc"
