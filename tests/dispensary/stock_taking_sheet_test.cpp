// The stock-taking sheet run from its menu item 药品库存盘点: every balance row in
// stored order (zero balances too) read back from the workbook, an empty balance
// table writing nothing, an existing sheet replaced, a failure reported; the menus
// back in every case.
#include "dispensary/dispensary_menu.h"
#include "platform/xlsx_reader.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using testing::XlsxReader;

class StockTakingSheetTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        world_ = std::make_unique<WindowFixture>();
        registerDispensaryWindows(world_->mainWindow());
    }
    void cleanup() { world_.reset(); }

    void everyBalanceInStoredOrderReplacingTheOldSheet()
    {
        QFile old(path());
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old sheet") > 0);
        old.close();
        world_->environment().insert("ycyltb", {"黄芪", 10, 20, 1250.5});
        world_->environment().insert("ycyltb", {"当归", 5, 10, 0});
        world_->environment().insert("ycyltb", {"王不留'行", 3, 6, 3});
        run();
        QCOMPARE(world_->messages(), QStringList{"生成图表已经存放在我的文档中，请查收"});
        QCOMPARE(world_->clock().waited, 3.0);
        QVERIFY(world_->mainWindow().menuAction("ycrk")->isEnabled());

        const XlsxReader sheet(path());
        QVERIFY(sheet.isValid());
        QCOMPARE((QStringList{sheet.text("A2"), sheet.text("B2"), sheet.text("C2"), sheet.text("D2")}),
                 (QStringList{"药品名称", "结余数量", "实余数量", "差异数量"}));
        QCOMPARE((QStringList{sheet.text("A4"), sheet.text("A5"), sheet.text("A6")}),
                 (QStringList{"黄芪", "当归", "王不留'行"}));
        QCOMPARE(sheet.cell("B4")->number, 1250.5);
        QCOMPARE(sheet.cell("B5")->number, 0.0);
        for (const char* cell : {"B4", "C6"}) QCOMPARE(sheet.cell(cell)->numberFormat, QString("##,###,##0.00_ "));
        QCOMPARE(sheet.cell("C4")->kind, XlsxReader::Cell::Kind::Blank);
        QVERIFY(!sheet.cell("D4") && !sheet.cell("A7"));
        QCOMPARE(sheet.cell("A4")->fontName, QString("宋体 "));
        QVERIFY(*sheet.columnWidth(3) > *sheet.columnWidth(4));   // D keeps the standard width
    }

    // An empty balance table writes nothing; a folder of the sheet's name cannot be
    // replaced: the error is shown, the menus and the arrow come back, the folder stays.
    void emptyTableOrFailureWritesNothingAndGivesTheMenusBack()
    {
        run();
        QCOMPARE(world_->messages(), QStringList{"尚未发生药品购销业务"});
        QVERIFY(!QFile::exists(path()));
        QVERIFY(world_->mainWindow().menuAction("ycrk")->isEnabled());

        world_->clearMessages();
        world_->environment().insert("ycyltb", {"黄芪", 10, 20, 5});
        QVERIFY(QDir().mkpath(path() + "/kept"));
        run();
        QCOMPARE(world_->messages().size(), 1);
        QCOMPARE(world_->boxes().shown().back().icon, forms::vbInformation);
        QVERIFY(world_->mainWindow().menuAction("ycrk")->isEnabled());
        QCOMPARE(forms::Screen::MousePointer(), forms::vbArrow);
        QVERIFY(QFileInfo(path() + "/kept").isDir());
    }

private:
    QString path() const { return world_->environment().documentsDir() + "/药品盘点表.xls"; }
    void run() { world_->mainWindow().menuAction("YckcPd")->trigger(); }

    std::unique_ptr<WindowFixture> world_;
};

QTEST_MAIN(StockTakingSheetTest)
#include "stock_taking_sheet_test.moc"
