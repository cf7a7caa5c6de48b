// Small pieces the knowledge-base windows share: the entered-by name, the seek of a
// key in its stored form and then as typed, the LIKE criterion of a fuzzy query and
// the fill of a result grid.
#pragma once

#include <QString>

namespace dao { class Recordset; }
namespace forms { class FlexGrid; }

namespace reference {

// LoginUser when it is not blank, OwnerName otherwise.
QString enteredBy();

// Seeks the key on the table's current index: first in the form NormalizeText stores
// it, then as typed (rows imported from elsewhere keep their keys as they came).
// True when a row was found; the recordset then stands on it.
bool seekStored(dao::Recordset& table, const QString& key1, const QString& key2 = {});

// "col like '*text*'" with the text quoted and its pattern characters taken literally;
// an empty text matches every row, Null columns included.
QString likeCriterion(const QString& column, const QString& text);

// Fills the grid's data rows from the result, one row a record, cells from the
// trimmed fields 0 to cols - 1 (Null as an empty text), each row `rowHeight` twips
// high, pumping events after each row; the grid keeps its header alone without rows.
// Returns the number of records.
int fillGrid(forms::FlexGrid* grid, dao::Recordset& rows, int cols, int rowHeight);

}  // namespace reference
