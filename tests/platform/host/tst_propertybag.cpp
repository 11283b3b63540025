#include <QTest>

#include "HostError.h"
#include "PropertyBag.h"

#include <QJsonDocument>

class tst_PropertyBag : public QObject {
    Q_OBJECT
private slots:
    void namesIgnoreLetterCaseAndAreSavedLowerCase();
    void valueEqualToDefaultIsOmitted();
    void emptyBagGivesDefaults();
    void partialBagMixesSavedAndDefaults();
    void wholeNumbers_data();
    void wholeNumbers();
    void booleans_data();
    void booleans();
    void colourKeepsAll32Bits();
    void fontRoundTripsAndDefaultReferenceIsHandedBack();
    void brokenFontIsATypeMismatch();
    void pictureRoundTripsThroughPng();
};

static PropertyBag bagFrom(const char *json)
{
    return PropertyBag(QJsonDocument::fromJson(json).object());
}

void tst_PropertyBag::namesIgnoreLetterCaseAndAreSavedLowerCase()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ToolTipText"), QStringLiteral("Exit"), QString());
    QCOMPARE(bag.keys(), QStringList{"tooltiptext"});
    QCOMPARE(bag.ReadProperty(QStringLiteral("TOOLTIPTEXT"), QString()), QStringLiteral("Exit"));
    QVERIFY(bagFrom(R"({"Caption": "On top"})").contains(QStringLiteral("caption")));
    // Names past the short ASCII words of properties are folded the long way.
    bag.WriteProperty(QStringLiteral("Äpfel"), qint16(1), qint16(0));
    bag.WriteProperty(QString(40, u'N'), qint16(2), qint16(0));
    QCOMPARE(bag.ReadProperty(QStringLiteral("ÄPFEL"), qint16(0)), qint16(1));
    QCOMPARE(bag.ReadProperty(QString(40, u'n'), qint16(0)), qint16(2));
}

void tst_PropertyBag::valueEqualToDefaultIsOmitted()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("x"), "ZoButton");
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("ZoButton"), "ZoButton");
    bag.WriteProperty(QStringLiteral("Delta"), qint16(45), qint16(45));
    bag.WriteProperty(QStringLiteral("Light"), Colour(0xFFFFFF), Colour(0xFFFFFF));
    QVERIFY(bag.isEmpty());
    QCOMPARE(bag.ReadProperty(QStringLiteral("Caption"), "ZoButton"), QStringLiteral("ZoButton"));
}

void tst_PropertyBag::emptyBagGivesDefaults()
{
    const PropertyBag bag;
    QCOMPARE(bag.ReadProperty(QStringLiteral("a"), true), true);
    QCOMPARE(bag.ReadProperty(QStringLiteral("b"), qint16(-7)), qint16(-7));
    QCOMPARE(bag.ReadProperty(QStringLiteral("c"), 3000), 3000);
    QCOMPARE(bag.ReadProperty(QStringLiteral("d"), 9.75f), 9.75f);
    QCOMPARE(bag.ReadProperty(QStringLiteral("e"), Colour::system(15)), Colour::system(15));
    QVERIFY(!bag.ReadProperty(QStringLiteral("f"), PictureRef()));
}

void tst_PropertyBag::partialBagMixesSavedAndDefaults()
{
    const PropertyBag bag = bagFrom(R"({"minheight": 825, "centerform": false})");
    QCOMPARE(bag.ReadProperty(QStringLiteral("MinHeight"), 3000), 825);
    QCOMPARE(bag.ReadProperty(QStringLiteral("MinWidth"), 3000), 3000);
    QCOMPARE(bag.ReadProperty(QStringLiteral("CenterForm"), true), false);
    QCOMPARE(bag.ReadProperty(QStringLiteral("RememberFormPosition"), true), true);
}

void tst_PropertyBag::wholeNumbers_data()
{
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error"); // 0 when the read succeeds

    QTest::newRow("plain") << QByteArray("330") << 330 << 0;
    QTest::newRow("negative") << QByteArray("-1") << -1 << 0;
    QTest::newRow("half rounds to even, down") << QByteArray("12.5") << 12 << 0;
    QTest::newRow("half rounds to even, up") << QByteArray("13.5") << 14 << 0;
    QTest::newRow("numeric text") << QByteArray("\" 99 \"") << 99 << 0;
    QTest::newRow("largest") << QByteArray("32767") << 32767 << 0;
    QTest::newRow("past 16 bits") << QByteArray("32768") << 0 << int(HostError::Overflow);
    QTest::newRow("huge") << QByteArray("1e300") << 0 << int(HostError::Overflow);
    QTest::newRow("word") << QByteArray("\"abc\"") << 0 << int(HostError::TypeMismatch);
    QTest::newRow("object") << QByteArray("{}") << 0 << int(HostError::TypeMismatch);
}

