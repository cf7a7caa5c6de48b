// The word-processor hand-off text; see hand_off_text.h.
#include "reference/hand_off_text.h"

#include "platform/forms/services.h"
#include "platform/vb/strings.h"

#include <QStringList>

namespace reference {

QString handOffText(const std::vector<HandOffLine>& lines, DateLine dateLine)
{
    QStringList text;
    for (const auto& [caption, boxText] : lines) text << caption + vb::Trim(boxText);
    if (dateLine == DateLine::AfterEmptyLine) text << QString();
    text << QStringLiteral("打印时间：") + forms::Clock::Today().toString(QStringLiteral("yyyy-MM-dd"));
    return vb::Trim(text.join(QStringLiteral("\r\n")));
}

}  // namespace reference
