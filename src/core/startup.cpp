// Start-up (see startup.h).
#include "core/startup.h"

#include "core/globals.h"
#include "core/main_window.h"
#include "data/database_file.h"
#include "platform/forms/services.h"
#include "platform/office/leftovers.h"
#include "platform/vb/strings.h"
#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"
#include "platform/win/registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryFile>
#include <memory>

namespace core {

namespace {

// Copies the shipped file into the system folder, making the folder first. The
// shipped file is embedded in the program, so the copy reads it through a native
// temporary copy.
bool placeShippedDatabase(const QString& shippedDatabase, const QString& database)
{
    QFile shipped(shippedDatabase);
    if (!shipped.exists())
        return false;
    const std::unique_ptr<QTemporaryFile> nativeCopy(QTemporaryFile::createNativeFile(shipped));
    win::makePrivateFolders(QFileInfo(database).absolutePath());
    win::copyFile(nativeCopy ? nativeCopy->fileName() : shippedDatabase, database);
    return true;
}

// Makes sure the database file stands in the system folder; false, after telling the
// user, when it cannot.
bool placeDatabase(const QString& shippedDatabase)
{
    const QString database = data::databasePath(WindowsDir);
    try {
        win::sweepCopyLeftovers(database);
        if (QFileInfo::exists(database)) {
            // Earlier versions placed the file and its folders readable by everyone.
            const QFileInfo file(database);
            win::makePrivate(database);
            win::makePrivate(file.absolutePath());
            win::makePrivate(QFileInfo(file.absolutePath()).absolutePath());
            return true;
        }
        if (placeShippedDatabase(shippedDatabase, database))
            return true;
        forms::MsgBox(QStringLiteral("系统数据丢失，请将原系统卸载，重新安装。"));
    } catch (const win::Error& error) {
        forms::ReportErrorLine(error.number(), error.description());
    }
    return false;
}

// Opens the database for the run; a file the key does not open (wrong key, damaged,
// empty, unreadable) is reported here, once, and left as it is.
bool holdDatabase()
{
    try {
        HoldDb();
        return true;
    } catch (const dao::Error& error) {
        forms::ReportErrorLine(error.number(), error.description());
        return false;
    }
}

}  // namespace

bool PrepareSystem(const QString& shippedDatabase)
{
    WindowsDir = win::windowsDir();
    OwnerName = vb::Trim(win::ownerName());
    office::sweepLeftovers();
    return placeDatabase(shippedDatabase) && holdDatabase();
}

int RunSystem(const QString& shippedDatabase,
              const std::function<void(MDIFqhmz&)>& registerWindows)
{
    if (!PrepareSystem(shippedDatabase))
        return 1;
    MDIFqhmz mainWindow;
    registerWindows(mainWindow);
    // The whole screen, as the working windows' placement rules measure from it (sized
    // first for desktops whose window manager does not maximise).
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        mainWindow.resize(screen->availableGeometry().size());
    mainWindow.showMaximized();
    mainWindow.menuOn();
    const int exitCode = QApplication::exec();
    ReleaseDb();
    return exitCode;
}

}  // namespace core
