// The flex grid: format strings, the shape (rows, columns, fixed parts, sizes in
// twips), cell texts, and the mouse: the row under the mouse, clicks on merged cells
// reporting the row they hit, clicks on the header.
#include "platform/forms/flexgrid.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using namespace forms;

namespace {

// The centre of cell (row, col) in the viewport; row counts the header row.
QPoint cellCentre(const FlexGrid& grid, int row, int col)
{
    const QRect rect = grid.view()->visualRect(grid.view()->model()->index(row - 1, col));
    return rect.center();
}

// A diagnosis-style grid: names merged over their symptom rows.
void fillSyndromes(FlexGrid& grid)
{
    grid.setFormatString("^病症名称|<临  床  症  状  表  现|<病症成因|<治疗措施");
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    const QStringList names{"感冒", "感冒", "感冒", "咳嗽", "咳嗽"};
    grid.setRows(names.size() + 1);
    for (int r = 1; r <= names.size(); ++r) {
        grid.setRowHeight(r, 460);
        grid.setTextMatrix(r, 0, names[r - 1]);
        grid.setTextMatrix(r, 1, QString("症状%1").arg(r));
    }
}

// Counts the paints of the widgets it watches.
struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class FormsGridTest : public QObject {
    Q_OBJECT

private slots:
    void formatStringShapeAndSizesInTwips()
    {
        FlexGrid grid;
        grid.setFormatString("<药品编码|<药 材 名 称|>药品销价|>计量单位|<药材类别");
        QCOMPARE(grid.Cols(), 5);
        QCOMPARE(grid.TextMatrix(0, 1), QString("药 材 名 称"));
        QCOMPARE(grid.ColAlignment(0), Alignment::Left);
        QCOMPARE(grid.ColAlignment(2), Alignment::Right);

        FlexGrid centred;
        centred.setFormatString("^A|B;|r1|r2|r3");
        QCOMPARE(centred.ColAlignment(0), Alignment::Center);
        QCOMPARE(centred.TextMatrix(0, 1), QString("B"));
        QCOMPARE(centred.Rows(), 4);
        QCOMPARE(centred.TextMatrix(3, 0), QString("r3"));

        // The shape and sizes in twips.
        grid.setFormatString("<编码|<名称|>用量(克)|>药价(元/克)|>药材金额(元)");
        grid.setRows(2);
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        grid.setColWidth(1, 1625);
        QCOMPARE(grid.ColWidth(1), 1620);                     // whole pixels: 108 px
        grid.setRowHeight(0, 420);
        grid.setRowHeight(1, 420);
        QCOMPARE(grid.RowHeight(1), 420);

        grid.setTextMatrix(1, 4, "12.00");
        grid.setTextMatrix(9, 0, "beyond");                    // outside: ignored
        QCOMPARE(grid.TextMatrix(1, 4), QString("12.00"));
        QCOMPARE(grid.TextMatrix(9, 0), QString());

        grid.setRows(1);                                       // header only
        QCOMPARE(grid.Rows(), 1);
        QCOMPARE(grid.view()->model()->rowCount(), 0);
        grid.setRows(3);
        QCOMPARE(grid.TextMatrix(1, 4), QString());            // new rows start empty
        QCOMPARE(grid.TextMatrix(0, 4), QString("药材金额(元)"));
    }

    // Clicks on merged cells report the row they hit; the header never becomes the
    // current row, and below the last row there is none.
    void theRowUnderTheMouse()
    {
        FlexGrid grid;
        grid.resize(800, 400);
        fillSyndromes(grid);
        grid.setMergeCells(true);
        grid.setMergeCol(0, true);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        QVERIFY(!grid.isMergedWithAbove(1, 0));
        QVERIFY(grid.isMergedWithAbove(3, 0));
        QVERIFY(!grid.isMergedWithAbove(4, 0));                // a new name starts
        QVERIFY(!grid.isMergedWithAbove(3, 1));                // column not merged

        QList<int> clicked;
        grid.Click = [&] { clicked << grid.MouseRow(); };
        int downRow = -1;
        grid.MouseDown = [&](int button, int, int, int) { if (button == vbLeftButton) downRow = grid.MouseRow(); };
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 0));
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 0));
        QCOMPARE(clicked, (QList<int>{3, 2}));
        QCOMPARE(downRow, 2);
        QCOMPARE(grid.Row(), 2);

        QTest::mouseClick(grid.view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(grid.MouseRow(), 0);
        QCOMPARE(grid.Row(), 2);
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, QPoint(10, 390));
        QVERIFY(grid.MouseRow() >= grid.Rows());
        QCOMPARE(clicked.size(), 4);
        QTest::mouseMove(grid.view()->viewport(), cellCentre(grid, 5, 1));
        QCOMPARE(grid.MouseRow(), 5);

        grid.setMergeCells(false);
        QVERIFY(!grid.isMergedWithAbove(3, 0));
    }

    // Another window taking or giving back the activation redraws the grid only when
    // its colours for an inactive window differ.
    void activationRedrawsOnlyWhatChangesColour()
    {
        FlexGrid grid;
        fillSyndromes(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        PaintCount count;
        grid.view()->viewport()->installEventFilter(&count);
        const auto deactivate = [&] {
            QEvent event(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(grid.view(), &event);
            QCoreApplication::processEvents();
            return std::exchange(count.paints, 0);
        };
        QCOMPARE(deactivate(), 0);
        QPalette palette = grid.view()->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::gray);
        grid.view()->setPalette(palette);
        QCoreApplication::processEvents();
        count.paints = 0;
        QVERIFY(deactivate() > 0);
    }

};

QTEST_MAIN(FormsGridTest)
#include "forms_grid_test.moc"
