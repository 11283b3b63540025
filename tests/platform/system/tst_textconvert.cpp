#include <QTest>

#include "TextConvert.h"

#include <cfloat>
#include <cmath>

namespace {
const QVariant None;

// An empty expectation means the text must give no value.
template <typename T> void compare(const std::optional<T> &result, const QVariant &expected)
{
    QCOMPARE(result.has_value(), expected.isValid());
    if (result)
        QCOMPARE(*result, expected.value<T>());
}
} // namespace

class tst_TextConvert : public QObject {
    Q_OBJECT

private slots:
    void toBoolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("word in any case") << "tRUE" << QVariant(true);
        QTest::newRow("false with spaces around") << " false " << QVariant(false);
        QTest::newRow("zero") << "0" << QVariant(false);
        QTest::newRow("zero as a decimal") << "-0.0" << QVariant(false);
        QTest::newRow("negative number") << "-1" << QVariant(true);
        QTest::newRow("no is not a boolean") << "no" << None;
        QTest::newRow("yes is not a boolean") << "yes" << None;
        QTest::newRow("word with a tail") << "trueish" << None;
        QTest::newRow("empty") << "" << None;
        QTest::newRow("nan") << "nan" << None;
    }

    void toBoolean()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        compare(TextConvert::toBoolean(text), expected);
    }

    void toNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("whole") << "250" << QVariant(250.0);
        QTest::newRow("exponent") << "1e3" << QVariant(1000.0);
        QTest::newRow("fraction") << "12.5" << QVariant(12.5);
        QTest::newRow("negative with spaces around") << " \t-3.5 " << QVariant(-3.5);
        QTest::newRow("empty") << "" << None;
        QTest::newRow("word") << "abc" << None;
        QTest::newRow("trailing letters") << "12abc" << None;
        QTest::newRow("space inside") << "1 000" << None;
        QTest::newRow("decimal comma") << "12,5" << None;
        QTest::newRow("hexadecimal") << "0x10" << None;
        QTest::newRow("nan") << "nan" << None;
        QTest::newRow("infinity") << "-inf" << None;
        QTest::newRow("beyond double range") << "1e400" << None;
        QTest::newRow("digits of another script") << QStringLiteral("\u0661\u0662") << None;
    }

    void toNumber()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        compare(TextConvert::toNumber(text), expected);
    }

    void toWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("int16");
        QTest::addColumn<QVariant>("int32");

        QTest::newRow("half rounds down to even") << "2.5" << QVariant(2) << QVariant(2);
        QTest::newRow("half rounds up to even") << "3.5" << QVariant(4) << QVariant(4);
        QTest::newRow("negative half to even") << "-2.5" << QVariant(-2) << QVariant(-2);
        QTest::newRow("int16 limit") << "32767" << QVariant(32767) << QVariant(32767);
        QTest::newRow("rounds past int16") << "32767.5" << None << QVariant(32768);
        QTest::newRow("int16 minimum") << "-32768.4" << QVariant(-32768) << QVariant(-32768);
        QTest::newRow("int32 minimum") << "-2147483648" << None << QVariant(-2147483647 - 1);
        QTest::newRow("half below int32 limit stays")
            << "2147483646.5" << None << QVariant(2147483646);
        QTest::newRow("rounds past int32") << "2147483647.5" << None << None;
        QTest::newRow("not a number") << "12abc" << None << None;
    }

    void toWhole()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, int16);
        QFETCH(QVariant, int32);
        compare(TextConvert::toInt16(text), int16);
        compare(TextConvert::toInt32(text), int32);
    }

    void toSingle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("fraction") << "12.5" << QVariant(12.5f);
        QTest::newRow("largest float as printed") << "3.4028235e38" << QVariant(FLT_MAX);
        QTest::newRow("beyond float range") << "3.5e38" << None;
        QTest::newRow("too small becomes zero") << "1e-50" << QVariant(0.0f);
        QTest::newRow("word") << "abc" << None;
    }

    void toSingle()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        compare(TextConvert::toSingle(text), expected);
    }

    void fromNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("fraction") << 1234.5 << "1234.5";
        QTest::newRow("whole") << 3000.0 << "3000";
        QTest::newRow("inexact sum") << 0.1 + 0.2 << "0.30000000000000004";
        QTest::newRow("large") << 1e21 << "1e+21";
        QTest::newRow("largest double") << DBL_MAX << "1.7976931348623157e+308";
        QTest::newRow("smallest double") << 5e-324 << "5e-324";
        QTest::newRow("nan") << std::nan("") << "";
        QTest::newRow("infinity") << HUGE_VAL << "";
    }

    // Whatever is written must read back as the very same number.
    void fromNumber()
    {
        QFETCH(double, value);
        QTEST(TextConvert::fromNumber(value), "text");
        if (std::isfinite(value))
            compare(TextConvert::toNumber(TextConvert::fromNumber(value)), QVariant(value));
    }
};

QTEST_GUILESS_MAIN(tst_TextConvert)
#include "tst_textconvert.moc"
