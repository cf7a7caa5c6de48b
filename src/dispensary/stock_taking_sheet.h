// The menu item 药品库存盘点 (`YckcPd`): the stock-taking sheet. Every row of the stock
// balance `ycyltb`, in stored order, with its balance quantity, written to
// "c:\my documents\药品盘点表.xls" beside two empty columns for the counted quantity
// and the difference; the menus are locked while it runs. Nothing is written to the
// database.
#pragma once

namespace dispensary {

void YckcPd_Click();

}  // namespace dispensary
