#include <QTest>

#include "NumberFormat.h"

#include <limits>

namespace {
struct Separators {
    const char *locale;
    QString group;
    QString decimal;
};

// What Qt 6.4 gives for each locale; French groups with a narrow no-break space.
const Separators Locales[] = {
    {"en_US", QStringLiteral(","), QStringLiteral(".")},
    {"de_DE", QStringLiteral("."), QStringLiteral(",")},
    {"fr_FR", QStringLiteral("\u202f"), QStringLiteral(",")},
};

// Writes an en_US pattern such as "-1,234.5" with another locale's separators.
QString localised(const char *pattern, const Separators &separators)
{
    QString text;
    for (const char *c = pattern; *c; ++c) {
        if (*c == ',')
            text += separators.group;
        else if (*c == '.')
            text += separators.decimal;
        else
            text += QLatin1Char(*c);
    }
    return text;
}
} // namespace

class TestNumberFormat : public QObject {
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("grouped");
        QTest::addColumn<QString>("oneDecimal");

        struct Case {
            const char *name;
            double value;
            const char *grouped;
            const char *oneDecimal;
        };
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();
        const Case cases[] = {
            {"zero", 0, "", "0.0"},
            {"half rounds away from zero", 0.5, "1", "0.5"},
            {"below half rounds to nothing", 0.4, "", "0.4"},
            {"negative rounding to zero", -0.4, "", "-0.4"},
            {"half below a thousand", 499.5, "500", "499.5"},
            {"half decided on decimal text", 42.35, "42", "42.4"},
            {"half decided on decimal text, small", 0.05, "", "0.1"},
            {"half kept although the double is below it", 1.45, "1", "1.5"},
            {"half kept although the double is below it, small", 0.15, "", "0.2"},
            {"tenth rounding to zero drops the minus", -0.04, "", "0.0"},
            {"carry into a new digit", 99.95, "100", "100.0"},
            {"whole number", 100, "100", "100.0"},
            {"carry into a new group", 999999.5, "1,000,000", "999999.5"},
            {"negative half", -2.5, "-3", "-2.5"},
            {"negative grouped", -1234.56, "-1,235", "-1234.6"},
            {"above 2^32", 4294967296.5, "4,294,967,297", "4294967296.5"},
            {"far above 2^64", 1e20, "100,000,000,000,000,000,000", "100000000000000000000.0"},
            {"not a number", nan, "", ""},
            {"infinity", -infinity, "", ""},
        };
        for (const Separators &separators : Locales) {
            for (const Case &c : cases) {
                QTest::addRow("%s: %s", separators.locale, c.name)
                    << QLocale(QLatin1String(separators.locale)) << c.value
                    << localised(c.grouped, separators) << localised(c.oneDecimal, separators);
            }
        }
    }

    void format()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QTEST(NumberFormat::grouped(value, locale), "grouped");
        QTEST(NumberFormat::oneDecimal(value, locale), "oneDecimal");
    }

    // Groups as each locale writes them, always with ASCII digits.
    void groupingFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("India: twos before the last three")
            << "en_IN" << 25276125.0 << "2,52,76,125";
        QTest::newRow("India in Hindi") << "hi_IN" << 1234567.0 << "12,34,567";
        QTest::newRow("Spain: four digits stay whole") << "es_ES" << 1234.0 << "1234";
        QTest::newRow("Spain: five are grouped") << "es_ES" << 12345.0 << "12.345";
        QTest::newRow("Persian separator") << "fa_IR" << 1234567.0 << "1\u066c234\u066c567";
        QTest::newRow("Arabic separator") << "ar_EG" << -1234.0 << "-1\u066c234";
        QTest::newRow("India beyond 64 bits")
            << "en_IN" << 1e20 << "10,00,00,00,00,00,00,00,00,000";
    }

    void groupingFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, grouped);
        const QLocale l(locale);
        QString expected = grouped;
        expected.replace(QLatin1Char('-'), l.negativeSign());
        QCOMPARE(NumberFormat::grouped(value, l), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
