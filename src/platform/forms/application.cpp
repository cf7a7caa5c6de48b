// The application's last trap for errors of event handlers (see application.h).
#include "platform/forms/application.h"

#include "platform/forms/services.h"

namespace forms {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Screen::setMousePointer(vbArrow);
        ReportErrorLine(error);
    }
    return false;
}

}  // namespace forms
