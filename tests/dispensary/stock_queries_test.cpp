// The stock queries window Frmyckc driven as the user drives it, and its four
// workbooks read back: defaults and their reset on activation, the code look-up, the
// date checks, the access keys around a message, the options, each report's headers,
// rows in order, cell types, formats, widths and font, a report written again
// replacing only its own file, a failed or empty report leaving the earlier file intact.
#include "dispensary/stock_queries.h"
#include "stock_window_driver.h"

#include <QRadioButton>



using dispensary::Frmyckc;
using namespace stocktest;

namespace {

const QString Range = QStringLiteral("2023-07-29 至 2024-03-15");   // the default range
const QString Done = QStringLiteral("生成图表已经存放在我的文档中，请查收");

void journal(const TestEnvironment& env, const char* date, const QString& drug, const char* kind,
             double in, double out, const char* expiry = "2025-06-30")
{
    env.insert("yccrtb", {date, drug, kind, "亳州", "药材公司", "00123", expiry, "0000123", "内科", in, in * 2,
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
        journal(env(), "2024-01-05", "当归", "购进", 3, 0);        // the rows out of every report's order
        journal(env(), "2024-01-03", "黄芪", "出库", 0, 4);
        env().insert("ycyltb", {"黄芪", 10, 20, 10});
        env().insert("ycyltb", {"当归", 12, 24, 2});
        env().insert("ycyltb", {"", 1, 2, 3});
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
            if (!found) QCOMPARE(window_->Txtycbm->SelLength(), 3);   // typing again replaces the wrong code
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
        // A space reaches a date box, whose mask takes it as a blank.
        for (forms::MaskEdBox* box : {window_->TxtQssj, window_->TxtJssj}) {
            WindowFixture::click(window_->CmdQcls);
            const QString date = box->Text();
            box->SetFocusSelectAll();
            QTest::keyClick(box->inner(), Qt::Key_Space);
            QVERIFY2(box->Text() != date, qPrintable(box->Text()));
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
        window_->TxtQssj->SetFocus();
        QTest::keyClick(window_->TxtQssj->inner(), Qt::Key_Q, Qt::AltModifier);   // 清屏&Q
        QTRY_COMPARE(window_->TxtQssj->Text(), QString("2023-07-29"));
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        WindowFixture::click(window_->CmdQcls);
        world().clearMessages();
        driver_->lookUpCode("DG01");
        walkEnterChain({{window_->TxtQssj, "", window_->TxtJssj}, {window_->TxtJssj, "", window_->CmdSeek}});
        WindowFixture::pressEnter(window_->CmdSeek);
        QCOMPARE(world().messages(), QStringList{Done});
        const XlsxReader book(path("商品入库统计表.xls"));
        QCOMPARE(book.text("A5"), QString("当归"));
        QVERIFY(!book.cell("A6"));
    }

    // The options chosen with the mouse: stock-out and balance put the focus in the
    // cleared code box, the others clear it and keep the focus on the option. The
    // name box takes no typing.
    void optionsClearTheCode()
    {
        const std::pair<forms::OptionButton*, bool> options[] = {
            {window_->OptYcck, true}, {window_->OptYcjy, true}, {window_->OptYcrk, false}, {window_->OptCkrk, false}};
        for (const auto& [option, focusOnCode] : options) {
            driver_->lookUpCode("DG01");
            WindowFixture::type(window_->Txtycmc, "x");   // the name is only looked up, never typed
            QCOMPARE(window_->Txtycmc->Text(), QString("当归"));
            choose(option);
            QCOMPARE(window_->Txtycbm->Text() + window_->Txtycmc->Text(), QString());
            QCOMPARE(WindowFixture::focusedControl(), focusOnCode ? static_cast<forms::Control*>(window_->Txtycbm) : option);
        }
    }

    // Each report read back: its headers, every row in the report's order (the seeds
    // are stored out of it) with each cell's type, and each column's format and width
    // (a stock-out's cost and income fitted to their widest cell), the font. A report
    // written again replaces only its own file; a failed one shows the error and leaves
    // the earlier file byte for byte, the button and the arrow back.
    void reportsReadBack()
    {
        struct Report {
            forms::OptionButton* option;
            const char* code;
            const char* ending;
            QStringList headers;
            const char* kinds;   // per column: Text, Number, Date
            QList<double> widths;
            QStringList rows;
        };
        const Report reports[] = {
            {window_->OptYcrk, "", "商品入库统计表.xls", {"药品名称", "进货时间", "货物产地", "货物来源", "药品批号 ", "有效期限",
                "进货数量", "进货金额", "进货经办", "进货验收"}, "TDTTTSNNTT", {10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
             {"当归|2024-01-05|亳州|药材公司|00123|2025-06-30|3|6|张|李", "当归|2024-01-06|亳州|药材公司|00123|2025-06-30|5|10|张|李",
              "黄芪|2024-01-05|亳州|药材公司|00123|2025-06-30|10|20|张|李"}},
            {window_->OptYcck, "", "商品出库统计表.xls", {"病案号码", "病案序号", "出库时间", "药品名称", "摘要", "出库数量",
                "出库成本", "收款金额"}, "TTDTTNNN", {10, 10, 10, 10, 14, 10, 8.25, 8.25},   // both kinds of stock-out
             {"0000123|内科|2024-01-10|当归|处方收款出库|1|0.5|3", "0000123|内科|2024-02-01|当归|出库|2|1|6",
              "0000123|内科|2024-01-03|黄芪|出库|4|2|12"}},
            {window_->OptYcjy, "HQ02", "商品结余统计表.xls", {"药品名称", "结余数量", "结余金额"}, "TNN", {10, 10, 10},
             {"当归|2|24", "黄芪|10|20"}},   // ignoring dates, drug and a row without a name
            {window_->OptCkrk, "", "商品入库出库统计表.xls", {"时间", "药品名称", "摘要", "入库数量", "入库金额", "出库数量",
                "出库成本", "收款金额"}, "DTTNNNNN", {10, 10, 10, 10, 14, 14, 14, 14},
             {"2024-01-03|黄芪|出库|0|0|4|2|12", "2024-01-05|当归|购进|3|6|0|0|0", "2024-01-05|黄芪|购进|10|20|0|0|0",
              "2024-01-06|当归|购进|5|10|0|0|0", "2024-01-10|当归|处方收款出库|0|0|1|0.5|3", "2024-02-01|当归|出库|0|0|2|1|6"}},
            {window_->OptCkrk, "DG01", "商品入库出库统计表.xls", {}, "DTTNNNNN", {},   // one drug
             {"2024-01-05|当归|购进|3|6|0|0|0", "2024-01-06|当归|购进|5|10|0|0|0", "2024-01-10|当归|处方收款出库|0|0|1|0.5|3",
              "2024-02-01|当归|出库|0|0|2|1|6"}}};
        // A date column with a format of its own, or a short date (built-in format 14).
        const std::map<char, std::tuple<XlsxReader::Cell::Kind, QString, bool>> kinds{
            {'T', {XlsxReader::Cell::Kind::Text, "", false}}, {'N', {XlsxReader::Cell::Kind::Number, "##,###,##0.00_ ", false}},
            {'D', {XlsxReader::Cell::Kind::Number, "yyyy-mm-dd", false}}, {'S', {XlsxReader::Cell::Kind::Number, "", true}}};
        for (const Report& report : reports) {
            choose(report.option);
            if (*report.code) driver_->lookUpCode(report.code);
            seek();
            QCOMPARE(world().messages(), QStringList{Done});
            QVERIFY(window_->CmdSeek->isEnabled() && window_->CmdExit->isEnabled());
            const XlsxReader book(path(report.ending));
            for (int c = 0; c < report.headers.size(); ++c) QCOMPARE(book.text(columnName(c) + "2"), report.headers[c]);
            for (int c = 0; c < report.widths.size(); ++c) QVERIFY(qAbs(*book.columnWidth(c + 1) - report.widths[c]) < 1);
            QCOMPARE(book.cell("A4")->fontName + QString::number(book.cell("A4")->fontSize), QString("宋体 9"));
            QVERIFY(!book.cell("A3"));
            QStringList rows;
            for (int r = 4; book.cell(QString("A%1").arg(r)); ++r) {
                QStringList row;
                for (int c = 0; report.kinds[c]; ++c) {
                    const XlsxReader::Cell cell = *book.cell(columnName(c) + QString::number(r));
                    QCOMPARE(std::tuple(cell.kind, cell.numberFormat, cell.numberFormatId == 14), kinds.at(report.kinds[c]));
                    row << (cell.kind == XlsxReader::Cell::Kind::Text ? cell.text
                            : report.kinds[c] == 'D' || report.kinds[c] == 'S' ? QDate(1899, 12, 30).addDays(qint64(cell.number)).toString(Qt::ISODate)
                                                     : QString::number(cell.number));
                }
                rows << row.join('|');
            }
            QCOMPARE(rows, report.rows);
        }
        QCOMPARE(world().clock().waited, 25.0);

        journal(env(), "2024-03-01", "甘草", "购进", 1, 0);
        choose(window_->OptYcrk);
        seek();                                                  // stock-in again, one row more
        QCOMPARE(XlsxReader(path("商品入库统计表.xls")).text("A6"), QString("甘草"));
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

    // 查询 pressed again at every pause of a report (the query, the rows, the wait):
    // nothing more happens, one report is written and closed with one message. The
    // button shows it: once the query has found rows, 查询 stays disabled while the rows
    // are written and 退出 still takes a press.
    void seekPressedAgainWhileReporting()
    {
        QObject presses;   // the presses end with the test
        QList<std::pair<bool, bool>> states;   // 查询 and 退出 enabled, at each press
        std::function<void()> pressAgain = [&] {
            states << std::pair(window_->CmdSeek->isEnabled(), window_->CmdExit->isEnabled());
            WindowFixture::click(window_->CmdSeek);
            QTimer::singleShot(0, &presses, pressAgain);
        };
        QTimer::singleShot(0, &presses, pressAgain);
        seek();
        presses.disconnect();
        QCOMPARE(world().messages(), QStringList{Done});
        QCOMPARE(QDir(env().documentsDir()).entryList(QDir::Files), QStringList{Range + "商品入库统计表.xls"});
        QCOMPARE(world().clock().waits, 1);
        QVERIFY(states.contains(std::pair(false, true)));
    }

    // 退出 pressed while the query runs: the report is still written and closed with its
    // message, then the window goes and the menus come back.
    void exitWhileReportingWaitsForTheReport()
    {
        const QPointer<Frmyckc> alive(window_);
        QTimer::singleShot(0, window_, [this] { WindowFixture::click(window_->CmdExit); });
        seek();
        QCOMPARE(world().messages(), QStringList{Done});
        QVERIFY(QFile::exists(path("商品入库统计表.xls")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QVERIFY(menusOn(world()));
    }

    // The four options stand apart side by side in their order on one line, and so do
    // the four buttons.
    void optionsAndButtonsSideBySide()
    {
        QVERIFY(WindowFixture::sideBySide({window_->OptYcrk, window_->OptYcck, window_->OptYcjy, window_->OptCkrk}));
        QVERIFY(WindowFixture::sideBySide({window_->CmdSeek, window_->CmdQcls, window_->CmdExit, window_->CmdHelp}));
    }

    // A query whose first row has nothing in its third column (a balance without an
    // amount) is taken for an empty one: no report, the earlier file kept.
    void emptyThirdColumnWritesNothing()
    {
        choose(window_->OptYcjy);
        seek();
        const QByteArray before = TestEnvironment::bytesOf(path("商品结余统计表.xls"));
        env().insert("ycyltb", {"艾叶", 1, vb::Variant(), 1});
        seek();
        QCOMPARE(world().messages(), QStringList{"没有符合查询条件的内容"});
        QCOMPARE(WindowFixture::focusedControl(), window_->Txtycbm);
        QCOMPARE(TestEnvironment::bytesOf(path("商品结余统计表.xls")), before);
    }

private:
    TestEnvironment& env() { return driver_->environment(); }
    WindowFixture& world() { return driver_->world; }
    QString path(const char* ending) const { return driver_->world.environment().documentsDir() + "/" + Range + ending; }
    void seek() { world().clearMessages(); WindowFixture::click(window_->CmdSeek); }
    static QString columnName(int c) { return QString(QChar('A' + c)); }
    static void choose(forms::OptionButton* option) { QTest::mouseClick(static_cast<QWidget*>(option->radioButton()), Qt::LeftButton); }

    std::unique_ptr<StockWindowDriver<Frmyckc>> driver_;
    Frmyckc* window_ = nullptr;
};

QTEST_MAIN(StockQueriesTest)
#include "stock_queries_test.moc"
