// The workbook stand-in as the reports drive it: cells keep their types and formats,
// the sheet-wide font, fixed and auto-fitted column widths, and a SaveAs that maps
// "c:\my documents\", replaces an older file and never leaves a half file behind.
// Every case reads the saved file back.
#include "platform/office/sheet_stream.h"
#include "platform/office/workbook.h"
#include "platform/win/filecopy.h"
#include "platform/xlsx_reader.h"

#include <QDir>
#include <cmath>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Kind = testing::XlsxReader::Cell::Kind;
using vb::Variant;

namespace {

int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const office::Error& error) {
        return error.number();
    }
    return 0;
}

}  // namespace

class OfficeWorkbookTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir documents_;
    QString saved(const QString& name) const { return documents_.filePath(name); }
    QStringList files() const { return QDir(documents_.path()).entryList(QDir::Files | QDir::Hidden); }

    // The width the file stores for `characters`: the cell padding added, in 1/256ths.
    static double storedWidth(double characters)
    {
        return std::floor(int(characters * 7 + 0.5 + 5) / 7.0 * 256) / 256;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(documents_.isValid());
        qputenv("ZYQHMZ_DOCUMENTS_DIR", documents_.path().toUtf8());
    }

    void init()
    {
        for (const QString& name : files()) QFile::remove(saved(name));
        win::setCopyByteLimit(std::nullopt);
    }

    // The drug list export: headers in row 2, three drugs from row 5, texts only.
    void drugListLayout()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        book.Worksheets("sheet1");
        xl.Range("b2:d3000").Value("");
        xl.Range("a2").Value("药品编码");
        xl.Range("b2").Value("药品名称");
        xl.Range("c2").Value("药品价格");
        xl.Range("d2").Value("计量单位");
        xl.Cells().Font().Name("宋体 ").Size(9);
        const QStringList drugs[] = {{"A01", "当归", "1,250.00", "克"}, {"A02", "黄芪", "0.35", "克"},
                                     {"B01", "六味地黄丸", "12.00", "盒"}};
        for (int i = 1; i <= 3; ++i) {
            for (int j = 0; j < 4; ++j) {
                xl.Cells(i + 4, j + 1).Value(drugs[i - 1][j]);
                xl.Cells(i + 4, j + 1).Columns().AutoFit();
            }
            xl.Cells(i + 4, 1).ColumnWidth(8.8);
            xl.Cells(i + 4, 2).ColumnWidth(20);
            xl.Cells(i + 4, 3).ColumnWidth(9);
            xl.Cells(i + 4, 4).ColumnWidth(9);
            xl.Cells(i + 4, 3).NumberFormatLocal("#,##0.00_ ");
        }
        book.SaveAs("c:\\my documents\\药品编码名称对照表.xls");
        xl.Quit();

        const testing::XlsxReader sheet(saved("药品编码名称对照表.xls"));
        QVERIFY(sheet.isValid());
        QCOMPARE(sheet.cellCount(), 4 + 12);   // nothing in rows 1, 3, 4 or column E
        QCOMPARE(sheet.text("A2"), QStringLiteral("药品编码"));
        QCOMPARE(sheet.text("D2"), QStringLiteral("计量单位"));
        QCOMPARE(sheet.text("B6"), QStringLiteral("黄芪"));
        QCOMPARE(sheet.cell("C5")->kind, Kind::Number);   // a price text is read as typed: a number
        QCOMPARE(sheet.cell("C5")->number, 1250.0);
        QCOMPARE(sheet.cell("C7")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(sheet.cell("B7")->numberFormat, QString());
        for (const char* reference : {"A2", "B5", "C7"}) {
            QCOMPARE(sheet.cell(reference)->fontName, QStringLiteral("宋体 "));
            QCOMPARE(sheet.cell(reference)->fontSize, 9.0);
        }
        QCOMPARE(*sheet.columnWidth(1), storedWidth(8.8));
        QCOMPARE(*sheet.columnWidth(2), storedWidth(20));
        QCOMPARE(*sheet.columnWidth(4), storedWidth(9));
        for (int column : {1, 3, 5, 200}) {   // the font of all cells: empty ones too
            QCOMPARE(sheet.columnFontName(column), QStringLiteral("宋体 "));
            QCOMPARE(sheet.columnFontSize(column), 9.0);
        }
    }

    // A text is read as the spreadsheet program reads typed text, in the object model
    // and in the streamed sheet alike.
    void textsAreReadAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const int text = int(Kind::Text), number = int(Kind::Number);
        QTest::newRow("thousands") << "1,250.00" << number << "" << 1250.0;
        QTest::newRow("negative") << "-3.5" << number << "" << -3.5;
        QTest::newRow("blanks around") << " 42 " << number << "" << 42.0;
        QTest::newRow("fraction only") << ".5" << number << "" << 0.5;
        QTest::newRow("exponent") << "1e3" << number << "" << 1000.0;
        QTest::newRow("percent") << "12%" << number << "" << 0.12;
        QTest::newRow("leading zeros") << "0012" << number << "" << 12.0;
        QTest::newRow("date") << "2024-3-5" << number << "" << 45356.0;
        QTest::newRow("date with slashes") << "2024/03/05" << number << "" << 45356.0;
        QTest::newRow("apostrophe keeps text") << "'0012" << text << "0012" << 0.0;
        QTest::newRow("code") << "DG01" << text << "DG01" << 0.0;
        QTest::newRow("bad grouping") << "1,25" << text << "1,25" << 0.0;
        QTest::newRow("two points") << "12.5.3" << text << "12.5.3" << 0.0;
        QTest::newRow("no date") << "2024-13-01" << text << "2024-13-01" << 0.0;
        QTest::newRow("sign alone") << "-" << text << "-" << 0.0;
    }

    void textsAreReadAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(double, number);
        {
            office::ExcelApplication xl;
            office::Workbook book = xl.Workbooks().Add();
            xl.Cells(1, 1).Value(typed);
            book.SaveAs(saved("model.xls"));
            office::SheetStream stream(QStringLiteral("宋体"), 9);
            stream.write(1, 1, typed);
            stream.saveAs(saved("stream.xls"));
        }
        for (const char* file : {"model.xls", "stream.xls"}) {
            const auto cell = testing::XlsxReader(saved(file)).cell("A1");
            QVERIFY(cell);
            QCOMPARE(int(cell->kind), kind);
            if (cell->kind == Kind::Text) QCOMPARE(cell->text, text);
            else QCOMPARE(cell->number, number);
        }
    }

    // The streamed sheet: rows in order only, the sheet's font in every column,
    // auto-fit to the widest cell, fixed widths kept.
    void streamedSheet()
    {
        office::SheetStream sheet(QStringLiteral("宋体 "), 9);
        for (int column : {2, 4}) sheet.fitColumn(column);
        sheet.write(2, 1, QStringLiteral("药品编码"));
        sheet.write(5, 2, QStringLiteral("六味地黄丸"));
        sheet.write(5, 3, 1250.0, QStringLiteral("#,##0.00_ "));
        sheet.write(6, 2, QStringLiteral("A"));
        sheet.write(6, 3, QString(), QStringLiteral("#,##0.00_ "));   // a formatted blank
        sheet.write(6, 4, QString());                                 // nothing
        QCOMPARE(errorOf([&] { sheet.write(5, 1, QStringLiteral("back")); }), 1004);
        sheet.autoFit(2);
        sheet.autoFit(4);             // nothing written: no width
        sheet.setColumnWidth(1, 8.8);
        sheet.saveAs(saved("streamed.xls"));

        const testing::XlsxReader read(saved("streamed.xls"));
        QCOMPARE(read.cellCount(), 5);
        QCOMPARE(read.cell("C6")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(read.text("B5"), QStringLiteral("六味地黄丸"));
        QCOMPARE(read.cell("C5")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(read.cell("C5")->fontSize, 9.0);
        QCOMPARE(*read.columnWidth(1), storedWidth(8.8));
        QCOMPARE(*read.columnWidth(2), storedWidth(10 * 9 / 11.0 + 1));
        for (int column : {4, 300}) QCOMPARE(read.columnFontName(column), QStringLiteral("宋体 "));
    }

    void valuesKeepTheirTypes()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Cells(4, 1).Value("当归");
        xl.Cells(4, 2).Value(12.5);
        xl.Cells(4, 3).Value(vb::Currency::fromDouble(1234.5678));
        xl.Cells(4, 4).Value(QDate(2004, 8, 19));
        xl.Cells(4, 5).Value(QDate(2004, 8, 19)).NumberFormatLocal("yyyy年m月d日");
        xl.Cells(4, 6).Value(Variant());
        book.SaveAs(saved("types.xls"));

        QCOMPARE(xl.Cells(4, 2).Value(), Variant(12.5));
        const testing::XlsxReader sheet(saved("types.xls"));
        QCOMPARE(sheet.cell("A4")->kind, Kind::Text);
        QCOMPARE(sheet.cell("B4")->kind, Kind::Number);
        QCOMPARE(sheet.cell("B4")->number, 12.5);
        QCOMPARE(sheet.cell("C4")->number, 1234.5678);
        QCOMPARE(sheet.cell("D4")->kind, Kind::Number);
        QCOMPARE(sheet.cell("D4")->number, 38218.0);   // the day count of 2004-08-19
        QCOMPARE(sheet.cell("D4")->numberFormat, QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(sheet.cell("E4")->numberFormat, QStringLiteral("yyyy年m月d日"));
        QVERIFY(!sheet.cell("F4"));
    }

    // The stock-taking sheet formats the empty counted-quantity cells too.
    void formatsOfEmptyCellsAreKept()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Cells(4, 2).Value(3);
        xl.Cells(4, 2).NumberFormatLocal("##,###,##0.00_ ");
        xl.Cells(4, 3).NumberFormatLocal("##,###,##0.00_ ");
        book.SaveAs(saved("盘点.xls"));

        const testing::XlsxReader sheet(saved("盘点.xls"));
        QCOMPARE(sheet.cell("C4")->kind, Kind::Blank);
        QCOMPARE(sheet.cell("C4")->numberFormat, QStringLiteral("##,###,##0.00_ "));
    }

    void clearingKeepsFormatsAndEmptiesValues()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Range("a1:c3").Value("x");
        xl.Cells(2, 2).NumberFormatLocal("0.00");
        xl.Range("b2:d3000").Value(Variant());
        QCOMPARE(xl.Cells(1, 2).Value(), Variant("x"));
        QCOMPARE(xl.Cells(3, 1).Value(), Variant("x"));
        QVERIFY(xl.Cells(3, 3).Value().isNull());
        QCOMPARE(xl.Cells(2, 2).NumberFormatLocal(), QStringLiteral("0.00"));
        QCOMPARE(xl.Cells(2, 3).NumberFormatLocal(), QStringLiteral("G/通用格式"));
        book.SaveAs(saved("clear.xls"));
        QCOMPARE(testing::XlsxReader(saved("clear.xls")).cellCount(), 6);
    }

    // A later whole-sheet font wins over a cell's; a cell's set afterwards wins over it.
    void sheetFontAndCellFont()
    {
        office::ExcelApplication xl;
        xl.Workbooks().Add();
        xl.Cells(1, 1).Value("a").Font().Name("黑体").Bold(true);
        xl.Cells().Font().Name("宋体 ").Size(9);
        QCOMPARE(xl.Cells(1, 1).Font().Name(), QStringLiteral("宋体 "));
        QVERIFY(xl.Cells(1, 1).Font().Bold());
        xl.Cells(2, 1).Font().Size(14);
        QCOMPARE(xl.Cells(2, 1).Font().Size(), 14.0);
        QCOMPARE(xl.Cells(3, 1).Font().Size(), 9.0);
        QCOMPARE(xl.Cells(2, 1).Font().Name(), QStringLiteral("宋体 "));
    }

    void autoFitFollowsTheWidestCell()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Cells(4, 1).Value("六味地黄丸");         // 5 wide characters: 10
        xl.Cells(5, 1).Value("ABC");
        xl.Cells(4, 2).Value(1234567.5);           // 9 characters
        xl.Cells(4, 3).Value(QDate(2004, 8, 19));  // shown as 10
        xl.Cells(4, 4).ColumnWidth(6);
        xl.Cells(4, 5).Value("当归");
        xl.Cells(4, 5).Font().Size(22);            // twice the standard size, set after the value
        xl.Cells(5, 5).Value("当归");
        xl.Columns().AutoFit();
        QCOMPARE(xl.Cells(1, 1).ColumnWidth(), 11.0);
        QCOMPARE(xl.Cells(1, 2).ColumnWidth(), 10.0);
        QCOMPARE(xl.Cells(1, 3).ColumnWidth(), 11.0);
        QCOMPARE(xl.Cells(1, 4).ColumnWidth(), 6.0);   // no content: the width stays
        QCOMPARE(xl.Cells(1, 5).ColumnWidth(), 5.0);
        xl.Cells(9, 1).ColumnWidth(10);                // a fixed width set afterwards wins
        book.SaveAs(saved("fit.xls"));
        const testing::XlsxReader sheet(saved("fit.xls"));
        QCOMPARE(*sheet.columnWidth(1), storedWidth(10));
        QCOMPARE(*sheet.columnWidth(2), storedWidth(10));
    }

    void autoFitOfOneColumnLeavesTheOthers()
    {
        office::ExcelApplication xl;
        xl.Workbooks().Add();
        xl.Cells().Font().Size(9);
        xl.Cells(4, 1).Value("当归黄芪党参白术茯苓甘");   // 22 at 11 pt, 18 at 9 pt
        xl.Cells(4, 2).Value("当归黄芪党参白术茯苓甘");
        xl.Cells(4, 2).Columns().AutoFit();
        QCOMPARE(xl.Cells(4, 1).ColumnWidth(), 8.43);
        QCOMPARE(xl.Cells(4, 2).ColumnWidth(), 22 * 9 / 11.0 + 1);
    }

    void saveReplacesAnOlderFile()
    {
        {
            QFile older(saved("药品盘点表.xls"));
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write("an older sheet");
        }
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Range("a2").Value("药品名称");
        book.SaveAs("C:\\My Documents\\药品盘点表.xls");
        QCOMPARE(testing::XlsxReader(saved("药品盘点表.xls")).text("A2"), QStringLiteral("药品名称"));
        QCOMPARE(files(), QStringList{"药品盘点表.xls"});
    }

    void failedSaveLeavesNoHalfFile()
    {
        office::ExcelApplication xl;
        office::Workbook book = xl.Workbooks().Add();
        xl.Range("a2").Value("药品名称");
        QCOMPARE(errorOf([&] { book.SaveAs("c:\\my documents\\no such folder\\a.xls"); }), 76);

        {
            QFile older(saved("a.xls"));
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write("an older sheet");
        }
        win::setCopyByteLimit(100);   // the disk fills while the workbook is written
        try {
            book.SaveAs("c:\\my documents\\a.xls");
            QFAIL("the save should have failed");
        } catch (const office::Error& error) {
            QCOMPARE(error.number(), 61);
            QCOMPARE(error.description(), QStringLiteral("磁盘已满"));
        }
        QCOMPARE(files(), QStringList{"a.xls"});
        QFile older(saved("a.xls"));
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("an older sheet"));
    }

    void wrongCallsRaiseErrors()
    {
        office::ExcelApplication xl;
        QCOMPARE(errorOf([&] { xl.Range("a1"); }), 91);   // no workbook yet
        office::Workbook book = xl.Workbooks().Add();
        QCOMPARE(book.Worksheets("SHEET1").Name(), QStringLiteral("Sheet1"));
        QCOMPARE(errorOf([&] { book.Worksheets("sheet2"); }), 9);
        QCOMPARE(errorOf([&] { xl.Range("a0"); }), 1004);
        QCOMPARE(errorOf([&] { xl.Range("药品"); }), 1004);
        QCOMPARE(errorOf([&] { xl.Cells(0, 1); }), 1004);
        QCOMPARE(errorOf([&] { xl.Cells(1, 16385); }), 1004);
        QCOMPARE(errorOf([&] { xl.Cells(1, 1).ColumnWidth(256); }), 1004);
        QCOMPARE(errorOf([&] { xl.Cells().Value("x"); }), 1004);
        QCOMPARE(xl.Range("d3:b1").Value("y").Value(), Variant("y"));   // corners in any order
        QCOMPARE(xl.Cells(1, 2).Value(), Variant("y"));
        xl.Quit();
        QCOMPARE(errorOf([&] { xl.Cells(1, 1); }), 91);
    }
};

QTEST_MAIN(OfficeWorkbookTest)
#include "office_workbook_test.moc"
