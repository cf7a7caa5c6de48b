// The formula query window Frmfjll driven as the user drives it, opened through its
// menu item, which rebuilds the formula dictionaries first: the fourteen criteria alone
// and together, the pick lists, the Enter chains of its three tabs, the row click and
// the herb look-up from a marked composition with the query windows' trigger.
#include "reference/formula_query.h"
#include "formula_test_data.h"
#include "support/window_fixture.h"

#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/tabbeddialog.h"
#include "reference/herb_lookup.h"
#include "reference/reference_menu.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using reference::Frmfjll;

class FormulaQueryTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnAllFormulasAndThePickLists();
    void criteriaFindTheMatchingFormulas_data();
    void criteriaFindTheMatchingFormulas();
    void noCriterionAndNoMatch();
    void enterWalksTheChainsOfTheThreeTabs();
    void rowClickOpensTheFormula();
    void rightButtonDragOnAMarkedHerbOpensIt();

private:
    reference::Input criterion(const QString& name) const;
    QStringList names() const;
    void clickRow(int row);

    std::unique_ptr<WindowFixture> world_;
    Frmfjll* window_ = nullptr;
};

void FormulaQueryTest::init()
{
    world_ = std::make_unique<WindowFixture>();
    formulatest::seed(world_->environment());
    registerReferenceWindows(world_->mainWindow());    // as the program wires 中医方剂查询
    world_->mainWindow().menuAction("zycxll1")->trigger();
    QCoreApplication::processEvents();
    window_ = qobject_cast<Frmfjll*>(forms::Form::ActiveForm());
    QVERIFY(window_);
}

void FormulaQueryTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

reference::Input FormulaQueryTest::criterion(const QString& name) const
{
    if (name == "Txtmcyc") return window_->Txtmcyc;
    const Frmfjll& w = *window_;
    const std::pair<const char*, forms::ComboBox*> combos[] = {
        {"Cbofjly", w.Cbofjly},   {"Cbocxyc1", w.Cbocxyc1}, {"Cbocxyc2", w.Cbocxyc2}, {"Cbocxyc3", w.Cbocxyc3},
        {"Cboycgx1", w.Cboycgx1}, {"Cboycgx2", w.Cboycgx2}, {"Cboycgx3", w.Cboycgx3}, {"Cboyczz1", w.Cboyczz1},
        {"Cboyczz2", w.Cboyczz2}, {"Cboyczz3", w.Cboyczz3}, {"Cbofjlc1", w.Cbofjlc1}, {"Cbofjlc2", w.Cbofjlc2},
        {"Cbofjlc3", w.Cbofjlc3}};
    for (const auto& [controlName, combo] : combos)
        if (name == controlName) return combo;
    return static_cast<forms::TextBox*>(nullptr);
}

QStringList FormulaQueryTest::names() const
{
    QStringList texts;
    for (int row = 1; row < window_->MSFGridzyfj->Rows(); ++row) texts << window_->MSFGridzyfj->TextMatrix(row, 0);
    return texts;
}

void FormulaQueryTest::clickRow(int row)
{
    QTableView* view = window_->MSFGridzyfj->view();
    QWidget* target = row == 0 ? view->horizontalHeader()->viewport() : view->viewport();
    const QPoint at = row == 0 ? QPoint(5, 5) : view->visualRect(view->model()->index(row - 1, 1)).center();
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
}

void FormulaQueryTest::opensOnAllFormulasAndThePickLists()
{
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QCOMPARE(names().size(), 5);
    QCOMPARE(window_->MSFGridzyfj->TextMatrix(0, 0), QString("  方 剂 名 称"));
    QCOMPARE(window_->MSFGridzyfj->TextMatrix(5, 6), QString());   // "  " shows trimmed
    // One term a formula's effects and indications; the blank and the Null notes add none.
    for (const auto& [combo, count] : {std::pair<forms::ComboBox*, int>{window_->Cbocxyc1, 2}, {window_->Cboycgx3, 5},
                                       {window_->Cboyczz2, 5}, {window_->Cbofjlc1, 3}, {window_->Cbofjly, 3}})
        QCOMPARE(combo->ListCount(), count);
    QVERIFY(window_->Cbofjlc3->comboBox()->findText("月经不调") >= 0);
    QVERIFY(!window_->Txtfjmc->isVisibleTo(window_) && !window_->herbs->Txtycmc->isVisibleTo(window_));
    QVERIFY(world_->messages().isEmpty());
}

