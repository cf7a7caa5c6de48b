// The two registry values the system reads at start-up, from a small settings file
// that stands in for the registry (registry.ini in the user's configuration folder,
// keys WindowsDir and OwnerName):
// - WindowsDir: the folder that holds "system\zyqhmz.mdb"; by default a per-user data
//   folder. $ZYQHMZ_WINDOWS_DIR overrides it (each test runs in its own folder).
// - OwnerName: the registered owner; by default the user's full name from the account
//   database, else the login name. $ZYQHMZ_OWNER_NAME overrides it.
#pragma once

#include <QString>

namespace win {

// A host folder without a trailing slash.
QString windowsDir();
QString ownerName();

}  // namespace win
