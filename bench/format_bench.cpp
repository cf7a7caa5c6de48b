// Speed of vb::Format on the dispensary's money pattern against Qt's own grouped
// number formatting of the same values (the texts compared first); the sides in turns,
// their medians and ratio (limit 1.5).
#include "platform/vb/format.h"
#include "timing.h"

#include <QLocale>
#include <cstdio>

int main()
{
    constexpr int count = 200000;
    const QLocale english(QLocale::English);
    std::size_t sink = 0;
    for (int i = 0; i < count; i += 997)   // the same texts
        if (vb::Format(i * 1.37, QStringLiteral("###,##0.00")) != english.toString(i * 1.37, 'f', 2)) {
            std::fprintf(stderr, "format: %d * 1.37 is shown otherwise\n", i);
            return 1;
        }
    const bench::Medians medians = bench::inTurns(
        [&] {
            for (int i = 0; i < count; ++i) sink += vb::Format(i * 1.37, QStringLiteral("###,##0.00")).size();
        },
        [&] {
            for (int i = 0; i < count; ++i) sink += english.toString(i * 1.37, 'f', 2).size();
        });
    std::printf("format: vb::Format %.1f ms, QLocale::toString %.1f ms, ratio %.2f (limit 1.5%s; %zu)\n", medians.ours,
                medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 1.5), sink);
    return 0;
}
