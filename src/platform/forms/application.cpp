// The application's last trap for errors of event handlers and its fonts (see
// application.h).
#include "platform/forms/application.h"

#include "platform/forms/services.h"

#include <QFont>

namespace forms {

namespace {

void useChineseFonts()
{
    const QString standIn = QStringLiteral("WenQuanYi Zen Hei");
    QFont::insertSubstitution(QStringLiteral("宋体"), standIn);
    QFont::insertSubstitution(QStringLiteral("SimSun"), standIn);
    QFont font(QStringLiteral("宋体"), 10);
    font.setFamilies({QStringLiteral("宋体"), standIn});
    QApplication::setFont(font);
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { useChineseFonts(); }

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
