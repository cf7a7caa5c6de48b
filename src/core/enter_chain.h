// The steps of an Enter chain: the user types a box and presses Enter, the window
// checks what the box holds and moves the focus on to the next box (or says what is
// wrong and keeps it there). Each KeyPress handler of a chain reads as one line:
//
//   if (forms::EnterPressed(keyAscii) && core::filled(Txthwcd)) TxtPjhm->SetFocusEnd();
//   if (forms::EnterPressed(keyAscii) && core::numberAccepted(TxtYcsl, "输入药材数量错误"))
//       TxtYcje->SetFocusSelectAll();
//   if (forms::EnterPressed(keyAscii, true) && core::dateAccepted(TxtYsqx, "有效期限输入错误"))
//       Txthwcd->SetFocusEnd();
//
// and the two message boxes the chains ask besides forms::Notice are prompt and askedYes.
#pragma once

#include "core/entry_boxes.h"

#include <QString>
#include <optional>

namespace forms {
class MaskEdBox;
class TextBox;
}

namespace core {

// Whether the box (or a combo box's text) holds more than blanks.
bool filled(const forms::TextBox* box);
bool filled(const QString& text);

// A date box on Enter: 10 characters, a date and (when `futureMessage` is given) not
// later than today; otherwise "请输入10位日期时间", `notDateMessage` or `futureMessage`,
// and the ten characters selected for another try.
bool dateAccepted(forms::MaskEdBox* box, const QString& notDateMessage,
                  const std::optional<QString>& futureMessage = std::nullopt);

// A number box on Enter, its text not empty: a number by `isNumber` (and not 0 when
// `zeroMessage` is given) is rewritten as "###,##0.00" and true comes back; otherwise
// the message and the text selected. An empty box does nothing and gives false.
using NumberTest = bool (*)(const forms::TextBox&);
bool numberAccepted(forms::TextBox* box, const QString& notNumericMessage,
                    const std::optional<QString>& zeroMessage = std::nullopt,
                    NumberTest isNumber = holdsNumber);

// Message boxes with an empty title besides forms::Notice: a prompt (question icon,
// OK only); a question (Yes/No, question icon), true when answered Yes.
void prompt(const QString& text);
bool askedYes(const QString& text);

}  // namespace core
