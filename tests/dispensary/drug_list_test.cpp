// The drug code and price list window Frmyjwh driven as the user drives it: the list
// and the category choices it shows, the Enter chain, the ordered input check under
// every button, adding, the refusals of the add, the three kinds of change and the
// delete, the changes themselves, the grid click that fills the inputs, apostrophes in
// codes and names, a failing write that keeps the inputs, a price beyond any range, the
// close box during a reload, and the help button.
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
#include <QtTest>

using dispensary::Frmyjwh;
using stocktest::rowsOf;

class DrugListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    void listShowsTheTableByCodeWithFormattedPrices()
    {
        seed();
        QCOMPARE(grid(), Seeded);
        QStringList categories;
        for (int i = 0; i < window_->CboYplb->ListCount(); ++i) categories << window_->CboYplb->List(i);
        QCOMPARE(categories, QStringList({"补气药", "补血药"}));
        QVERIFY(world_->messages().isEmpty());
    }

    void enterChainMovesAlongTheInputs()
    {
        open();
        window_->CboYplb->SetFocus();
        WindowFixture::type(window_->CboYplb, "补 气药");
        QCOMPARE(window_->CboYplb->Text(), QString("补气药"));   // the space is swallowed
        WindowFixture::pressEnter(window_->CboYplb);
        QCOMPARE(focused(), window_->Txtycbm);
        WindowFixture::type(window_->Txtycbm, "hq 02");
        QCOMPARE(window_->Txtycbm->Text(), QString("hq02"));
        WindowFixture::pressEnter(window_->Txtycbm);
        QCOMPARE(focused(), window_->Txtycmc);
        window_->Txtycmc->setText("黄芪");
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(focused(), window_->TxtJldw);
        window_->TxtJldw->setText("克");
        WindowFixture::pressEnter(window_->TxtJldw);
        QCOMPARE(focused(), window_->Txtycdj);
        QCOMPARE(window_->Txtycdj->SelText(), QString("0.00"));
        WindowFixture::type(window_->Txtycdj, "1250");
        WindowFixture::pressEnter(window_->Txtycdj);
        QCOMPARE(window_->Txtycdj->Text(), QString("1,250.00"));
        QCOMPARE(focused(), window_->CmdSave);
        QVERIFY(world_->messages().isEmpty());
    }

    void enterChainRefusals()
    {
        open();
        window_->CboYplb->SetFocus();
        WindowFixture::pressEnter(window_->CboYplb);
        QCOMPARE(world_->messages(), QStringList({"输入药品类别，此项必须输入。"}));
        QCOMPARE(focused(), window_->CboYplb);

        world_->clearMessages();
        for (forms::TextBox* box : {window_->Txtycbm, window_->Txtycmc}) {   // empty boxes: nothing
            box->SetFocus();
            WindowFixture::pressEnter(box);
            QCOMPARE(focused(), box);
        }
        QVERIFY(world_->messages().isEmpty());

        for (const QString price : {"abc", "", "1e999"}) {   // 1e999 once took the program down
            world_->clearMessages();
            window_->Txtycdj->setText(price);
            window_->Txtycdj->SetFocus();
            WindowFixture::pressEnter(window_->Txtycdj);
            QCOMPARE(world_->messages(), QStringList({"药品单价输入错误"}));
            QCOMPARE(focused(), window_->Txtycdj);
            QCOMPARE(window_->Txtycdj->SelText(), price);
        }
    }

    void inputCheckStopsAtTheFirstFailure_data()
    {
        QTest::addColumn<QStringList>("inputs");   // category, code, name, unit, price
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("priceSelected");
        QTest::newRow("all empty") << QStringList{"", "", "", "", ""} << "输入药品类别" << "Txtycmc" << false;
        QTest::newRow("blank category") << QStringList{"  ", "A1", "当归", "克", "1"} << "输入药品类别" << "Txtycmc" << false;
        QTest::newRow("no name") << QStringList{"补血药", "", "", "", ""} << "输入药品名称" << "Txtycmc" << false;
        QTest::newRow("no code") << QStringList{"补血药", " ", "当归", "", ""} << "输入药品编码" << "Txtycbm" << false;
        QTest::newRow("letters") << QStringList{"补血药", "A1", "当归", "", "abc"} << "药品单价输入错误" << "Txtycdj" << true;
        QTest::newRow("empty price") << QStringList{"补血药", "A1", "当归", "克", ""} << "药品单价输入错误" << "Txtycdj" << false;
        QTest::newRow("beyond any range") << QStringList{"补血药", "A1", "当归", "克", "1e999"} << "药品单价输入错误" << "Txtycdj" << true;
        QTest::newRow("zero") << QStringList{"补血药", "A1", "当归", "", "0"} << "药品单价不能为零或小于零" << "Txtycdj" << true;
        QTest::newRow("negative") << QStringList{"补血药", "A1", "当归", "克", "-5"} << "药品单价不能为零或小于零" << "Txtycdj" << true;
        QTest::newRow("no unit") << QStringList{"补血药", "A1", "当归", " ", "1,250.00"} << "输入药品计量单位" << "TxtJldw" << false;
    }

    // Under every button that writes (the delete after its question), nothing written.
    void inputCheckStopsAtTheFirstFailure()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(bool, priceSelected);
        open();
        for (const QString& name : {"CmdSave", "CmdBmxg", "CmdMcxg", "Cmdedit", "Cmddele"}) {
            fill(inputs);
            world_->clearMessages();
            WindowFixture::click(button(name));
            QStringList expected{message};
            if (name == "Cmddele") expected.prepend("确实要删除此条信息吗？");
            QCOMPARE(world_->messages(), expected);
            QCOMPARE(focused(), control(focus));
            QCOMPARE(window_->srnrcw, 1);
            if (priceSelected) QCOMPARE(window_->Txtycdj->SelText(), window_->Txtycdj->Text());
        }
        QCOMPARE(world_->environment().count("ycjg"), 0);
    }

    void addStoresTrimmedUpperCaseCodeAndThePriceShown()
    {
        open();
        fill({" 补血药 ", " ab12 ", " 当归 ", " 克 ", "1,250.00"});
        WindowFixture::click(window_->CmdSave);
        QVERIFY(world_->messages().isEmpty());
        const auto rows = rowsOf(world_->environment(), "ycjg");
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].texts(), QStringList({"AB12", "当归", "1250", "克", "补血药"}));
        // The window is reset: inputs cleared, list and categories reloaded.
        QCOMPARE(window_->Txtycbm->Text(), QString());
        QCOMPARE(window_->Txtycdj->Text(), QString("0.00"));
        QCOMPARE(grid(), QStringList({"AB12|当归|1,250.00|克|补血药"}));
        QCOMPARE(window_->CboYplb->ListCount(), 1);
        QCOMPARE(focused(), window_->CboYplb);
    }

    // Codes and names are compared without regard to letter case (Gz06 / Radix stored).
    void refusals_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QStringList unknown{"补血药", "ZZ99", "白术", "克", "12"};
        QTest::newRow("add: code and name used, code first")
            << "CmdSave" << QStringList{"补血药", "dg01", "黄芪", "克", "3"} << "药品编码重复" << "Txtycbm";
        QTest::newRow("add: name used") << "CmdSave" << QStringList{"补血药", "NEW1", "黄芪", "克", "3"} << "药品名称重复" << "Txtycmc";
        QTest::newRow("add: code in other case")
            << "CmdSave" << QStringList{"解表药", "gz06", "桂枝", "克", "3"} << "药品编码重复" << "Txtycbm";
        QTest::newRow("add: name in other case")
            << "CmdSave" << QStringList{"解表药", "NEW1", "RADIX", "克", "3"} << "药品名称重复" << "Txtycmc";
        QTest::newRow("code change: its own code")
            << "CmdBmxg" << QStringList{"补血药", "DG01", "当归", "克", "12"} << "药品编码重复" << "Txtycbm";
        QTest::newRow("code change: unknown name") << "CmdBmxg" << unknown << "此条记录尚未保存" << "CmdSave";
        QTest::newRow("name change: its own name")
            << "CmdMcxg" << QStringList{"补血药", "DG01", "当归", "克", "12"} << "药品名称重复" << "Txtycmc";
        QTest::newRow("name change: unknown code") << "CmdMcxg" << unknown << "此条记录尚未保存" << "CmdSave";
        QTest::newRow("other change: unknown code") << "Cmdedit" << unknown << "此条记录尚未保存" << "CmdSave";
        QTest::newRow("delete: unknown code") << "Cmddele" << unknown << "此条记录尚未保存" << "CmdSave";
    }

    void refusals()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        world_->environment().insert("ycjg", {"Gz06", "Radix", 0.3, "克", "解表药"});
        seed();
        fill(inputs);
        WindowFixture::click(this->button(button));
        QCOMPARE(world_->messages().last(), message);
        QCOMPARE(focused(), control(focus));
        if (focus != "CmdSave") QCOMPARE(static_cast<forms::TextBox*>(control(focus))->SelText(),
                                         focus == "Txtycbm" ? inputs[1].toUpper() : inputs[2]);
        QCOMPARE(world_->environment().count("ycjg"), 4);
        QCOMPARE(window_->Txtycmc->Text(), inputs[2]);   // the inputs stay for a correction
    }

    void changes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("code of the drug found by name")
            << "CmdBmxg" << QStringList{"滋补药", "dg09", "当归", "两", "15"}
            << QStringList{"DG09|当归|15.00|两|滋补药", Seeded[1], Seeded[2]};
        QTest::newRow("name of the drug found by code")
            << "CmdMcxg" << QStringList{"补气药", "rs03", "红参", "支", "40"}
            << QStringList{Seeded[0], Seeded[1], "RS03|红参|40.00|支|补气药"};
        QTest::newRow("other fields, code and name kept")
            << "Cmdedit" << QStringList{"补益药", "HQ02", "北芪", "两", "1.5"}
            << QStringList{Seeded[0], "HQ02|黄芪|1.50|两|补益药", Seeded[2]};
        QTest::newRow("delete") << "Cmddele" << QStringList{"补气药", "HQ02", "黄芪", "克", "0.80"}
                                << QStringList{Seeded[0], Seeded[2]};
    }

    void changes()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, list);
        seed();
        fill(inputs);
        WindowFixture::click(this->button(button));
        QCOMPARE(world_->messages(), button == "Cmddele" ? QStringList{"确实要删除此条信息吗？"} : QStringList{});
        QCOMPARE(grid(), list);
        QCOMPARE(focused(), button == "Cmddele" ? static_cast<forms::Control*>(window_->Txtycbm) : window_->CboYplb);
    }

    // No to the delete's question: not even the input check runs.
    void deleteAsksFirst()
    {
        seed();
        fill({"补气药", "HQ02", "黄芪", "", "0.80"});
        world_->answer({forms::vbNo});
        WindowFixture::click(window_->Cmddele);
        QCOMPARE(world_->messages(), QStringList({"确实要删除此条信息吗？"}));
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbQuestion);
        QCOMPARE(world_->environment().count("ycjg"), 3);
    }

    void gridClickFillsTheInputsButNotFromTheHeader()
    {
        seed();
        WindowFixture::clickGridRow(window_->MSFGridBmmc, 0);
        QCOMPARE(window_->Txtycbm->Text(), QString());
        WindowFixture::clickGridRow(window_->MSFGridBmmc, 1);
        QCOMPARE((QStringList{window_->Txtycbm->Text(), window_->Txtycmc->Text(), window_->Txtycdj->Text(),
                              window_->TxtJldw->Text(), window_->CboYplb->Text()}),
                 Seeded[0].split('|'));
        QCOMPARE(focused(), window_->CboYplb);

        // Saved back, the price shown with its separator is the number 1250.
        window_->TxtJldw->setText("两");
        WindowFixture::click(window_->Cmdedit);
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(rowsOf(world_->environment(), "ycjg")[0].texts(), QStringList({"DG01", "当归", "1250", "两", "补血药"}));
    }

    void apostrophesAreStoredFoundAndListed()
    {
        open();
        fill({"活血'药", "o'1", "王不留'行", "克", "2"});
        WindowFixture::click(window_->CmdSave);
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(grid(), QStringList({"O'1|王不留'行|2.00|克|活血'药"}));
        QCOMPARE(window_->CboYplb->List(0), QString("活血'药"));

        fill({"活血'药", "O'1", "另一'药", "克", "2"});      // the code query finds it
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(world_->messages(), QStringList({"药品编码重复"}));

        world_->clearMessages();
        fill({"活血'药", "O'2", "王不留'行", "克", "3"});    // and so does the name query
        WindowFixture::click(window_->CmdBmxg);
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(grid(), QStringList({"O'2|王不留'行|3.00|克|活血'药"}));
    }

    void failedWriteKeepsTheInputsAndWritesNothing()
    {
        world_->environment().open().executeSchema(
            "CREATE TRIGGER refuse BEFORE UPDATE ON ycjg BEGIN SELECT RAISE(ABORT,'injected'); END");
        seed();
        fill({"补气药", "HQ02", "黄芪", "两", "9"});
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(world_->messages().size(), 1);   // the database's description
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
        QCOMPARE(world_->boxes().shown().back().title, QString());
        QCOMPARE(window_->TxtJldw->Text(), QString("两"));
        QCOMPARE(window_->Txtycdj->Text(), QString("9"));
        QCOMPARE(grid(), Seeded);
    }

    // Deleted under its own running handler, the window took the program down.
    void closeBoxDuringTheReloadWaitsForItsEnd()
    {
        seed();
        const QPointer<Frmyjwh> alive(window_);
        // The close box is pressed while 清屏 reloads the grid, row by row with the pump.
        QTimer::singleShot(0, window_, [this] { window_->subWindow()->close(); });
        WindowFixture::click(window_->CmdQcls);
        QVERIFY(alive);
        QCOMPARE(grid(), Seeded);                               // the reload ran to its end
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);                                        // and the window closed after it
        QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
    }

    void helpButtonHandsOverAndActivationReloads()
    {
        open();
        WindowFixture::click(window_->Command1);
        QCOMPARE(core::HelpTopic, QString("BM"));
        QVERIFY(!window_->isEnabled());
        world_->environment().insert("ycjg", {"DG01", "当归", 12.5, "克", "补血药"});
        window_->Txtycbm->setText("typed");
        forms::Form::ReturnFromHelp(window_);   // the help window closes
        QVERIFY(window_->isEnabled());
        QCOMPARE(window_->Txtycbm->Text(), QString());
        QCOMPARE(grid(), QStringList({"DG01|当归|12.50|克|补血药"}));
    }

