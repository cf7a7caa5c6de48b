// The flex grid (see flexgrid.h): a table model over one vector of texts, row after
// row (a fill of thousands of rows allocates no row of its own), a view whose
// horizontal header shows row 0 when there is a fixed row, and a delegate that draws
// equal adjacent cells of merged columns as one.
#include "platform/forms/flexgrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <vector>

namespace forms {

namespace {
constexpr int DefaultColWidth = 960;     // twips
constexpr int DefaultRowHeight = 240;    // twips

Qt::Alignment qtAlignment(Alignment alignment)
{
    return horizontalAlignment(alignment) | Qt::AlignVCenter;
}
}  // namespace

class FlexGridModel : public QAbstractTableModel {
public:
    std::vector<QString> texts;                // the cells row after row, fixed rows included
    std::vector<Alignment> alignments;
    std::vector<bool> mergeCols;
    std::vector<int> rowHeights;               // twips
    int cols = 2;
    int fixedRows = 1;
    int fixedCols = 1;
    QColor back;

    int offset() const { return fixedRows > 0 ? 1 : 0; }   // row 0 sits in the header
    int storedRows() const { return static_cast<int>(rowHeights.size()); }
    static std::size_t place(int row, int col, int cols)
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(col);
    }
    QString& cell(int row, int col) { return texts[place(row, col, cols)]; }
    const QString& cell(int row, int col) const { return texts[place(row, col, cols)]; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : storedRows() - offset();
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const int row = index.row() + offset();
        const int col = index.column();
        switch (role) {
        case Qt::DisplayRole:
            return cell(row, col);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(qtAlignment(alignments[static_cast<std::size_t>(col)]));
        case Qt::BackgroundRole:
            if (row < fixedRows || col < fixedCols) return QApplication::palette().button();
            return back.isValid() ? QVariant(back) : QVariant();
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || storedRows() == 0) return {};
        if (role == Qt::DisplayRole) return cell(0, section);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(qtAlignment(alignments[static_cast<std::size_t>(section)]));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled | Qt::ItemIsSelectable; }

    // Grows (empty cells, default height) or cuts the stored rows; the caller tells the view.
    void storeRows(int rows)
    {
        texts.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        rowHeights.resize(static_cast<std::size_t>(rows), DefaultRowHeight);
    }

    void resizeRows(int rows)
    {
        const int current = storedRows();
        if (rows == current) return;
        const int first = current - offset();
        const int last = rows - offset() - 1;
        if (rows > current) {
            if (last >= first) beginInsertRows({}, std::max(first, 0), last);
            storeRows(rows);
            if (last >= first) endInsertRows();
        } else {
            const int keep = std::max(rows - offset(), 0);
            if (first - 1 >= keep) beginRemoveRows({}, keep, first - 1);
            storeRows(rows);
            if (first - 1 >= keep) endRemoveRows();
        }
    }

    void resizeCols(int count)
    {
        beginResetModel();
        std::vector<QString> moved(static_cast<std::size_t>(storedRows()) * static_cast<std::size_t>(count));
        for (int row = 0; row < storedRows(); ++row)
            for (int col = 0; col < std::min(cols, count); ++col)
                moved[place(row, col, count)] = std::move(cell(row, col));
        texts.swap(moved);
        cols = count;
        alignments.resize(static_cast<std::size_t>(count), Alignment::Left);
        mergeCols.resize(static_cast<std::size_t>(count), false);
        endResetModel();
    }

    void changedRow(int row, int firstCol, int lastCol)
    {
        if (row < offset()) {
            emit headerDataChanged(Qt::Horizontal, firstCol, lastCol);
            return;
        }
        emit dataChanged(index(row - offset(), firstCol), index(row - offset(), lastCol));
    }

    void reset(const std::function<void()>& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }
};

// The grid's cells hold text alone, drawn over the whole cell as the application's
// style draws item views: their text rectangle is the cell, and there is no check box
// or icon to place. The style would measure every cell's text three times to find
// that out before it draws it; this style says so without measuring and leaves the
// drawing, and every other cell, to the application's style.
class CellStyle : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        if (isPlainCell(option)) {
            if (element == SE_ItemViewItemText) return option->rect;
            if (element == SE_ItemViewItemCheckIndicator || element == SE_ItemViewItemDecoration) return {};
        }
        return QProxyStyle::subElementRect(element, option, widget);
    }

private:
    static bool isPlainCell(const QStyleOption* option)
    {
        const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        constexpr auto extras = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
        return item && item->showDecorationSelected && !(item->features & extras)
               && (item->decorationPosition == QStyleOptionViewItem::Left
                   || item->decorationPosition == QStyleOptionViewItem::Right);
    }
};

// One for every grid, made with the first and gone with the application.
QStyle* cellStyle()
{
    static QPointer<QStyle> style = [] {
        auto* cells = new CellStyle;
        cells->setParent(qApp);
        return cells;
    }();
    return style;
}

