// The patent-medicine query window FrmCyzy driven as the user drives it: every
// medicine listed in stored order (a Null row too), the ten criteria (all must match,
// blanks trimmed, apostrophes and wildcards taken literally, Null columns matched by
// empty criteria), the query without a match that resets, the grid click into the
// detail tab and its herb look-up, the pick lists from the rebuilt dictionaries and the
// Enter chain.
#include "reference/patent_medicine_query.h"
#include "knowledge_test_support.h"

#include "dictionary/dictionary_builder.h"

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

    // Every medicine in stored order, a Null shown empty; the ten criteria must all
    // match, and stay, trimmed; blank criteria ask; no match is said, then the reset.
    void criteriaMustAllMatch()
    {
        open();
        QCOMPARE(column(0), (QStringList{"逍遥丸", "六味地黄丸", "O'Neil*散"}));
        QCOMPARE(column(2), (QStringList{"疏肝健脾。", "滋阴补肾。", ""}));
        const std::pair<QStringList, QStringList> cases[] = {
            {{"丸"}, {"六味地黄丸", "逍遥丸"}},                         // by name
            {{"", "柴胡", "当归", "白术"}, {"逍遥丸"}},                 // three herbs all in the composition
            {{" ", "当归 ", " 柴胡"}, {"O'Neil*散", "逍遥丸"}},         // Null effects matched
            {{"", "", "", "", "", "", "补肾", "头晕"}, {"六味地黄丸"}},   // effect and indication
            {{"l*散"}, {"O'Neil*散"}}};                                 // the star a wildcard
        for (const auto& [criteria, found] : cases) {
            for (int i = 0; i < 10; ++i) reference::setTextOf(input(i), criteria.value(i));
            WindowFixture::click(window_->CmdSeek);
            QCOMPARE(column(0), found);
            for (int i = 0; i < criteria.size(); ++i) QCOMPARE(reference::textOf(input(i)), criteria[i].trimmed());
        }
        for (int i = 0; i < 10; ++i) reference::setTextOf(input(i), " ");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        window_->Txtmcyc->setText("'x");
        window_->Cbocxyc(1)->setText("当归");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), (QStringList{"输入查询条件。", "查询条件输入错误。"}));
        QVERIFY(window_->Txtmcyc->Text().isEmpty() && window_->Cbocxyc(1)->Text().isEmpty());
        QCOMPARE(column(0).size(), 3);
        window_->Txtmcyc->setText("逍遥");   // 清屏 after a result: criteria emptied, all listed
        WindowFixture::click(window_->CmdSeek);
        WindowFixture::click(window_->CmdQcls);
        QVERIFY(window_->Txtmcyc->Text().isEmpty());
        QCOMPARE(column(0).size(), 3);
    }
    // Each column of a medicine in its own grid cell and detail box.
    void gridClickShowsTheMedicine()
    {
        world_->environment().insert("fjcy", {"名", "组", "功", "主", "用", "心", "张"});
        open();
        window_->SSTab1->setTab(1);
        QVERIFY(!window_->Txtfjmc->isVisible());   // the detail tab empty until a click
        clickRow(4);
        QCOMPARE(column(5).last() + column(4).last() + column(3).last() + column(2).last() + column(1).last(), QString("心用主功组"));
        const FrmCyzy& w = *window_;
        QCOMPARE(w.Txtfjmc->Text() + w.Txtfjgc->Text() + w.Txtfjgx->Text() + w.Txtfjzz->Text() + w.Txtfjyf->Text() +
                     w.Txtfjlc->Text(),
                 QString("名组功主用心"));
        window_->SSTab1->setTab(0);
        clickRow(3);
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->Txtfjmc->Text() + window_->Txtfjgc->Text() + window_->Txtfjgx->Text(), QString("O'Neil*散当归，柴胡"));
        QVERIFY(window_->Txtfjmc->isVisible());

        // A herb marked in the composition opens on the third tab.
        knowledgetest::seedFormulas(world_->environment());
        forms::PopupMenus::TestHook popups;
        popups.choose(window_->herbs->FindYc);
        knowledgetest::markAndUse(window_->Txtfjgc, 0, 2, Qt::RightButton);
        QCOMPARE(window_->SSTab1->Tab(), 2);
        QCOMPARE(window_->herbs->Txtycmc->Text(), QString("当归"));

        window_->SSTab1->setTab(0);
        clickRow(0);   // the header's text is no medicine: nothing happens
        QCOMPARE(window_->SSTab1->Tab(), 0);
        clickRow(1);   // 逍遥丸, its notes two blanks: Enter there empties them
        QCOMPARE(window_->Txtfjlc->Text(), QString("  "));
        window_->Txtfjlc->SetFocus();
        WindowFixture::pressEnter(window_->Txtfjlc);
        QCOMPARE(window_->Txtfjlc->Text(), QString());
        world_->activateAnotherAndBack(window_);   // every activation resets: the query tab, the detail gone
        QCOMPARE(window_->SSTab1->Tab(), 0);
        QVERIFY(window_->Txtfjmc->Text().isEmpty());
    }
    // The herb lists from the herbs, the others from the rebuilt dictionaries; Enter
    // moves on from a filled criterion, the last one to 查询.
    void pickListsAndEnterChain()
    {
        world_->environment().insert("zyyc", {"柴胡"});
        world_->environment().insert("zyyc", {"当归"});
        dictionary::BuildPatentMedDicts();
        open();
        QCOMPARE(window_->Cbocxyc(2)->ListCount(), 2);
        QCOMPARE(window_->Cboycgx(0)->ListCount(), 2);
        QCOMPARE(window_->Cboyczz(1)->ListCount(), 4);
        window_->Txtmcyc->SetFocus();
        WindowFixture::pressEnter(window_->Txtmcyc);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        WindowFixture::type(window_->Txtmcyc, "丸 ");
        WindowFixture::pressEnter(window_->Txtmcyc);
        QCOMPARE(window_->Txtmcyc->Text(), QString("丸"));
        QCOMPARE(WindowFixture::focusedControl(), window_->Cbocxyc(0));
        for (int i = 1; i < 10; ++i) {   // each criterion holding text on to the next, the last to 查询
            forms::Control* box = knowledgetest::controlOf(input(i));
            reference::setTextOf(input(i), i == 9 ? "头晕" : "");
            if (i < 9) WindowFixture::type(box, "x");
            box->SetFocus();
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), i < 9 ? knowledgetest::controlOf(input(i + 1)) : window_->CmdSeek);
        }
        for (int i = 1; i < 9; ++i) reference::setTextOf(input(i), "");
        QTest::keyClick(window_->CmdSeek->button(), Qt::Key_Return);
        QCOMPARE(column(0), QStringList{"六味地黄丸"});
    }

private:
    FrmCyzy* open() { return window_ = world_->open<FrmCyzy>("ZycyCx"); }
    // The criteria in order: name, three herbs, three effects, three indications.
    reference::Input input(int i) const
    {
        if (i == 0) return window_->Txtmcyc;
        return i < 4 ? window_->Cbocxyc(i - 1) : i < 7 ? window_->Cboycgx(i - 4) : window_->Cboyczz(i - 7);
    }
    QStringList column(int col) const { return knowledgetest::columnOf(window_->MSFGridzyfj, col); }
    void clickRow(int row) { WindowFixture::clickGridRow(window_->MSFGridzyfj, row); }

    std::unique_ptr<WindowFixture> world_;
    FrmCyzy* window_ = nullptr;
};

QTEST_MAIN(PatentMedicineQueryTest)
#include "patent_medicine_query_test.moc"
