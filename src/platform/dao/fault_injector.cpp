// The write countdown for tests; see fault_injector.h. The layer calls beforeWrite()
// from its one place that runs statements (Statement::step).
#include "platform/dao/fault_injector.h"

#include "platform/dao/dao.h"

namespace dao {

namespace {

int countdown = 0;   // 0: disarmed
bool hasFired = false;

}  // namespace

void WriteFault::arm(int n)
{
    countdown = n > 0 ? n : 0;
    hasFired = false;
}

void WriteFault::disarm()
{
    countdown = 0;
}

bool WriteFault::fired()
{
    return hasFired;
}

void WriteFault::beforeWrite()
{
    if (countdown == 0 || --countdown > 0) return;
    hasFired = true;
    throw Error(errorNumber, QStringLiteral("磁盘或网络读写错误。"));
}

}  // namespace dao
