// The menu item 药品结帐 (`Ypjz`): asks first, then runs the period settlement
// (settlement.h) in one transaction with the menus locked and the progress window
// showing how far it is, waits its 3 seconds and says it is done. Any error rolls
// the whole settlement back, closes the progress window and is reported as its
// number, CR LF and its description.
#pragma once

namespace dispensary {

void Ypjz_Click();

}  // namespace dispensary
