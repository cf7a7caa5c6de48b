// The patent-medicine query window FrmCyzy driven as the user drives it: every
// medicine listed in stored order (a Null row too), the ten criteria (all must match,
// blanks trimmed, apostrophes and wildcards taken literally, Null columns matched by
// empty criteria), the query without a match that resets, the grid click into the
// detail tab, the pick lists from the rebuilt dictionaries and the Enter chain.
#include "reference/patent_medicine_query.h"
#include "knowledge_test_support.h"
#include "support/window_fixture.h"

#include "dictionary/dictionary_builder.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

#include <QPushButton>

#include <QtTest>

using reference::FrmCyzy;

class PatentMedicineQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        const TestEnvironment& env = world_->environment();
        env.insert("fjcy", {"逍遥丸", "柴胡，当归，白芍，白术", "疏肝健脾。", "肝郁脾虚，胁痛。", "口服", "  ", "张"});
        env.insert("fjcy", {"六味地黄丸", "熟地黄，山药，泽泻", "滋阴补肾。", "肾阴亏损，头晕。", "口服", "  ", "张"});
        env.insert("fjcy", {"O'Neil*散", "当归，柴胡", vb::Variant(), vb::Variant(), "冲服", vb::Variant(), "张"});
    }
    void cleanup() { world_.reset(); }

    void everyMedicineListedInStoredOrder()
    {
        open();
        QCOMPARE(column(0), (QStringList{"逍遥丸", "六味地黄丸", "O'Neil*散"}));
        QCOMPARE(column(2), (QStringList{"疏肝健脾。", "滋阴补肾。", ""}));
        QCOMPARE(window_->SSTab1->Tab(), 0);
        QVERIFY(world_->messages().isEmpty());
    }
    // The ten criteria in order: name, three herbs, three effects, three indications.
    void criteriaMustAllMatch_data()
    {
        QTest::addColumn<QStringList>("criteria");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name only, by name") << QStringList{"丸"} << QStringList{"六味地黄丸", "逍遥丸"};
        QTest::newRow("three herbs all in the composition") << QStringList{"", "柴胡", "当归", "白术"} << QStringList{"逍遥丸"};
        QTest::newRow("two herbs, Null effects matched") << QStringList{" ", "当归 ", " 柴胡"}
                                                         << QStringList{"O'Neil*散", "逍遥丸"};
        QTest::newRow("effect and indication") << QStringList{"", "", "", "", "", "", "补肾", "头晕"}
                                               << QStringList{"六味地黄丸"};
        QTest::newRow("apostrophe and star") << QStringList{"l*散"} << QStringList{"O'Neil*散"};
    }
    void criteriaMustAllMatch()
    {
        QFETCH(QStringList, criteria);
        open();
        const auto input = [this](int i) -> reference::Input {
            if (i == 0) return window_->Txtmcyc;
            return i < 4 ? window_->Cbocxyc(i - 1) : i < 7 ? window_->Cboycgx(i - 4) : window_->Cboyczz(i - 7);
        };
        for (int i = 0; i < criteria.size(); ++i) reference::setTextOf(input(i), criteria[i]);
        WindowFixture::click(window_->CmdSeek);
        QVERIFY(world_->messages().isEmpty());
        QTEST(column(0), "found");
        for (int i = 0; i < criteria.size(); ++i) QCOMPARE(reference::textOf(input(i)), criteria[i].trimmed());
    }
    void emptyCriteriaAskAndNoMatchResets()
    {
        open();
        window_->Txtmcyc->setText("  ");
        window_->Cboyczz(2)->setText(" ");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        QCOMPARE(column(0).size(), 3);

        world_->clearMessages();
        window_->Txtmcyc->setText("'x");
        window_->Cbocxyc(1)->setText("当归");
        WindowFixture::click(window_->CmdSeek);   // no match: said, then the reset
        QCOMPARE(world_->messages(), QStringList{"查询条件输入错误。"});
        QVERIFY(window_->Txtmcyc->Text().isEmpty() && window_->Cbocxyc(1)->Text().isEmpty());
        QCOMPARE(column(0).size(), 3);
    }
    void gridClickShowsTheMedicine()
    {
        open();
        QVERIFY(!window_->Txtfjmc->isVisible());
        clickRow(3);
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->Txtfjmc->Text(), QString("O'Neil*散"));
        QCOMPARE(window_->Txtfjgc->Text(), QString("当归，柴胡"));
        QVERIFY(window_->Txtfjgx->Text().isEmpty() && window_->Txtfjmc->isVisible());

        // A herb marked in the composition opens on the third tab.
        knowledgetest::seedFormulas(world_->environment());
        forms::PopupMenus::TestHook popups;
        popups.choose(window_->herbs->FindYc);
        knowledgetest::markAndUse(window_->Txtfjgc, 0, 2, Qt::RightButton);
        QCOMPARE(window_->SSTab1->Tab(), 2);
        QCOMPARE(window_->herbs->Txtycmc->Text(), QString("当归"));

        // The header's text is no medicine: nothing happens.
        window_->SSTab1->setTab(0);
        clickRow(0);
        QCOMPARE(window_->SSTab1->Tab(), 0);

        // An empty table leaves one empty row, and a click on it says so.
        world_->environment().open().execute("delete * from fjcy");
        window_->Unload();
        QCoreApplication::processEvents();
        open();
        QCOMPARE(window_->MSFGridzyfj->Rows(), 2);
        clickRow(1);
        QCOMPARE(world_->messages(), QStringList{"未有要查询的方剂"});
    }
    void pickListsComeFromTheDictionaries()
    {
        world_->environment().insert("zyyc", {"柴胡"});
        world_->environment().insert("zyyc", {"当归"});
        dictionary::BuildPatentMedDicts();
        open();
        QCOMPARE(window_->Cbocxyc(2)->ListCount(), 2);
        QStringList effects = knowledgetest::itemsOf(window_->Cboycgx(0));
        effects.sort();
        QCOMPARE(effects, (QStringList{"滋阴补肾", "疏肝健脾"}));
        QCOMPARE(window_->Cboyczz(1)->ListCount(), 4);
    }
    void enterChainOfTheCriteria()
    {
        open();
        window_->Txtmcyc->SetFocus();
        WindowFixture::pressEnter(window_->Txtmcyc);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        WindowFixture::type(window_->Txtmcyc, "丸 ");
        WindowFixture::pressEnter(window_->Txtmcyc);
        QCOMPARE(window_->Txtmcyc->Text(), QString("丸"));
        QCOMPARE(WindowFixture::focusedControl(), window_->Cbocxyc(0));
        window_->Cboyczz(2)->setText("头晕");
        window_->Cboyczz(2)->SetFocus();
        WindowFixture::pressEnter(window_->Cboyczz(2));
        QCOMPARE(WindowFixture::focusedControl(), window_->CmdSeek);
        QTest::keyClick(window_->CmdSeek->button(), Qt::Key_Return);
        QCOMPARE(column(0), QStringList{"六味地黄丸"});
    }

private:
    FrmCyzy* open() { return window_ = world_->open<FrmCyzy>("ZycyCx"); }
    QStringList column(int col) const { return knowledgetest::columnOf(window_->MSFGridzyfj, col); }
    void clickRow(int row) { WindowFixture::clickGridRow(window_->MSFGridzyfj, row); }

    std::unique_ptr<WindowFixture> world_;
    FrmCyzy* window_ = nullptr;
};



QTEST_MAIN(PatentMedicineQueryTest)
#include "patent_medicine_query_test.moc"