// Draws a cell that continues the merged cell above as background only, over the
// grid line between them.
class FlexGridDelegate : public QStyledItemDelegate {
public:
    explicit FlexGridDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int row = index.row() + grid_->model_->offset();
        if (!grid_->isMergedWithAbove(row, index.column())) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QVariant background = index.data(Qt::BackgroundRole);
        const QBrush brush = background.isValid() ? background.value<QBrush>() : option.palette.base();
        painter->fillRect(option.rect.adjusted(0, -1, 0, 0), brush);
    }

private:
    FlexGrid* grid_;
};

FlexGrid::FlexGrid(QWidget* parent) : Control(parent, new QTableView), model_(std::make_unique<FlexGridModel>())
{
    view_ = static_cast<QTableView*>(inner());
    view_->setModel(model_.get());
    view_->setItemDelegate(new FlexGridDelegate(this));
    view_->setStyle(cellStyle());
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);   // Tab leaves the grid; the arrows walk its cells
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(toPixels(DefaultRowHeight));
    view_->horizontalHeader()->setMinimumSectionSize(1);
    view_->horizontalHeader()->setSectionsClickable(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->setDefaultSectionSize(toPixels(DefaultColWidth));
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    model_->resizeCols(2);
    model_->resizeRows(2);
    syncHeader();

    // The bridge first: this grid's own filter then runs before it, so MouseRow is
    // already the row under the mouse when MouseDown runs.
    bridge(view_->viewport());
    bridge(view_->horizontalHeader()->viewport());
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    view_->horizontalHeader()->viewport()->installEventFilter(this);
    view_->viewport()->setMouseTracking(true);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                row_ = current.row() + model_->offset();
                col_ = current.column();
            });
}

FlexGrid::~FlexGrid()
{
    view_->setModel(nullptr);
}

void FlexGrid::setFormatString(const QString& format)
{
    const QStringList headers = format.split(QLatin1Char('|'));
    if (headers.size() > Cols()) setCols(static_cast<int>(headers.size()));
    const QFontMetrics metrics(view_->font());
    for (int c = 0; c < headers.size(); ++c) {
        QString text = headers[c];
        if (!text.isEmpty() && QStringLiteral("<^>").contains(text.front())) {
            const QChar mark = text.front();
            setColAlignment(c, mark == QLatin1Char('>') ? Alignment::Right
                               : mark == QLatin1Char('^') ? Alignment::Center
                                                          : Alignment::Left);
            text.remove(0, 1);
        }
        setTextMatrix(0, c, text);
        setColWidth(c, toTwips(metrics.horizontalAdvance(text) + 8));
    }
}

int FlexGrid::Rows() const { return model_->storedRows(); }

void FlexGrid::setRows(int rows)
{
    model_->resizeRows(std::max(rows, fixedRows_));
    if (row_ >= Rows()) row_ = std::max(Rows() - 1, fixedRows_);
}

int FlexGrid::Cols() const { return model_->cols; }

void FlexGrid::setCols(int cols)
{
    cols = std::max(cols, std::max(fixedCols_, 1));
    std::vector<int> widths;
    for (int c = 0; c < cols; ++c) widths.push_back(c < Cols() ? ColWidth(c) : DefaultColWidth);
    model_->resizeCols(cols);
    for (int c = 0; c < cols; ++c) setColWidth(c, widths[static_cast<std::size_t>(c)]);
    if (col_ >= cols) col_ = cols - 1;
    syncSections();
}

void FlexGrid::setFixedRows(int rows)
{
    rows = std::max(rows, 0);
    const int height0 = Rows() > 0 ? RowHeight(0) : DefaultRowHeight;
    model_->reset([&] {
        fixedRows_ = model_->fixedRows = rows;
        if (Rows() < rows) model_->storeRows(rows);
    });
    if (row_ < rows) row_ = rows;
    syncHeader();
    setRowHeight(0, height0);
    syncSections();
}

void FlexGrid::setFixedCols(int cols)
{
    cols = std::clamp(cols, 0, Cols());
    model_->reset([&] { fixedCols_ = model_->fixedCols = cols; });
    if (col_ < cols) col_ = std::min(cols, Cols() - 1);
    syncSections();
}

int FlexGrid::ColWidth(int col) const
{
    return toTwips(view_->horizontalHeader()->sectionSize(col));
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols()) return;
    view_->horizontalHeader()->resizeSection(col, toPixels(std::max(twips, 0)));
}

int FlexGrid::RowHeight(int row) const
{
    if (row < 0 || row >= Rows()) return 0;
    return model_->rowHeights[static_cast<std::size_t>(row)];
}

