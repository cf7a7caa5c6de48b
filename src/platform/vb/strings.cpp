// Blank trimming of the old runtime; see strings.h.
#include "platform/vb/strings.h"

namespace vb {

QString LTrim(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ') ++start;
    return text.mid(start);
}

namespace {

QString RTrim(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return text.left(end);
}

}  // namespace

QString Trim(const QString& text) { return LTrim(RTrim(text)); }

}  // namespace vb
