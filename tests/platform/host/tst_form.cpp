#include <QTest>

#include "Colour.h"
#include "FakeDesktop.h"
#include "Form.h"
#include "HostError.h"
#include "MousePointer.h"
#include "PropertyBag.h"
#include "Screen.h"

#include <QIcon>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <cmath>

class tst_Form : public QObject {
    Q_OBJECT
private slots:
    void geometryIsInTwips();
    void showLoadsOnceThenUnloadHides();
    void ownHandlersRunBeforeLaterSubscribers();
    void showAskedWhileLoadingWaitsForLoad_data();
    void showAskedWhileLoadingWaitsForLoad();
    void windowMapsBeforeItsControlsShow();
    void pointerIsCheckedAtOnceAndShownOnceOnScreen();
    void showModalReturnsAfterUnload();
    void closeRequestUnloads();
    void windowState_data();
    void windowState();
    void frame_data();
    void frame();
    void bagSetsTheWindowAsItsKeysSay_data();
    void bagSetsTheWindowAsItsKeysSay();
    void systemColours_data();
    void systemColours();
    void textKeepsContrast_data();
    void textKeepsContrast();
    void ownFrameResizesAndClientAreaMoves_data();
    void ownFrameResizesAndClientAreaMoves();
    void dragFollowsTheButtonsAtTheMove_data();
    void dragFollowsTheButtonsAtTheMove();
    void iconTakesTheProgramsSizesThatComeLater();
};

void tst_Form::geometryIsInTwips()
{
    QCOMPARE(Screen::TwipsPerPixelX(), 15.0);
    Form form(QStringLiteral("frmTest"));
    form.setBorderStyle(0);
    form.setClientSize(2085, 705);
    QCOMPARE(form.size(), QSize(139, 47));
    QCOMPARE(form.ScaleWidth(), 2085.0);
    form.Move(1500, 3000);
    QCOMPARE(form.pos(), QPoint(100, 200));
    QCOMPARE(form.Left(), 1500.0);
    QCOMPARE(form.Top(), 3000.0);
    form.setWidth(3007); // rounds to the nearest pixel
    QCOMPARE(form.width(), 200);
    QCOMPARE(form.Width(), 3000.0);
    form.Move(-150, 0, 1500, 1500);
    QCOMPARE(form.geometry(), QRect(-10, 0, 100, 100));
}

void tst_Form::showLoadsOnceThenUnloadHides()
{
    Form form(QStringLiteral("frmTest"));
    QSignalSpy load(&form, &Form::Load);
    QSignalSpy unload(&form, &Form::Unload);
    form.Show();
    form.Show();
    QCOMPARE(load.count(), 1);
    QVERIFY(form.isVisible());
    form.unload();
    form.unload();
    QCOMPARE(unload.count(), 1);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.isLoaded());
}

void tst_Form::ownHandlersRunBeforeLaterSubscribers()
{
    Form form(QStringLiteral("frmTest"));
    QStringList order;
    connect(&form, &Form::Load, [&] { order << "form"; });
    connect(&form, &Form::Load, [&] { order << "control"; });
    form.ensureLoaded();
    QCOMPARE(order, (QStringList{"form", "control"}));
}

void tst_Form::showAskedWhileLoadingWaitsForLoad_data()
{
    QTest::addColumn<bool>("unloadInLoad");
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown, then placed: appears where placed") << false << true;
    QTest::newRow("shown, then unloaded: never appears") << true << false;
}

// A keep-above switch shows the form from its Load handler, before the placement's handler
// moves it: the window must not appear where the form file left it.
void tst_Form::showAskedWhileLoadingWaitsForLoad()
{
    QFETCH(bool, unloadInLoad);
    QFETCH(bool, shown);
    Form form(QStringLiteral("frmTest"));
    form.Move(0, 0);
    connect(&form, &Form::Load, [&] { form.show(); });
    connect(&form, &Form::Load, [&] {
        form.Move(1500, 3000);
        if (unloadInLoad)
            form.unload();
    });
    QList<QPoint> shownAt;
    struct ShowSpy : QObject {
        QList<QPoint> *at;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Show)
                *at << static_cast<QWidget *>(o)->pos();
            return false;
        }
    } spy;
    spy.at = &shownAt;
    form.installEventFilter(&spy);
    form.Show();
    QCOMPARE(form.isVisible(), shown);
    QCOMPARE(shownAt, shown ? QList<QPoint>{QPoint(100, 200)} : QList<QPoint>{});
}

