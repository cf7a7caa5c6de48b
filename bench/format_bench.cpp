// Speed of vb::Format on the dispensary's money pattern against Qt's own grouped
// number formatting of the same values; medians of warmed-up runs and their ratio.
#include "platform/vb/format.h"
#include "timing.h"

#include <QLocale>
#include <cstdio>

int main()
{
    constexpr int count = 200000;
    const QLocale english(QLocale::English);
    std::size_t sink = 0;
    const double ours = bench::medianMilliseconds([&] {
        for (int i = 0; i < count; ++i) sink += vb::Format(i * 1.37, QStringLiteral("###,##0.00")).size();
    });
    const double plain = bench::medianMilliseconds([&] {
        for (int i = 0; i < count; ++i) sink += english.toString(i * 1.37, 'f', 2).size();
    });
    std::printf("format: vb::Format %.1f ms, QLocale::toString %.1f ms, ratio %.2f (%zu)\n", ours, plain, ours / plain, sink);
    return 0;
}
