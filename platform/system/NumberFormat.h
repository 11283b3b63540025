#pragma once

#include <QLocale>
#include <QString>

// The two number patterns the monitor prints. Both round decimally, a half away from zero,
// on the shortest decimal text of the value (1.45 gives 1.5, although the double is a
// little below 1.45). Digits are always ASCII; infinity and NaN give an empty text.
namespace NumberFormat {
// How a locale groups the digits of a whole number, as QLocale writes it: the size of the
// group nearest the units, the size of the groups before it (2 in India: 2,52,76,125), and
// how many digits the first group must have for any grouping at all (2 in Spanish: 1234 but
// 12.345).
struct Grouping {
    QString separator;
    QString minus;
    int primary = 3; // 0: the locale does not group
    int secondary = 3;
    int minimum = 1;
    static Grouping of(const QLocale &locale);
};
// "###,###,###,###": a whole number grouped as the locale groups digits, with its group
// separator; a value that rounds to zero gives an empty text; negatives get a leading minus.
QString grouped(double value, const Grouping &grouping);
QString grouped(double value, const QLocale &locale);
// "##0.0": at least one digit, the locale's decimal separator and exactly one decimal.
QString oneDecimal(double value, const QLocale &locale);
} // namespace NumberFormat
