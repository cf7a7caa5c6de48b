// The drug code and price list window Frmyjwh driven as the user drives it: the list
// and the category choices it shows, the Enter chain, the ordered input check, adding
// with its duplicate checks, the three kinds of change and the delete with their
// refusals, the grid click that fills the inputs, apostrophes in codes and names, a
// failing write that keeps the inputs, and the help button and the close box.
#include "dispensary/drug_list.h"
#include "stock_test_data.h"
#include "support/window_fixture.h"

#include "core/globals.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>
#include <tuple>

using dispensary::Frmyjwh;
using stocktest::rowsOf;

class DrugListTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyTableShowsOnlyTheHeader();
    void listShowsTheTableByCodeWithFormattedPrices();
    void enterChainMovesAlongTheInputs();
    void enterChainRefusals();
    void inputCheckStopsAtTheFirstFailure_data();
    void inputCheckStopsAtTheFirstFailure();
    void addStoresUpperCaseCodeAndThePriceShown();
    void addRefusesUsedCodeBeforeUsedName();
    void changeCodeRefusesItsOwnCodeAndUnknownNames();
    void changeCodeRewritesTheDrugFoundByName();
    void changeNameRefusesItsOwnNameAndUnknownCodes();
    void changeNameRewritesTheDrugFoundByCode();
    void changeOtherKeepsCodeAndName();
    void deleteAsksFirstThenChecks();
    void gridClickFillsTheInputsButNotFromTheHeader();
    void apostrophesAreStoredFoundAndListed();
    void failedWriteKeepsTheInputsAndWritesNothing();
    void priceBeyondAnyRangeIsReportedNotFatal();
    void closeBoxDuringTheFillWaitsForItsEnd();
    void helpButtonHandsOverAndActivationReloads();
    void closeBoxGivesTheMenusBack();

private:
    void fill(const QString& category, const QString& code, const QString& name, const QString& unit,
              const QString& price);
    void clickGridRow(int row);
    QStringList column(int col) const;
    QString focusedName() const;

    std::unique_ptr<WindowFixture> world_;
    Frmyjwh* window_ = nullptr;
};

void DrugListTest::init()
{
    world_ = std::make_unique<WindowFixture>();
}

void DrugListTest::cleanup()
{
    world_.reset();
    window_ = nullptr;
}

// Seeds are put in before the window opens, as its activation reads the table.
static void seed(const TestEnvironment& env)
{
    env.insert("ycjg", {"DG01", "当归", 1250.0, "克", "补血药"});   // stored out of every order
    env.insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
    env.insert("ycjg", {"RS03", "人参", 36.0, "支", "补气药"});
}

void DrugListTest::fill(const QString& category, const QString& code, const QString& name,
                        const QString& unit, const QString& price)
{
    window_->CboYplb->setText(category);
    window_->Txtycbm->setText(code);
    window_->Txtycmc->setText(name);
    window_->TxtJldw->setText(unit);
    window_->Txtycdj->setText(price);
}

