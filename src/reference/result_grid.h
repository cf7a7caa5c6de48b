// The result grid of the knowledge-base query windows: one data row per record, 400
// twips high, each cell the trimmed value of the record's column of the same number
// (as many columns as the grid has). A source without a record leaves the header and
// one empty data row. The grid is sized once and filled without the event pump.
#pragma once

namespace dao { class Recordset; }
namespace forms { class FlexGrid; }

namespace reference {

void fillGrid(forms::FlexGrid& grid, dao::Recordset& rows);

}  // namespace reference
