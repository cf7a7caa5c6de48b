// The herb query window Frmzyll opened through its menu item (the herb dictionaries
// rebuilt first): the pick lists, the nine criteria alone and together, herbs whose
// columns hold no value, the refusal and the no-result reset, the grid click that
// shows a herb on the browse tab.
#include "reference/herb_query.h"
#include "knowledge_test_support.h"

#include "dictionary/dictionary_builder.h"

using knowledgetest::itemsOf;
using reference::Frmzyll;

class HerbQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    // The pick lists from the rebuilt dictionaries; boxes by number (0 name, 1 nature,
    // 2 meridians, 3-5 effects, 6-8 indications) alone and together, the herbs found in
    // pinyin order and the criteria kept; no criterion, and no match (an apostrophe is a
    // criterion like any other) said, then the reset.
    void pickListsAndCriteria()
    {
        world_->environment().insert("ycgy", {"旧词"});
        open();
        const QStringList effects = itemsOf(window_->Cboycgx2);
        QVERIFY(effects.contains("补脾益肺") && effects.contains("利水消肿") && !effects.contains("旧词"));
        QCOMPARE(window_->Cboyczz3->ListCount(), 6);
        QCOMPARE(window_->Cboycxw->List(0), QString());   // the imported herb's Null
        QCOMPARE(itemsOf(window_->Cboycgj), (QStringList{"", "脾、肺、心经", "脾、肺经"}));
        QCOMPARE(names(), (QStringList{"党参", "黄芪", "人参", "玄参"}));
        const std::pair<QStringList, QStringList> cases[] = {
            {{"0", " 参 "}, {"党参", "人参", "玄参"}},   // Null columns too; the blanks stay typed
            {{"1", "微温"}, {"黄芪", "人参"}}, {{"2", "心"}, {"人参"}},     {{"3", "补气"}, {"黄芪"}},
            {{"4", "养血"}, {"党参"}},         {{"5", "元气"}, {"人参"}},   {{"6", "水肿"}, {"黄芪"}},
            {{"7", "脾"}, {"党参", "人参"}},   {{"8", "欲脱"}, {"人参"}},
            {{"0", "参", "3", "补", "6", "脾", "1", "平", "2", "脾"}, {"党参"}}};
        for (const auto& [criteria, found] : cases) {
            clearCriteria();
            for (int i = 0; i < criteria.size(); i += 2) reference::setTextOf(criterion(criteria[i].toInt()), criteria[i + 1]);
            WindowFixture::click(window_->CmdSeek);
            QCOMPARE(names(), found);
            QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
            QCOMPARE(reference::textOf(criterion(criteria[0].toInt())), criteria[1]);
        }
        clearCriteria();
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        window_->Txtmcyc->setText("参");
        window_->Cboyczz3->setText("O'Neil");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), (QStringList{"输入查询条件。", "没有符合条件的药材。"}));
        QCOMPARE(window_->Txtmcyc->Text() + window_->Cboyczz3->Text(), QString());
        QCOMPARE(names().size(), 4);
    }

    // A click shows the herb as stored on the browse tab; Nulls show empty.
    void gridClickShowsTheHerbAsStored()
    {
        world_->environment().insert("zyyc", {"当归'", "肝经", "甘，温", "补血", "血虚", "煎服", "  ", "  ", "李"});
        open();
        QVERIFY(!window_->Txtycmc->isVisible());
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 1);   // 当归'
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->Txtycmc->Text() + window_->Txtycgj->Text() + window_->Txtycyj->Text(), QString("当归'肝经  "));
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(window_->SSTab1->Tab(), 0);
        window_->SSTab1->setTab(1);
        QVERIFY(!window_->Txtycmc->isVisible());
        window_->SSTab1->setTab(0);
        QCOMPARE(WindowFixture::focusedControl(), window_->CmdSeek);
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 5);   // 玄参, Nulls show empty
        QCOMPARE(window_->Txtycmc->Text() + window_->Txtycgy->Text(), QString("玄参"));
        QVERIFY(world_->messages().isEmpty());
    }

    // Enter walks the browse tab's boxes in their chain, each reached with its whole
    // text selected, and from the notes to 返回; a space changes no box.
    void enterWalksTheBrowseTab()
    {
        open();
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 3);   // 人参
        const Frmzyll& w = *window_;
        forms::Control* const chain[] = {w.Txtycmc, w.Txtycxw, w.Txtycgj, w.Txtycgy, w.Txtyczz,
                                         w.Txtycyj, w.Txtycyf, w.Txtycxd, w.Cmdedit};
        window_->Txtycmc->SetFocus();
        WindowFixture::type(window_->Txtycmc, " ");
        QCOMPARE(window_->Txtycmc->Text(), QString("人参"));
        for (std::size_t i = 1; i < std::size(chain); ++i) {
            WindowFixture::pressEnter(chain[i - 1]);
            QCOMPARE(WindowFixture::focusedControl(), chain[i]);
            if (auto* box = qobject_cast<forms::TextBox*>(chain[i]))
                QVERIFY(box->SelStart() == 0 && box->SelLength() == box->Text().size() && box->SelLength() > 0);
        }
    }

    void emptyTableGridClickSaysSo()
    {
        open(false);
        QCOMPARE(window_->Msfgridzyyc->Rows(), 2);
        WindowFixture::clickGridRow(window_->Msfgridzyyc, 1);
        QCOMPARE(world_->messages(), QStringList{"未有要查询的药材"});
        QCOMPARE(window_->SSTab1->Tab(), 0);
    }

private:
    // Opens the window through its menu item, with four herbs stored unless `seeded`
    // is false.
    void open(bool seeded = true)
    {
        TestEnvironment& env = world_->environment();
        if (seeded) {
            env.insert("zyyc", {"人参", "脾、肺、心经", "甘、微苦，微温", "大补元气，补脾益肺。", "气虚欲脱，脾虚食少。", "另煎兑服", "  ", "  ", "李"});
            env.insert("zyyc", {"党参", "脾、肺经", "甘，平", "补中益气，养血。", "脾肺气虚，血虚。", "煎服", "  ", "  ", "李"});
            env.insert("zyyc", {"黄芪", "脾、肺经", "甘，微温", "补气升阳，利水消肿。", "气虚乏力，水肿。", "煎服", "  ", "  ", "李"});
            env.insert("zyyc", {"玄参"});   // imported: Nulls elsewhere
        }
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
    void clearCriteria()
    {
        for (int i = 0; i < 9; ++i) reference::setTextOf(criterion(i), "");
    }
    QStringList names() const { return knowledgetest::columnOf(window_->Msfgridzyyc, 0); }

    std::unique_ptr<WindowFixture> world_;
    Frmzyll* window_ = nullptr;
};

QTEST_MAIN(HerbQueryTest)
#include "herb_query_test.moc"
