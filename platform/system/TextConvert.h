#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <cmath>
#include <limits>
#include <optional>

// Text forms of the values kept in the settings store. Parsing is strict: text that does not
// read as the wanted type gives no value, and the caller then uses its default.
namespace TextConvert {
// "True"/"False" in any letter case, or a decimal number (0 is False, any other True); spaces
// around are allowed. Anything else, "yes" and "no" included, gives no value.
std::optional<bool> toBoolean(QStringView text);
// Decimal numbers in the C locale, spaces around allowed ("12", " -3.5 ", "1e3"); no "inf",
// "nan", hexadecimal or digit grouping.
std::optional<double> toNumber(QStringView text);
// What a person types into a field: a number as the locale writes it, digit groups allowed
// (German "1.000" is 1000, "1,5" is 1.5); text the locale cannot read is read as C writes it
// (German "12.5" is 12.5).
std::optional<double> toNumber(QStringView text, const QLocale &locale);
// Whole numbers; a fraction rounds to the nearest, a half to the even neighbour; out of range
// gives no value.
std::optional<qint16> toInt16(QStringView text);
// A number rounded to the nearest whole one of type Int, a half to the even neighbour; no value
// when it is not finite or the whole number lies outside Int's range. Every whole-number
// property and field rounds through here.
template <class Int> std::optional<Int> roundToWhole(double number)
{
    // Under the default rounding mode nearbyint rounds a half to the even neighbour.
    const double whole = std::nearbyint(number);
    if (!std::isfinite(whole) || whole < double(std::numeric_limits<Int>::min()) ||
        whole > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(whole);
}
std::optional<qint32> toInt32(QStringView text);
// Numbers beyond the float range give no value; tiny ones become 0.
std::optional<float> toSingle(QStringView text);

QString fromBoolean(bool value); // "True" or "False"
// The shortest text that reads back as the same double, C locale ("1234.5", "3000", "1e+21");
// infinity and NaN, which no setting holds, give an empty text.
QString fromNumber(double value);
} // namespace TextConvert
