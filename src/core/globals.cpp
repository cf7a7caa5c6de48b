// The global values of the program and the held database connection (see globals.h).
#include "core/globals.h"

#include "data/database_file.h"

namespace core {

QString WindowsDir;
QString OwnerName;
QString LoginUser;
QString HelpTopic;

namespace {

dao::Database& heldDb()
{
    static dao::Database held;
    return held;
}

QString databaseFile()
{
    return data::databasePath(WindowsDir);
}

}  // namespace

dao::Database OpenDb()
{
    return dao::Database::open(databaseFile(), data::connectText());
}

void HoldDb()
{
    heldDb() = OpenDb();
}

void ReleaseDb()
{
    heldDb().close();
}

}  // namespace core
