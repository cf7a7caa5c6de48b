// The formula query window Frmfjll driven as the user drives it: the fourteen criteria
// alone and together, the pick lists, the Enter chains of its three tabs, the row click
// and the herb look-up from a marked composition.
#include "reference/formula_query.h"
#include "formula_test_data.h"
#include "support/window_fixture.h"

#include "dictionary/dictionary_builder.h"
#include "platform/forms/buttons.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/tabbeddialog.h"
#include "reference/herb_lookup.h"

#include <QAction>
#include <QComboBox>
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
    void enterWalksTheCriteriaToTheQueryButton();
    void enterWalksTheFormulaAndHerbBoxes();
    void rowClickOpensTheFormula();
    void rightButtonOnAMarkedHerbOpensIt();

private:
    forms::Control* criterion(const QString& name) const;
    QStringList names() const;
    void clickRow(int row);

    std::unique_ptr<WindowFixture> world_;
    Frmfjll* window_ = nullptr;
};

void FormulaQueryTest::init()
{
    world_ = std::make_unique<WindowFixture>();
    formulatest::seedFormulas(world_->environment());
    formulatest::seedHerbs(world_->environment());
    world_->mainWindow().wire("zycxll1", [this] { return window_ = new Frmfjll; }, dictionary::BuildFormulaDicts);
    world_->mainWindow().menuAction("zycxll1")->trigger();   // the dictionaries rebuilt first
    QCoreApplication::processEvents();
}

void FormulaQueryTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

forms::Control* FormulaQueryTest::criterion(const QString& name) const
{
    const Frmfjll& w = *window_;
    const std::pair<const char*, forms::Control*> named[] = {
        {"Txtmcyc", w.Txtmcyc},   {"Cbofjly", w.Cbofjly},   {"Cbocxyc1", w.Cbocxyc1}, {"Cbocxyc2", w.Cbocxyc2},
        {"Cbocxyc3", w.Cbocxyc3}, {"Cboycgx1", w.Cboycgx1}, {"Cboycgx2", w.Cboycgx2}, {"Cboycgx3", w.Cboycgx3},
        {"Cboyczz1", w.Cboyczz1}, {"Cboyczz2", w.Cboyczz2}, {"Cboyczz3", w.Cboyczz3}, {"Cbofjlc1", w.Cbofjlc1},
        {"Cbofjlc2", w.Cbofjlc2}, {"Cbofjlc3", w.Cbofjlc3}};
    for (const auto& [controlName, control] : named)
        if (name == controlName) return control;
    return nullptr;
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
    if (row == 0) {
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
        return;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row - 1, 1)).center());
}

void FormulaQueryTest::opensOnAllFormulasAndThePickLists()
{
    QCOMPARE(window_->Caption(), QString("方剂内容浏览"));
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QCOMPARE(names().size(), 5);                       // the table's own order
    QCOMPARE(window_->MSFGridzyfj->TextMatrix(0, 0), QString("  方 剂 名 称"));
    QCOMPARE(window_->MSFGridzyfj->TextMatrix(5, 6), QString());   // "  " shows trimmed
    QCOMPARE(window_->Cbocxyc1->ListCount(), 2);
    QCOMPARE(window_->Cboycgx3->ListCount(), 5);        // one term a formula's effects
    QCOMPARE(window_->Cboyczz2->ListCount(), 5);
    QCOMPARE(window_->Cbofjlc1->ListCount(), 3);        // the blank and the Null notes add none
    QVERIFY(window_->Cbofjlc3->comboBox()->findText("月经不调") >= 0);
    QCOMPARE(window_->Cbofjly->ListCount(), 3);         // distinct sources
    QVERIFY(!window_->Txtfjmc->isVisibleTo(window_) && !window_->herbs->Txtycmc->isVisibleTo(window_));
    QVERIFY(world_->messages().isEmpty());
}

