#include "TextConvert.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

template <typename Int> std::optional<Int> toWhole(QStringView text)
{
    const std::optional<double> number = TextConvert::toNumber(text);
    if (!number)
        return std::nullopt;
    return TextConvert::roundToWhole<Int>(*number);
}

} // namespace

std::optional<bool> TextConvert::toBoolean(QStringView text)
{
    const QStringView word = text.trimmed();
    if (word.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = toNumber(word);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<double> TextConvert::toNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    QByteArray ascii;
    ascii.reserve(trimmed.size());
    for (QChar c : trimmed) {
        if (c.unicode() > 0x7f)
            return std::nullopt;
        ascii += char(c.unicode());
    }
    double number = 0;
    const char *end = ascii.constData() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.constData(), end, number);
    // from_chars reads "inf" and "nan" too, which no setting means.
    if (error != std::errc() || stop != end || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<double> TextConvert::toNumber(QStringView text, const QLocale &locale)
{
    bool ok = false;
    const double number = locale.toDouble(text.trimmed(), &ok);
    if (ok)
        return std::isfinite(number) ? std::optional(number) : std::nullopt;
    return toNumber(text);
}

std::optional<qint16> TextConvert::toInt16(QStringView text)
{
    return toWhole<qint16>(text);
}

std::optional<qint32> TextConvert::toInt32(QStringView text)
{
    return toWhole<qint32>(text);
}

std::optional<float> TextConvert::toSingle(QStringView text)
{
    const std::optional<double> number = toNumber(text);
    // Below 2^128 - 2^103 a number still rounds to the largest float rather than to infinity.
    if (!number || std::fabs(*number) >= 0x1p128 - 0x1p103)
        return std::nullopt;
    return float(*number);
}

QString TextConvert::fromBoolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString TextConvert::fromNumber(double value)
{
    if (!std::isfinite(value))
        return {};
    char text[32]; // the shortest form of a double takes at most 24 characters
    const char *end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, end - text);
}