void DrugListTest::clickGridRow(int row)
{
    QTableView* view = window_->MSFGridBmmc->view();
    if (row == 0) {
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        return;
    }
    const QRect cell = view->visualRect(view->model()->index(row - 1, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList DrugListTest::column(int col) const
{
    QStringList texts;
    for (int row = 1; row < window_->MSFGridBmmc->Rows(); ++row) texts << window_->MSFGridBmmc->TextMatrix(row, col);
    return texts;
}

QString DrugListTest::focusedName() const
{
    const std::pair<forms::Control*, const char*> named[] = {
        {window_->CboYplb, "CboYplb"}, {window_->Txtycbm, "Txtycbm"}, {window_->Txtycmc, "Txtycmc"},
        {window_->TxtJldw, "TxtJldw"}, {window_->Txtycdj, "Txtycdj"}, {window_->CmdSave, "CmdSave"}};
    forms::Control* focused = WindowFixture::focusedControl();
    for (const auto& [control, name] : named)
        if (control == focused) return name;
    return "other";
}

// ---- the list -----------------------------------------------------------------------

void DrugListTest::emptyTableShowsOnlyTheHeader()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    QCOMPARE(window_->Caption(), QString("药品价格维护"));
    QCOMPARE(window_->CboYplb->ListCount(), 0);
    QCOMPARE(window_->MSFGridBmmc->Rows(), 1);
    QCOMPARE(window_->MSFGridBmmc->TextMatrix(0, 1), QString("药 材 名 称"));
    QCOMPARE(window_->Txtycdj->Text(), QString("0.00"));
    QVERIFY(world_->messages().isEmpty());
}

// Sizes in twips come back through whole pixels (15 twips each).

void DrugListTest::listShowsTheTableByCodeWithFormattedPrices()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    forms::FlexGrid* grid = window_->MSFGridBmmc;
    QCOMPARE(grid->Rows(), 4);
    QCOMPARE(column(0), QStringList({"DG01", "HQ02", "RS03"}));
    QCOMPARE(column(1), QStringList({"当归", "黄芪", "人参"}));
    QCOMPARE(column(2), QStringList({"1,250.00", "0.80", "36.00"}));
    QCOMPARE(column(3), QStringList({"克", "克", "支"}));
    QCOMPARE(column(4), QStringList({"补血药", "补气药", "补气药"}));

    QStringList categories;
    for (int i = 0; i < window_->CboYplb->ListCount(); ++i) categories << window_->CboYplb->List(i);
    QCOMPARE(categories, QStringList({"补气药", "补血药"}));
}

// ---- keys ---------------------------------------------------------------------------

void DrugListTest::enterChainMovesAlongTheInputs()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    window_->CboYplb->SetFocus();
    WindowFixture::type(window_->CboYplb, "补 气药");
    QCOMPARE(window_->CboYplb->Text(), QString("补气药"));   // the space is swallowed
    WindowFixture::pressEnter(window_->CboYplb);
    QCOMPARE(focusedName(), QString("Txtycbm"));

    WindowFixture::type(window_->Txtycbm, "hq 02");
    QCOMPARE(window_->Txtycbm->Text(), QString("hq02"));
    WindowFixture::pressEnter(window_->Txtycbm);
    QCOMPARE(focusedName(), QString("Txtycmc"));

    window_->Txtycmc->setText("黄芪");
    window_->Txtycmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(focusedName(), QString("TxtJldw"));
    window_->TxtJldw->setText("克");
    WindowFixture::pressEnter(window_->TxtJldw);
    QCOMPARE(focusedName(), QString("Txtycdj"));
    QCOMPARE(window_->Txtycdj->SelText(), QString("0.00"));

    WindowFixture::type(window_->Txtycdj, "12");
    WindowFixture::pressEnter(window_->Txtycdj);
    QCOMPARE(window_->Txtycdj->Text(), QString("12.00"));
    QCOMPARE(focusedName(), QString("CmdSave"));

    window_->Txtycdj->setText("1250");
    window_->Txtycdj->SetFocus();
    WindowFixture::pressEnter(window_->Txtycdj);
    QCOMPARE(window_->Txtycdj->Text(), QString("1,250.00"));
    QVERIFY(world_->messages().isEmpty());
}

void DrugListTest::enterChainRefusals()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    window_->CboYplb->SetFocus();
    WindowFixture::pressEnter(window_->CboYplb);
    QCOMPARE(world_->messages(), QStringList({"输入药品类别，此项必须输入。"}));
    QCOMPARE(focusedName(), QString("CboYplb"));

    world_->clearMessages();
    window_->Txtycbm->SetFocus();
    WindowFixture::pressEnter(window_->Txtycbm);   // empty boxes: nothing
    QCOMPARE(focusedName(), QString("Txtycbm"));
    window_->Txtycmc->SetFocus();
    WindowFixture::pressEnter(window_->Txtycmc);
    QCOMPARE(focusedName(), QString("Txtycmc"));
    QVERIFY(world_->messages().isEmpty());

    for (const QString price : {"abc", ""}) {
        world_->clearMessages();
        window_->Txtycdj->setText(price);
        window_->Txtycdj->SetFocus();
        WindowFixture::pressEnter(window_->Txtycdj);
        QCOMPARE(world_->messages(), QStringList({"药品单价输入错误"}));
        QCOMPARE(focusedName(), QString("Txtycdj"));
        QCOMPARE(window_->Txtycdj->SelText(), price);
    }
}

