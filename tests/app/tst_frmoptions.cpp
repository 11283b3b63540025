#include <QTest>

#include "AppInfo.h"
#include "FakeDesktop.h"
#include "FakeMemory.h"
#include "Label.h"
#include "TempSettings.h"
#include "TextBox.h"
#include "Timer.h"
#include "button/ButtonFace.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoOnTop.h"
#include "frmMain.h"
#include "frmOptions.h"

#include <QLineEdit>
#include <QScopeGuard>

// The dialog as the monitor's Options button opens it, on a monitor with a fake memory source,
// its own settings store and a fake window manager.
class tst_frmOptions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadShowsTheMonitorsValues();
    void textIsRedUnlessReturnCanTakeIt_data();
    void textIsRedUnlessReturnCanTakeIt();
    void returnAppliesOnlyAPeriod_data();
    void returnAppliesOnlyAPeriod();
    void periodReadableUnderEveryPalette_data();
    void periodReadableUnderEveryPalette();
    void escapeLeavesThePeriod();
    void everyOnTopClickReachesTheMonitor();

private:
    static void click(ZoButton *button)
    {
        QTest::mouseClick(button->findChild<ButtonFace *>(), Qt::LeftButton);
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeMemory m_memory;
    std::unique_ptr<frmMain> m_monitor;
};

void tst_frmOptions::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_desktop = std::make_unique<FakeDesktop>();
    m_memory.sample = {8000000, 2000000};
    m_monitor = std::make_unique<frmMain>(m_memory);
    m_monitor->Show();
}

void tst_frmOptions::cleanup()
{
    m_monitor.reset();
    m_desktop.reset();
    m_settings.reset();
    QLocale::setDefault(QLocale::c());
}

void tst_frmOptions::loadShowsTheMonitorsValues()
{
    for (const auto &[period, onTop] : {std::pair{1000, true}, {250, false}}) {
        m_monitor->timMeasure()->setInterval(period);
        m_monitor->zopOnTop()->setOnTop(onTop);
        frmOptions dialog(*m_monitor);
        dialog.ensureLoaded();
        QCOMPARE(dialog.txtInterval()->Text(), QString::number(period));
        QCOMPARE(dialog.txtInterval()->ForeColor(), Colour::rgb(0, 0, 0));
        QCOMPARE(dialog.cmdAction(0)->Value(), onTop);
        QCOMPARE(dialog.lblVersion()->Caption(), "Kelvo V.1.0.1");
        QCOMPARE(dialog.lblCopyright()->Caption(), QString::fromUtf8(App::LegalCopyright));
        QCOMPARE(dialog.control<Label>("Label3", 0)->Caption(),
                 QString::fromUtf8(App::Description));
    }
}

void tst_frmOptions::textIsRedUnlessReturnCanTakeIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("valid");
    const QString english = "en_US";
    QTest::newRow("250") << "250" << english << true;
    QTest::newRow("spaces around") << " 250 " << english << true;
    QTest::newRow("exponent") << "1e3" << english << true;
    QTest::newRow("decimal part") << "12.5" << english << true;
    QTest::newRow("plus sign") << "+40" << english << true;
    QTest::newRow("German decimal comma") << "12,5"
                                          << "de_DE" << true;
    QTest::newRow("point under German too") << "12.5"
                                            << "de_DE" << true;
    QTest::newRow("German thousands") << "1.000"
                                      << "de_DE" << true;
    QTest::newRow("French group space") << "1\u202f000"
                                        << "fr_FR" << true;
    QTest::newRow("Persian decimal") << "1\u066b5"
                                     << "fa_IR" << true;
    QTest::newRow("Arabic group") << "1\u066c000"
                                  << "ar_EG" << true;
    QTest::newRow("German: a group too short") << "1.00"
                                               << "de_DE" << true;
    QTest::newRow("German: letters") << "1,5x"
                                     << "de_DE" << false;
    QTest::newRow("comma is no decimal in English") << "12,5" << english << false;
    QTest::newRow("letters") << "abc" << english << false;
    QTest::newRow("empty") << "" << english << false;
    QTest::newRow("negative") << "-5" << english << false;
    QTest::newRow("above 65535") << "70000" << english << false;
    QTest::newRow("beyond 32 bits") << "1e20" << english << false;
    QTest::newRow("infinity") << "inf" << english << false;
}

void tst_frmOptions::textIsRedUnlessReturnCanTakeIt()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, valid);
    QLocale::setDefault(QLocale(locale));
    frmOptions dialog(*m_monitor);
    dialog.ensureLoaded();
    auto *field = dialog.txtInterval()->findChild<QLineEdit *>();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    if (QString::fromLatin1(text.toLatin1()) == text)
        QTest::keyClicks(field, text);
    else // beyond what QTest can type
        field->insert(text);
    QCOMPARE(dialog.txtInterval()->Text(), text);
    QCOMPARE(dialog.txtInterval()->ForeColor(),
             valid ? Colour::rgb(0, 0, 0) : Colour::rgb(255, 0, 0));
}

