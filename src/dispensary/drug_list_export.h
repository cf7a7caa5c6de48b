// The drug list's 打印 button (`CmdExit` of Frmyjwh): writes the codes, names, prices
// and units that the window's grid lists into a new workbook, saved as
// "c:\my documents\药品编码名称对照表.xls" for the user to print from the spreadsheet
// program. The database is not read: the grid is the source.
#pragma once

#include <QString>

namespace forms {
class CommandButton;
class FlexGrid;
}

namespace dispensary {

inline const QString DrugListWorkbook = QStringLiteral("c:\\my documents\\药品编码名称对照表.xls");

// An empty list says "没有要打印的内容" and writes nothing. Otherwise `button` stays
// disabled while the rows are written and through the pause after printing; an error
// is shown as its description and nothing is saved.
void exportDrugList(const forms::FlexGrid& grid, forms::CommandButton* button);

}  // namespace dispensary
