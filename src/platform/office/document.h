// The word processor as the knowledge-base and outpatient windows hand texts to it:
// the text becomes a new document in 宋体 11 pt, not bold, written as an
// OpenDocument text file and opened with the desktop's default program, where the
// user prints it. The clipboard receives the text as well, as it always did. The
// files lie in the user's own cache folder, readable by the user alone, and are
// removed a day later.
#pragma once

#include "platform/office/error.h"

#include <QString>
#include <functional>

namespace office {

// Throws office::Error when the document cannot be written (75) or no program
// opens it (429); nothing of the document is left behind then.
void showTextInDocument(const QString& text);

// How a written document is opened; returns false when it could not be. Tests set
// their own to capture the file; an empty function restores the desktop's default.
using DocumentOpener = std::function<bool(const QString& path)>;
void setDocumentOpener(DocumentOpener opener);

}  // namespace office
