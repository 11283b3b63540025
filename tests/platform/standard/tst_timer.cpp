#include <QTest>

#include "Form.h"
#include "HostError.h"
#include "Timer.h"

#include <QSignalSpy>

class tst_Timer : public QObject {
    Q_OBJECT
private slots:
    void ticksOnlyFromTheFormsLoadUntilItsUnload();
    void intervalZeroStops();
    void intervalOutsideRangeIsRefused_data();
    void intervalOutsideRangeIsRefused();
    void designerTimerNeverTicks();
};

static Timer *placeTimer(Form &form, qint32 interval)
{
    auto *timer = new Timer(&form);
    form.addControl(timer);
    timer->setAmbient(form.userMode(), FontObject{});
    timer->Initialize();
    timer->setInterval(interval);
    return timer;
}

void tst_Timer::ticksOnlyFromTheFormsLoadUntilItsUnload()
{
    Form form(QStringLiteral("frmTest"));
    Timer *timer = placeTimer(form, 10);
    QSignalSpy ticks(timer, &Timer::Tick);
    QVERIFY(!timer->isTicking());
    form.ensureLoaded();
    QVERIFY(timer->isTicking());
    QTRY_VERIFY(ticks.count() >= 2);
    form.unload();
    QVERIFY(!timer->isTicking());
}

void tst_Timer::intervalZeroStops()
{
    Form form(QStringLiteral("frmTest"));
    Timer *timer = placeTimer(form, 1000);
    form.ensureLoaded();
    QVERIFY(timer->isTicking());
    timer->setInterval(0);
    QVERIFY(!timer->isTicking());
    timer->setInterval(65535);
    QVERIFY(timer->isTicking());
    timer->setEnabled(false);
    QVERIFY(!timer->isTicking());
}

void tst_Timer::intervalOutsideRangeIsRefused_data()
{
    QTest::addColumn<qint32>("interval");
    QTest::newRow("negative") << -1;
    QTest::newRow("past the largest") << 65536;
}

void tst_Timer::intervalOutsideRangeIsRefused()
{
    QFETCH(qint32, interval);
    Timer timer;
    timer.setInterval(250);
    try {
        timer.setInterval(interval);
        QFAIL("accepted");
    } catch (const HostError &e) {
        QCOMPARE(e.number(), int(HostError::InvalidPropertyValue));
    }
    QCOMPARE(timer.Interval(), 250);
}

void tst_Timer::designerTimerNeverTicks()
{
    Form form(QStringLiteral("frmTest"));
    form.setUserMode(false);
    Timer *timer = placeTimer(form, 10);
    form.ensureLoaded();
    QVERIFY(!timer->isTicking());
}

QTEST_MAIN(tst_Timer)
#include "tst_timer.moc"
