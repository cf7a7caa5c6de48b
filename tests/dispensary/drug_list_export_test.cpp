// The drug list's 打印 button read back from the workbook it saves: headers in row 2,
// the listed drugs from row 5 in columns A to D (no category), the sheet font, the
// final column widths and the price format; an empty list writes nothing; an older
// workbook is replaced; a failure is reported and leaves the button usable; the close
// box pressed during the export closes the window once the export is done.
#include "dispensary/drug_list.h"
#include "dispensary/drug_list_export.h"
#include "platform/xlsx_reader.h"
#include "support/window_fixture.h"

#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/win/paths.h"

#include <QAction>
#include <QDir>
#include <QMdiSubWindow>
#include <QFile>
#include <QtTest>

using dispensary::Frmyjwh;
using testing::XlsxReader;

class DrugListExportTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyListWritesNothing()
    {
        window_ = world_->open<Frmyjwh>("YcqkWh");
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages(), QStringList({"没有要打印的内容"}));
        QCOMPARE(world_->clock().waits, 0);
        QVERIFY(!QFile::exists(workbookPath()));
        QVERIFY(window_->CmdExit->isEnabled());
    }

    // An older workbook of the name is replaced.
    void listedDrugsAreWrittenFromRowFive()
    {
        openWithDrugs();
        {
            QFile old(workbookPath());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older report");
        }
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages(), QStringList({"生成图表已经存放在我的文档中，请查收"}));
        QCOMPARE(world_->clock().waited, 4.0);   // the pause after printing, before the save
        QVERIFY(window_->CmdExit->isEnabled());

        const XlsxReader book(workbookPath());
        QVERIFY(book.isValid());
        QCOMPARE((QStringList{book.text("A2"), book.text("B2"), book.text("C2"), book.text("D2")}),
                 (QStringList{"药品编码", "药品名称", "药品价格", "计量单位"}));
        // The prices are numbers the spreadsheet can sum, shown through the price format.
        const QStringList expected[] = {{"DG01", "当归", "1250", "克"},
                                        {"HQ02", "黄芪", "0.8", "克"},
                                        {"O'3", "王不留'行", "36", "支"}};
        for (int i = 0; i < 3; ++i) {
            const QString row = QString::number(i + 5);
            for (int c = 0; c < 4; ++c) {
                const auto cell = book.cell(QChar('A' + c) + row);
                QVERIFY(cell);
                QCOMPARE(cell->kind, c == 2 ? XlsxReader::Cell::Kind::Number : XlsxReader::Cell::Kind::Text);
                QCOMPARE(cell->text, expected[i][c]);
                QCOMPARE(cell->fontSize, 9.0);
                QCOMPARE(cell->fontName.trimmed(), QString("宋体"));
            }
            QCOMPARE(book.cell("C" + row)->numberFormat, QString("#,##0.00_ "));
            QCOMPARE(book.cell("B" + row)->numberFormat, QString());
            QVERIFY(!book.cell("E" + row));   // no category
        }
        for (const char* empty : {"A1", "A3", "B3", "A4", "D4", "A8"}) QCOMPARE(book.text(empty), QString());

        const double widths[] = {8.8, 20, 9, 9};
        for (int c = 0; c < 4; ++c) {
            QVERIFY(book.columnWidth(c + 1));
            QVERIFY2(qAbs(*book.columnWidth(c + 1) - widths[c]) < 1.0, qPrintable(QString::number(*book.columnWidth(c + 1))));
        }
    }

    void failureIsReportedAndTheButtonComesBack()
    {
        openWithDrugs();
        // A folder of the workbook's name, with something in it, cannot be cleared away.
        QVERIFY(QDir().mkpath(workbookPath() + "/kept"));
        WindowFixture::click(window_->CmdExit);
        QCOMPARE(world_->messages().size(), 1);
        QVERIFY(world_->messages().first() != "生成图表已经存放在我的文档中，请查收");
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
        QCOMPARE(world_->clock().waits, 0);
        QVERIFY(window_->CmdExit->isEnabled());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
        QVERIFY(QFileInfo(workbookPath() + "/kept").isDir());
    }

    // Deleted under the running export, the window took the program down.
    void closeBoxDuringTheExportWaitsForItsEnd()
    {
        openWithDrugs();
        const QPointer<Frmyjwh> alive(window_);
        QTimer::singleShot(0, window_, [this] { window_->subWindow()->close(); });   // pressed among the rows
        WindowFixture::click(window_->CmdExit);
        QVERIFY(alive);
        QCOMPARE(world_->messages(), QStringList({"生成图表已经存放在我的文档中，请查收"}));
        QCOMPARE(XlsxReader(workbookPath()).text("A7"), QString("O'3"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QVERIFY(world_->mainWindow().menuAction("xtwh")->isEnabled());
        window_ = nullptr;
    }

private:
    void openWithDrugs();
    QString workbookPath() const { return win::hostPath(dispensary::DrugListWorkbook); }

    std::unique_ptr<WindowFixture> world_;
    Frmyjwh* window_ = nullptr;
};

void DrugListExportTest::init() { world_ = std::make_unique<WindowFixture>(); }

void DrugListExportTest::cleanup() { world_.reset(); }

void DrugListExportTest::openWithDrugs()
{
    const TestEnvironment& env = world_->environment();
    env.insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
    env.insert("ycjg", {"DG01", "当归", 1250.0, "克", "补血药"});
    env.insert("ycjg", {"O'3", "王不留'行", 36.0, "支", "活血药"});
    window_ = world_->open<Frmyjwh>("YcqkWh");
}

QTEST_MAIN(DrugListExportTest)
#include "drug_list_export_test.moc"
