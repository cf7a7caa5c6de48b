// The error trap of the windows; see error_trap.h.
#include "core/error_trap.h"

#include "platform/forms/services.h"

#include <QString>
#include <exception>

namespace core {

namespace {
const QString UnknownError = QStringLiteral("未知错误");

bool runReporting(const std::function<void()>& work,
                  const std::function<void(int number, const QString& description)>& report)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        report(forms::ErrorNumber(error), forms::ErrorDescription(error));
    } catch (...) {
        report(0, UnknownError);
    }
    return false;
}
}  // namespace

bool runTrapped(const std::function<void()>& work)
{
    return runReporting(work, [](int, const QString& description) { forms::ReportError(description); });
}

bool runTrappedNumbered(const std::function<void()>& work)
{
    return runReporting(work, [](int number, const QString& description) {
        forms::MsgBox(QString::number(number) + QStringLiteral("\r\n") + description, forms::vbOKOnly);
    });
}

bool runTrappedLine(const std::function<void()>& work)
{
    return runReporting(work, [](int number, const QString& description) {
        forms::ReportErrorLine(number, description);
        forms::Screen::setMousePointer(forms::vbDefault);
    });
}

bool runTrappedBlock(const std::function<void()>& work)
{
    return runReporting(work, [](int number, const QString& description) {
        forms::ReportErrorBlock(number, description, forms::NumberText::LeadingBlank, forms::BoxTitle::Empty);
    });
}

bool runTrappedBlockTitled(const std::function<void()>& work)
{
    return runReporting(work, [](int number, const QString& description) {
        forms::ReportErrorBlock(number, description);
    });
}

}  // namespace core
