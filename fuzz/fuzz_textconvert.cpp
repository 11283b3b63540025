// The conversions the settings store's texts go through (Boolean, 16- and 32-bit whole
// numbers, single precision) on any text: never a crash, and answers that agree with each
// other and read back what the store writes.
#include "FuzzCheck.h"
#include "TextConvert.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
template <typename Int>
void checkWhole(const std::optional<Int> &whole, const std::optional<double> &number)
{
    if (!whole)
        return;
    FUZZ_CHECK(number && std::nearbyint(*number) == double(*whole));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<double> number = TextConvert::toNumber(text);
    if (number) {
        FUZZ_CHECK(std::isfinite(*number));
        FUZZ_CHECK(TextConvert::toNumber(TextConvert::fromNumber(*number)) == number);
        FUZZ_CHECK(TextConvert::toNumber(text, QLocale::c()) == number);
    }

    const std::optional<bool> boolean = TextConvert::toBoolean(text);
    if (number)
        FUZZ_CHECK(boolean == (*number != 0));
    if (boolean)
        FUZZ_CHECK(TextConvert::toBoolean(TextConvert::fromBoolean(*boolean)) == boolean);

    const std::optional<qint16> int16 = TextConvert::toInt16(text);
    const std::optional<qint32> int32 = TextConvert::toInt32(text);
    checkWhole(int16, number);
    checkWhole(int32, number);
    if (int16)
        FUZZ_CHECK(int32 == *int16);

    if (const std::optional<float> single = TextConvert::toSingle(text)) {
        FUZZ_CHECK(number && std::isfinite(*single));
        // A single written back as the store writes it reads as the same single.
        FUZZ_CHECK(TextConvert::toSingle(TextConvert::fromNumber(*single)) == single);
    }
    return 0;
}
