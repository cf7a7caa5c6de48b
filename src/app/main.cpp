// The clinic program: a Qt application whose texts render in Chinese, whose standard
// buttons speak Chinese and whose message boxes carry the system's name, the start-up (database placement, main
// window) and the event loop.
#include "app/register_windows.h"
#include "core/startup.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

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
    setChineseFonts();
    useChineseStandardTexts(app);
    forms::MessageBoxes::setDefaultTitle(QStringLiteral("岐禾中医门诊系统"));
    return core::RunSystem(QStringLiteral(":/shipped/zyqhmz.mdb"), registerWindows);
}