private:
    // The seeded drugs as the list shows them.
    inline static const QStringList Seeded{"DG01|当归|1,250.00|克|补血药", "HQ02|黄芪|0.80|克|补气药",
                                           "RS03|人参|36.00|支|补气药"};

    void open() { window_ = world_->open<Frmyjwh>("YcqkWh"); }
    // Seeds are put in before the window opens, as its activation reads the table.
    void seed()
    {
        world_->environment().insert("ycjg", {"DG01", "当归", 1250.0, "克", "补血药"});
        world_->environment().insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
        world_->environment().insert("ycjg", {"RS03", "人参", 36.0, "支", "补气药"});
        open();
    }
    // category, code, name, unit, price
    void fill(const QStringList& inputs)
    {
        window_->CboYplb->setText(inputs[0]);
        window_->Txtycbm->setText(inputs[1]);
        window_->Txtycmc->setText(inputs[2]);
        window_->TxtJldw->setText(inputs[3]);
        window_->Txtycdj->setText(inputs[4]);
    }
    // The list's rows below the header, the cells of each joined by '|'.
    QStringList grid() const
    {
        QStringList rows;
        for (int row = 1; row < window_->MSFGridBmmc->Rows(); ++row) {
            QStringList cells;
            for (int col = 0; col < 5; ++col) cells << window_->MSFGridBmmc->TextMatrix(row, col);
            rows << cells.join('|');
        }
        return rows;
    }
    forms::Control* focused() const { return WindowFixture::focusedControl(); }
    forms::CommandButton* button(const QString& name) const
    {
        const std::map<QString, forms::CommandButton*> buttons{{"CmdSave", window_->CmdSave},
            {"CmdBmxg", window_->CmdBmxg}, {"CmdMcxg", window_->CmdMcxg}, {"Cmdedit", window_->Cmdedit},
            {"Cmddele", window_->Cmddele}};
        return buttons.at(name);
    }
    forms::Control* control(const QString& name) const
    {
        const std::map<QString, forms::Control*> controls{{"CboYplb", window_->CboYplb},
            {"Txtycbm", window_->Txtycbm}, {"Txtycmc", window_->Txtycmc}, {"TxtJldw", window_->TxtJldw},
            {"Txtycdj", window_->Txtycdj}, {"CmdSave", window_->CmdSave}};
        return controls.at(name);
    }

    std::unique_ptr<WindowFixture> world_;
    Frmyjwh* window_ = nullptr;
};

QTEST_MAIN(DrugListTest)
#include "drug_list_test.moc"
