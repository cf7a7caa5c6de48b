// Speed of vb::Format on the dispensary's money pattern against Qt's own grouped
// number formatting of the same values; prints both times and their ratio.
#include "platform/vb/format.h"

#include <QElapsedTimer>
#include <QLocale>
#include <cstdio>

int main()
{
    constexpr int count = 200000;
    const QLocale english(QLocale::English);
    std::size_t sink = 0;

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) sink += vb::Format(i * 1.37, QStringLiteral("###,##0.00")).size();
    const qint64 ours = timer.nsecsElapsed();

    timer.restart();
    for (int i = 0; i < count; ++i) sink += english.toString(i * 1.37, 'f', 2).size();
    const qint64 plain = timer.nsecsElapsed();

    std::printf("format: vb::Format %.1f ms, QLocale::toString %.1f ms, ratio %.2f (%zu)\n",
                ours / 1e6, plain / 1e6, static_cast<double>(ours) / plain, sink);
    return 0;
}
