// The options dialog's test and conversion of a typed period, under locales that write
// numbers differently (decimal comma, other digits, other minus signs): never a crash, only
// periods the timer takes, and the dialog's own text for a period always read back.
// The first byte chooses the locale; the rest is the text, as UTF-8.
#include "FuzzCheck.h"
#include "TextConvert.h"
#include "Timer.h"
#include "frmOptions.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
const std::array<QLocale, 8> &locales()
{
    static const std::array<QLocale, 8> all{
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),     // 1.234,5
        QLocale(QLocale::French, QLocale::France),      // narrow no-break space groups
        QLocale(QLocale::Swedish, QLocale::Sweden),     // U+2212 minus
        QLocale(QLocale::Arabic, QLocale::Egypt),       // Arabic-Indic digits
        QLocale(QLocale::Persian, QLocale::Iran),       // Persian digits
        QLocale(QLocale::German, QLocale::Switzerland), // apostrophe groups
    };
    return all;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QLocale &locale = locales()[data[0] % locales().size()];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const std::optional<qint32> period = frmOptions::periodFrom(text, locale);
    if (period) {
        FUZZ_CHECK(*period >= 0 && *period <= Timer::MaxInterval);
        const std::optional<double> number = TextConvert::toNumber(text, locale);
        FUZZ_CHECK(number && std::nearbyint(*number) == double(*period));
        // The dialog shows the period as QString::number writes it; Return must take it back.
        FUZZ_CHECK(frmOptions::periodFrom(QString::number(*period), locale) == period);
    }
    return 0;
}
