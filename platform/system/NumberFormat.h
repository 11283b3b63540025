#pragma once

#include <QLocale>
#include <QString>

// The two number patterns the monitor prints. Both round decimally, a half away from zero,
// on the shortest decimal text of the value (1.45 gives 1.5, although the double is a
// little below 1.45). Digits are always ASCII; infinity and NaN give an empty text.
namespace NumberFormat {
// "###,###,###,###": a whole number grouped by threes with the locale's group separator;
// a value that rounds to zero gives an empty text; negatives get a leading minus.
QString grouped(double value, const QLocale &locale);
// "##0.0": at least one digit, the locale's decimal separator and exactly one decimal.
QString oneDecimal(double value, const QLocale &locale);
} // namespace NumberFormat
