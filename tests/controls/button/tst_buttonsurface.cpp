#include <QTest>

#include "ButtonTestKit.h"
#include "button/ButtonSurface.h"

#include <QFontMetricsF>

using namespace Kit;

namespace {
constexpr Colour Ink = Colour::rgb(0, 0, 0);

// A 20 x 10 pixel surface over the given extent, cleared.
void prepare(ButtonSurface &s, QSizeF extent)
{
    s.setBackColor(Back);
    s.setForeColor(Ink);
    s.setFont(testFont());
    s.setSize(QSize(20, 10));
    s.setScaleSize(extent.width(), extent.height());
    s.clear();
}

QRect inked(const QImage &image)
{
    return inkIn(image, image.rect());
}
} // namespace

class tst_ButtonSurface : public QObject {
    Q_OBJECT
private slots:
    void positionsFollowTheExtent_data()
    {
        QTest::addColumn<QSizeF>("extent");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("15 twips a pixel: last column")
            << QSizeF(300, 150) << QPointF(285, 0) << QPointF(285, 135) << QRect(19, 0, 1, 10);
        QTest::newRow("30 twips a pixel")
            << QSizeF(600, 300) << QPointF(0, 150) << QPointF(600, 150) << QRect(0, 5, 20, 1);
        QTest::newRow("no extent: the screen's 15 twips")
            << QSizeF(0, 0) << QPointF(150, 0) << QPointF(150, 150) << QRect(10, 0, 1, 10);
        QTest::newRow("negative extent: the screen's 15 twips")
            << QSizeF(-5, -5) << QPointF(0, 75) << QPointF(150, 75) << QRect(0, 5, 11, 1);
    }

    void positionsFollowTheExtent()
    {
        QFETCH(QSizeF, extent);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(QRect, pixels);
        ButtonSurface s;
        prepare(s, extent);
        s.drawLine(from, to, Ink);
        QCOMPARE(inked(s.commit()), pixels);
    }

    void picturesKeepTheirNaturalSize()
    {
        ButtonSurface s;
        prepare(s, QSizeF(600, 300)); // 30 twips a pixel
        QPixmap picture(4, 3);
        picture.fill(Qt::black);
        s.drawPicture(picture, QPointF(60, 90));
        s.drawPicture(picture, QPointF(-60, 270)); // mostly outside: clipped
        QCOMPARE(inked(s.commit()), QRect(0, 3, 6, 7));
        QCOMPARE(s.commit().pixel(1, 9), Ink.toQColor().rgb());
    }

    void printAdvancesPastThePrintedText()
    {
        ButtonSurface s;
        prepare(s, QSizeF(600, 300));
        s.setCurrentPos(QPointF(30, 60));
        s.print(QStringLiteral("Wi"));
        const double twips = QFontMetricsF(testFont().toQFont()).horizontalAdvance("Wi") * 30;
        QCOMPARE(s.currentPos(), QPointF(30 + twips, 60));
        QCOMPARE(s.textSize(QStringLiteral("Wi")).width(), twips);
        QVERIFY(inked(s.commit()).left() >= 1);
        s.clear();
        QCOMPARE(s.currentPos(), QPointF());
        QVERIFY(inked(s.commit()).isEmpty());
    }

    void textPastTheRightEdgeOnlyMovesThePosition()
    {
        ButtonSurface s;
        prepare(s, QSizeF(300, 150));
        s.setCurrentPos(QPointF(300, 0));
        s.print(QStringLiteral("W"));
        QVERIFY(s.currentPos().x() > 300);
        QVERIFY(inked(s.commit()).isEmpty());
    }

    void sizesOutsideTheRangeAreBounded_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("image");
        QTest::newRow("negative") << QSize(-4, 10) << QSize(0, 10) << QSize(0, 0);
        QTest::newRow("zero") << QSize(0, 0) << QSize(0, 0) << QSize(0, 0);
        QTest::newRow("beyond the largest side")
            << QSize(100000, 3) << QSize(100000, 3) << QSize(ButtonSurface::MaxSide, 3);
    }

    void sizesOutsideTheRangeAreBounded()
    {
        QFETCH(QSize, asked);
        QFETCH(QSize, size);
        QFETCH(QSize, image);
        ButtonSurface s;
        s.setSize(asked);
        s.setScaleSize(1500000, 45);
        s.clear();
        s.drawLine(QPointF(0, 0), QPointF(1500000, 45), Ink);
        s.setCurrentPos(QPointF(0, 0));
        s.print(QStringLiteral("W"));
        QCOMPARE(s.size(), size);
        QCOMPARE(s.commit().size(), image);
    }
};

QTEST_MAIN(tst_ButtonSurface)
#include "tst_buttonsurface.moc"
