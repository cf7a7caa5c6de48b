// Speed of filling the flex grid the way the windows do (row count, row heights,
// TextMatrix cell by cell) against a plain QTableView over a QStandardItemModel
// filled with the same 5,000 rows of 7 texts; prints both times and their ratio.
#include "platform/forms/flexgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <QTableView>
#include <cstdio>

namespace {
constexpr int Rows = 5000;
constexpr int Cols = 7;

QString cell(int row, int col) { return QStringLiteral("药材%1-%2").arg(row).arg(col); }
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    QElapsedTimer timer;
    timer.start();
    forms::FlexGrid grid;
    grid.resize(800, 600);
    grid.show();
    grid.setFormatString("<a|<b|<c|<d|<e|<f|<g");
    grid.setRows(Rows + 1);
    for (int r = 1; r <= Rows; ++r) {
        grid.setRowHeight(r, 400);
        for (int c = 0; c < Cols; ++c) grid.setTextMatrix(r, c, cell(r, c));
    }
    QCoreApplication::processEvents();
    const qint64 ours = timer.nsecsElapsed();

    timer.restart();
    QStandardItemModel model(0, Cols);
    QTableView view;
    view.setModel(&model);
    view.resize(800, 600);
    view.show();
    model.setRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) model.setItem(r, c, new QStandardItem(cell(r + 1, c)));
    QCoreApplication::processEvents();
    const qint64 plain = timer.nsecsElapsed();

    std::printf("flex grid fill (%d x %d): FlexGrid %.1f ms, QStandardItemModel %.1f ms, ratio %.2f\n",
                Rows, Cols, ours / 1e6, plain / 1e6, static_cast<double>(ours) / plain);
    return 0;
}
