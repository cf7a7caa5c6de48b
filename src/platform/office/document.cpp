// New documents for the word processor; see document.h.
#include "platform/office/document.h"

#include "platform/win/file_error.h"
#include "platform/win/filecopy.h"

#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>

namespace office {

namespace {

DocumentOpener& opener()
{
    static DocumentOpener open;
    return open;
}

bool openWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

// The text as paragraphs in 宋体 11 pt, not bold.
void fillDocument(QTextDocument& document, const QString& text)
{
    QFont songti(QStringLiteral("宋体"), 11);
    songti.setBold(false);
    document.setDefaultFont(songti);
    QTextCharFormat format;
    format.setFont(songti);
    // The OpenDocument writer names the family from this single-family property.
    format.setProperty(QTextFormat::FontFamily, songti.family());

    QString paragraphs = text;
    paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QTextCursor cursor(&document);
    cursor.setBlockCharFormat(format);
    cursor.insertText(paragraphs, format);
}

// The user's own folder of handed-over documents (readable by the user alone), rid of
// those older than a day: the word processor has long read them.
QDir documentFolder()
{
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/zyqhmz/documents"));
    win::makePrivateFolders(folder.path());
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo& old : folder.entryInfoList({QStringLiteral("文档-*.odt")}, QDir::Files))
        if (old.lastModified() < dayAgo) QFile::remove(old.filePath());
    return folder;
}

}  // namespace

void showTextInDocument(const QString& text)
{
    const QDir folder = documentFolder();
    QTemporaryFile file(folder.filePath(QStringLiteral("文档-XXXXXX.odt")));
    if (!file.open()) throw win::fileAccessError();

    QTextDocument document;
    fillDocument(document, text);
    QTextDocumentWriter writer(&file, "odf");
    if (!writer.write(&document) || !file.flush()) throw win::fileAccessError();
    file.close();

    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(text);

    const DocumentOpener& open = opener() ? opener() : DocumentOpener(openWithDesktop);
    if (!open(file.fileName())) throw Error(429, QStringLiteral("ActiveX 部件不能创建对象"));
    file.setAutoRemove(false);   // the document stays for the program that shows it
}

void setDocumentOpener(DocumentOpener open) { opener() = std::move(open); }

}  // namespace office
