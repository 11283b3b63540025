#include <QTest>

#include "ButtonTestKit.h"

#include <QFontMetricsF>

using namespace Kit;

namespace {
// The image the face shows.
QImage shown(const ZoButton &b)
{
    return face(b)->image();
}

QRect colourBounds(const QImage &image, Qt::GlobalColor colour)
{
    return boundsOf(image, image.rect(), [&](QRgb p) { return p == QColor(colour).rgb(); });
}

void draw(ZoButton &b, const QString &look)
{
    if (look == "unselected")
        b.DrawUnSelected();
    else if (look == "selected")
        b.DrawSelected();
    else if (look == "pressed")
        b.DrawPressed();
    else
        b.Refresh();
}

// A 66 x 44 pixel button with DELTA 6 and Shift 4 pixels.
std::unique_ptr<ZoButton> wideButton(qint16 alignment, const QString &caption = {})
{
    auto b = button(QSize(66, 44));
    b->setDELTA(6 * Twips);
    b->setShift(4 * Twips);
    b->setAlignment(alignment);
    b->setCaption(caption);
    return b;
}
} // namespace

class tst_ZoButtonRendering : public QObject {
    Q_OBJECT
private slots:
    void borderLines_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<Colour>("topLeft");
        QTest::addColumn<Colour>("bottomRight");
        QTest::newRow("unselected: none") << "unselected" << Back << Back;
        QTest::newRow("refresh: none") << "refresh" << Back << Back;
        QTest::newRow("selected: raised") << "selected" << Light << Dark;
        QTest::newRow("pressed: sunken") << "pressed" << Dark << Light;
    }

    void borderLines()
    {
        QFETCH(QString, look);
        QFETCH(Colour, topLeft);
        QFETCH(Colour, bottomRight);
        auto b = button(QSize(30, 20));
        draw(*b, look);
        const QImage image = shown(*b);
        QCOMPARE(image.size(), QSize(30, 20));
        QCOMPARE(image.pixel(10, 0), rgb(topLeft));
        QCOMPARE(image.pixel(0, 10), rgb(topLeft));
        QCOMPARE(image.pixel(29, 10), rgb(bottomRight));
        QCOMPARE(image.pixel(10, 19), rgb(bottomRight));
        for (QPoint inside : {QPoint(1, 10), QPoint(28, 10), QPoint(10, 1), QPoint(10, 18)})
            QCOMPARE(image.pixel(inside), rgb(Back));
    }

    void pictureChoice_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<bool>("isSwitch");
        QTest::addColumn<bool>("value");
        QTest::addColumn<bool>("withSelected");
        QTest::addColumn<bool>("withPressed");
        QTest::addColumn<QString>("shows");
        QTest::newRow("unselected") << "unselected" << false << true << true << true << "Picture";
        QTest::newRow("selected") << "selected" << false << false << true << true << "Selected";
        QTest::newRow("selected, none of its own")
            << "selected" << false << false << false << true << "Picture";
        QTest::newRow("pressed") << "pressed" << false << false << true << true << "Pressed";
        QTest::newRow("pressed, none of its own")
            << "pressed" << false << false << true << false << "Picture";
        QTest::newRow("switch on, unselected")
            << "unselected" << true << true << true << true << "Selected";
        QTest::newRow("switch on, pressed")
            << "pressed" << true << true << true << true << "Selected";
        QTest::newRow("switch off, selected")
            << "selected" << true << false << true << true << "Picture";
        QTest::newRow("switch off, pressed")
            << "pressed" << true << false << true << true << "Picture";
        for (const char *look : {"unselected", "selected", "pressed"})
            QTest::addRow("switch on without SelectedPicture, %s", look)
                << look << true << true << false << true << "none";
        QTest::newRow("switch on, refresh")
            << "refresh" << true << true << true << true << "Picture";
    }

    void pictureChoice()
    {
        QFETCH(QString, look);
        QFETCH(bool, isSwitch);
        QFETCH(bool, value);
        QFETCH(bool, withSelected);
        QFETCH(bool, withPressed);
        QFETCH(QString, shows);
        auto b = button();
        b->setPicture(picture(8, 8, Qt::red));
        if (withSelected)
            b->setSelectedPicture(picture(8, 8, Qt::green));
        if (withPressed)
            b->setPressedPicture(picture(8, 8, Qt::blue));
        b->setSwitch(isSwitch);
        b->setValue(value);
        draw(*b, look);
        const QImage image = shown(*b);
        QStringList found;
        for (auto [name, colour] : {std::pair{"Picture", Qt::red}, std::pair{"Selected", Qt::green},
                                    std::pair{"Pressed", Qt::blue}})
            if (!colourBounds(image, colour).isEmpty())
                found << name;
        QCOMPARE(found, shows == "none" ? QStringList() : QStringList{shows});
    }

    void pictureOffsets_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QPoint>("topLeft");
        // 66 x 44 pixels, an 8 x 8 picture, DELTA 6, Shift 4.
        for (const char *look : {"unselected", "selected", "refresh"}) {
            QTest::addRow("left, %s", look) << 0 << look << QPoint(6, 18);
            QTest::addRow("right, %s", look) << 1 << look << QPoint(52, 18);
            QTest::addRow("top, %s", look) << 2 << look << QPoint(29, 6);
        }
        QTest::newRow("left, pressed") << 0 << "pressed" << QPoint(10, 22);
        QTest::newRow("right, pressed") << 1 << "pressed" << QPoint(56, 22);
        QTest::newRow("top, pressed: twice Shift across") << 2 << "pressed" << QPoint(37, 10);
        QTest::newRow("alignment 3 is top") << 3 << "unselected" << QPoint(29, 6);
        QTest::newRow("alignment -1 is top") << -1 << "unselected" << QPoint(29, 6);
    }

    void pictureOffsets()
    {
        QFETCH(int, alignment);
        QFETCH(QString, look);
        QFETCH(QPoint, topLeft);
        auto b = wideButton(qint16(alignment), QStringLiteral("Hi"));
        b->setPicture(picture(8, 8, Qt::red));
        draw(*b, look);
        QCOMPARE(colourBounds(shown(*b), Qt::red), QRect(topLeft, QSize(8, 8)));
    }

    void largePictureIsClippedAtItsNaturalSize()
    {
        auto b = wideButton(0);
        b->setPicture(picture(80, 80, Qt::red));
        b->DrawSelected();
        // At (6, (44 - 80) / 2), covering the border it overlaps.
        QCOMPARE(colourBounds(shown(*b), Qt::red), QRect(6, 0, 60, 44));
    }

    void pressedCaptionMoves_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("no picture") << 2 << false << QPoint(4, 4);
        QTest::newRow("left") << 0 << true << QPoint(4, 4);
        QTest::newRow("right") << 1 << true << QPoint(4, 4);
        QTest::newRow("top: twice Shift across") << 2 << true << QPoint(8, 4);
    }

    void pressedCaptionMoves()
    {
        QFETCH(int, alignment);
        QFETCH(bool, withPicture);
        QFETCH(QPoint, moved);
        auto b = wideButton(qint16(alignment), QStringLiteral("Hi"));
        b->setLightBorderColor(Back);
        b->setDarkBorderColor(Back);
        b->setFontPressed(b->FontSelected()); // the same glyphs, so only the offset differs
        if (withPicture)
            b->setPicture(picture(8, 8, Qt::white));
        const auto captionInk = [&] {
            return boundsOf(shown(*b), QRect(0, 0, 66, 44),
                            [](QRgb p) { return p != rgb(Back) && p != QColor(Qt::white).rgb(); });
        };
        b->DrawSelected();
        const QRect atRest = captionInk();
        b->DrawPressed();
        QCOMPARE(captionInk(), atRest.translated(moved));
    }

    // The picture on the right pins the caption's start, whatever its width.
    void ampersandUnderlinesTheNextCharacter_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("sameAs");
        QTest::addColumn<bool>("firstUnderlined");
        QTest::newRow("&WW") << "&WW" << QString() << true;
        QTest::newRow("&&WW: one underline") << "&&WW"
                                             << "&WW" << true;
        QTest::newRow("WW&: nothing underlined") << "WW&" << QString() << false;
    }

    void ampersandUnderlinesTheNextCharacter()
    {
        QFETCH(QString, caption);
        QFETCH(QString, sameAs);
        QFETCH(bool, firstUnderlined);
        const auto render = [](const QString &text) {
            auto b = wideButton(1, text);
            b->setPicture(picture(8, 8, Qt::red));
            b->DrawUnSelected();
            return shown(*b);
        };
        const QImage plain = render(QStringLiteral("WW"));
        const QImage image = render(caption);
        if (!sameAs.isEmpty())
            QCOMPARE(image, render(sameAs));
        QRect changed;
        for (int y = 0; y < 44; ++y)
            for (int x = 0; x < 50; ++x)
                if (image.pixel(x, y) != plain.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        QCOMPARE(!changed.isEmpty(), firstUnderlined);
        const double w = QFontMetricsF(testFont().toQFont()).horizontalAdvance('W');
        if (firstUnderlined) // under the first W only
            QVERIFY(changed.right() <= 6 + w);
    }

    void refreshShowsTheCaptionAsItIs()
    {
        const QRect left(0, 0, 50, 44);
        auto b = wideButton(1, QStringLiteral("&WW&"));
        b->setPicture(picture(8, 8, Qt::red)); // refreshes
        const QRect refreshed = inkIn(shown(*b), left);
        b->DrawUnSelected();
        const QRect drawn = inkIn(shown(*b), left);
        QVERIFY(drawn.bottom() > refreshed.bottom()); // the first W underlined
        QVERIFY(refreshed.right() > drawn.right());   // the "&" shown
        b->Refresh(); // the closing "&" left no underline switched on
        QCOMPARE(inkIn(shown(*b), left), refreshed);
    }

    void ampersandCountsInTheCentring()
    {
        auto b = wideButton(0, QStringLiteral("WW"));
        b->DrawUnSelected();
        const QRect plain = inkIn(shown(*b), QRect(1, 1, 64, 42));
        b->setCaption(QStringLiteral("&WW"));
        b->DrawUnSelected();
        const QRect marked = inkIn(shown(*b), QRect(1, 1, 64, 42));
        const double half = QFontMetricsF(testFont().toQFont()).horizontalAdvance('&') / 2;
        QVERIFY(qAbs(plain.left() - marked.left() - half) <= 1);
    }

    void refreshPrintsInTheLastDrawingsColour()
    {
        auto b = wideButton(0, QStringLiteral("Hi"));
        b->setForeColorSelected(Colour::rgb(0, 255, 0));
        const auto greenInk = [&] { // antialiased: green, not pure green
            return !boundsOf(shown(*b), QRect(0, 0, 66, 44), [](QRgb p) {
                        return qGreen(p) > 150 && qRed(p) < 100;
                    }).isEmpty();
        };
        b->DrawSelected();
        b->Refresh();
        QVERIFY(greenInk());
        b->DrawUnSelected();
        b->Refresh();
        QVERIFY(!greenInk());
    }

    void resizeLaysOutInTheOldExtentOnce()
    {
        QWidget host;
        auto *b = button().release();
        b->setParent(&host);
        b->setPicture(picture(8, 8, Qt::red));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        b->setWidth(44 * Twips);
        // DELTA 45 twips of the old 330 spread over 44 pixels: 6 pixels.
        QCOMPARE(shown(*b).size(), QSize(44, 22));
        QCOMPARE(colourBounds(shown(*b), Qt::red).left(), 6);
        b->DrawUnSelected();
        QCOMPARE(colourBounds(shown(*b), Qt::red).left(), 3);
    }

    void strangeSizesAndCaptionsDrawSafely_data()
    {
        QTest::addColumn<QSizeF>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("image");
        QTest::newRow("no size") << QSizeF(0, 0) << "Go" << QSize(0, 0);
        QTest::newRow("negative size") << QSizeF(-300, -300) << "Go" << QSize(0, 0);
        QTest::newRow("huge size") << QSizeF(1e6, 300) << "Go" << QSize(4096, 20);
        QTest::newRow("huge caption") << QSizeF(330, 330) << QString(100000, 'W') << QSize(22, 22);
        QTest::newRow("only ampersands") << QSizeF(330, 330) << QString(50, '&') << QSize(22, 22);
        QTest::newRow("surrogates and marks")
            << QSizeF(330, 330) << QString::fromUtf8("&\U0001F600e\u0301&") << QSize(22, 22);
    }

    void strangeSizesAndCaptionsDrawSafely()
    {
        QFETCH(QSizeF, twips);
        QFETCH(QString, caption);
        QFETCH(QSize, image);
        auto b = button();
        b->setDELTA(32767);
        b->setShift(-32768);
        b->setPicture(picture(8, 8, Qt::red));
        b->setCaption(caption);
        b->Move(0, 0, twips.width(), twips.height());
        for (const char *look : {"unselected", "selected", "pressed", "refresh"}) {
            draw(*b, look);
            QCOMPARE(face(*b)->image().size(), image);
        }
    }
};

QTEST_MAIN(tst_ZoButtonRendering)
#include "tst_zobuttonrendering.moc"
