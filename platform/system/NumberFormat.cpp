#include "NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// Room for any double in fixed notation: the longest, a negative subnormal, takes 327
// characters ("-0." and 324 decimals); the largest takes 310 ("-" and 309 digits).
constexpr int TextCapacity = 400;

// The digits of |value| rounded to `decimals` places with the decimal point dropped, e.g.
// 1.45 with one decimal gives "15". Rounding is decided on the shortest decimal text of the
// value, so the double just below 1.45 still rounds up.
class RoundedDigits {
public:
    RoundedDigits(double value, int decimals)
    {
        if (!std::isfinite(value))
            return;
        char text[TextCapacity];
        const char *end =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
        std::string_view number(text, std::size_t(end - text));
        m_negative = number.front() == '-';
        if (m_negative)
            number.remove_prefix(1);
        const std::size_t point = std::min(number.find('.'), number.size());
        const std::string_view whole = number.substr(0, point);
        const std::string_view fraction = number.substr(std::min(point + 1, number.size()));

        // m_digits[0] is a spare place for a carry out of the leading digit.
        std::size_t size = 0;
        m_digits[size++] = '0';
        for (char digit : whole)
            m_digits[size++] = digit;
        for (int place = 0; place < decimals; ++place)
            m_digits[size++] = std::size_t(place) < fraction.size() ? fraction[place] : '0';
        if (std::size_t(decimals) < fraction.size() && fraction[decimals] >= '5') {
            std::size_t at = size - 1;
            while (m_digits[at] == '9')
                m_digits[at--] = '0';
            ++m_digits[at];
        }
        std::size_t first = 0;
        while (first < size && m_digits[first] == '0')
            ++first;
        m_text = std::string_view(m_digits + first, size - first);
        m_valid = true;
    }

    bool valid() const { return m_valid; }
    bool negative() const { return m_negative; }
    // Without leading zeros; empty when the value rounds to zero or is not finite.
    std::string_view digits() const { return m_text; }

private:
    char m_digits[TextCapacity + 2];
    std::string_view m_text;
    bool m_negative = false;
    bool m_valid = false;
};

} // namespace

QString NumberFormat::grouped(double value, const QLocale &locale)
{
    const RoundedDigits rounded(value, 0);
    const std::string_view digits = rounded.digits();
    if (digits.empty()) // zero, or not a finite number
        return {};
    const QString separator = locale.groupSeparator();
    QString text;
    if (rounded.negative())
        text += locale.negativeSign();
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += QLatin1Char(digits[i]);
    }
    return text;
}

QString NumberFormat::oneDecimal(double value, const QLocale &locale)
{
    const RoundedDigits rounded(value, 1);
    if (!rounded.valid())
        return {};
    const std::string_view digits = rounded.digits();
    if (digits.empty())
        return QStringLiteral("0") + locale.decimalPoint() + QLatin1Char('0');
    QString text;
    if (rounded.negative())
        text += locale.negativeSign();
    const std::string_view whole = digits.substr(0, digits.size() - 1);
    text += whole.empty() ? QLatin1String("0") : QLatin1String(whole.data(), whole.size());
    text += locale.decimalPoint();
    text += QLatin1Char(digits.back());
    return text;
}
