// The formula query window Frmfjll driven as the user drives it, opened through its
// menu item, which rebuilds the formula dictionaries first: the fourteen criteria alone
// and together, the pick lists, the Enter chain of the criteria, the row click and
// the herb look-up from a marked composition with the query windows' trigger.
#include "reference/formula_query.h"
#include "knowledge_test_support.h"

#include "reference/herb_lookup.h"
#include "reference/reference_menu.h"

using reference::Frmfjll;

class FormulaQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        knowledgetest::seedFormulas(world_->environment());
        registerReferenceWindows(world_->mainWindow());   // as the program wires 中医方剂查询
        world_->mainWindow().menuAction("zycxll1")->trigger();
        QCoreApplication::processEvents();
        window_ = qobject_cast<Frmfjll*>(forms::Form::ActiveForm());
        QVERIFY(window_);
    }
    void cleanup() { world_.reset(); }

    // Criteria by number (0 name, 1 source, 2-4 herbs, 5-7 effects, 8-10 indications,
    // 11-13 notes) and their texts; the formulas found, in name order, the criteria kept
    // trimmed. An empty criterion lets through the imported row whose notes are Null.
    // No criterion, and no match, are said; the reset after no match empties them.
    void criteriaFindTheMatchingFormulas()
    {
        const std::pair<QStringList, QStringList> cases[] = {
            {{"0", "汤"}, {"八珍汤", "四君子汤", "四物汤", "王氏'清暑益气汤"}},
            {{"0", "逍遥"}, {"逍遥散"}},   // Null notes pass
            {{"2", "当归", "4", "白术"}, {"八珍汤", "逍遥散"}},
            {{"4", "柴胡"}, {"逍遥散"}},          {{"6", "益气"}, {"八珍汤", "四君子汤", "王氏'清暑益气汤"}},
            {{"7", "解郁"}, {"逍遥散"}},          {{"8", "营血"}, {"四物汤"}},
            {{"9", "脾胃"}, {"四君子汤"}},        {{"10", "两"}, {"八珍汤", "王氏'清暑益气汤"}},
            {{"12", "月经"}, {"四物汤"}},         {{"13", "食少"}, {"四君子汤"}},
            {{"1", "局方", "5", "健脾"}, {"四君子汤"}},
            {{"11", "  面色  "}, {"八珍汤"}},
            {{"0", "王氏'"}, {"王氏'清暑益气汤"}}, {{"0", "四?汤"}, {"四物汤"}},
            {{"0", "八", "2", "人参", "3", "当归", "4", "熟地黄", "5", "益气", "6", "补血", "7", "气补", "8", "气血", "9",
              "两虚", "10", "血", "11", "面色", "12", "苍白", "13", "色苍", "1", "正体"},
             {"八珍汤"}}};
        for (const auto& [criteria, found] : cases) {
            clearCriteria();
            for (int i = 0; i < criteria.size(); i += 2) reference::setTextOf(criterion(criteria[i].toInt()), criteria[i + 1]);
            WindowFixture::click(window_->CmdSeek);
            QCOMPARE(names(), found);
            QCOMPARE(window_->SSTab1->Tab(), 0);
            QCOMPARE(reference::textOf(criterion(criteria[0].toInt())), criteria[1].trimmed());
        }
        QCOMPARE(world_->messages(), QStringList());
        clearCriteria();
        window_->Cbocxyc1->setText("   ");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);
        window_->Txtmcyc->setText("汤");
        window_->Cbocxyc1->setText("麻黄");
        WindowFixture::click(window_->CmdSeek);
        QCOMPARE(world_->messages(), (QStringList{"输入查询条件。", "查询条件输入错误。"}));
        QCOMPARE(window_->Txtmcyc->Text() + window_->Cbocxyc1->Text(), QString());
        QCOMPARE(names().size(), 5);
    }

    // Every formula listed and the pick lists filled (one term a formula's effects and
    // indications; the blank and the Null notes add none). The criteria move on when
    // they hold any text, blanks never typed, to 查询; the clinical-note criteria keep
    // the focus.
    void opensOnAllFormulasAndEnterWalksTheCriteria()
    {
        QCOMPARE(names().size(), 5);
        QCOMPARE(window_->MSFGridzyfj->TextMatrix(5, 6), QString());   // "  " shows trimmed
        for (const auto& [combo, count] : {std::pair<forms::ComboBox*, int>{window_->Cbocxyc1, 2}, {window_->Cboycgx3, 5},
                                           {window_->Cboyczz2, 5}, {window_->Cbofjlc1, 3}, {window_->Cbofjly, 3}})
            QCOMPARE(combo->ListCount(), count);
        QVERIFY(window_->Cbofjlc3->comboBox()->findText("月经不调") >= 0);
        for (int i = 0; i < 11; ++i) {
            forms::Control* box = knowledgetest::controlOf(criterion(i));
            box->SetFocus();
            WindowFixture::pressEnter(box);   // empty: stays
            QCOMPARE(WindowFixture::focusedControl(), box);
            WindowFixture::type(box, "益 气");
            WindowFixture::pressEnter(box);
            QCOMPARE(WindowFixture::focusedControl(), i == 10 ? window_->CmdSeek : knowledgetest::controlOf(criterion(i + 1)));
        }
        QCOMPARE(window_->Txtmcyc->Text(), QString("益气"));   // no blank typed
        window_->Cbofjlc1->SetFocus();
        WindowFixture::type(window_->Cbofjlc1, "月 经");
        WindowFixture::pressEnter(window_->Cbofjlc1);
        QCOMPARE(WindowFixture::focusedControl(), window_->Cbofjlc1);
        QCOMPARE(window_->Cbofjlc1->Text(), QString("月 经"));
    }

    void rowClickOpensTheFormula()
    {
        window_->SSTab1->setTab(1);
        QVERIFY(!window_->Txtfjmc->isVisible());   // the formula tab empty until a click
        window_->SSTab1->setTab(0);
        clickRow(0);   // the header names no formula
        QCOMPARE(window_->SSTab1->Tab(), 0);
        window_->Txtmcyc->setText("王氏'");
        WindowFixture::click(window_->CmdSeek);
        clickRow(1);
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(window_->Txtfjmc->Text() + window_->Txtfjgc->Text() + window_->Txtfjly->Text() + window_->Txtfjlc->Text(),
                 QString("王氏'清暑益气汤西洋参、石斛*、麦冬'温热经纬  "));   // as stored
        window_->MSFGridzyfj->setTextMatrix(1, 0, "  ");
        clickRow(1);
        QCOMPARE(world_->messages(), QStringList{"未有要查询的方剂"});
    }

    // Enter walks the formula boxes that hold more than blanks, each reached with its
    // text selected, the notes with the caret at their end; a blank box keeps the focus,
    // as does the source at the chain's end. The herb boxes move on even when blank,
    // up to 用法, where the focus stays.
    void enterWalksTheFormulaAndHerbBoxes()
    {
        forms::PopupMenus::TestHook popups;
        window_->Txtmcyc->setText("王氏");   // notes "  ", composition naming 石斛*
        WindowFixture::click(window_->CmdSeek);
        clickRow(1);
        const Frmfjll& w = *window_;
        const reference::HerbLookup& h = *w.herbs;
        popups.choose(h.FindYc);
        knowledgetest::markAndUse(w.Txtfjgc, 4, 3, Qt::RightButton);
        const struct {
            forms::TextBox* from;
            forms::TextBox* to;   // null: the focus stays
            bool caretAtEnd;
        } steps[] = {{w.Txtfjmc, w.Txtfjgc},    {w.Txtfjgc, w.Txtfjgx},        {w.Txtfjgx, w.Txtfjzz},
                     {w.Txtfjzz, w.Txtfjyf},    {w.Txtfjyf, w.Txtfjlc, true},  {w.Txtfjlc, nullptr},
                     {w.Txtfjly, nullptr},      {h.Txtycmc, h.Txtycxw},        {h.Txtycxw, h.Txtycgj},
                     {h.Txtycgj, h.Txtycgy},    {h.Txtycgy, h.Txtyczz},        {h.Txtyczz, h.Txtycyj},
                     {h.Txtycyj, h.Txtycyf},    {h.Txtycyf, nullptr},          {h.Txtycgb, nullptr}};
        for (const auto& [from, to, caretAtEnd] : steps) {
            window_->SSTab1->setTab(from == w.Txtfjmc || from == w.Txtfjly ? 1 : from == h.Txtycmc ? 2 : window_->SSTab1->Tab());
            from->SetFocus();
            WindowFixture::pressEnter(from);
            forms::TextBox* reached = to ? to : from;
            QCOMPARE(WindowFixture::focusedControl(), reached);
            if (!to) continue;
            const int length = static_cast<int>(to->Text().size());
            QCOMPARE(std::pair(to->SelStart(), to->SelLength()), caretAtEnd ? std::pair(length, 0) : std::pair(0, length));
        }
        window_->SSTab1->setTab(1);
        w.Txtfjly->SetFocus();   // the source selects its text on the focus
        QCOMPARE(std::pair(w.Txtfjly->SelStart(), w.Txtfjly->SelLength()), std::pair(0, 4));
    }

    // The query windows pop the menu up on a drag with the right button, without a
    // default item; the entry window's test covers the rest of the trigger.
    void rightButtonDragOnAMarkedHerbOpensIt()
    {
        forms::PopupMenus::TestHook popups;
        window_->Txtmcyc->setText("王氏");
        WindowFixture::click(window_->CmdSeek);
        clickRow(1);
        forms::TextBox* composition = window_->Txtfjgc;
        reference::HerbLookup& herbs = *window_->herbs;
        knowledgetest::markAndUse(composition, 4, 3, Qt::LeftButton, true);   // "石斛*"
        QCOMPARE(popups.log.size(), std::size_t(0));
        popups.choose(herbs.FindYc);
        knowledgetest::markAndUse(composition, 4, 3, Qt::RightButton, true);
        QCOMPARE(popups.log.size(), std::size_t(1));
        QCOMPARE(popups.log[0].defaultItem, nullptr);
        QCOMPARE(window_->SSTab1->Tab(), 2);
        QCOMPARE(herbs.Txtycmc->Text() + herbs.Txtycgj->Text() + herbs.Txtycxw->Text(), QString("石斛*胃、肾经甘，微寒"));
        window_->SSTab1->setTab(1);
        for (int start : {4, 8}) {   // part of a name; "麦冬'", quoted, not an error
            popups.choose(herbs.FindYc);
            knowledgetest::markAndUse(composition, start, start == 4 ? 2 : 3, Qt::RightButton);
        }
        QCOMPARE(world_->messages(), QStringList(2, "查询药材的名称不对或系统中没有登记要查询的药材"));
        QCOMPARE(window_->SSTab1->Tab(), 1);
        QCOMPARE(herbs.Txtycmc->Text(), QString("石斛*"));   // the last herb stays
        WindowFixture::click(window_->CmdQcls);
        QCOMPARE(herbs.Txtycmc->Text() + window_->Txtfjgc->Text(), QString());   // the reset empties both panels
    }

private:
    reference::Input criterion(int i) const
    {
        const Frmfjll& w = *window_;
        if (i == 0) return w.Txtmcyc;
        forms::ComboBox* const combos[] = {w.Cbofjly,  w.Cbocxyc1, w.Cbocxyc2, w.Cbocxyc3, w.Cboycgx1, w.Cboycgx2, w.Cboycgx3,
                                           w.Cboyczz1, w.Cboyczz2, w.Cboyczz3, w.Cbofjlc1, w.Cbofjlc2, w.Cbofjlc3};
        return combos[i - 1];
    }
    void clearCriteria()
    {
        for (int i = 0; i < 14; ++i) reference::setTextOf(criterion(i), "");
    }
    QStringList names() const { return knowledgetest::columnOf(window_->MSFGridzyfj, 0); }
    void clickRow(int row) { WindowFixture::clickGridRow(window_->MSFGridzyfj, row); }

    std::unique_ptr<WindowFixture> world_;
    Frmfjll* window_ = nullptr;
};

QTEST_MAIN(FormulaQueryTest)
#include "formula_query_test.moc"