// ---- the input check ------------------------------------------------------------------

void DrugListTest::inputCheckStopsAtTheFirstFailure_data()
{
    QTest::addColumn<QStringList>("inputs");   // category, code, name, unit, price
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("priceSelected");

    QTest::newRow("all empty") << QStringList{"", "", "", "", ""} << "输入药品类别" << "Txtycmc" << false;
    QTest::newRow("blank category") << QStringList{"  ", "A1", "当归", "克", "1"} << "输入药品类别" << "Txtycmc"
                                    << false;
    QTest::newRow("no name") << QStringList{"补血药", "", "", "", ""} << "输入药品名称" << "Txtycmc" << false;
    QTest::newRow("no code") << QStringList{"补血药", " ", "当归", "", ""} << "输入药品编码" << "Txtycbm" << false;
    QTest::newRow("letters") << QStringList{"补血药", "A1", "当归", "", "abc"} << "药品单价输入错误" << "Txtycdj"
                             << true;
    QTest::newRow("empty price") << QStringList{"补血药", "A1", "当归", "克", ""} << "药品单价输入错误"
                                 << "Txtycdj" << false;
    QTest::newRow("zero") << QStringList{"补血药", "A1", "当归", "", "0"} << "药品单价不能为零或小于零"
                          << "Txtycdj" << true;
    QTest::newRow("negative") << QStringList{"补血药", "A1", "当归", "克", "-5"} << "药品单价不能为零或小于零"
                              << "Txtycdj" << true;
    QTest::newRow("no unit") << QStringList{"补血药", "A1", "当归", " ", "1,250.00"} << "输入药品计量单位"
                             << "TxtJldw" << false;
}

void DrugListTest::inputCheckStopsAtTheFirstFailure()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(bool, priceSelected);
    window_ = world_->open<Frmyjwh>("YcqkWh");
    for (forms::CommandButton* button :
         {window_->CmdSave, window_->CmdBmxg, window_->CmdMcxg, window_->Cmdedit, window_->Cmddele}) {
        fill(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4]);
        world_->clearMessages();
        WindowFixture::click(button);
        QStringList expected{message};
        if (button == window_->Cmddele) expected.prepend("确实要删除此条信息吗？");
        QCOMPARE(world_->messages(), expected);
        QCOMPARE(focusedName(), focus);
        QCOMPARE(window_->srnrcw, 1);
        if (priceSelected) QCOMPARE(window_->Txtycdj->SelText(), window_->Txtycdj->Text());
    }
    QCOMPARE(world_->environment().count("ycjg"), 0);
}

// ---- add ------------------------------------------------------------------------------

void DrugListTest::addStoresUpperCaseCodeAndThePriceShown()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill(" 补血药 ", " ab12 ", " 当归 ", " 克 ", "1250");
    window_->Txtycdj->SetFocus();
    WindowFixture::pressEnter(window_->Txtycdj);
    QCOMPARE(window_->Txtycdj->Text(), QString("1,250.00"));
    WindowFixture::click(window_->CmdSave);

    QVERIFY(world_->messages().isEmpty());
    const auto rows = rowsOf(world_->environment(), "ycjg");
    QCOMPARE(int(rows.size()), 1);
    QCOMPARE(rows[0].text(0), QString("AB12"));
    QCOMPARE(rows[0].text(1), QString("当归"));
    QCOMPARE(rows[0].number(2), 1250.0);
    QCOMPARE(rows[0].text(3), QString("克"));
    QCOMPARE(rows[0].text(4), QString("补血药"));

    // The window is reset: inputs cleared, list and categories reloaded.
    QCOMPARE(window_->Txtycbm->Text(), QString());
    QCOMPARE(window_->Txtycdj->Text(), QString("0.00"));
    QCOMPARE(column(0), QStringList({"AB12"}));
    QCOMPARE(column(2), QStringList({"1,250.00"}));
    QCOMPARE(window_->CboYplb->ListCount(), 1);
    QCOMPARE(focusedName(), QString("CboYplb"));
}

