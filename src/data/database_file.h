// The database file of the system: where it lies, the fixed passwords it and the
// import sources are keyed with, the connect texts the windows open it with, and the
// making of a fresh empty file from the table descriptions (schema.h), which only the
// build tool and the tests do.
#pragma once

#include <QString>

namespace data {

QString databasePassword();     // the system's own database file
QString importPassword();       // source files of the herb, formula and diagnosis imports
QString connectText();          // ";pwd=" + databasePassword()
QString importConnectText();    // ";pwd=" + importPassword()

// WindowsDir + "\system\zyqhmz.mdb", as a host path.
QString databasePath(const QString& windowsDir);

// Makes a new file at `path` keyed with `password`, holding every table and index.
// Throws dao::Error when the file exists or cannot be written.
void createDatabase(const QString& path, const QString& password);

}  // namespace data
