// The dispensary's error trap; see error_trap.h.
#include "dispensary/error_trap.h"

#include "platform/dao/dao.h"
#include "platform/forms/services.h"
#include "platform/vb/error.h"

namespace dispensary {

QString errorDescription(const std::exception& error)
{
    if (const auto* database = dynamic_cast<const dao::Error*>(&error)) return database->description();
    if (const auto* runtime = dynamic_cast<const vb::Error*>(&error)) return runtime->description();
    return QString::fromUtf8(error.what());
}

bool runTrapped(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        forms::ReportError(errorDescription(error));
    } catch (...) {
        forms::ReportError(QStringLiteral("未知错误"));
    }
    return false;
}

}  // namespace dispensary
