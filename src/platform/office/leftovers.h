// What the office stand-ins leave in the shared temporary folder when a run is killed,
// and its sweep at start-up: the scratch folders of workbooks ("zyqhmz-workbook-" and
// six characters, each locked while its workbook is written, so a second copy of the
// program at work keeps its own), and the texts that earlier versions handed to the
// word processor in the shared folder "zyqhmz-documents" (texts now lie in the user's
// own folder, document.cpp).
#pragma once

#include <QString>

namespace office {

// The QTemporaryDir template of a workbook's scratch folder.
QString workbookScratchTemplate();

// Holds the lock of a scratch folder while it is in use.
class ScratchLock {
public:
    explicit ScratchLock(const QString& folder);
    ~ScratchLock();
    ScratchLock(const ScratchLock&) = delete;
    ScratchLock& operator=(const ScratchLock&) = delete;

private:
    int descriptor_ = -1;
};

// Removes the scratch folders no workbook holds and this user's old shared texts.
void sweepLeftovers();

}  // namespace office