// Every data row usually gets the same height: that height becomes the view's
// default section size, so filling thousands of rows costs no per-row resize.
void FlexGrid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= Rows()) return;
    model_->rowHeights[static_cast<std::size_t>(row)] = twips;
    const int pixels = std::max(toPixels(twips), 1);
    if (row < model_->offset()) {
        view_->horizontalHeader()->setFixedHeight(pixels);
        return;
    }
    QHeaderView* rows = view_->verticalHeader();
    const int section = row - model_->offset();
    if (section == 0 && rows->defaultSectionSize() != pixels) rows->setDefaultSectionSize(pixels);
    if (rows->sectionSize(section) != pixels) rows->resizeSection(section, pixels);
}

void FlexGrid::setColAlignment(int col, Alignment alignment)
{
    if (col < 0 || col >= Cols()) return;
    model_->alignments[static_cast<std::size_t>(col)] = alignment;
    if (Rows() > 0) model_->changedRow(0, col, col);
    view_->viewport()->update();
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return {};
    return model_->cell(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return;
    QString& cell = model_->cell(row, col);
    if (cell == text) return;
    cell = text;
    if (!redraw_ && row >= model_->offset()) {
        unshown_ = true;
        return;
    }
    model_->changedRow(row, col, col);
    if (mergeCells_ && MergeCol(col) && row + 1 < Rows()) model_->changedRow(row + 1, col, col);
}

void FlexGrid::setRedraw(bool on)
{
    if (on == redraw_) return;
    redraw_ = on;
    if (!on || !unshown_) return;
    unshown_ = false;
    const int rows = model_->rowCount();
    if (rows > 0) emit model_->dataChanged(model_->index(0, 0), model_->index(rows - 1, Cols() - 1));
}

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= Rows()) return;
    row_ = row;
    selectCurrent();
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= Cols()) return;
    col_ = col;
    selectCurrent();
}

void FlexGrid::selectCurrent()
{
    if (row_ < model_->offset()) return;
    const QModelIndex index = model_->index(row_ - model_->offset(), col_);
    QSignalBlocker block(view_->selectionModel());
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view_->viewport()->update();
}

void FlexGrid::setMergeCells(bool on)
{
    if (on == mergeCells_) return;
    mergeCells_ = on;
    view_->viewport()->update();
}

bool FlexGrid::MergeCol(int col) const
{
    return col >= 0 && col < Cols() && model_->mergeCols[static_cast<std::size_t>(col)];
}

void FlexGrid::setMergeCol(int col, bool merge)
{
    if (col < 0 || col >= Cols()) return;
    model_->mergeCols[static_cast<std::size_t>(col)] = merge;
    view_->viewport()->update();
}

bool FlexGrid::isMergedWithAbove(int row, int col) const
{
    if (!mergeCells_ || !MergeCol(col) || row <= fixedRows_ || row >= Rows()) return false;
    return TextMatrix(row, col) == TextMatrix(row - 1, col);
}

void FlexGrid::setGridBackColor(const QColor& color)
{
    model_->back = color;
    view_->viewport()->update();
}

void FlexGrid::syncHeader()
{
    view_->horizontalHeader()->setVisible(model_->offset() > 0);
}

// Qt forgets section sizes when the model resets: put the heights back.
void FlexGrid::syncSections()
{
    for (int r = 0; r < Rows(); ++r) setRowHeight(r, model_->rowHeights[static_cast<std::size_t>(r)]);
}

void FlexGrid::cellAt(QObject* watched, const QPoint& pos, int& row, int& col) const
{
    if (watched == view_->horizontalHeader()->viewport()) {
        row = 0;
        col = view_->horizontalHeader()->logicalIndexAt(pos.x());
        return;
    }
    const int section = view_->rowAt(pos.y());
    row = section < 0 ? Rows() : section + model_->offset();
    col = view_->columnAt(pos.x());
    if (col < 0) col = Cols();
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        // The view redraws every visible cell when its window gains or loses the
        // activation (another window shown on top, a message box); with the same
        // colours for active and inactive windows the redraw shows nothing new.
        if (watched == view_ && view_->palette().isEqual(QPalette::Active, QPalette::Inactive)) return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        handleMouse(watched, event);
        break;
    default:
        break;
    }
    return Control::eventFilter(watched, event);
}

// Keeps MouseRow and the column under the mouse up to date and fires Click; a press
// on a cell below the fixed rows makes it the current cell.
void FlexGrid::handleMouse(QObject* watched, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    cellAt(watched, mouse->position().toPoint(), mouseRow_, mouseCol_);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressed_ = true;
        if (mouseRow_ >= fixedRows_ && mouseRow_ < Rows() && mouseCol_ < Cols()) {
            row_ = mouseRow_;
            col_ = std::max(mouseCol_, fixedCols_ < Cols() ? fixedCols_ : 0);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (pressed_ && Click) Click();
        pressed_ = false;
        break;
    default:
        break;
    }
}

}  // namespace forms