// Each row fills some criteria (by the control's name) and names the formulas found,
// by name order. An empty criterion lets through the imported row whose notes are Null.
void FormulaQueryTest::criteriaFindTheMatchingFormulas_data()
{
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("name anywhere") << QStringList{"Txtmcyc", "汤"} << QStringList{"八珍汤", "四君子汤", "四物汤", "王氏'清暑益气汤"};
    QTest::newRow("Null notes pass") << QStringList{"Txtmcyc", "逍遥"} << QStringList{"逍遥散"};
    QTest::newRow("two herbs") << QStringList{"Cbocxyc1", "当归", "Cbocxyc3", "白术"} << QStringList{"八珍汤", "逍遥散"};
    QTest::newRow("two herbs, other order") << QStringList{"Cbocxyc2", "白术", "Cbocxyc1", "当归"} << QStringList{"八珍汤", "逍遥散"};
    QTest::newRow("part of a herb name") << QStringList{"Cbocxyc2", "熟地"} << QStringList{"八珍汤", "四物汤"};
    QTest::newRow("effects") << QStringList{"Cboycgx2", "益气"} << QStringList{"八珍汤", "四君子汤", "王氏'清暑益气汤"};
    QTest::newRow("indications") << QStringList{"Cboyczz3", "两"} << QStringList{"八珍汤", "王氏'清暑益气汤"};
    QTest::newRow("clinical notes") << QStringList{"Cbofjlc2", "月经"} << QStringList{"四物汤"};
    QTest::newRow("third herb") << QStringList{"Cbocxyc3", "柴胡"} << QStringList{"逍遥散"};
    QTest::newRow("third effect") << QStringList{"Cboycgx3", "解郁"} << QStringList{"逍遥散"};
    QTest::newRow("first indication") << QStringList{"Cboyczz1", "营血"} << QStringList{"四物汤"};
    QTest::newRow("third note") << QStringList{"Cbofjlc3", "食少"} << QStringList{"四君子汤"};
    QTest::newRow("source and effect") << QStringList{"Cbofjly", "局方", "Cboycgx1", "健脾"} << QStringList{"四君子汤"};
    QTest::newRow("trimmed") << QStringList{"Cbofjlc1", "  面色  "} << QStringList{"八珍汤"};
    QTest::newRow("apostrophe") << QStringList{"Txtmcyc", "王氏'"} << QStringList{"王氏'清暑益气汤"};
    QTest::newRow("pattern mark") << QStringList{"Txtmcyc", "四?汤"} << QStringList{"四物汤"};
    QTest::newRow("every criterion") << QStringList{"Txtmcyc", "八", "Cbocxyc1", "人参", "Cbocxyc2", "当归",
        "Cbocxyc3", "熟地黄", "Cboycgx1", "益气", "Cboycgx2", "补血", "Cboycgx3", "气补", "Cboyczz1", "气血",
        "Cboyczz2", "两虚", "Cboyczz3", "血", "Cbofjlc1", "面色", "Cbofjlc2", "苍白", "Cbofjlc3", "色苍",
        "Cbofjly", "正体"} << QStringList{"八珍汤"};
}

void FormulaQueryTest::criteriaFindTheMatchingFormulas()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, found);
    for (int i = 0; i < criteria.size(); i += 2) {
        forms::Control* box = criterion(criteria[i]);
        QVERIFY2(box, qPrintable(criteria[i]));
        if (auto* text = qobject_cast<forms::TextBox*>(box)) text->setText(criteria[i + 1]);
        else static_cast<forms::ComboBox*>(box)->setText(criteria[i + 1]);
    }
    WindowFixture::click(window_->CmdSeek);
    QCOMPARE(world_->messages(), QStringList());
    QCOMPARE(names(), found);
    QCOMPARE(window_->SSTab1->Tab(), 0);
    forms::Control* first = criterion(criteria[0]);   // criteria stay, trimmed
    const QString shown = qobject_cast<forms::TextBox*>(first) ? qobject_cast<forms::TextBox*>(first)->Text()
                                                                : static_cast<forms::ComboBox*>(first)->Text();
    QCOMPARE(shown, criteria[1].trimmed());
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
    QCOMPARE(window_->Txtmcyc->Text(), QString());      // the reset empties the criteria
    QCOMPARE(window_->Cbocxyc1->Text(), QString());
    QCOMPARE(names().size(), 5);
}

