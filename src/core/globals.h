// The program's global values, shared by every window: the Windows folder and the
// registered owner read at start-up, the login user (blank: this system has no login
// window yet), the help code of the window whose help button was pressed, and the one
// way to open the database file.
#pragma once

#include "platform/dao/dao.h"

#include <QString>

namespace core {

extern QString WindowsDir;   // no trailing backslash
extern QString OwnerName;    // trimmed
extern QString LoginUser;    // trimmed; blank when nobody logged in
extern QString HelpTopic;    // empty while no help window is open

// Opens WindowsDir's database file with the system's password; throws dao::Error.
dao::Database OpenDb();

}  // namespace core
