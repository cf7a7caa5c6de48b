// The result grid fill; see result_grid.h.
#include "reference/result_grid.h"

#include "platform/dao/dao.h"
#include "platform/forms/flexgrid.h"
#include "platform/vb/strings.h"

#include <algorithm>

namespace reference {

void fillGrid(forms::FlexGrid& grid, dao::Recordset& rows, int rowHeight)
{
    // The view is told of the new cells once, when the fill ends or fails.
    const forms::FlexGrid::RedrawPause paused(grid);
    const int count = rows.recordCount();
    grid.setRows(std::max(count, 1) + 1);
    grid.setRowHeight(1, rowHeight);
    if (rows.eof())
        for (int col = 0; col < grid.Cols(); ++col) grid.setTextMatrix(1, col, QString());
    int row = 1;
    for (; !rows.eof(); rows.moveNext(), ++row) {
        grid.setRowHeight(row, rowHeight);
        for (int col = 0; col < grid.Cols(); ++col) grid.setTextMatrix(row, col, vb::Trim(rows.field(col).toString()));
    }
}

}  // namespace reference
