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

NumberFormat::Grouping NumberFormat::Grouping::of(const QLocale &locale)
{
    Grouping grouping;
    grouping.separator = locale.groupSeparator();
    grouping.minus = locale.negativeSign();
    // The lengths of the runs of digits in numbers the locale writes itself, grouped even
    // where the QLocale asks to leave groups out (as QLocale::c() does).
    QLocale writer = locale;
    writer.setNumberOptions(QLocale::DefaultNumberOptions);
    const auto runs = [&writer](qlonglong number) {
        QList<int> lengths{0};
        for (const QChar c : writer.toString(number)) {
            if (c.isDigit())
                ++lengths.last();
            else if (lengths.last() > 0)
                lengths.append(0);
        }
        return lengths;
    };
    const QList<int> many = runs(1234567890123LL);
    if (many.size() < 2) {
        grouping.primary = 0;
        return grouping;
    }
    grouping.primary = many.last();
    grouping.secondary = many[many.size() - 2];
    qlonglong number = 1;
    for (int i = 0; i < grouping.primary; ++i)
        number *= 10;
    grouping.minimum = 1;
    while (grouping.minimum < 4 && runs(number).size() < 2) {
        number *= 10;
        ++grouping.minimum;
    }
    return grouping;
}

QString NumberFormat::grouped(double value, const Grouping &grouping)
{
    const RoundedDigits rounded(value, 0);
    const std::string_view digits = rounded.digits();
    if (digits.empty()) // zero, or not a finite number
        return {};
    const qsizetype count = qsizetype(digits.size());
    const bool grouped = grouping.primary > 0 && grouping.secondary > 0 &&
                         count >= grouping.primary + grouping.minimum;
    QString text;
    if (rounded.negative())
        text += grouping.minus;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype left = count - i; // digits from this one to the units
        if (grouped && i > 0 &&
            (left == grouping.primary ||
             (left > grouping.primary && (left - grouping.primary) % grouping.secondary == 0)))
            text += grouping.separator;
        text += QLatin1Char(digits[size_t(i)]);
    }
    return text;
}

QString NumberFormat::grouped(double value, const QLocale &locale)
{
    return grouped(value, Grouping::of(locale));
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
