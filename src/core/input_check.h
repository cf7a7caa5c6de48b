// The input checks of the windows: before a write, a window runs its checks in a fixed
// order, and the first that fails shows its message and puts the focus on the box to
// correct. The box may be any input control (a text box, a combo). A window lists its
// checks as a table of steps:
//
//   const std::vector<core::InputCheck> checks = {
//       {core::isEmpty(TxtPjhm), QStringLiteral("请输入票据号码"), TxtPjhm, false},
//       {core::isNoDate(TxtGjsj), QStringLiteral("药材购进时间输入错误"), TxtGjsj, true},
//   };
//   if (!core::passesChecks(checks)) return;   // the message is shown, the focus set
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace forms {
class Control;
class TextBox;
}

namespace core {

// One step of an input check: when `fails` holds, `message` is shown and `box` gets
// the focus (a text box's whole text selected when `selectAll`). Later steps may rely on the
// earlier ones having passed: `fails` runs only when every step before it passed.
struct InputCheck {
    std::function<bool()> fails;
    QString message;
    forms::Control* box;
    bool selectAll;
};

// Runs `checks` in order; true when all passed, false after the first failure has
// been shown (a notice: information icon, empty title).
bool passesChecks(const std::vector<InputCheck>& checks);

// Steps that most windows check, each read when the check runs: the box is empty; it
// holds fewer than the 10 characters of a date; it holds no date; it holds no number.
std::function<bool()> isEmpty(const forms::TextBox* box);
// The box holds nothing but blanks (an empty box included).
std::function<bool()> isBlank(const forms::TextBox* box);
std::function<bool()> isShortDate(const forms::TextBox* box);
std::function<bool()> isNoDate(const forms::TextBox* box);
std::function<bool()> isNoNumber(const forms::TextBox* box);

}  // namespace core