void DrugListTest::addRefusesUsedCodeBeforeUsedName()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");

    fill("补血药", "dg01", "黄芪", "克", "3");   // both used: the code is checked first
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->messages(), QStringList({"药品编码重复"}));
    QCOMPARE(focusedName(), QString("Txtycbm"));
    QCOMPARE(window_->Txtycbm->SelText(), QString("DG01"));

    world_->clearMessages();
    fill("补血药", "NEW1", "黄芪", "克", "3");
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->messages(), QStringList({"药品名称重复"}));
    QCOMPARE(focusedName(), QString("Txtycmc"));
    QCOMPARE(window_->Txtycmc->SelText(), QString("黄芪"));

    QCOMPARE(world_->environment().count("ycjg"), 3);
    QCOMPARE(window_->Txtycbm->Text(), QString("NEW1"));   // the inputs stay for a correction

    // Letter case makes no other drug: a stored "Gz06" / "Radix" is the typed "gz06" / "RADIX".
    world_->environment().insert("ycjg", {"Gz06", "Radix", 0.3, "克", "解表药"});
    for (const auto& [code, name, message] : {std::tuple{"gz06", "桂枝", "药品编码重复"},
                                              std::tuple{"NEW1", "RADIX", "药品名称重复"}}) {
        world_->clearMessages();
        fill("解表药", code, name, "克", "3");
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(world_->messages(), QStringList({message}));
    }
    QCOMPARE(world_->environment().count("ycjg"), 4);
}

// ---- changes --------------------------------------------------------------------------

void DrugListTest::changeCodeRefusesItsOwnCodeAndUnknownNames()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");

    fill("补血药", "DG01", "当归", "克", "12");
    WindowFixture::click(window_->CmdBmxg);
    QCOMPARE(world_->messages(), QStringList({"药品编码重复"}));

    world_->clearMessages();
    fill("补血药", "ZZ99", "白术", "克", "12");
    WindowFixture::click(window_->CmdBmxg);
    QCOMPARE(world_->messages(), QStringList({"此条记录尚未保存"}));
    QCOMPARE(focusedName(), QString("CmdSave"));
    QCOMPARE(world_->environment().count("ycjg"), 3);
}

void DrugListTest::changeCodeRewritesTheDrugFoundByName()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill("滋补药", "dg09", "当归", "两", "15");
    WindowFixture::click(window_->CmdBmxg);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(column(0), QStringList({"DG09", "HQ02", "RS03"}));
    QCOMPARE(column(2).first(), QString("15.00"));
    QCOMPARE(column(3).first(), QString("两"));
    QCOMPARE(column(4).first(), QString("滋补药"));
    QCOMPARE(focusedName(), QString("CboYplb"));
}

void DrugListTest::changeNameRefusesItsOwnNameAndUnknownCodes()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");

    fill("补血药", "DG01", "当归", "克", "12");
    WindowFixture::click(window_->CmdMcxg);
    QCOMPARE(world_->messages(), QStringList({"药品名称重复"}));
    QCOMPARE(focusedName(), QString("Txtycmc"));

    for (forms::CommandButton* button : {window_->CmdMcxg, window_->Cmdedit, window_->Cmddele}) {
        world_->clearMessages();
        fill("补血药", "ZZ99", "白术", "克", "12");
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), QString("此条记录尚未保存"));
        QCOMPARE(focusedName(), QString("CmdSave"));
    }
    QCOMPARE(world_->environment().count("ycjg"), 3);
}

void DrugListTest::changeNameRewritesTheDrugFoundByCode()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill("补气药", "rs03", "红参", "支", "40");
    WindowFixture::click(window_->CmdMcxg);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(column(1), QStringList({"当归", "黄芪", "红参"}));
    QCOMPARE(column(2).last(), QString("40.00"));
}