// Each row fills some criteria (by the control's name) and names the formulas found,
// in name order. An empty criterion lets through the imported row whose notes are Null.
void FormulaQueryTest::criteriaFindTheMatchingFormulas_data()
{
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("name") << QStringList{"Txtmcyc", "汤"} << QStringList{"八珍汤", "四君子汤", "四物汤", "王氏'清暑益气汤"};
    QTest::newRow("Null notes pass") << QStringList{"Txtmcyc", "逍遥"} << QStringList{"逍遥散"};
    QTest::newRow("two herbs") << QStringList{"Cbocxyc1", "当归", "Cbocxyc3", "白术"} << QStringList{"八珍汤", "逍遥散"};
    QTest::newRow("other order") << QStringList{"Cbocxyc2", "白术", "Cbocxyc1", "当归"} << QStringList{"八珍汤", "逍遥散"};
    QTest::newRow("part of a herb") << QStringList{"Cbocxyc2", "熟地"} << QStringList{"八珍汤", "四物汤"};
    QTest::newRow("third herb") << QStringList{"Cbocxyc3", "柴胡"} << QStringList{"逍遥散"};
    QTest::newRow("effect 2") << QStringList{"Cboycgx2", "益气"} << QStringList{"八珍汤", "四君子汤", "王氏'清暑益气汤"};
    QTest::newRow("effect 3") << QStringList{"Cboycgx3", "解郁"} << QStringList{"逍遥散"};
    QTest::newRow("indication 1") << QStringList{"Cboyczz1", "营血"} << QStringList{"四物汤"};
    QTest::newRow("indication 3") << QStringList{"Cboyczz3", "两"} << QStringList{"八珍汤", "王氏'清暑益气汤"};
    QTest::newRow("note 2") << QStringList{"Cbofjlc2", "月经"} << QStringList{"四物汤"};
    QTest::newRow("note 3") << QStringList{"Cbofjlc3", "食少"} << QStringList{"四君子汤"};
    QTest::newRow("source, effect 1") << QStringList{"Cbofjly", "局方", "Cboycgx1", "健脾"} << QStringList{"四君子汤"};
    QTest::newRow("trimmed") << QStringList{"Cbofjlc1", "  面色  "} << QStringList{"八珍汤"};
    QTest::newRow("apostrophe") << QStringList{"Txtmcyc", "王氏'"} << QStringList{"王氏'清暑益气汤"};
    QTest::newRow("pattern mark") << QStringList{"Txtmcyc", "四?汤"} << QStringList{"四物汤"};
    QTest::newRow("all fourteen") << QStringList{"Txtmcyc", "八", "Cbocxyc1", "人参", "Cbocxyc2", "当归",
        "Cbocxyc3", "熟地黄", "Cboycgx1", "益气", "Cboycgx2", "补血", "Cboycgx3", "气补", "Cboyczz1", "气血",
        "Cboyczz2", "两虚", "Cboyczz3", "血", "Cbofjlc1", "面色", "Cbofjlc2", "苍白", "Cbofjlc3", "色苍",
        "Cbofjly", "正体"} << QStringList{"八珍汤"};
}

void FormulaQueryTest::criteriaFindTheMatchingFormulas()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, found);
    for (int i = 0; i < criteria.size(); i += 2) reference::setTextOf(criterion(criteria[i]), criteria[i + 1]);
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList());
    QCOMPARE(names(), found);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QCOMPARE(reference::textOf(criterion(criteria[0])), criteria[1].trimmed());   // criteria stay, trimmed
}

void FormulaQueryTest::noCriterionAndNoMatch()
{
    window_->Cbocxyc1->setText("   ");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"输入查询条件。"});
    QCOMPARE(WindowFixture::focusedControl(), window_->Txtmcyc);

    world_->clearMessages();
    window_->Txtmcyc->setText("汤");
    WindowFixture::click(window_->CmdSeek);
    window_->Cbocxyc1->setText("麻黄");
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList{"查询条件输入错误。"});
    QCOMPARE(window_->Txtmcyc->Text() + window_->Cbocxyc1->Text(), QString());   // the reset empties them
    QCOMPARE(names().size(), 5);
}

