// The sweep of what killed runs left in the temporary folder; see leftovers.h.
#include "platform/office/leftovers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace office {

namespace {

int openFolder(const QString& folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// A scratch folder no workbook holds any more, with everything in it.
void removeUnlocked(const QString& folder)
{
    const int descriptor = openFolder(folder);
    if (descriptor < 0) return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) QDir(folder).removeRecursively();
    ::close(descriptor);
}

}  // namespace

QString workbookScratchTemplate()
{
    return QDir::tempPath() + QStringLiteral("/zyqhmz-workbook-XXXXXX");
}

ScratchLock::ScratchLock(const QString& folder) : descriptor_(openFolder(folder))
{
    if (descriptor_ >= 0) ::flock(descriptor_, LOCK_EX);
}

ScratchLock::~ScratchLock()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

void sweepLeftovers()
{
    const QDir temporary(QDir::tempPath());
    static const QRegularExpression scratch(QStringLiteral("^zyqhmz-workbook-[A-Za-z0-9]{6}$"));
    for (const QString& name : temporary.entryList({QStringLiteral("zyqhmz-workbook-*")}, QDir::Dirs | QDir::Hidden))
        if (scratch.match(name).hasMatch()) removeUnlocked(temporary.filePath(name));
    // Files of other users in the shared folder are theirs to remove.
    QDir documents(temporary.filePath(QStringLiteral("zyqhmz-documents")));
    for (const QString& name : documents.entryList({QStringLiteral("文档-*.odt")}, QDir::Files)) documents.remove(name);
    temporary.rmdir(QStringLiteral("zyqhmz-documents"));   // once empty
}

}  // namespace office
