// Speed of filling the flex grid the way the windows do (row count, row heights,
// TextMatrix cell by cell) against the fastest plain Qt fill of the same grid: a
// QTableView over a table model that takes all 5,000 rows of 7 texts at once, with one
// row height for all rows. Both shown and painted, the same texts (compared first);
// the sides in turns, their medians and ratio (limit 1.5).
#include "platform/forms/application.h"
#include "platform/forms/flexgrid.h"
#include "timing.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <cstdio>
#include <vector>

namespace {
constexpr int Rows = 5000;
constexpr int Cols = 7;
constexpr int RowPixels = 400 / 15;   // 400 twips

QString cell(int row, int col) { return QStringLiteral("药材%1-%2").arg(row).arg(col); }

// The plain model: the texts in one vector, handed over in one reset.
class TextTable : public QAbstractTableModel {
public:
    void fill(std::vector<QString>&& texts)
    {
        beginResetModel();
        texts_ = std::move(texts);
        endResetModel();
    }
    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(texts_.size() / Cols); }
    int columnCount(const QModelIndex& = {}) const override { return Cols; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        return texts_[static_cast<size_t>(index.row()) * Cols + static_cast<size_t>(index.column())];
    }

private:
    std::vector<QString> texts_;
};
}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts

    forms::FlexGrid grid;
    grid.resize(800, 600);
    grid.show();
    grid.setFormatString("<a|<b|<c|<d|<e|<f|<g");
    const auto ours = [&] {
        grid.setRows(1);
        grid.setRows(Rows + 1);
        for (int r = 1; r <= Rows; ++r) {
            grid.setRowHeight(r, 400);
            for (int c = 0; c < Cols; ++c) grid.setTextMatrix(r, c, cell(r, c));
        }
        QCoreApplication::processEvents();
    };

    TextTable model;
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(RowPixels);
    view.resize(800, 600);
    view.show();
    const auto plain = [&] {
        model.fill({});
        std::vector<QString> texts;
        texts.reserve(static_cast<size_t>(Rows) * Cols);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < Cols; ++c) texts.push_back(cell(r, c));
        model.fill(std::move(texts));
        QCoreApplication::processEvents();
    };
    ours();
    plain();
    for (int r = 1; r <= Rows; ++r)   // the same texts in both
        for (int c = 0; c < Cols; ++c)
            if (grid.TextMatrix(r, c) != model.data(model.index(r - 1, c), Qt::DisplayRole).toString()) {
                std::fprintf(stderr, "flex grid fill: cell %d, %d differs\n", r, c);
                return 1;
            }
    const bench::Medians medians = bench::inTurns(ours, plain);

    std::printf("flex grid fill (%d x %d): FlexGrid %.1f ms, plain table model %.1f ms, ratio %.2f (limit 1.5%s)\n",
                Rows, Cols, medians.ours, medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 1.5));
    return 0;
}
