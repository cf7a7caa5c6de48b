// NormalizeText: rebuilds a trimmed text character by character (see the header).
#include "core/text_normalizer.h"

#include "platform/vb/strings.h"

namespace core {

namespace {

const QChar Space = u' ';
const QChar Cr = u'\r';
const QChar Lf = u'\n';
const QChar FullStop = u'。';
const QChar BookTitleOpen = u'《';

bool isDigit(const QString& text, qsizetype at)
{
    return at >= 0 && at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

bool followedByBookTitle(const QString& text, qsizetype at)
{
    return at + 1 < text.size() && text[at + 1] == BookTitleOpen;
}

// One character of the source as it is stored; an empty text drops it.
QString storedCharacter(const QString& source, qsizetype at)
{
    const QChar c = source[at];
    if (c == Space)
        return {};
    if (c == Lf && (at == 0 || source[at - 1] != Cr))
        return {};
    if (c == u'\\')
        return QStringLiteral("、");
    if (c == u',')
        return QStringLiteral("，");
    if (c == u';')
        return QStringLiteral("；");
    if (c == u'.' || c == FullStop) {
        // A decimal point between digits, and a stop before a book title, are stored as
        // "." whichever mark was typed; every other stop is full-width.
        const bool decimalPoint = isDigit(source, at - 1) && isDigit(source, at + 1);
        return decimalPoint || followedByBookTitle(source, at) ? QStringLiteral(".")
                                                               : QString(FullStop);
    }
    return QString(c);
}

}  // namespace

QString NormalizeText(const QString& text)
{
    QString source = vb::Trim(text);
    if (source.startsWith(QStringLiteral("\r\n")))
        source.remove(0, 2);

    QString result;
    result.reserve(source.size());
    for (qsizetype at = 0; at < source.size(); ++at)
        result += storedCharacter(source, at);

    result = vb::Trim(result);
    return result.isEmpty() ? QStringLiteral("  ") : result;
}

}  // namespace core