// Showing a control can start slow work (the accessibility bridge): the window's map request
// should not wait for it, and a control hidden at load stays hidden.
void tst_Form::windowMapsBeforeItsControlsShow()
{
    Form form(QStringLiteral("frmTest"));
    QWidget control(&form);
    QWidget hiddenControl(&form);
    hiddenControl.hide();
    form.winId(); // the window exists before it is shown, so its map can be watched
    QList<bool> controlVisibleAtMap;
    connect(form.windowHandle(), &QWindow::visibleChanged, [&](bool mapped) {
        if (mapped)
            controlVisibleAtMap << control.isVisible();
    });
    form.Show();
    QCOMPARE(controlVisibleAtMap, QList<bool>{false});
    QVERIFY(control.isVisible());
    QVERIFY(!hiddenControl.isVisible());
}

void tst_Form::pointerIsCheckedAtOnceAndShownOnceOnScreen()
{
    Form form(QStringLiteral("frmTest"));
    form.setMousePointer(MousePointer::SizeAll);
    QVERIFY_THROWS_EXCEPTION(HostError, form.setMousePointer(50));
    QCOMPARE(form.MousePointer(), MousePointer::SizeAll);
    form.Show();
    QTRY_COMPARE(form.cursor().shape(), Qt::SizeAllCursor);
}

void tst_Form::showModalReturnsAfterUnload()
{
    Form owner(QStringLiteral("frmMain"));
    owner.Show();
    Form dialog(QStringLiteral("frmOptions"));
    int ticksWhileOpen = 0;
    QTimer ticker; // the owner's timers go on while the dialog is open
    connect(&ticker, &QTimer::timeout, [&] {
        if (++ticksWhileOpen == 3)
            dialog.unload();
    });
    ticker.start(5);
    dialog.ShowModal();
    QCOMPARE(ticksWhileOpen, 3);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
}

void tst_Form::closeRequestUnloads()
{
    Form form(QStringLiteral("frmTest"));
    QSignalSpy unload(&form, &Form::Unload);
    form.Show();
    QVERIFY(form.close());
    QCOMPARE(unload.count(), 1);
}

void tst_Form::windowState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("qtState");
    QTest::newRow("normal") << 0 << int(Qt::WindowNoState);
    QTest::newRow("minimised") << 1 << int(Qt::WindowMinimized);
    QTest::newRow("maximised") << 2 << int(Qt::WindowMaximized);
    QTest::newRow("anything else is normal") << 7 << int(Qt::WindowNoState);
}

void tst_Form::windowState()
{
    QFETCH(int, state);
    QFETCH(int, qtState);
    Form form(QStringLiteral("frmTest"));
    form.setWindowState(qint16(state));
    QCOMPARE(int(form.windowState()), qtState);
    QCOMPARE(int(form.WindowState()), state == 7 ? 0 : state);
}

void tst_Form::frame_data()
{
    QTest::addColumn<int>("borderStyle");
    QTest::addColumn<bool>("controlBox");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("frameless");

    QTest::newRow("sizable window") << 2 << true << "Kelvo" << int(Qt::Window) << false;
    QTest::newRow("tool window without title bar") << 5 << false << "" << int(Qt::Tool) << true;
    QTest::newRow("dialog without title bar") << 3 << false << "" << int(Qt::Dialog) << true;
    QTest::newRow("caption keeps the title bar")
        << 3 << false << "Options" << int(Qt::Dialog) << false;
    QTest::newRow("no border") << 0 << true << "Kelvo" << int(Qt::Window) << true;
}

void tst_Form::frame()
{
    QFETCH(int, borderStyle);
    QFETCH(bool, controlBox);
    QFETCH(QString, caption);
    QFETCH(int, type);
    QFETCH(bool, frameless);
    Form form(QStringLiteral("frmTest"));
    form.setCaption(caption);
    form.setControlBox(controlBox);
    form.setBorderStyle(qint16(borderStyle));
    QCOMPARE(int(form.windowType()), type);
    QCOMPARE(form.windowFlags().testFlag(Qt::FramelessWindowHint), frameless);
}

// Flags and colours wait for the end of the bag; the window must still end as its keys say,
// also when a later key cannot be read.
void tst_Form::bagSetsTheWindowAsItsKeysSay_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("readable");

    const QByteArray keys = R"("borderstyle": 5, "controlbox": false, "showintaskbar": false,
        "clientwidth": 2085, "clientheight": 705, "backcolor": 255)";
    QTest::newRow("every key read") << "{" + keys + "}" << true;
    QTest::newRow("a later key unreadable") << "{" + keys + R"(, "mousepointer": "hand"})" << false;
}