void FormulaQueryTest::enterWalksTheCriteriaToTheQueryButton()
{
    const std::vector<forms::Control*> chain = {
        window_->Txtmcyc,  window_->Cbofjly,  window_->Cbocxyc1, window_->Cbocxyc2, window_->Cbocxyc3,
        window_->Cboycgx1, window_->Cboycgx2, window_->Cboycgx3, window_->Cboyczz1, window_->Cboyczz2,
        window_->Cboyczz3, window_->CmdSeek};
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        chain[i]->SetFocus();
        WindowFixture::pressEnter(chain[i]);            // empty: stays
        QCOMPARE(WindowFixture::focusedControl(), chain[i]);
        WindowFixture::type(chain[i], "益 气");
        WindowFixture::pressEnter(chain[i]);
        QCOMPARE(WindowFixture::focusedControl(), chain[i + 1]);
    }
    QCOMPARE(window_->Txtmcyc->Text(), QString("益气"));    // no blank typed
    window_->Cbofjlc1->SetFocus();                      // the notes are not in the chain
    WindowFixture::type(window_->Cbofjlc1, "月 经");
    WindowFixture::pressEnter(window_->Cbofjlc1);
    QCOMPARE(WindowFixture::focusedControl(), window_->Cbofjlc1);
    QCOMPARE(window_->Cbofjlc1->Text(), QString("月 经"));
    QVERIFY(world_->messages().isEmpty());
}

// Each row: the box pressed, whether it holds text, and the box that has the focus
// afterwards with its selection.
void FormulaQueryTest::enterWalksTheFormulaAndHerbBoxes()
{
    struct Step {
        forms::TextBox* box;
        const char* text;
        forms::TextBox* next;
        bool allSelected;
    };
    const reference::HerbLookup& herbs = *window_->herbs;
    const Step steps[] = {
        {window_->Txtfjmc, "四物汤", window_->Txtfjgc, true},  {window_->Txtfjgc, "  ", window_->Txtfjgc, false},
        {window_->Txtfjgc, "当归", window_->Txtfjgx, true},    {window_->Txtfjgx, "补血", window_->Txtfjzz, true},
        {window_->Txtfjzz, "血虚", window_->Txtfjyf, true},    {window_->Txtfjyf, "水煎", window_->Txtfjlc, false},
        {window_->Txtfjlc, "月经", window_->Txtfjly, true},    {window_->Txtfjly, "局方", window_->Txtfjly, false},
        {herbs.Txtycmc, "", herbs.Txtycxw, true},              {herbs.Txtycxw, "", herbs.Txtycgj, true},
        {herbs.Txtycgj, "", herbs.Txtycgy, true},              {herbs.Txtycgy, "", herbs.Txtyczz, true},
        {herbs.Txtyczz, "", herbs.Txtycyj, true},              {herbs.Txtycyj, "", herbs.Txtycyf, true},
        {herbs.Txtycyf, "", herbs.Txtycyf, false},             {herbs.Txtycgb, "", herbs.Txtycgb, false},
    };
    window_->SSTab1->setTab(1);
    for (const Step& step : steps) {
        if (step.box == herbs.Txtycmc) window_->SSTab1->setTab(2);
        step.box->show();
        step.next->show();
        step.box->setText(step.text);
        step.next->setText(step.next == step.box ? step.text : "文字");
        step.box->SetFocus();
        step.box->setSelStart(0);
        WindowFixture::pressEnter(step.box);
        QVERIFY2(WindowFixture::focusedControl() == step.next, step.text);
        QCOMPARE(step.next->SelLength(), step.allSelected ? step.next->Text().size() : 0);
        if (step.next == window_->Txtfjlc) QCOMPARE(step.next->SelStart(), 2);   // caret at the end
    }
    QVERIFY(world_->messages().isEmpty());
}

