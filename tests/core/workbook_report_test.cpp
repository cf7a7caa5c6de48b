// The report writer at the edges of a sheet: rows past the old 32,767-row limit are
// written, the sheet's last row is reachable, and a report one row longer than the
// sheet is refused with the older file of its name left as it was.
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
            const QString refused = testing::raised([&] {
                core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
                    row = {given + 1};
                    return given++ < rows;
                });
            }).description();
            QCOMPARE(refused, written ? QString() : "查询结果超过一张工作表所能容纳的 1048576 行，没有生成图表");
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