void tst_Form::bagSetsTheWindowAsItsKeysSay()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, readable);
    Form form(QStringLiteral("frmTest"));
    const PropertyBag bag(QJsonDocument::fromJson(json).object());
    bool read = true;
    try {
        form.ReadProperties(bag);
    } catch (const HostError &) {
        read = false;
    }
    QCOMPARE(read, readable);
    QCOMPARE(int(form.windowType()), int(Qt::Tool));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.clientRect().size(), QSize(Screen::toPixelsX(2085), Screen::toPixelsY(705)));
    QVERIFY(form.clientRect().topLeft() != QPoint(0, 0)); // the own frame stands around it
    QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 0, 0));
}

void tst_Form::systemColours_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<int>("role");
    QTest::newRow("window text") << 0x80000008u << int(QPalette::WindowText);
    QTest::newRow("caption text") << 0x80000009u << int(QPalette::Base);
    QTest::newRow("button face") << 0x8000000Fu << int(QPalette::Button);
    QTest::newRow("button shadow") << 0x80000010u << int(QPalette::Dark);
    QTest::newRow("button text") << 0x80000012u << int(QPalette::ButtonText);
    QTest::newRow("button highlight") << 0x80000014u << int(QPalette::Light);
    QTest::newRow("dark shadow") << 0x80000015u << int(QPalette::Shadow);
}

void tst_Form::systemColours()
{
    QFETCH(quint32, colour);
    QFETCH(int, role);
    QPalette palette;
    // Every role gets a colour of its own, so a wrong mapping cannot match by accident.
    for (int r = 0; r < QPalette::NColorRoles; ++r)
        palette.setColor(QPalette::ColorRole(r), QColor(r * 9, 255 - r * 9, r * 5));
    QCOMPARE(Colour(colour).toQColor(palette), palette.color(QPalette::ColorRole(role)));
    QCOMPARE(Colour::rgb(128, 0, 255).toQColor(palette), QColor(128, 0, 255));
    QCOMPARE(Colour::rgb(128, 0, 255).value, 0x00FF0080u);
}

// WCAG's contrast ratio of two colours, 1 to 21.
static double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text and background pairs the forms use: the monitor's figures, the buttons' captions
// and pictures on the monitor, and the options dialog's captions.
void tst_Form::textKeepsContrast_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<quint32>("text");
    QTest::addColumn<quint32>("background");
    for (const bool dark : {false, true}) {
        const char *palette = dark ? "dark" : "light";
        QTest::addRow("%s: figures on the monitor", palette) << dark << 0x80000012u << 0x80000009u;
        QTest::addRow("%s: button text on the monitor", palette)
            << dark << 0x80000008u << 0x80000009u;
        QTest::addRow("%s: button text on button face", palette)
            << dark << 0x80000008u << 0x8000000Fu;
    }
}

void tst_Form::textKeepsContrast()
{
    QFETCH(bool, dark);
    QFETCH(quint32, text);
    QFETCH(quint32, background);
    QPalette palette; // Qt's own light palette
    if (dark) {       // the roles a dark desktop theme sets
        for (const auto &[role, colour] : {std::pair{QPalette::Window, QColor(53, 53, 53)},
                                           {QPalette::WindowText, Qt::white},
                                           {QPalette::Base, QColor(35, 35, 35)},
                                           {QPalette::Text, Qt::white},
                                           {QPalette::Button, QColor(53, 53, 53)},
                                           {QPalette::ButtonText, Qt::white},
                                           {QPalette::Highlight, QColor(42, 130, 218)},
                                           {QPalette::HighlightedText, Qt::white},
                                           {QPalette::Light, QColor(80, 80, 80)},
                                           {QPalette::Shadow, QColor(10, 10, 10)}})
            palette.setColor(role, colour);
    }
    const double ratio =
        contrast(Colour(text).toQColor(palette), Colour(background).toQColor(palette));
    QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
}

