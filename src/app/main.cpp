// The clinic program: a Qt application whose texts render in Chinese and whose
// message boxes carry the system's name, the start-up (database placement, main
// window) and the event loop.
#include "app/register_windows.h"
#include "core/startup.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"

#include <QFont>

namespace {

// The windows ask for 宋体; on a desktop without it a Chinese font of the same
// reading stands in, and the program's own font renders Chinese too.
void setChineseFonts()
{
    const QString standIn = QStringLiteral("WenQuanYi Zen Hei");
    QFont::insertSubstitution(QStringLiteral("宋体"), standIn);
    QFont::insertSubstitution(QStringLiteral("SimSun"), standIn);
    QFont font(QStringLiteral("宋体"), 10);
    font.setFamilies({QStringLiteral("宋体"), standIn});
    QApplication::setFont(font);
}

}  // namespace

int main(int argc, char* argv[])
{
    forms::Application app(argc, argv);
    setChineseFonts();
    forms::MessageBoxes::setDefaultTitle(QStringLiteral("岐禾中医门诊系统"));
    return RunSystem(QStringLiteral(":/shipped/zyqhmz.mdb"), registerWindows);
}
