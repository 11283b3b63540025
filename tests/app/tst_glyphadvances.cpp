#include <QTest>

#include "GlyphAdvances.h"

#include <QFont>

// The lines' layout from remembered advances and kerning must be the font's own.
class tst_GlyphAdvances : public QObject {
    Q_OBJECT
private slots:
    void matchesTheFontsKernedAdvances_data();
    void matchesTheFontsKernedAdvances();
};

void tst_GlyphAdvances::matchesTheFontsKernedAdvances_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("labels with kerned pairs") << QStringList{"Total=", "Aval=", "AVAV To"};
    QTest::newRow("figures that reuse remembered characters")
        << QStringList{"Total=16,345,678kb", "Aval=9,876,543kb", "Used=39.6%", "Aval=9,876,512kb"};
    QTest::newRow("locale separators and digits")
        << QStringList{QString::fromUtf8("Aval=1\u202f234,5kb"), QString::fromUtf8("\u0664\u0662")};
    QTest::newRow("a character beyond 16 bits is one glyph")
        << QStringList{QString::fromUtf8("A\U0001F600B")};
}

void tst_GlyphAdvances::matchesTheFontsKernedAdvances()
{
    QFETCH(QStringList, texts);
    const QRawFont font = QRawFont::fromFont(QFont(QStringLiteral("Liberation Sans"), 20));
    QVERIFY(font.isValid());
    GlyphAdvances remembered(font);
    for (const QString &text : texts) {
        QList<GlyphAdvances::Glyph> glyphs;
        remembered.layOut(text, glyphs);
        const QList<quint32> expectedGlyphs = font.glyphIndexesForString(text);
        const QList<QPointF> expected =
            font.advancesForGlyphIndexes(expectedGlyphs, QRawFont::KernedAdvances);
        QCOMPARE(glyphs.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(glyphs[i].index, expectedGlyphs[i]);
            QCOMPARE(glyphs[i].advance, expected[i].x());
            QCOMPARE(glyphs[i].ink, font.boundingRect(expectedGlyphs[i]));
        }
    }
}

QTEST_MAIN(tst_GlyphAdvances)
#include "tst_glyphadvances.moc"
