// Registry values from the settings file; see registry.h.
#include "platform/win/registry.h"

#include <QSettings>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace win {

namespace {

QString registryValue(const char* environmentOverride, const QString& key)
{
    const QString overridden = qEnvironmentVariable(environmentOverride);
    if (!overridden.isEmpty()) return overridden;
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/zyqhmz/registry.ini");
    return QSettings(file, QSettings::IniFormat).value(key).toString();
}

// The account's full name (first field of GECOS), else its login name.
QString accountName()
{
    const passwd* account = getpwuid(getuid());
    if (!account) return qEnvironmentVariable("USER");
    const QString fullName = QString::fromLocal8Bit(account->pw_gecos ? account->pw_gecos : "")
                                 .section(u',', 0, 0).trimmed();
    return fullName.isEmpty() ? QString::fromLocal8Bit(account->pw_name) : fullName;
}

}  // namespace

QString windowsDir()
{
    QString folder = registryValue("ZYQHMZ_WINDOWS_DIR", QStringLiteral("WindowsDir"));
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    folder.replace(u'\\', u'/');
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

QString ownerName()
{
    const QString registered = registryValue("ZYQHMZ_OWNER_NAME", QStringLiteral("OwnerName"));
    return registered.trimmed().isEmpty() ? accountName() : registered;
}

}  // namespace win
