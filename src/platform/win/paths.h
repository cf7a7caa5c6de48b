// Windows-style paths as the windows write them, mapped to host paths in one place:
// backslashes become '/', and "c:\my documents\" (in any letter case) becomes the
// user's documents folder. Paths built on WindowsDir are host paths already once
// WindowsDir is a host folder ("/home/li/.local/share/zyqhmz" + "\system\zyqhmz.mdb").
#pragma once

#include <QString>

namespace win {

// The folder behind "c:\my documents\": $ZYQHMZ_DOCUMENTS_DIR when set (tests),
// otherwise the desktop's documents folder. No trailing slash.
QString documentsDir();

QString hostPath(const QString& windowsPath);

}  // namespace win
