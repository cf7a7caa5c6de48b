// The report writer: each cell typed by what its column holds, never by the look of
// its text; at the edges of a sheet, rows past the old 32,767-row limit are written,
// the sheet's last row is reachable, and a report one row longer than the sheet is
// refused with the older file of its name left as it was.
#include "core/workbook_report.h"
#include "platform/vb/error.h"
#include "platform/forms/services.h"
#include "platform/raised.h"
#include "platform/xlsx_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class WorkbookReportTest : public QObject {
    Q_OBJECT

private slots:
    // One row per column kind and value: the cell's kind, its text or number, its format.
    void cellsTypedByTheirColumn()
    {
        using Kind = core::ReportColumn::Kind;
        using Cell = testing::XlsxReader::Cell::Kind;
        const struct { Kind kind; const char* format; vb::Variant value; Cell cell; QString text; double number; } cases[] = {
            {Kind::Text, "", QStringLiteral("0000123"), Cell::Text, "0000123", 0},   // a record number keeps its zeros
            {Kind::Text, "", QStringLiteral("2024-03-05"), Cell::Text, "2024-03-05", 0},
            {Kind::Text, "", 12.5, Cell::Number, "", 12.5},                           // a field's own number
            {Kind::Number, "0.00", QStringLiteral("1,250.50"), Cell::Number, "0.00", 1250.5},
            {Kind::Number, "0.00", QString(), Cell::Blank, "0.00", 0},        // an empty price stays empty
            {Kind::Date, "", QStringLiteral("2024-03-05"), Cell::Number, "", 45356},   // the short date
            {Kind::Date, "yyyy年m月d日", QDate(2024, 3, 5), Cell::Number, "yyyy年m月d日", 45356}};
        QTemporaryDir folder;
        const QString path = folder.filePath("typed.xls");
        for (const auto& [kind, format, value, cell, text, number] : cases) {
            forms::MessageBoxes::TestHook boxes;
            const core::WorkbookReport report{path, {{"列", kind, QString::fromUtf8(format), 10}}};
            bool given = false;
            core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
                row = {value};
                return !std::exchange(given, true);
            });
            const auto read = testing::XlsxReader(path).cell("A5");
            QVERIFY(read);
            QCOMPARE(read->kind, cell);
            QCOMPARE(cell == Cell::Text ? read->text : read->numberFormat, text);
            QCOMPARE(read->number, number);
            QCOMPARE(read->numberFormatId == 14, kind == Kind::Date && !*format);
        }
    }

    // Rows with fewer or more values than the report has columns: a short row leaves its
    // last cells empty, values past the last column are left out (and nothing is read
    // past the end of either list, which the sanitizer build checks).
    void rowsOfAnotherLength()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("lengths.xls");
        forms::MessageBoxes::TestHook boxes;
        const core::WorkbookReport report{path, {{"名称", core::ReportColumn::Kind::Text, {}, 0},
                                                 {"数量", core::ReportColumn::Kind::Number, "0.00", 0}}};
        const std::vector<std::vector<vb::Variant>> rows{{QStringLiteral("黄芪")}, {QStringLiteral("当归"), 2.5, 9.0}};
        std::size_t given = 0;
        core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
            if (given == rows.size()) return false;
            row = rows[given++];
            return true;
        });
        const testing::XlsxReader book(path);
        QCOMPARE(book.text("A5") + book.text("A6"), QString("黄芪当归"));
        QVERIFY(!book.cell("B5") && !book.cell("C6"));
        QCOMPARE(book.cell("B6")->number, 2.5);
        QCOMPARE(book.cellCount(), 5);   // two headers, three values
    }

    // A report that could not be saved is refused before the first row is asked for,
    // with nothing shown and no file left: a folder standing at the report's name, a
    // missing folder, a folder that may not be written in (named in the message; the
    // system's own folder, which even root may not write in).
    void unsavableReportRefusedBeforeItsRows()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("报表.xls"));
        const struct { QString path; int number; QString named; } cases[] = {
            {folder.filePath("报表.xls"), 75, {}},
            {folder.filePath("没有的文件夹/报表.xls"), 76, {}},
            {"/sys/报表.xls", 70, "“/sys”"}};
        for (const auto& [path, number, named] : cases) {
            forms::MessageBoxes::TestHook boxes;
            const core::WorkbookReport report{path, {{"药品", core::ReportColumn::Kind::Text, {}, 10}}};
            int asked = 0;
            const vb::Error refused = testing::raised([&] {
                core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
                    row = {QStringLiteral("黄芪")};
                    return ++asked < 3;
                });
            });
            QCOMPARE(refused.number(), number);
            QVERIFY2(refused.description().contains(named), qPrintable(refused.description()));
            QCOMPARE(asked, 0);
            QVERIFY(boxes.log.empty());
        }
        QVERIFY(QFileInfo(folder.filePath("报表.xls")).isDir());
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"报表.xls"});
    }

    // A fitted first column takes its widest cell's width; the columns after the
    // report's last keep the standard width.
    void firstColumnFitted()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("fitted.xls");
        forms::MessageBoxes::TestHook boxes;
        const core::WorkbookReport report{path, {{"药品", core::ReportColumn::Kind::Text, {}, 0}}};
        bool given = false;
        core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
            row = {QStringLiteral("六味地黄丸六味地黄丸")};
            return !std::exchange(given, true);
        });
        const testing::XlsxReader book(path);
        QVERIFY(qAbs(*book.columnWidth(1) - (20 * 9 / 11.0 + 1)) < 1);
        QVERIFY(*book.columnWidth(2) < 10);
    }

    void rowsUpToTheSheetsEnd()
    {
        const struct { int firstRow, rows; bool written; } cases[] = {
            {32760, 20, true}, {1048570, 7, true}, {1048570, 8, false}};   // past 32,767; to the last row; one past
        for (const auto& [firstRow, rows, written] : cases) {
            QTemporaryDir folder;
            const QString path = folder.filePath("report.xls");
            QFile older(path);
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older report") > 0);
            older.close();
            forms::MessageBoxes::TestHook boxes;
            core::WorkbookReport report{path, {{"数量", core::ReportColumn::Kind::Number, {}, 10}}};
            report.firstDataRow = firstRow;
            int given = 0;
            const vb::Error error = testing::raised([&] {
                core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
                    row = {given + 1};
                    return given++ < rows;
                });
            });
            const QString refused = error.description();
            const int number = error.number();
            QCOMPARE(refused, written ? QString() : "查询结果超过一张工作表所能容纳的 1048576 行，没有生成图表");
            QCOMPARE(number, written ? 0 : 1004);
            QCOMPARE(boxes.log.size(), written ? 1u : 0u);
            if (written) {
                const testing::XlsxReader book(path);
                QCOMPARE(book.cell(QString("A%1").arg(firstRow + rows - 1))->number, double(rows));
            } else {
                QVERIFY(older.open(QIODevice::ReadOnly));
                QCOMPARE(older.readAll(), QByteArray("older report"));
            }
        }
    }
};

QTEST_MAIN(WorkbookReportTest)
#include "workbook_report_test.moc"
