// The stock queries window Frmyckc driven as the user drives it, and its four
// workbooks read back: defaults and their reset on activation, the code look-up, the
// date checks, the access keys around a message, each report's headers, rows,
// formats, widths and font, a report written again replacing only its own file, and a
// failed report leaving the earlier file intact.
#include "dispensary/stock_queries.h"
#include "stock_window_driver.h"



using dispensary::Frmyckc;
using namespace stocktest;

namespace {

const QString Range = QStringLiteral("2023-07-29 至 2024-03-15");   // the default range
const QString Done = QStringLiteral("生成图表已经存放在我的文档中，请查收");

void journal(const TestEnvironment& env, const char* date, const QString& drug, const char* kind,
             double in, double out, const char* expiry = "2025-06-30")
{
    env.insert("yccrtb", {date, drug, kind, "亳州", "药材公司", "B1", expiry, "A001", "内科", in, in * 2,
                          out, out * 0.5, out * 3, "张", "李"});
}

}  // namespace

class StockQueriesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        driver_ = std::make_unique<StockWindowDriver<Frmyckc>>("Yckc");
        window_ = driver_->window;
        journal(env(), "2024-01-05", "黄芪", "购进", 10, 0);
        journal(env(), "2024-01-06", "当归", "购进", 5, 0);
        journal(env(), "2024-02-01", "当归", "出库", 0, 2);
        journal(env(), "2024-01-10", "当归", "处方收款出库", 0, 1);
        journal(env(), "2022-01-10", "当归", "购进", 7, 0);        // before the range
        env().insert("ycyltb", {"黄芪", 10, 20, 10});
        env().insert("ycyltb", {"当归", 12, 24, 2});
    }
    void cleanup() { driver_.reset(); }

    // The defaults come back on every activation, which keeps the option; codes looked up
    // in lower case, with an apostrophe, or unknown. The date checks by Enter or by the
    // query button; the end date has two texts.
    void defaultsLookUpsAndDateChecks()
    {
        QVERIFY(window_->OptYcrk->Value());
        QCOMPARE(window_->TxtQssj->Text() + "|" + window_->TxtJssj->Text(), QString("2023-07-29|2024-03-15"));
        window_->OptCkrk->setValue(true);
        driver_->lookUpCode("DG01");
        window_->TxtQssj->setText("2024-01-01");
        world().activateAnotherAndBack(window_);
        QVERIFY(window_->OptCkrk->Value());
        QCOMPARE(window_->Txtycbm->Text() + window_->Txtycmc->Text(), QString());
        QCOMPARE(window_->TxtQssj->Text(), QString("2023-07-29"));

        for (const QString& typed : {"dg01", "o'1", "XX9"}) {
            window_->Txtycbm->setText(QString());
            world().clearMessages();
            driver_->lookUpCode(typed);
            QCOMPARE(window_->Txtycbm->Text(), typed.toUpper());
            const bool found = typed != "XX9";
            QCOMPARE(window_->Txtycmc->Text(), QString(found ? (typed == "dg01" ? "当归" : "王不留'行") : ""));
            QCOMPARE(world().messages().join(""), QString(found ? "" : "药材编码输入错误"));
            QCOMPARE(WindowFixture::focusedControl(), found ? static_cast<forms::Control*>(window_->TxtQssj) : window_->Txtycbm);
        }

        const std::tuple<forms::MaskEdBox*, const char*, bool, const char*> cases[] = {
            {window_->TxtQssj, "2024-13-01", true, "查询起始时间输入错误"},
            {window_->TxtJssj, "2024-02-30", true, "查询载止时间输入错误"},
            {window_->TxtQssj, "2024-03-__", false, "查询起始时间输入错误"},   // prompt characters
            {window_->TxtJssj, "2024-02-30", false, "查询结束时间输入错误"}};
        for (const auto& [box, text, byEnter, message] : cases) {
            WindowFixture::click(window_->CmdQcls);
            box->setText(text);
            world().clearMessages();
            if (byEnter) box->SetFocus();
            byEnter ? WindowFixture::pressEnter(box) : WindowFixture::click(window_->CmdSeek);
            QCOMPARE(world().messages(), QStringList{message});
            QCOMPARE(WindowFixture::focusedControl(), box);
            QCOMPARE(box->SelLength(), 10);
        }
        QVERIFY(QDir(env().documentsDir()).isEmpty());
    }

    // A code typed but not confirmed filters on an empty name; the access keys work before
    // and after the message (a moment later, as the toolkit animates the click). The Enter
    // chain runs from a confirmed code to the query, which holds that drug alone.
    void unconfirmedCodeFindsNothing()
    {
        window_->Txtycbm->SetFocus();
        WindowFixture::type(window_->Txtycbm, "DG01");
        QTest::keyClick(window_->Txtycbm->inner(), Qt::Key_F, Qt::AltModifier);   // 查询&F
        QTRY_COMPARE(world().messages(), QStringList{"没有符合查询条件的内容"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        window_->TxtQssj->setText("2020-01-01");
        QTest::keyClick(window_->Txtycbm->inner(), Qt::Key_Q, Qt::AltModifier);   // 清屏&Q
        QTRY_COMPARE(window_->TxtQssj->Text(), QString("2023-07-29"));
        WindowFixture::click(window_->CmdQcls);
        world().clearMessages();
        driver_->lookUpCode("DG01");
        walkEnterChain({{window_->TxtQssj, "", window_->TxtJssj}, {window_->TxtJssj, "", window_->CmdSeek}});
        WindowFixture::pressEnter(window_->CmdSeek);
        QCOMPARE(world().messages(), QStringList{Done});
        const XlsxReader book(path("商品入库统计表.xls"));
        QCOMPARE(book.text("A4"), QString("当归"));
        QVERIFY(!book.cell("A5"));
    }

    // Each report with its headers, its first column from row 4 on in query order, a date
    // and a number column, the widths (0: fitted, not fixed) and the font. A report
    // written again replaces only its own file; a failed one shows the error and leaves
    // the earlier file byte for byte, the button and the arrow back.
    void reportsReadBackAndReplaced()
    {
        struct Report {
            forms::OptionButton* option;
            const char* code;
            const char* ending;
            QStringList headers, firstColumn;
            QString dateColumn, numberColumn;
            QList<double> widths;
        };
        const Report reports[] = {
            {window_->OptYcrk, "", "商品入库统计表.xls", {"药品名称", "进货时间", "货物产地", "货物来源", "药品批号 ", "有效期限",
                "进货数量", "进货金额", "进货经办", "进货验收"}, {"当归", "黄芪"}, "B", "G", {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
            {window_->OptYcck, "", "商品出库统计表.xls", {"病案号码", "病案序号", "出库时间", "药品名称", "摘要", "出库数量", "出库成本",
                "收款金额"}, {"A001", "A001"}, "C", "F", {10, 10, 10, 10, 14, 10, 0, 0}},   // both kinds of stock-out
            {window_->OptYcjy, "HQ02", "商品结余统计表.xls", {"药品名称", "结余数量", "结余金额"}, {"当归", "黄芪"}, "", "B",
                {10, 10, 10}},   // ignoring dates and drug
            {window_->OptCkrk, "DG01", "商品入库出库统计表.xls", {"时间", "药品名称", "摘要", "入库数量", "入库金额", "出库数量",
                "出库成本", "收款金额"}, {"", "", ""}, "A", "D", {10, 10, 10, 10, 14, 14, 14, 14}}};   // one drug
        for (const Report& report : reports) {
            report.option->setValue(true);
            window_->Txtycbm->setText(QString());
            if (*report.code) driver_->lookUpCode(report.code);
            seek();
            QCOMPARE(world().messages(), QStringList{Done});
            QVERIFY(window_->CmdSeek->isEnabled() && window_->CmdExit->isEnabled());
            const XlsxReader book(path(report.ending));
            for (int c = 0; c < report.headers.size(); ++c) {
                QCOMPARE(book.text(QString(QChar('A' + c)) + "2"), report.headers[c]);
                QVERIFY(book.columnWidth(c + 1));
                if (report.widths[c] > 0) QVERIFY(qAbs(*book.columnWidth(c + 1) - report.widths[c]) < 1);
            }
            QCOMPARE(book.cell("A4")->fontName + QString::number(book.cell("A4")->fontSize), QString("宋体 9"));
            QVERIFY(!book.cell("A3"));
            for (int r = 0; r < report.firstColumn.size(); ++r)
                if (!report.firstColumn[r].isEmpty()) QCOMPARE(book.text(QString("A%1").arg(r + 4)), report.firstColumn[r]);
            QVERIFY(!book.cell(QString("A%1").arg(report.firstColumn.size() + 4)));
            if (!report.dateColumn.isEmpty()) {
                QCOMPARE(book.cell(report.dateColumn + "4")->numberFormat, QString("yyyy-mm-dd"));
                QVERIFY(book.cell(report.dateColumn + "4")->number > QDate(1899, 12, 30).daysTo(QDate(2024, 1, 1)));
            }
            QCOMPARE(book.cell(report.numberColumn + "4")->kind, XlsxReader::Cell::Kind::Number);
            QCOMPARE(book.cell(report.numberColumn + "4")->numberFormat, QString("##,###,##0.00_ "));
        }
        QCOMPARE(world().clock().waited, 20.0);

        journal(env(), "2024-03-01", "甘草", "购进", 1, 0);
        window_->OptYcrk->setValue(true);
        window_->Txtycbm->setText(QString());
        seek();                                                  // stock-in again, one row more
        QCOMPARE(XlsxReader(path("商品入库统计表.xls")).text("A6"), QString("黄芪"));
        QCOMPARE(XlsxReader(path("商品入库出库统计表.xls")).text("B4"), QString("当归"));
        const QByteArray before = TestEnvironment::bytesOf(path("商品入库统计表.xls"));
        journal(env(), "2024-03-02", "甘草", "购进", 1, 0, "2050-13-01");   // an expiry that is no date
        seek();
        QCOMPARE(world().messages().size(), 1);
        QVERIFY(world().messages().first() != Done);
        QCOMPARE(TestEnvironment::bytesOf(path("商品入库统计表.xls")), before);
        QVERIFY(window_->CmdSeek->isEnabled());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
    }

private:
    TestEnvironment& env() { return driver_->environment(); }
    WindowFixture& world() { return driver_->world; }
    QString path(const char* ending) const { return driver_->world.environment().documentsDir() + "/" + Range + ending; }
    void seek() { world().clearMessages(); WindowFixture::click(window_->CmdSeek); }

    std::unique_ptr<StockWindowDriver<Frmyckc>> driver_;
    Frmyckc* window_ = nullptr;
};

QTEST_MAIN(StockQueriesTest)
#include "stock_queries_test.moc"