// A 147 x 55 pixel window around a 139 x 47 client area, as the monitor is designed; a press,
// then two moves with the buttons still held, as Qt on X11 reports them.
void tst_Form::ownFrameResizesAndClientAreaMoves_data()
{
    QTest::addColumn<int>("borderStyle");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<QStringList>("calls");
    const auto left = Qt::MouseButtons(Qt::LeftButton);
    QTest::newRow("left edge") << 5 << QPoint(1, 27) << left << QStringList{"resize frmTest 2"};
    QTest::newRow("top left corner")
        << 5 << QPoint(10, 2) << left << QStringList{"resize frmTest 3"};
    QTest::newRow("bottom right corner")
        << 5 << QPoint(146, 54) << left << QStringList{"resize frmTest 12"};
    QTest::newRow("client area: one move per press")
        << 5 << QPoint(40, 20) << left << QStringList{"move frmTest"};
    QTest::newRow("right button: nothing")
        << 5 << QPoint(40, 20) << Qt::MouseButtons(Qt::RightButton) << QStringList();
    QTest::newRow("two buttons: nothing")
        << 5 << QPoint(40, 20) << (Qt::LeftButton | Qt::RightButton) << QStringList();
    QTest::newRow("fixed dialog frame: nothing") << 3 << QPoint(1, 27) << left << QStringList();
}

void tst_Form::ownFrameResizesAndClientAreaMoves()
{
    QFETCH(int, borderStyle);
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButtons, buttons);
    FakeDesktop desktop;
    Form form(QStringLiteral("frmTest"));
    form.setCaption(QString());
    form.setControlBox(false);
    form.setBorderStyle(qint16(borderStyle));
    form.setClientSize(2085, 705);
    QCOMPARE(form.size(), QSize(147, 55));
    QCOMPARE(form.ScaleHeight(), 705.0);
    connect(&form, &Form::MouseMove, [&](qint16 Button) {
        if (Button == 1)
            form.DragWindow();
    });
    const Qt::MouseButton pressed = buttons & Qt::LeftButton ? Qt::LeftButton : Qt::RightButton;
    QMouseEvent press(QEvent::MouseButtonPress, at, form.mapToGlobal(at), pressed, buttons, {});
    QApplication::sendEvent(&form, &press);
    for (const QPoint step : {QPoint(5, 5), QPoint(9, 9)}) {
        QMouseEvent move(QEvent::MouseMove, at + step, form.mapToGlobal(at + step), Qt::NoButton,
                         buttons, {});
        QApplication::sendEvent(&form, &move);
    }
    QTEST(desktop.windowManager.calls, "calls");
}

void tst_Form::dragFollowsTheButtonsAtTheMove_data()
{
    // Presses (+), releases (-) and moves (m) over the client area, L left and R right.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("calls");
    const QStringList move{"move frmTest"};
    QTest::newRow("left, right pressed and let go, then a move: a move") << "+L +R -R m" << move;
    QTest::newRow("right held, left pressed, right let go: a move") << "+R +L -R m" << move;
    QTest::newRow("left and right held: nothing") << "+L +R m" << QStringList();
    QTest::newRow("left let go: nothing") << "+L -L m" << QStringList();
    QTest::newRow("a second move of the same press: nothing more") << "+L m m" << move;
}

void tst_Form::dragFollowsTheButtonsAtTheMove()
{
    QFETCH(QString, script);
    FakeDesktop desktop;
    Form form(QStringLiteral("frmTest"));
    form.setCaption(QString());
    form.setControlBox(false);
    form.setClientSize(2085, 705);
    connect(&form, &Form::MouseMove, [&](qint16 Button) {
        if (Button == 1)
            form.DragWindow();
    });
    QPoint at(40, 20);
    Qt::MouseButtons held;
    for (const QString &step : script.split(u' ')) {
        const Qt::MouseButton button = step.endsWith(u'L') ? Qt::LeftButton : Qt::RightButton;
        QEvent::Type type = QEvent::MouseMove;
        if (step.startsWith(u'+')) {
            held |= button;
            type = QEvent::MouseButtonPress;
        } else if (step.startsWith(u'-')) {
            held &= ~button;
            type = QEvent::MouseButtonRelease;
        } else {
            at += QPoint(3, 3);
        }
        QMouseEvent event(type, at, form.mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, {});
        QApplication::sendEvent(&form, &event);
    }
    QTEST(desktop.windowManager.calls, "calls");
}

// The program's icon is set once the monitor is on its way to the screen, after the forms
// have loaded their own pictures.
void tst_Form::iconTakesTheProgramsSizesThatComeLater()
{
    const auto square = [](int side) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::red);
        return pixmap;
    };
    QApplication::setWindowIcon(QIcon());
    Form form(QStringLiteral("frmTest"));
    form.setIcon(std::make_shared<PictureObject>(square(32)));
    QCOMPARE(form.windowIcon().availableSizes(), (QList<QSize>{{32, 32}}));
    QIcon program;
    for (const int side : {16, 32, 48})
        program.addPixmap(square(side));
    QApplication::setWindowIcon(program);
    QCOMPARE(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {48, 48}, {32, 32}}));
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
