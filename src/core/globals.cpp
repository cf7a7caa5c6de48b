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

void WithDbClosed(const std::function<void()>& work)
{
    ReleaseDb();
    if (dao::Database::inUse(databaseFile())) {
        HoldDb();
        throw dao::Error(3260, QStringLiteral("数据库文件正被本程序的其他窗口使用，不能关闭。"));
    }
    try {
        work();
    } catch (...) {
        try {
            HoldDb();
        } catch (const dao::Error&) {
            // the work's own error is the one to tell
        }
        throw;
    }
    HoldDb();
}

}  // namespace core
