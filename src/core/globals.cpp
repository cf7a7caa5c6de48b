// The global values of the program and OpenDb (see globals.h).
#include "core/globals.h"

#include "data/database_file.h"

namespace core {

QString WindowsDir;
QString OwnerName;
QString LoginUser;
QString HelpTopic;

dao::Database OpenDb()
{
    return dao::Database::open(data::databasePath(WindowsDir), data::connectText());
}

}  // namespace core