// Each row: the box Enter is pressed in, its text, and the box that has the focus
// then, with its text ("文字") all selected or not. The criteria move on when they
// hold any text, the formula boxes when they hold more than blanks, the herb boxes
// always; the clinical-note criteria, the source box and the last herb boxes keep it.
void FormulaQueryTest::enterWalksTheChainsOfTheThreeTabs()
{
    const reference::HerbLookup& herbs = *window_->herbs;
    const std::vector<forms::Control*> criteria = {
        window_->Txtmcyc,  window_->Cbofjly,  window_->Cbocxyc1, window_->Cbocxyc2, window_->Cbocxyc3,
        window_->Cboycgx1, window_->Cboycgx2, window_->Cboycgx3, window_->Cboyczz1, window_->Cboyczz2,
        window_->Cboyczz3, window_->CmdSeek};
    for (std::size_t i = 0; i + 1 < criteria.size(); ++i) {
        criteria[i]->SetFocus();
        WindowFixture::pressEnter(criteria[i]);         // empty: stays
        QCOMPARE(WindowFixture::focusedControl(), criteria[i]);
        WindowFixture::type(criteria[i], "益 气");
        WindowFixture::pressEnter(criteria[i]);
        QCOMPARE(WindowFixture::focusedControl(), criteria[i + 1]);
    }
    QCOMPARE(window_->Txtmcyc->Text(), QString("益气"));    // no blank typed
    window_->Cbofjlc1->SetFocus();
    WindowFixture::type(window_->Cbofjlc1, "月 经");
    WindowFixture::pressEnter(window_->Cbofjlc1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cbofjlc1);
    QCOMPARE(window_->Cbofjlc1->Text(), QString("月 经"));

    const std::tuple<forms::TextBox*, const char*, forms::TextBox*, bool> steps[] = {
        {window_->Txtfjgc, "  ", window_->Txtfjgc, false},  {window_->Txtfjgc, "当归", window_->Txtfjgx, true},
        {window_->Txtfjyf, "水煎", window_->Txtfjlc, false}, {window_->Txtfjlc, "月经", window_->Txtfjly, true},
        {window_->Txtfjly, "局方", window_->Txtfjly, false}, {herbs.Txtycmc, "", herbs.Txtycxw, true},
        {herbs.Txtycyj, "", herbs.Txtycyf, true},            {herbs.Txtycyf, "", herbs.Txtycyf, false},
        {herbs.Txtycgb, "", herbs.Txtycgb, false}};
    for (const auto& [box, text, next, allSelected] : steps) {
        window_->SSTab1->setTab(box == herbs.Txtycmc || next == herbs.Txtycyf ? 2 : 1);
        box->show();
        next->show();
        next->setText("文字");
        box->setText(text);
        box->SetFocus();
        box->setSelStart(0);
        WindowFixture::pressEnter(box);
        QCOMPARE(WindowFixture::focusedControl(), next);
        QCOMPARE(next->SelLength(), allSelected ? next->Text().size() : 0);
        if (next == window_->Txtfjlc) QCOMPARE(next->SelStart(), 2);   // the caret at the end
    }
}

void FormulaQueryTest::rowClickOpensTheFormula()
{
    clickRow(0);                                        // the header names no formula
    QCOMPARE(window_->SSTab1->Tab(), 0);
    window_->Txtmcyc->setText("王氏'");
    WindowFixture::click(window_->CmdSeek);
    clickRow(1);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(window_->Txtfjmc->Text() + window_->Txtfjgc->Text() + window_->Txtfjly->Text() + window_->Txtfjlc->Text(),
             QString("王氏'清暑益气汤西洋参、石斛*、麦冬'温热经纬  "));   // as stored
    QVERIFY(window_->Txtfjmc->isVisibleTo(window_));

    window_->MSFGridzyfj->setTextMatrix(1, 0, "  ");
    clickRow(1);
    QCOMPARE(world_->messages(), QStringList{"未有要查询的方剂"});
    window_->MSFGridzyfj->setTextMatrix(1, 0, "四物汤");   // the file gone: said, not fatal
    QVERIFY(QFile::rename(world_->environment().databasePath(), world_->environment().databasePath() + ".away"));
    clickRow(1);
    QVERIFY(world_->messages().last().startsWith("错误号码："));
}

// The query windows pop the menu up on a drag with the right button, without a
// default item; the entry window's test covers the rest of the trigger.
void FormulaQueryTest::rightButtonDragOnAMarkedHerbOpensIt()
{
    forms::PopupMenus::TestHook popups;
    window_->Txtmcyc->setText("王氏");
    WindowFixture::click(window_->CmdSeek);
    clickRow(1);
    forms::TextBox* composition = window_->Txtfjgc;
    reference::HerbLookup& herbs = *window_->herbs;
    formulatest::markAndUse(composition, 4, 3, Qt::LeftButton, true);   // "石斛*"
    QCOMPARE(popups.log.size(), std::size_t(0));
    popups.choose(herbs.FindYc);
    formulatest::markAndUse(composition, 4, 3, Qt::RightButton, true);
    QCOMPARE(popups.log.size(), std::size_t(1));
    QCOMPARE(popups.log[0].defaultItem, nullptr);
    QCOMPARE(window_->SSTab1->Tab(), 2);
    QCOMPARE(herbs.Txtycmc->Text() + herbs.Txtycgj->Text() + herbs.Txtycxw->Text(), QString("石斛*胃、肾经甘，微寒"));
    QCOMPARE(herbs.labels(6)->Caption(), QString("行医心得"));

    window_->SSTab1->setTab(1);
    for (int start : {4, 8}) {                           // part of a name; "麦冬'", quoted, not an error
        popups.choose(herbs.FindYc);
        formulatest::markAndUse(composition, start, start == 4 ? 2 : 3, Qt::RightButton);
    }
    QCOMPARE(world_->messages(), QStringList(2, "查询药材的名称不对或系统中没有登记要查询的药材"));
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(herbs.Txtycmc->Text(), QString("石斛*"));  // the last herb stays
}

QTEST_MAIN(FormulaQueryTest)
#include "formula_query_test.moc"