void DrugListTest::changeOtherKeepsCodeAndName()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill("补益药", "HQ02", "北芪", "两", "1.5");
    WindowFixture::click(window_->Cmdedit);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(column(1), QStringList({"当归", "黄芪", "人参"}));   // the changed name is ignored
    QCOMPARE(column(2)[1], QString("1.50"));
    QCOMPARE(column(3)[1], QString("两"));
    QCOMPARE(column(4)[1], QString("补益药"));
    QCOMPARE(focusedName(), QString("CboYplb"));
}

void DrugListTest::deleteAsksFirstThenChecks()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");

    fill("补气药", "HQ02", "黄芪", "", "0.80");
    world_->answer({forms::vbNo});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), QStringList({"确实要删除此条信息吗？"}));
    QCOMPARE(world_->boxes().shown().back().icon, forms::vbQuestion);
    QCOMPARE(window_->TxtJldw->Text(), QString());   // No: not even checked

    world_->clearMessages();
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), QStringList({"确实要删除此条信息吗？", "输入药品计量单位"}));
    QCOMPARE(world_->environment().count("ycjg"), 3);

    world_->clearMessages();
    window_->TxtJldw->setText("克");
    world_->answer({forms::vbYes});
    WindowFixture::click(window_->Cmddele);
    QCOMPARE(world_->messages(), QStringList({"确实要删除此条信息吗？"}));
    QCOMPARE(column(0), QStringList({"DG01", "RS03"}));
    QCOMPARE(world_->environment().count("ycjg"), 2);
    QCOMPARE(focusedName(), QString("Txtycbm"));
}

// ---- the grid -------------------------------------------------------------------------

void DrugListTest::gridClickFillsTheInputsButNotFromTheHeader()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");

    clickGridRow(0);
    QCOMPARE(window_->Txtycbm->Text(), QString());
    QCOMPARE(window_->CboYplb->Text(), QString());

    clickGridRow(1);
    QCOMPARE(window_->Txtycbm->Text(), QString("DG01"));
    QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
    QCOMPARE(window_->Txtycdj->Text(), QString("1,250.00"));
    QCOMPARE(window_->TxtJldw->Text(), QString("克"));
    QCOMPARE(window_->CboYplb->Text(), QString("补血药"));
    QCOMPARE(focusedName(), QString("CboYplb"));

    // Saved back unchanged, the price shown with its separator is the number 1250.
    window_->TxtJldw->setText("两");
    WindowFixture::click(window_->Cmdedit);
    QVERIFY(world_->messages().isEmpty());
    const auto rows = rowsOf(world_->environment(), "ycjg");
    QCOMPARE(rows[0].text(0), QString("DG01"));
    QCOMPARE(rows[0].number(2), 1250.0);
    QCOMPARE(rows[0].text(3), QString("两"));
}

// ---- sound handling of texts and failures -----------------------------------------------

void DrugListTest::apostrophesAreStoredFoundAndListed()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill("活血'药", "o'1", "王不留'行", "克", "2");
    WindowFixture::click(window_->CmdSave);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(column(0), QStringList({"O'1"}));
    QCOMPARE(column(1), QStringList({"王不留'行"}));
    QCOMPARE(window_->CboYplb->List(0), QString("活血'药"));

    fill("活血'药", "O'1", "另一'药", "克", "2");      // the code query finds it
    WindowFixture::click(window_->CmdSave);
    QCOMPARE(world_->messages(), QStringList({"药品编码重复"}));

    world_->clearMessages();
    fill("活血'药", "O'2", "王不留'行", "克", "3");    // and so does the name query
    WindowFixture::click(window_->CmdBmxg);
    QVERIFY(world_->messages().isEmpty());
    QCOMPARE(column(0), QStringList({"O'2"}));
    QCOMPARE(world_->environment().count("ycjg"), 1);
}

