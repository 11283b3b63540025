#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Text forms of the values kept in the settings store. Parsing is strict: text that does not
// read as the wanted type gives no value, and the caller then uses its default.
namespace TextConvert {
// "True"/"False" in any letter case, or a decimal number (0 is False, any other True).
std::optional<bool> toBoolean(QStringView text);
// Decimal numbers in the C locale, spaces around allowed ("12", " -3.5 ", "1e3").
std::optional<double> toNumber(QStringView text);
// Whole numbers; a fraction rounds to the nearest, a half to the even neighbour; out of range
// gives no value.
std::optional<qint16> toInt16(QStringView text);
std::optional<qint32> toInt32(QStringView text);
std::optional<float> toSingle(QStringView text);

QString fromBoolean(bool value); // "True" or "False"
QString fromNumber(double value); // shortest decimal text, C locale
} // namespace TextConvert
