#include <QTest>

#include "button/ButtonLayout.h"

// Where a look puts its picture and caption, in twips, for every alignment. A 1200 x 400 look,
// a 240 x 240 picture, a 600 x 200 caption and a margin of 60; offset 15 is the pressed look's.
class tst_ButtonLayout : public QObject {
    Q_OBJECT
private slots:
    void positions_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QPointF>("picture");
        QTest::addColumn<QPointF>("caption");
        const QPointF none;
        QTest::newRow("no picture: caption centred")
            << 0 << false << 0.0 << none << QPointF(300, 100);
        QTest::newRow("no picture, pressed: caption moves once")
            << 2 << false << 15.0 << none << QPointF(315, 115);
        QTest::newRow("left: picture at the margin, caption centred right of its width")
            << 0 << true << 0.0 << QPointF(60, 80) << QPointF(420, 100);
        QTest::newRow("left, pressed") << 0 << true << 15.0 << QPointF(75, 95) << QPointF(435, 115);
        QTest::newRow("right: picture at the margin, caption from the left margin")
            << 1 << true << 0.0 << QPointF(900, 80) << QPointF(60, 100);
        QTest::newRow("right, pressed")
            << 1 << true << 15.0 << QPointF(915, 95) << QPointF(75, 115);
        QTest::newRow("top: picture at the margin, caption a margin below it")
            << 2 << true << 0.0 << QPointF(480, 60) << QPointF(300, 360);
        QTest::newRow("top, pressed: twice the offset across")
            << 2 << true << 15.0 << QPointF(510, 75) << QPointF(330, 375);
        QTest::newRow("any other alignment is top")
            << 7 << true << 0.0 << QPointF(480, 60) << QPointF(300, 360);
        QTest::newRow("a negative alignment is top")
            << -1 << true << 0.0 << QPointF(480, 60) << QPointF(300, 360);
    }

    void positions()
    {
        QFETCH(int, alignment);
        QFETCH(bool, withPicture);
        QFETCH(double, offset);
        QFETCH(QPointF, picture);
        QFETCH(QPointF, caption);
        const std::optional<QSizeF> pictureSize =
            withPicture ? std::optional(QSizeF(240, 240)) : std::nullopt;
        const ButtonLayout layout = layOutButton(qint16(alignment), QSizeF(1200, 400), pictureSize,
                                                 QSizeF(600, 200), 60, offset);
        if (withPicture)
            QCOMPARE(layout.picture, picture);
        QCOMPARE(layout.caption, caption);
    }
};

QTEST_APPLESS_MAIN(tst_ButtonLayout)
#include "tst_buttonlayout.moc"
