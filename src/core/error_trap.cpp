// The error trap of the windows; see error_trap.h.
#include "core/error_trap.h"

#include "core/main_window.h"
#include "platform/dao/dao.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>
#include <QTimer>
#include <exception>

namespace core {

namespace {
const QString UnknownError = QStringLiteral("未知错误");

// Once the database file has left its place, no window may go on showing its rows:
// every working window closes as soon as the handler that met the error has ended.
void closeWorkingWindows()
{
    QTimer::singleShot(0, [] {
        if (QMdiArea* area = forms::Form::mdiArea())
            for (QMdiSubWindow* window : area->subWindowList())
                if (auto* form = qobject_cast<forms::Form*>(window->widget())) form->Unload();
        menuOn();
    });
}

bool runReporting(const std::function<void()>& work,
                  const std::function<void(int number, const QString& description)>& report)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        report(forms::ErrorNumber(error), forms::ErrorDescription(error));
        if (forms::ErrorNumber(error) == dao::MovedDatabaseNumber) closeWorkingWindows();
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
