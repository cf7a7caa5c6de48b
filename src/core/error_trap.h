// The error trap every handler that touches the database or a file runs its work in:
// the work runs, and any error it raises (the database's, the runtime's conversions,
// a file's, anything else) is shown in the form the handler reports in: as a rule its
// description alone in an information box with an empty title; in a few handlers its
// number, CR LF and its description, OK only, no icon, the program's default title;
// in the query and search handlers of the knowledge bases "错误号码：" and the number,
// "错误内容：" and the description on one line; in the data maintenance windows the same
// two captions on two lines, with an empty title. No exception leaves a handler through
// here, and the program never ends on an error. When the error says that the database
// file has left its place, every working window closes after the message.
//
//   if (!core::runTrapped([&] { ... })) return;   // the error has been shown
#pragma once

#include <functional>

namespace core {

// A trap of one of the forms below, for the shared routines that take the form of
// the handler they run for.
using Trap = bool (*)(const std::function<void()>& work);

// Runs `work`; true when it ran through, false after its error has been shown as its
// description alone.
bool runTrapped(const std::function<void()>& work);
// The same, the error shown as its number, CR LF and its description.
bool runTrappedNumbered(const std::function<void()>& work);
// The same, the error shown on one line: "错误号码：" and its number, "错误内容：" and
// its description (information icon, empty title), the arrow pointer set again.
bool runTrappedLine(const std::function<void()>& work);
// The same, the error shown as "错误号码：" and its number after one blank, CR LF,
// "错误内容：" and its description; OK only, no icon, empty title.
bool runTrappedBlock(const std::function<void()>& work);
// The same block with no blank before the number, under the program's default title.
bool runTrappedBlockTitled(const std::function<void()>& work);

}  // namespace core
