// The hand-offs that the windows run after building a text or printing: a text to a
// new document of the desktop's word processor, and the pause that keeps a print
// button disabled for a few seconds with the busy pointer.
#pragma once

#include <QString>

namespace forms { class CommandButton; }

namespace core {

// Writes `text` to a new document (宋体 11 pt, not bold) and opens it for the user;
// a failure is reported in the "错误号码：" CR LF "错误内容：" form and nothing returns.
void ShowTextInWord(const QString& text);

// Busy pointer, `button` disabled, 4 seconds by the clock with the event pump running,
// then the arrow and the button enabled again.
void PauseAfterPrint(forms::CommandButton* button);

}  // namespace core
