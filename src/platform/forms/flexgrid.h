// FlexGrid: the old flex grid over a plain table of texts. Row and column numbers
// count the fixed (header) rows and columns too, as TextMatrix(r, c) did; sizes are
// in twips. Filling thousands of rows costs no widget per cell: the cells live in a
// vector of rows behind a table model.
#pragma once

#include "platform/forms/control.h"

#include <QStringList>
#include <memory>

class QTableView;

namespace forms {

class FlexGridModel;

class FlexGrid : public Control {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // "<a|^b|>c" sets Cols, row 0's texts and the alignments (< left, ^ centre,
    // > right).
    void setFormatString(const QString& format);

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int rows);
    void setFixedCols(int cols);

    int ColWidth(int col) const;                    // twips
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;                   // twips
    void setRowHeight(int row, int twips);
    void setColAlignment(int col, Alignment alignment);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Off while a fill writes many cells: the view is not told of each cell below
    // the header row, and turning it on again redraws the grid once if a cell changed.
    void setRedraw(bool on);
    // Redraw held off for a fill's lifetime, and on again when it ends or fails.
    class RedrawPause {
    public:
        explicit RedrawPause(FlexGrid& grid) : grid_(grid) { grid_.setRedraw(false); }
        ~RedrawPause() { grid_.setRedraw(true); }
        RedrawPause(const RedrawPause&) = delete;
        RedrawPause& operator=(const RedrawPause&) = delete;

    private:
        FlexGrid& grid_;
    };
    // The cell at Row, Col.
    QString Text() const { return TextMatrix(row_, col_); }

    int Row() const { return row_; }
    void setRow(int row);
    void setCol(int col);
    // The row under the mouse at the last mouse event (press, move or release).
    int MouseRow() const { return mouseRow_; }

    // Merging: with MergeCells on, equal adjacent cells of every column whose
    // MergeCol is true are shown as one; clicks still report the row they hit.
    void setMergeCells(bool on);
    bool MergeCol(int col) const;
    void setMergeCol(int col, bool merge);
    // True when the cell is drawn as part of the merged cell above it.
    bool isMergedWithAbove(int row, int col) const;

    void setGridBackColor(const QColor& color);
    QTableView* view() const { return view_; }

private:
    void handleMouse(QObject* watched, QEvent* event);
    void cellAt(QObject* watched, const QPoint& pos, int& row, int& col) const;
    void syncHeader();
    void syncSections();
    void selectCurrent();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QTableView* view_;
    std::unique_ptr<FlexGridModel> model_;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 1;
    int col_ = 1;
    int mouseRow_ = 0;
    int mouseCol_ = 0;
    bool mergeCells_ = false;
    bool redraw_ = true;
    bool unshown_ = false;   // a cell changed while redraw was off
    bool pressed_ = false;
    friend class FlexGridDelegate;
};

}  // namespace forms
