// The program's global values, shared by every window: the Windows folder and the
// registered owner read at start-up, the login user (blank: this system has no login
// window yet), the help code of the window whose help button was pressed, and the
// database file: opened once at start-up and held for the run, so the open and close
// of every handler (OpenDb) cost no key derivation.
#pragma once

#include "platform/dao/dao.h"

#include <QString>

namespace core {

extern QString WindowsDir;   // no trailing backslash
extern QString OwnerName;    // trimmed
extern QString LoginUser;    // trimmed; blank when nobody logged in
extern QString HelpTopic;    // empty while no help window is open

// Opens WindowsDir's database file with the system's password; throws dao::Error.
// While the program holds the file (HoldDb) this shares the held connection.
dao::Database OpenDb();

// Opens WindowsDir's database file and holds it until ReleaseDb (start-up, and the
// end of the run). Throws dao::Error when the file cannot be opened with the key.
void HoldDb();
void ReleaseDb();

}  // namespace core
