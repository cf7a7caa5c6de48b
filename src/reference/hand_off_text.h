// The text an entry window hands to the word processor: one line per box, its caption
// (ending in a full-width colon) and the box's trimmed text, lines joined by CR LF,
// then (after an empty line where the window has one) "打印时间：" and today's date
// as yyyy-mm-dd. The whole text is trimmed.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace reference {

using HandOffLine = std::pair<QString, QString>;   // caption, box text

enum class DateLine { Next, AfterEmptyLine };

QString handOffText(const std::vector<HandOffLine>& lines, DateLine dateLine);

}  // namespace reference