void tst_frmOptions::returnAppliesOnlyAPeriod_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("period");
    QTest::newRow("a half down to even") << "12.5"
                                         << "C" << 12;
    QTest::newRow("a half up to even") << "13.5"
                                       << "C" << 14;
    QTest::newRow("letters: unchanged") << "abc"
                                        << "C" << 1000;
    QTest::newRow("too large: unchanged") << "70000"
                                          << "C" << 1000;
    QTest::newRow("0 stops the refresh") << "0"
                                         << "C" << 0;
    QTest::newRow("German 1.000 is a thousand") << "1.000"
                                                << "de_DE" << 1000;
    QTest::newRow("German 1,5 rounds to 2") << "1,5"
                                            << "de_DE" << 2;
    QTest::newRow("German 12.5, unreadable there, read as C") << "12.5"
                                                              << "de_DE" << 12;
    QTest::newRow("French 2\u202f500") << "2\u202f500"
                                       << "fr_FR" << 2500;
    QTest::newRow("French 2,5") << "2,5"
                                << "fr_FR" << 2;
    QTest::newRow("Persian 1\u066c000") << "1\u066c000"
                                        << "fa_IR" << 1000;
    QTest::newRow("Arabic 3\u066b5") << "3\u066b5"
                                     << "ar_EG" << 4;
}

void tst_frmOptions::returnAppliesOnlyAPeriod()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    frmOptions dialog(*m_monitor);
    dialog.ensureLoaded();
    dialog.txtInterval()->setText(text);
    click(dialog.cmdAction(1));
    QVERIFY(!dialog.isLoaded());
    QTEST(m_monitor->timMeasure()->Interval(), "period");
    QCOMPARE(m_monitor->timMeasure()->isTicking(), m_monitor->timMeasure()->Interval() != 0);
}

void tst_frmOptions::periodReadableUnderEveryPalette_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("text");
    QTest::newRow("light, valid") << false << "250";
    QTest::newRow("light, invalid") << false << "abc";
    QTest::newRow("dark, valid") << true << "250";
    QTest::newRow("dark, invalid") << true << "abc";
}

// The text box's background is the palette's Base: white in Qt's light palette, near black
// in a dark one.
void tst_frmOptions::periodReadableUnderEveryPalette()
{
    QFETCH(bool, dark);
    QFETCH(QString, text);
    const QPalette light = QApplication::palette();
    QPalette palette = light;
    if (dark) {
        palette.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
        palette.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
        palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    }
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    frmOptions dialog(*m_monitor);
    dialog.ensureLoaded();
    dialog.txtInterval()->setText(text);
    const QColor shown = dialog.txtInterval()->shownForeColor();
    const QColor background = dialog.txtInterval()->BackColor().toQColor(palette);
    QVERIFY2(contrastRatio(shown, background) >= 4.5, qPrintable(shown.name()));
    if (text == "250") {
        if (!dark)
            QCOMPARE(shown, QColor(Qt::black));
        return;
    }
    QVERIFY2(shown.red() > 2 * std::max(shown.green(), shown.blue()), qPrintable(shown.name()));
    if (!dark) // a pure red, only as much darker as white asks
        QVERIFY2(shown.green() == 0 && shown.blue() == 0 && shown.red() > 200,
                 qPrintable(shown.name()));
}

void tst_frmOptions::escapeLeavesThePeriod()
{
    frmOptions dialog(*m_monitor);
    dialog.Show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.txtInterval()->setText("250");
    QTest::keyClick(dialog.txtInterval()->findChild<QLineEdit *>(), Qt::Key_Escape);
    QVERIFY(!dialog.isLoaded());
    QCOMPARE(m_monitor->timMeasure()->Interval(), 1000);
}

void tst_frmOptions::everyOnTopClickReachesTheMonitor()
{
    frmOptions dialog(*m_monitor);
    dialog.ensureLoaded();
    QVERIFY(m_monitor->zopOnTop()->OnTop());
    click(dialog.cmdAction(0));
    QVERIFY(!m_monitor->zopOnTop()->OnTop());
    QCOMPARE(m_desktop->windowManager.calls.last(), "keepAbove frmMain false");
    click(dialog.cmdAction(0));
    QVERIFY(m_monitor->zopOnTop()->OnTop());
    QCOMPARE(m_desktop->windowManager.calls.last(), "keepAbove frmMain true");
}

QTEST_MAIN(tst_frmOptions)
#include "tst_frmoptions.moc"
