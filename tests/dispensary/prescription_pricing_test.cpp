// The prescription pricing window Frmycjj driven as the dispenser drives it: the
// window refusing to open without visits, the visit look-up and its messages in
// order, pricing (rounding, large lines, the stock test at its edge, the
// prescription test, duplicates in any letter case, doses pasted past the key
// filter), taking rows back, the sale cleared on activation, the charge written in grid
// order in one transaction (failed at each write, it writes nothing) and unspoilt by
// clicks while it runs, an apostrophe from end to end, and an overflowing line reported
// in the dose box's form.
#include "dispensary/prescription_pricing.h"
#include "dispensary_support.h"



using dispensary::Frmycjj;
using namespace stocktest;

namespace {
const QString Prescription = QStringLiteral("当归10克 黄芪15克 甘草15克 白术1克\r\n人参10克 王不留'行5克 桂枝6克");

// Drugs (code, name, price, balance: as many on hand as received, at 2 a unit; Gz06 stored
// in mixed case) and two visits of one patient; the first prescribes every drug but 川芎.
void seedPricingWorld(const TestEnvironment& env)
{
    const std::tuple<const char*, const char*, double, double> drugs[] = {{"DG01", "当归", 12.5, 100},
        {"HQ02", "黄芪", 0.8, 1000}, {"O'1", "王不留'行", 2, 30}, {"GC03", "甘草", 0.05, 15}, {"BZ04", "白术", 0.125, 50},
        {"RS05", "人参", 50, 20}, {"Gz06", "桂枝", 0.3, 40}, {"CX07", "川芎", 0.6, 40}};
    for (const auto& [code, name, price, quantity] : drugs) {
        env.insert("ycjg", {code, name, price, "克", "补气药"});
        env.insert("ycyltb", {name, quantity, quantity * 2, quantity});
    }
    env.insert("hzzdzl", {"A001", "内科", QDate(2024, 3, 15), "15/20", 72, 18, "咳嗽", "  ", Prescription, "  ",
                          QDate(2024, 3, 22), "李医生"});
    env.insert("hzzdzl", {"A001", "儿科", QDate(2024, 3, 10), "15/20", 80, 20, "发热", "  ", "甘草5克", "  ",
                          QDate(2024, 3, 17), "王医生"});
}
}  // namespace

class PrescriptionPricingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowFixture>(); core::LoginUser = "药房甲"; }
    void cleanup() { world_.reset(); core::LoginUser.clear(); }

    void withoutVisitsTheWindowClosesAndFreesTheMenus()
    {
        seedDrugList(world_->environment());
        world_->open<Frmycjj>("YcqkXs");
        QCOMPARE(world_->messages(), QStringList{"没有诊断处方，该功能不能使用"});
        QTRY_VERIFY(world_->mainWindow().mdiArea()->subWindowList().isEmpty());
        QVERIFY(menusOn(*world_));
    }

    // The Enter chain of the visit boxes: each department once, sorted; the space swallowed;
    // an empty department goes on to the date. The visit look-up's checks in their order,
    // each with its message and the box it sends the focus to; a visit found (the record
    // number trimmed) shows its prescription on the pricing page. Then pricing's refusals,
    // doses pasted (Ctrl+V gets past the key filter, which lets digits alone in).
    void visitLookUpAndPricingRefusals()
    {
        openWindow(false);
        QCOMPARE(QString::number(window_->CboZdks->ListCount()) + window_->CboZdks->List(0) + window_->CboZdks->List(1),
                 QString("2儿科内科"));
        window_->TxtBlhm->SetFocus();
        walkEnterChain({{window_->TxtBlhm, "A0 01", window_->CboZdks}, {window_->CboZdks, "", window_->MasZdsj}});
        QCOMPARE(window_->TxtBlhm->Text(), QString("A001"));
        const QString noVisit = QStringLiteral("病历号码、诊断科室及诊断时间输入错误");
        const std::tuple<QStringList, QString, forms::Control*, QString> cases[] = {
            {{"", "", "2024-13-45"}, "诊断时间输入错误", window_->MasZdsj, ""},          // before all else
            {{"  ", "内科", "2024-03-15"}, "请输入病历号码", window_->TxtBlhm, ""},
            {{"A001", " ", "2024-03-15"}, "诊断科室请输入诊断科室", window_->CboZdks, ""},
            {{"A001", "内科", "2024-03-14"}, noVisit, window_->TxtBlhm, ""},
            {{"A001", "儿科", "2024-03-10"}, "", window_->Txtycbm, "甘草5克"},
            {{" A001 ", "内科", "2024-03-15"}, "", window_->Txtycbm, Prescription}};
        for (const auto& [typed, message, focus, shown] : cases) {
            world_->clearMessages();
            findVisit(typed[0], typed[1], typed[2]);
            QCOMPARE(world_->messages().join(""), message);
            QCOMPARE(WindowFixture::focusedControl(), focus);
            QCOMPARE(window_->TxtCfnr->Text(), shown);
            QCOMPARE(window_->SSTab1->Tab(), shown.isEmpty() ? 0 : 1);
        }

        window_->TxtYcjl->setText(QString());
        WindowFixture::type(window_->TxtYcjl, "1a2.5- 0");
        QCOMPARE(window_->TxtYcjl->Text(), QString("1250"));
        const QStringList refusals[] = {{"ZZ99", "", "药材编码输入错误，重来！"}, {"", "", "药材编码输入错误，重来！"},
            {"DG01", "", "药材用量输入错误。"}, {"DG01", "-5", "药材用量输入错误。"}, {"DG01", "2.5", "药材用量输入错误。"},
            {"GC03", "16", "库存中此药材余量不足"}, {"CX07", "5", "处方中无此药材"}};
        for (const QStringList& c : refusals) {
            world_->clearMessages();
            window_->Txtycbm->SetFocus();
            window_->Txtycbm->setText(QString());
            WindowFixture::type(window_->Txtycbm, c[0]);
            WindowFixture::pressEnter(window_->Txtycbm);
            if (world_->messages().isEmpty()) {
                paste(window_->TxtYcjl, c[1]);
                WindowFixture::pressEnter(window_->TxtYcjl);
            }
            QCOMPARE(world_->messages(), QStringList{c[2]});
        }
        QCOMPARE(window_->MSFGridyfjg->Rows(), 1);
        QCOMPARE(window_->TxtYchj->Text(), QString("0.00"));

        // A code typed after its look-up leaves no drug found; one drug cannot enter twice,
        // whatever the case of its code or when found by its name.
        world_->clearMessages();
        window_->Txtycbm->setText("DG01");
        WindowFixture::pressEnter(window_->Txtycbm);
        WindowFixture::type(window_->Txtycbm, "2");
        window_->TxtYcjl->setText("5");
        WindowFixture::pressEnter(window_->TxtYcjl);
        QCOMPARE(world_->messages(), QStringList{"药材编码与名称不符"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);

        price("DG01", "10");
        price("GZ06", "20");                                      // stored as "Gz06"
        world_->clearMessages();
        price("dg01", "5");
        QCOMPARE(world_->messages(), QStringList{"当归 的用量已经输过。"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        window_->Txtycmc->setText("桂枝");
        WindowFixture::pressEnter(window_->Txtycmc);
        QCOMPARE(window_->Txtycbm->Text(), QString("Gz06"));
        WindowFixture::type(window_->TxtYcjl, "20");
        WindowFixture::pressEnter(window_->TxtYcjl);
        QCOMPARE(world_->messages().last(), QString("桂枝 的用量已经输过。"));
        QCOMPARE(window_->MSFGridyfjg->Rows(), 3);
        QCOMPARE(window_->TxtYchj->Text(), QString("131.00"));
    }

    // Amounts rounded to the fen (0.05 × 15, 0.125 × 1), rows taken back from the end, the
    // middle and not from the header; totals above 1,000.00; the rows cleared on activation.
    void takeBackTotalsAndActivation()
    {
        openWindow();
        price("GC03", "15");     // 0.75, the whole balance
        price("DG01", "1");      // 12.50
        price("HQ02", "15");     // 12.00
        price("BZ04", "1");      // 0.12, a tie goes to even
        QCOMPARE(window_->TxtYchj->Text(), QString("25.37"));
        QCOMPARE(gridRow(1), "GC03|甘草|15.00|0.05|0.75");
        QCOMPARE(gridRow(4), "BZ04|白术|1.00|0.13|0.12");
        clickGridRow(0);                                         // the header: nothing
        QCOMPARE(window_->MSFGridyfjg->Rows(), 5);
        clickGridRow(4);                                         // the last row
        QCOMPARE(entry(), "BZ04|白术|1.00|25.25");
        clickGridRow(2);                                         // a middle row: the rest moves up
        QCOMPARE(entry(), "DG01|当归|1.00|12.75");
        QCOMPARE(gridRow(1) + "/" + gridRow(2), "GC03|甘草|15.00|0.05|0.75/HQ02|黄芪|15.00|0.80|12.00");
        clickGridRow(2);                                         // the total in plain form
        QCOMPARE(window_->TxtYchj->Text(), QString("0.75"));
        clickGridRow(1);
        QCOMPARE(window_->TxtYchj->Text() + "|" + QString::number(window_->MSFGridyfjg->Rows()), "0|1");

        price("DG01", "90");     // 1,125.00
        price("HQ02", "1000");   // 800.00, the whole balance
        QCOMPARE(window_->TxtYchj->Text(), QString("1,925.00"));
        clickGridRow(2);         // taken back, the dose reads "1,000.00"; Enter prices it as 1000 again
        QCOMPARE(entry(), "HQ02|黄芪|1,000.00|1125");
        WindowFixture::pressEnter(window_->TxtYcjl);
        QCOMPARE(gridRow(2), "HQ02|黄芪|1,000.00|0.80|800.00");
        QCOMPARE(window_->TxtYchj->Text(), QString("1,925.00"));
        QVERIFY(world_->messages().isEmpty());
        world_->activateAnotherAndBack(window_);   // every activation starts a new sale
        QCOMPARE(window_->TxtYchj->Text() + "|" + QString::number(window_->MSFGridyfjg->Rows()), "0.00|1");

        // The dose box reports an error as its number, CR LF and its description, no icon
        // (a line too large for money overflows); the window stays.
        findVisit("A001", "内科", "2024-03-15");
        world_->clearMessages();
        world_->environment().open().executeSchema("UPDATE ycyltb SET ycyl=1e18 WHERE ycbm='人参'");
        price("RS05", "100000000000000");
        QCOMPARE(world_->messages(), QStringList{"6\r\n溢出"});
        QCOMPARE(world_->boxes().shown().front().icon, 0);
        QCOMPARE(window_->MSFGridyfjg->Rows(), 1);
        QCOMPARE(window_->TxtCfnr->Text(), Prescription);
    }

    // The charge failed at each of its writes in turn (a sale row and a balance for each
    // line): each time both tables stay exactly as they were and the grid and total stay
    // for another try. With no write left to fail it writes every line once, in grid
    // order, for the visit found whatever the boxes hold then, and empties the window.
    void chargeWritesTheGridInOrderOrNothing()
    {
        openWindow();
        const TestEnvironment& env = world_->environment();
        env.insert("yccrtb", {QDate(2024, 3, 1), "当归", "购进", "甘肃", "公司", "P1", QDate(2026, 1, 1), " ", " ", 100, 200,
                              0, 0, 0, "张三", "甲"});
        price("RS05", "10");
        price("GC03", "15");
        price("DG01", "4");
        price("o'1", "5");                                       // an apostrophe in code and name
        QCOMPARE(gridRow(1), "RS05|人参|10.00|50.00|500.00");   // above 327.67
        window_->TxtBlhm->setText("B999");
        window_->CboZdks->setText("儿科");
        const auto before = stockTables(env);
        const auto charge = [&] { world_->clearMessages(); WindowFixture::click(window_->Cmdcksf); };
        QCOMPARE(writesFailedInTurn(charge, [&] {
            QCOMPARE(world_->messages().size(), 1);
            QCOMPARE(stockTables(env), before);
            QCOMPARE(gridRow(4) + window_->TxtYchj->Text(), "O'1|王不留'行|5.00|2.00|10.00560.75");
        }), 8);
        QVERIFY(world_->messages().isEmpty());
        const auto written = rowsOf(env, "yccrtb");
        QCOMPARE(written.size(), std::size_t(5));
        for (const auto& [i, drug, dose, amount] : {std::tuple{1, "人参", "10", "500"}, {2, "甘草", "15", "0.75"},
                                                    {3, "当归", "4", "50"}, {4, "王不留'行", "5", "10"}})
            QCOMPARE(written[std::size_t(i)], (QStringList{"2024-03-15", drug, "处方收款出库", "  ", "  ", " ",
                "2050-01-01", "A001", "内科", "0", "0", dose, "0", amount, "李医生", "药房甲"}));
        QCOMPARE(balanceOf(env, "人参"), (Balance{20, 40, 10}));
        QCOMPARE(balanceOf(env, "甘草"), (Balance{15, 30, 0}));
        QCOMPARE(balanceOf(env, "王不留'行").onHand, 25.0);
        QCOMPARE(window_->TxtYchj->Text() + window_->TxtBlhm->Text() + window_->TxtCfnr->Text(), QString("0.00"));
        QCOMPARE(window_->MSFGridyfjg->Rows(), 1);
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        WindowFixture::click(window_->Cmdcksf);                  // an empty grid writes nothing
        QCOMPARE(env.count("yccrtb"), 5);
    }

    // The charge lets events run before its transaction: another visit found then does
    // not change the visit the rows are written for, the clear button does nothing, and
    // the exit button closes the window only once the rows are written.
    void clicksDuringTheChargeCannotSpoilIt()
    {
        openWindow();
        price("DG01", "4");
        price("GC03", "15");
        const QPointer<Frmycjj> alive(window_);
        bool openAfterExit = false;
        QTimer::singleShot(0, window_, [&] {
            findVisit("A001", "儿科", "2024-03-10");
            WindowFixture::click(window_->CmdQcls);
            WindowFixture::click(window_->CmdExit);
            openAfterExit = window_->isVisible() && !menusOn(*world_);
        });
        WindowFixture::click(window_->Cmdcksf);
        QVERIFY(openAfterExit);
        const auto journal = rowsOf(world_->environment(), "yccrtb");
        QCOMPARE(journal.size(), std::size_t(2));
        for (const QStringList& row : journal) QCOMPARE(row[7] + row[8] + row[14], QString("A001内科李医生"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QVERIFY(menusOn(*world_));
    }


private:
    // Opens the window and, unless told not to, finds the visit of A001 to 内科 today.
    void openWindow(bool atVisit = true)
    {
        seedPricingWorld(world_->environment());
        window_ = world_->open<Frmycjj>("YcqkXs");
        QVERIFY(window_);
        if (atVisit) findVisit("A001", "内科", "2024-03-15");
    }
    void findVisit(const QString& recordNumber, const QString& department, const QString& date)
    {
        window_->TxtBlhm->setText(recordNumber);
        window_->CboZdks->setText(department);
        window_->MasZdsj->setText(date);
        WindowFixture::pressEnter(window_->MasZdsj);
    }
    // Enter a code and a dose and press Enter in both boxes, as the dispenser does.
    void price(const QString& code, const QString& dose)
    {
        window_->Txtycbm->SetFocus();
        window_->Txtycbm->setText(QString());
        WindowFixture::type(window_->Txtycbm, code);
        WindowFixture::pressEnter(window_->Txtycbm);
        WindowFixture::type(window_->TxtYcjl, dose);
        WindowFixture::pressEnter(window_->TxtYcjl);
    }
    void clickGridRow(int row) { window_->SSTab1->setTab(0); WindowFixture::clickGridRow(window_->MSFGridyfjg, row); }
    QString gridRow(int row) const { return stocktest::gridRow(window_->MSFGridyfjg, row); }
    // The entry boxes taken back into and the total: code, name, dose, total.
    QString entry() const
    {
        return window_->Txtycbm->Text() + '|' + window_->Txtycmc->Text() + '|' + window_->TxtYcjl->Text() + '|' + window_->TxtYchj->Text();
    }

    std::unique_ptr<WindowFixture> world_;
    Frmycjj* window_ = nullptr;
};

QTEST_MAIN(PrescriptionPricingTest)
#include "prescription_pricing_test.moc"
