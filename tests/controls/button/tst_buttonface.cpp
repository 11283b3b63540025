#include <QTest>

#include "button/ButtonFace.h"

#include <QSignalSpy>

class tst_ButtonFace : public QObject {
    Q_OBJECT
private slots:
    void showsItsImageAndBackColourBeyondIt()
    {
        ButtonFace face(nullptr);
        face.resize(20, 10);
        face.setBackColor(Colour::rgb(0, 0, 255));
        QImage image(12, 10, QImage::Format_RGB32);
        image.fill(Qt::red);
        face.showImage(image);
        const QImage painted = face.grab().toImage();
        QCOMPARE(painted.pixelColor(11, 5), QColor(Qt::red));
        QCOMPARE(painted.pixelColor(12, 5), QColor(Qt::blue));
    }

    void onlyFocusMovingAwayIsFocusLoss_data()
    {
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<bool>("lost");
        QTest::newRow("tab") << Qt::TabFocusReason << true;
        QTest::newRow("click elsewhere") << Qt::MouseFocusReason << true;
        QTest::newRow("other window activated") << Qt::ActiveWindowFocusReason << false;
        QTest::newRow("menu popped up") << Qt::PopupFocusReason << false;
    }

    void onlyFocusMovingAwayIsFocusLoss()
    {
        QFETCH(Qt::FocusReason, reason);
        QFETCH(bool, lost);
        ButtonFace face(nullptr);
        QSignalSpy losses(&face, &ButtonFace::lostFocus);
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(&face, &out);
        QCOMPARE(losses.size(), lost ? 1 : 0);
    }
};

QTEST_MAIN(tst_ButtonFace)
#include "tst_buttonface.moc"
