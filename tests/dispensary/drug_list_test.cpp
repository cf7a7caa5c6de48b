// The drug code and price list window Frmyjwh driven as the user drives it: the Enter
// chain, the ordered input check under every button, adding, the refusals of the add,
// the three kinds of change and the delete, the grid click that fills the inputs,
// apostrophes in codes and names, a failing write that keeps the inputs, the close box
// during a reload or an export; and its 打印 button read back from the workbook it
// saves, an empty list writing nothing, a failure leaving the button usable.
#include "dispensary/drug_list.h"
#include "dispensary/drug_list_export.h"
#include "dispensary_support.h"

#include "platform/win/paths.h"


using dispensary::Frmyjwh;
using namespace stocktest;

class DrugListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); }
    void cleanup() { world_.reset(); }

    // An empty category refused; the space is swallowed; the price is selected on arrival
    // and shown with separators. The input check stops at the first failure under every
    // button that writes (the delete after its question), nothing written. Then an add: the
    // code trimmed and upper-cased, the price as the number shown; the window reset.
    // Apostrophes in codes and names are stored, found by both queries and listed.
    void enterChainInputCheckAndAdd()
    {
        open();
        window_->CboYplb->SetFocus();
        WindowFixture::pressEnter(window_->CboYplb);
        QCOMPARE(world_->messages(), QStringList({"输入药品类别，此项必须输入。"}));
        QCOMPARE(focused(), window_->CboYplb);
        walkEnterChain({{window_->CboYplb, "补 气药", window_->Txtycbm}, {window_->Txtycbm, "hq 02", window_->Txtycmc},
            {window_->Txtycmc, "黄芪", window_->TxtJldw}, {window_->TxtJldw, "克", window_->Txtycdj}});
        QCOMPARE(window_->Txtycdj->SelText(), QString("0.00"));
        walkEnterChain({{window_->Txtycdj, "1250", window_->CmdSave}});
        QCOMPARE(window_->CboYplb->Text() + window_->Txtycbm->Text() + window_->Txtycdj->Text(), QString("补气药hq021,250.00"));

        const std::tuple<QStringList, const char*, forms::Control*> cases[] = {   // category, code, name, unit, price
            {{"", "", "", "", ""}, "输入药品类别", window_->Txtycmc},
            {{"补血药", "", "", "", ""}, "输入药品名称", window_->Txtycmc},
            {{"补血药", " ", "当归", "", ""}, "输入药品编码", window_->Txtycbm},
            {{"补血药", "A1", "当归", "", "abc"}, "药品单价输入错误", window_->Txtycdj},
            {{"补血药", "A1", "当归", "克", "1e999"}, "药品单价输入错误", window_->Txtycdj},   // once took the program down
            {{"补血药", "A1", "当归", "", "0"}, "药品单价不能为零或小于零", window_->Txtycdj},
            {{"补血药", "A1", "当归", "克", "-5"}, "药品单价不能为零或小于零", window_->Txtycdj},
            {{"补血药", "A1", "当归", " ", "1,250.00"}, "输入药品计量单位", window_->TxtJldw}};
        for (const auto& [inputs, message, focus] : cases) {
            for (forms::CommandButton* button : {window_->CmdSave, window_->CmdBmxg, window_->CmdMcxg, window_->Cmdedit, window_->Cmddele}) {
                fill(inputs);
                world_->clearMessages();
                WindowFixture::click(button);
                QCOMPARE(world_->messages().last(), QString(message));
                QCOMPARE(focused(), focus);
                QCOMPARE(window_->srnrcw, 1);
            }
        }
        QCOMPARE(world_->environment().count("ycjg"), 0);

        world_->clearMessages();
        fill({" 补血药 ", " ab12 ", " 当归 ", " 克 ", "1,250.00"});
        WindowFixture::click(window_->CmdSave);
        QVERIFY(world_->messages().isEmpty());
        QCOMPARE(rowsOf(world_->environment(), "ycjg"), (std::vector<QStringList>{{"AB12", "当归", "1250", "克", "补血药"}}));
        QCOMPARE(window_->Txtycbm->Text() + window_->Txtycdj->Text(), QString("0.00"));
        QCOMPARE(grid(), QStringList({"AB12|当归|1,250.00|克|补血药"}));
        QCOMPARE(window_->CboYplb->ListCount(), 1);
        QCOMPARE(focused(), window_->CboYplb);

        fill({"活血'药", "o'1", "王不留'行", "克", "2"});
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(grid().last() + window_->CboYplb->List(1), QString("O'1|王不留'行|2.00|克|活血'药活血'药"));
        fill({"活血'药", "O'1", "另一'药", "克", "2"});      // the code query finds it
        WindowFixture::click(window_->CmdSave);
        QCOMPARE(world_->messages(), QStringList({"药品编码重复"}));
        fill({"活血'药", "O'2", "王不留'行", "克", "3"});    // and so does the name query
        WindowFixture::click(window_->CmdBmxg);
        QCOMPARE(grid().last(), QString("O'2|王不留'行|3.00|克|活血'药"));
    }

    // Codes and names are compared without regard to letter case (Gz06 / Radix stored).
    void refusals()
    {
        world_->environment().insert("ycjg", {"Gz06", "Radix", 0.3, "克", "解表药"});
        seed();
        const QStringList unknown{"补血药", "ZZ99", "白术", "克", "12"};
        const QStringList own{"补血药", "DG01", "当归", "克", "12"};
        const Frmyjwh* w = window_;
        std::vector<std::tuple<forms::CommandButton*, QStringList, const char*, forms::Control*>> cases{
            {w->CmdSave, {"补血药", "dg01", "黄芪", "克", "3"}, "药品编码重复", w->Txtycbm},   // code first
            {w->CmdSave, {"补血药", "NEW1", "黄芪", "克", "3"}, "药品名称重复", w->Txtycmc},
            {w->CmdSave, {"解表药", "gz06", "桂枝", "克", "3"}, "药品编码重复", w->Txtycbm},
            {w->CmdSave, {"解表药", "NEW1", "RADIX", "克", "3"}, "药品名称重复", w->Txtycmc},
            {w->CmdBmxg, own, "药品编码重复", w->Txtycbm}, {w->CmdMcxg, own, "药品名称重复", w->Txtycmc}};
        for (forms::CommandButton* button : {w->CmdBmxg, w->CmdMcxg, w->Cmdedit, w->Cmddele})
            cases.emplace_back(button, unknown, "此条记录尚未保存", w->CmdSave);
        for (const auto& [button, inputs, message, focus] : cases) {
            fill(inputs);
            world_->clearMessages();
            WindowFixture::click(button);
            QCOMPARE(world_->messages().last(), QString(message));
            QCOMPARE(focused(), focus);
            QCOMPARE(window_->Txtycmc->Text(), inputs[2]);   // the inputs stay for a correction
        }
        QCOMPARE(world_->environment().count("ycjg"), 4);
    }

    // The list by code, its categories sorted; a click fills the inputs, the header none.
    // No to the delete's question writes nothing; each change and the delete as asked; a
    // refused write shows the database's description and keeps the inputs.
    void gridClickAndChanges()
    {
        seed();
        QCOMPARE(window_->CboYplb->List(0) + window_->CboYplb->List(1), QString("补气药补血药"));
        WindowFixture::clickGridRow(window_->MSFGridBmmc, 0);
        QCOMPARE(window_->Txtycbm->Text(), QString());
        WindowFixture::clickGridRow(window_->MSFGridBmmc, 1);
        QCOMPARE((QStringList{window_->Txtycbm->Text(), window_->Txtycmc->Text(), window_->Txtycdj->Text(),
                              window_->TxtJldw->Text(), window_->CboYplb->Text()}).join('|'), Seeded[0]);
        QCOMPARE(focused(), window_->CboYplb);
        fill({"补气药", "HQ02", "黄芪", "", "0.80"});
        world_->answer({forms::vbNo});
        WindowFixture::click(window_->Cmddele);
        QCOMPARE(world_->messages(), QStringList({"确实要删除此条信息吗？"}));
        QCOMPARE(grid(), Seeded);
        const std::tuple<forms::CommandButton*, QStringList, QStringList> cases[] = {
            {window_->CmdBmxg, {"滋补药", "dg09", "当归", "两", "15"}, {"DG09|当归|15.00|两|滋补药", Seeded[1], Seeded[2]}},
            {window_->CmdMcxg, {"补气药", "rs03", "红参", "支", "40"}, {"DG09|当归|15.00|两|滋补药", Seeded[1], "RS03|红参|40.00|支|补气药"}},
            {window_->Cmdedit, {"补益药", "HQ02", "北芪", "两", "1.5"}, {"DG09|当归|15.00|两|滋补药", "HQ02|黄芪|1.50|两|补益药",
                "RS03|红参|40.00|支|补气药"}},
            {window_->Cmddele, {"补气药", "HQ02", "黄芪", "克", "0.80"}, {"DG09|当归|15.00|两|滋补药", "RS03|红参|40.00|支|补气药"}}};
        for (const auto& [button, inputs, list] : cases) {
            fill(inputs);
            world_->clearMessages();
            WindowFixture::click(button);
            const bool deleting = button == window_->Cmddele;
            QCOMPARE(world_->messages().size(), deleting ? 1 : 0);
            QCOMPARE(grid(), list);
            QCOMPARE(focused(), deleting ? static_cast<forms::Control*>(window_->Txtycbm) : window_->CboYplb);
        }
        world_->environment().open().executeSchema(
            "CREATE TRIGGER refuse BEFORE UPDATE ON ycjg BEGIN SELECT RAISE(ABORT,'injected'); END");
        fill({"补气药", "RS03", "红参", "两", "9"});
        world_->clearMessages();
        WindowFixture::click(window_->Cmdedit);
        QCOMPARE(world_->messages().size(), 1);
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
        QCOMPARE(window_->TxtJldw->Text() + window_->Txtycdj->Text(), QString("两9"));
        QCOMPARE(grid().last(), QString("RS03|红参|40.00|支|补气药"));
    }

    // Deleted under its own running handler, the window took the program down: the
    // close box pressed while 清屏 reloads the grid (row by row with the pump) or while
    // 打印 writes the rows closes the window once the handler is done.
    void closeBoxDuringTheReloadOrTheExportWaitsForItsEnd()
    {
        for (const bool exporting : {false, true}) {
            seed();
            const QPointer<Frmyjwh> alive(window_);
            QTimer::singleShot(0, window_, [this] { window_->subWindow()->close(); });
            WindowFixture::click(exporting ? window_->CmdExit : window_->CmdQcls);
            QVERIFY(alive);
            QCOMPARE(grid(), Seeded);                               // the reload ran to its end
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!alive);
            QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
            world_->environment().open().execute("delete from ycjg");
        }
        QCOMPARE(XlsxReader(workbookPath()).text("A7"), QString("RS03"));
    }

    // Headers in row 2, the listed drugs from row 5 in columns A to D (no category), the
    // prices as numbers in their format, codes, names and units as texts however they
    // look, the final widths; a failure reported, the button back.
    void exportWritesTheListedDrugs()
    {
        open();
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages(), QStringList({"没有要打印的内容"}));
        QVERIFY(!QFile::exists(workbookPath()));
        world_->environment().insert("ycjg", {"0012", "甘草", 5.0, "10", "补气药"});
        seed(false);
        WindowFixture::click(window_->CmdQcls);
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages().last(), QString("生成图表已经存放在我的文档中，请查收"));
        QCOMPARE(world_->clock().waited, 4.0);   // the pause after printing, before the save
        QVERIFY(window_->CmdExit->isEnabled());
        const XlsxReader book(workbookPath());
        const QStringList expected[] = {{"药品编码", "药品名称", "药品价格", "计量单位"}, {"0012", "甘草", "5", "10"},
                                        {"DG01", "当归", "1250", "克"}, {"HQ02", "黄芪", "0.8", "克"}, {"RS03", "人参", "36", "支"}};
        const double widths[] = {8.8, 20, 9, 9};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) {
                const auto cell = book.cell(QChar('A' + c) + QString::number(r ? r + 4 : 2));
                QCOMPARE(cell->text, expected[r][c]);
                const bool price = r && c == 2;
                QCOMPARE(cell->kind, price ? XlsxReader::Cell::Kind::Number : XlsxReader::Cell::Kind::Text);
                QCOMPARE(cell->numberFormat, QString(price ? "#,##0.00_ " : ""));
            }
        for (int c = 0; c < 4; ++c) QVERIFY(qAbs(*book.columnWidth(c + 1) - widths[c]) < 1.0);
        QVERIFY(!book.cell("E5") && !book.cell("A3") && !book.cell("A9"));

        // A folder of the workbook's name, with something in it, cannot be cleared away.
        QVERIFY(QFile::remove(workbookPath()) && QDir().mkpath(workbookPath() + "/kept"));
        world_->clearMessages();
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages().size(), 1);
        QVERIFY(window_->CmdExit->isEnabled());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
    }