void FormulaQueryTest::rowClickOpensTheFormula()
{
    clickRow(0);                                        // the header names no formula
    QCOMPARE(window_->SSTab1->Tab(), 0);
    QVERIFY(!window_->Txtfjmc->isVisibleTo(window_));

    window_->Txtmcyc->setText("王氏'");
    WindowFixture::click(window_->CmdSeek);
    clickRow(1);
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(window_->Txtfjmc->Text(), QString("王氏'清暑益气汤"));
    QCOMPARE(window_->Txtfjgc->Text(), QString("西洋参、石斛*、麦冬'"));
    QCOMPARE(window_->Txtfjly->Text(), QString("温热经纬"));
    QCOMPARE(window_->Txtfjlc->Text(), QString("  "));  // as stored
    QVERIFY(window_->Txtfjmc->isVisibleTo(window_));

    window_->MSFGridzyfj->setTextMatrix(1, 0, "  ");
    clickRow(1);
    QCOMPARE(world_->messages(), QStringList{"未有要查询的方剂"});
}

void FormulaQueryTest::rightButtonOnAMarkedHerbOpensIt()
{
    forms::PopupMenus::TestHook popups;
    window_->Txtmcyc->setText("王氏");
    WindowFixture::click(window_->CmdSeek);
    clickRow(1);
    forms::TextBox* composition = window_->Txtfjgc;
    reference::HerbLookup& herbs = *window_->herbs;

    formulatest::select(composition, 0, 0);             // nothing marked: no menu
    formulatest::mouseOver(composition, Qt::RightButton);
    formulatest::select(composition, 4, 3);             // "石斛*", left button: no menu
    formulatest::mouseOver(composition, Qt::LeftButton);
    formulatest::mouseOver(composition, Qt::LeftButton, true);
    QCOMPARE(popups.log.size(), std::size_t(0));

    formulatest::select(composition, 4, 3);
    popups.choose(herbs.FindYc);                         // a drag with the right button
    formulatest::mouseOver(composition, Qt::RightButton, true);
    QCOMPARE(popups.log.size(), std::size_t(1));
    QCOMPARE(popups.log[0].defaultItem, nullptr);
    QCOMPARE(window_->SSTab1->Tab(), 2);
    QCOMPARE(herbs.Txtycmc->Text(), QString("石斛*"));
    QCOMPARE(herbs.Txtycgj->Text(), QString("胃、肾经"));
    QCOMPARE(herbs.Txtycxw->Text(), QString("甘，微寒"));
    QVERIFY(herbs.Txtycmc->isVisibleTo(window_) && herbs.labels(6)->Caption() == "行医心得");

    window_->SSTab1->setTab(1);
    formulatest::select(composition, 4, 2);              // part of a name
    popups.choose(herbs.FindYc);
    formulatest::mouseOver(composition, Qt::RightButton);
    QCOMPARE(world_->messages(), QStringList{"查询药材的名称不对或系统中没有登记要查询的药材"});
    QCOMPARE(window_->SSTab1->Tab(), 1);
    QCOMPARE(herbs.Txtycmc->Text(), QString("石斛*"));  // the last herb stays
    formulatest::select(composition, 8, 3);              // "麦冬'": quoted, not an error
    popups.choose(herbs.FindYc);
    formulatest::mouseOver(composition, Qt::RightButton);
    QCOMPARE(world_->messages().size(), 2);
    QCOMPARE(world_->messages().last(), QString("查询药材的名称不对或系统中没有登记要查询的药材"));
}

QTEST_MAIN(FormulaQueryTest)
#include "formula_query_test.moc"
