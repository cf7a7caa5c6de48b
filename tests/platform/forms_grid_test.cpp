// The flex grid: format strings, the shape (rows and columns), cell
// texts, and the mouse: clicks on merged cells reporting the row they hit, clicks on
// the header and below the last row; cells drawn as the application's style draws
// them; an activation change or a paused fill redrawing only what changes.
#include "platform/forms/flexgrid.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using namespace forms;

namespace {

// The centre of cell (row, col) in the viewport; row counts the header row.
QPoint cellCentre(const FlexGrid& grid, int row, int col)
{
    return grid.view()->visualRect(grid.view()->model()->index(row - 1, col)).center();
}

// A diagnosis-style grid: names merged over their symptom rows.
void fillSyndromes(FlexGrid& grid)
{
    grid.setFormatString("^病症名称|<临  床  症  状  表  现|<病症成因|<治疗措施");
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

// The diagnosis-style grid shown, its paints counted from now on.
bool shownAndWatched(FlexGrid& grid, PaintCount& count)
{
    fillSyndromes(grid);
    grid.show();
    if (!QTest::qWaitForWindowExposed(&grid)) return false;
    grid.view()->viewport()->installEventFilter(&count);
    return true;
}

}  // namespace

class FormsGridTest : public QObject {
    Q_OBJECT

private slots:
    // A format string sets columns and headers; cells outside the shape are ignored.
    void formatStringShapeAndSizesInTwips()
    {
        FlexGrid grid;
        grid.setFormatString("^A|<药 材 名 称|>药品销价");
        QCOMPARE(grid.Cols(), 3);
        QCOMPARE(grid.TextMatrix(0, 1), QString("药 材 名 称"));
        grid.setTextMatrix(1, 2, "12.00");
        grid.setTextMatrix(9, 0, "beyond");
        QCOMPARE(grid.TextMatrix(9, 0), QString());
        grid.setRows(1);                                       // header only
        QCOMPARE(grid.view()->model()->rowCount(), 0);
        grid.setRows(3);
        QCOMPARE(grid.TextMatrix(1, 2), QString());            // new rows start empty
        QCOMPARE(grid.TextMatrix(0, 2), QString("药品销价"));
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

        QVERIFY(grid.isMergedWithAbove(3, 0));
        QVERIFY(!grid.isMergedWithAbove(4, 0));                // a new name starts
        QVERIFY(!grid.isMergedWithAbove(3, 1));                // column not merged

        QList<int> clicked;
        grid.Click = [&] { clicked << grid.MouseRow(); };
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 0));
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 0));
        QCOMPARE(clicked, (QList<int>{3, 2}));
        QCOMPARE(grid.Row(), 2);

        QTest::mouseClick(grid.view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(grid.MouseRow(), 0);
        QCOMPARE(grid.Row(), 2);
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, QPoint(10, 390));
        QVERIFY(grid.MouseRow() >= grid.Rows());
        QCOMPARE(clicked.size(), 4);
    }

    // The cells look as the application's style draws them, which the grid spares only
    // the measuring of texts: aligned, cut short, empty, current and merged cells.
    void cellsLookAsTheApplicationStyleDrawsThem()
    {
        FlexGrid grid;
        fillSyndromes(grid);
        grid.setColAlignment(2, Alignment::Right);
        grid.setColAlignment(3, Alignment::Center);
        grid.setTextMatrix(1, 1, QString(60, QChar(u'症')));   // wider than its column
        grid.setTextMatrix(2, 2, "久病");
        grid.setTextMatrix(3, 3, "调治");
        grid.setRow(2);
        grid.setCol(1);
        grid.resize(600, 240);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QImage ours = grid.view()->viewport()->grab().toImage();
        grid.view()->setStyle(QApplication::style());
        QCoreApplication::processEvents();
        QCOMPARE(grid.view()->viewport()->grab().toImage(), ours);
    }

    // Another window taking or giving back the activation redraws the grid only when
    // its colours for an inactive window differ.
    void activationRedrawsOnlyWhatChangesColour()
    {
        FlexGrid grid;
        PaintCount count;
        QVERIFY(shownAndWatched(grid, count));
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

    // A paused fill redraws the grid only when it changed a cell.
    void pausedFillRedrawsOnlyAChange()
    {
        FlexGrid grid;
        PaintCount count;
        QVERIFY(shownAndWatched(grid, count));
        const auto paints = [&](const QString& text) {
            {
                const FlexGrid::RedrawPause paused(grid);
                grid.setTextMatrix(1, 0, "感冒");
                grid.setTextMatrix(1, 2, text);
            }
            QCoreApplication::processEvents();
            return std::exchange(count.paints, 0);
        };
        QCOMPARE(paints(QString()), 0);
        QVERIFY(paints("风寒") > 0);
    }
};

QTEST_MAIN(FormsGridTest)
#include "forms_grid_test.moc"