private:
    // The seeded drugs as the list shows them.
    inline static const QStringList Seeded{"DG01|当归|1,250.00|克|补血药", "HQ02|黄芪|0.80|克|补气药",
                                           "RS03|人参|36.00|支|补气药"};

    void open() { window_ = world_->open<Frmyjwh>("YcqkWh"); }
    // Seeds are put in, out of order, before the window opens, as its activation reads the table.
    void seed(bool opening = true)
    {
        world_->environment().insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
        world_->environment().insert("ycjg", {"DG01", "当归", 1250.0, "克", "补血药"});
        world_->environment().insert("ycjg", {"RS03", "人参", 36.0, "支", "补气药"});
        if (opening) open();
    }
    // category, code, name, unit, price
    void fill(const QStringList& inputs)
    {
        window_->CboYplb->setText(inputs[0]);
        int i = 0;
        for (forms::TextBox* box : {window_->Txtycbm, window_->Txtycmc, window_->TxtJldw, window_->Txtycdj}) box->setText(inputs[++i]);
    }
    QStringList grid() const { return gridRows(window_->MSFGridBmmc); }
    forms::Control* focused() const { return WindowFixture::focusedControl(); }
    QString workbookPath() const { return win::hostPath(dispensary::DrugListWorkbook); }

    std::unique_ptr<WindowFixture> world_;
    Frmyjwh* window_ = nullptr;
};

QTEST_MAIN(DrugListTest)
#include "drug_list_test.moc"
