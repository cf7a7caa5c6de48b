// The clinic program: the program's application (its error trap and its Chinese
// fonts), whose standard buttons speak Chinese and whose message boxes carry the
// system's name, the start-up (database placement, main window) and the event loop.
#include "app/register_windows.h"
#include "core/startup.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The standard texts of message boxes, file dialogs and edit menus in Chinese
// (是/否/确定, 打开, 复制...), as the clinic's desktop shows them.
void useChineseStandardTexts(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

}  // namespace

int main(int argc, char* argv[])
{
    forms::Application app(argc, argv);
    useChineseStandardTexts(app);
    forms::MessageBoxes::setDefaultTitle(QStringLiteral("岐禾中医门诊系统"));
    return core::RunSystem(QStringLiteral(":/shipped/zyqhmz.mdb"), registerWindows);
}