void tst_PropertyBag::wholeNumbers()
{
    QFETCH(QByteArray, saved);
    QFETCH(int, expected);
    QFETCH(int, error);
    const PropertyBag bag = bagFrom("{\"v\": " + saved + "}");
    try {
        const qint16 v = bag.ReadProperty(QStringLiteral("v"), qint16(0));
        QCOMPARE(error, 0);
        QCOMPARE(int(v), expected);
    } catch (const HostError &e) {
        QCOMPARE(e.number(), error);
    }
}

void tst_PropertyBag::booleans_data()
{
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<bool>("expected");

    QTest::newRow("json true") << QByteArray("true") << true;
    QTest::newRow("json false") << QByteArray("false") << false;
    QTest::newRow("minus one") << QByteArray("-1") << true;
    QTest::newRow("zero") << QByteArray("0") << false;
    QTest::newRow("word in any case") << QByteArray("\"fALSE\"") << false;
}

void tst_PropertyBag::booleans()
{
    QFETCH(QByteArray, saved);
    QFETCH(bool, expected);
    QCOMPARE(bagFrom("{\"v\": " + saved + "}").ReadProperty(QStringLiteral("v"), !expected),
             expected);
}

void tst_PropertyBag::colourKeepsAll32Bits()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("BackColor"), Colour::system(9), Colour::system(15));
    QCOMPARE(bag.ReadProperty(QStringLiteral("BackColor"), Colour()), Colour(0x80000009));
    // The same bits saved as a signed number read back alike.
    QCOMPARE(bagFrom(R"({"c": -2147483633})").ReadProperty(QStringLiteral("c"), Colour()),
             Colour(0x8000000F));
    QVERIFY_THROWS_EXCEPTION(HostError,
                             bagFrom(R"({"c": 4294967296})").ReadProperty("c", Colour()));
}

void tst_PropertyBag::fontRoundTripsAndDefaultReferenceIsHandedBack()
{
    FontObject arial;
    arial.Name = QStringLiteral("Arial");
    arial.Size = 9.75f;
    arial.Bold = true;
    const FontRef ambient = makeFont();

    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Font"), makeFont(arial), ambient);
    const FontRef read = bag.ReadProperty(QStringLiteral("Font"), ambient);
    QVERIFY(read != ambient);
    QCOMPARE(*read, arial);

    bag.WriteProperty(QStringLiteral("Font"), makeFont(), ambient);
    QVERIFY(!bag.contains(QStringLiteral("Font")));
    QCOMPARE(bag.ReadProperty(QStringLiteral("Font"), ambient), ambient);
}

void tst_PropertyBag::brokenFontIsATypeMismatch()
{
    QVERIFY_THROWS_EXCEPTION(HostError, bagFrom(R"({"f": "Arial"})").ReadProperty("f", makeFont()));
    QVERIFY_THROWS_EXCEPTION(HostError,
                             bagFrom(R"({"f": {"bold": "yes"}})").ReadProperty("f", makeFont()));
    QVERIFY_THROWS_EXCEPTION(HostError,
                             bagFrom(R"({"f": {"size": -3}})").ReadProperty("f", makeFont()));
}

void tst_PropertyBag::pictureRoundTripsThroughPng()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(128, 0, 0));
    const PictureRef picture = std::make_shared<PictureObject>(pixmap);

    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Picture"), picture, PictureRef());
    const PictureRef read = bag.ReadProperty(QStringLiteral("Picture"), PictureRef());
    QVERIFY(!isEmptyPicture(read));
    QCOMPARE(read->pixmap().toImage().pixelColor(5, 5), QColor(128, 0, 0));

    bag.WriteProperty(QStringLiteral("Picture"), std::make_shared<PictureObject>(), PictureRef());
    QVERIFY(!bag.contains(QStringLiteral("Picture")));
}

QTEST_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
