// Mapping of Windows-style paths; see paths.h.
#include "platform/win/paths.h"

#include <QStandardPaths>

namespace win {

QString documentsDir()
{
    const QString overridden = qEnvironmentVariable("ZYQHMZ_DOCUMENTS_DIR");
    QString folder = overridden.isEmpty()
                         ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                         : overridden;
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

QString hostPath(const QString& windowsPath)
{
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    static const QString myDocuments = QStringLiteral("c:/my documents");
    if (path.startsWith(myDocuments, Qt::CaseInsensitive)
        && (path.size() == myDocuments.size() || path[myDocuments.size()] == u'/'))
        return documentsDir() + path.mid(myDocuments.size());
    return path;
}

}  // namespace win