void DrugListTest::failedWriteKeepsTheInputsAndWritesNothing()
{
    seed(world_->environment());
    {
        dao::Database db = world_->environment().open();
        db.executeSchema("CREATE TRIGGER refuse BEFORE UPDATE ON ycjg BEGIN SELECT RAISE(ABORT,'injected'); END");
    }
    window_ = world_->open<Frmyjwh>("YcqkWh");
    fill("补气药", "HQ02", "黄芪", "两", "9");
    WindowFixture::click(window_->Cmdedit);
    QCOMPARE(world_->messages().size(), 1);   // the database's description
    QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
    QCOMPARE(world_->boxes().shown().back().title, QString());
    QCOMPARE(window_->TxtJldw->Text(), QString("两"));
    QCOMPARE(window_->Txtycdj->Text(), QString("9"));
    QCOMPARE(rowsOf(world_->environment(), "ycjg")[0].text(3), QString("克"));
}

// A price beyond the range of any number once took the program down in the check.
void DrugListTest::priceBeyondAnyRangeIsReportedNotFatal()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    for (forms::CommandButton* button :
         {window_->CmdSave, window_->CmdBmxg, window_->CmdMcxg, window_->Cmdedit, window_->Cmddele}) {
        fill("补气药", "HQ02", "黄芪", "两", "1e999");
        world_->clearMessages();
        WindowFixture::click(button);
        QCOMPARE(world_->messages().last(), QString("药品单价输入错误"));
        QCOMPARE(window_->srnrcw, 1);
        QCOMPARE(window_->Txtycdj->Text(), QString("1e999"));
    }
    const auto rows = rowsOf(world_->environment(), "ycjg");
    QCOMPARE(int(rows.size()), 3);
    QCOMPARE(rows[0].text(3), QString("克"));

    world_->clearMessages();
    window_->Txtycdj->SetFocus();
    WindowFixture::pressEnter(window_->Txtycdj);
    QCOMPARE(world_->messages(), QStringList({"药品单价输入错误"}));
    QCOMPARE(window_->Txtycdj->Text(), QString("1e999"));
    QCOMPARE(focusedName(), QString("Txtycdj"));
}

// Deleted under its own running handler, the window took the program down.
void DrugListTest::closeBoxDuringTheFillWaitsForItsEnd()
{
    seed(world_->environment());
    window_ = world_->open<Frmyjwh>("YcqkWh");
    QAction* menu = world_->mainWindow().menuAction("xtwh");
    const QPointer<Frmyjwh> alive(window_);
    // The close box is pressed while 清屏 reloads the grid, row by row with the pump.
    QTimer::singleShot(0, window_, [this] { window_->subWindow()->close(); });
    WindowFixture::click(window_->CmdQcls);
    QVERIFY(alive);
    QCOMPARE(column(0), QStringList({"DG01", "HQ02", "RS03"}));   // the reload ran to its end
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!alive);                                              // and the window closed after it
    QVERIFY(menu->isEnabled());
    window_ = nullptr;
}

// ---- help and closing -------------------------------------------------------------------

void DrugListTest::helpButtonHandsOverAndActivationReloads()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    WindowFixture::click(window_->Command1);
    QCOMPARE(core::HelpTopic, QString("BM"));
    QVERIFY(!window_->isEnabled());

    world_->environment().insert("ycjg", {"DG01", "当归", 12.5, "克", "补血药"});
    window_->Txtycbm->setText("typed");
    forms::Form::ReturnFromHelp(window_);   // the help window closes
    QVERIFY(window_->isEnabled());
    QCOMPARE(window_->Txtycbm->Text(), QString());
    QCOMPARE(column(0), QStringList({"DG01"}));
}

void DrugListTest::closeBoxGivesTheMenusBack()
{
    window_ = world_->open<Frmyjwh>("YcqkWh");
    QAction* menu = world_->mainWindow().menuAction("xtwh");
    QVERIFY(!menu->isEnabled());
    window_->Unload();
    QCoreApplication::processEvents();
    QVERIFY(menu->isEnabled());
}

QTEST_MAIN(DrugListTest)
#include "drug_list_test.moc"
