#include <QTest>

#include "ButtonTestKit.h"
#include "ControlRegistry.h"
#include "FakeDesktop.h"
#include "Form.h"
#include "FormFile.h"
#include "HostError.h"
#include "button/ButtonControls.h"

#include <QSignalSpy>
#include <QTimer>
#include <functional>

using namespace Kit;

namespace {
// The events a button raises, each with the look its face held at that moment.
struct Trace {
    explicit Trace(ZoButton &b)
    {
        const auto record = [this, &b](const char *event) {
            return [this, &b, event] {
                events << QString::fromLatin1(event) + QLatin1Char('@') + look(b);
            };
        };
        QObject::connect(&b, &ZoButton::MouseEnter, record("MouseEnter"));
        QObject::connect(&b, &ZoButton::MouseExit, record("MouseExit"));
        QObject::connect(&b, &ZoButton::Click, record("Click"));
    }
    QStringList take() { return std::exchange(events, {}); }
    QStringList events;
};

int errorNumber(const std::function<void()> &action)
{
    try {
        action();
    } catch (const HostError &e) {
        return e.number();
    }
    return 0;
}

// Counts the key presses that reach a widget.
struct KeyCounter : QObject {
    int keys = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        keys += e->type() == QEvent::KeyPress;
        return false;
    }
};

QTimer *captureTimer(const ZoButton &b)
{
    return b.findChild<QTimer *>(QStringLiteral("timCapture"));
}

bool tick(const ZoButton &b)
{
    return QSignalSpy(captureTimer(b), &QTimer::timeout).wait(1000);
}

struct SetterRow {
    const char *key;
    bool redraws;
    std::function<void(ZoButton &)> set;
    bool designOnly = false; // refused at run time
};

const QList<SetterRow> &setterRows()
{
    static const QList<SetterRow> rows{
        {"BackColor", true, [](ZoButton &b) { b.setBackColor(Colour::rgb(0, 128, 0)); }},
        {"Font", true, [](ZoButton &b) { b.setFont(makeFont(testFont())); }},
        {"ForeColor", true, [](ZoButton &b) { b.setForeColor(Light); }},
        {"MouseIcon", false, [](ZoButton &b) { b.setMouseIcon(picture(32, 32, Qt::red)); }},
        {"MousePointer", false, [](ZoButton &b) { b.setMousePointer(2); }},
        {"Picture", true, [](ZoButton &b) { b.setPicture(picture(8, 8, Qt::red)); }},
        {"Caption", true, [](ZoButton &b) { b.setCaption(QStringLiteral("Go")); }},
        {"Delta", true, [](ZoButton &b) { b.setDELTA(90); }},
        {"LightBorderColor", false, [](ZoButton &b) { b.setLightBorderColor(Dark); }},
        {"DarkBorderColor", false, [](ZoButton &b) { b.setDarkBorderColor(Light); }},
        {"Alignment", true, [](ZoButton &b) { b.setAlignment(1); }, true},
        {"SelectedPicture", false,
         [](ZoButton &b) { b.setSelectedPicture(picture(8, 8, Qt::red)); }},
        {"PressedPicture", false, [](ZoButton &b) { b.setPressedPicture(picture(8, 8, Qt::red)); }},
        {"FontSelected", false, [](ZoButton &b) { b.setFontSelected(makeFont()); }},
        {"FontPressed", false, [](ZoButton &b) { b.setFontPressed(makeFont()); }},
        {"ForeColorSelected", false, [](ZoButton &b) { b.setForeColorSelected(Dark); }},
        {"ForeColorPressed", false, [](ZoButton &b) { b.setForeColorPressed(Dark); }},
        {"Switch", false, [](ZoButton &b) { b.setSwitch(true); }, true},
        {"Value", false, [](ZoButton &b) { b.setValue(true); }},
        {"Shift", false, [](ZoButton &b) { b.setShift(30); }, true},
        {"ToolTipText", false, [](ZoButton &b) { b.setToolTipText(QStringLiteral("Exit")); }},
        {"Rows", false, [](ZoButton &b) { b.setRows(3); }},
        {"Cols", false, [](ZoButton &b) { b.setCols(4); }},
    };
    return rows;
}

void addSetterRows()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < setterRows().size(); ++i)
        QTest::newRow(setterRows().at(i).key) << i;
}
} // namespace

class tst_ZoButton : public QObject {
    Q_OBJECT
private slots:
    void init() { QCursor::setPos(700, 700); }

    // --- Model and persistence ---

    void emptyBagGivesDefaults()
    {
        ZoButton b;
        b.setAmbient(true, testFont());
        b.Initialize();
        b.ReadProperties(PropertyBag());
        QCOMPARE(b.Caption(), QStringLiteral("ZoButton"));
        QCOMPARE(b.DELTA(), 45);
        QCOMPARE(b.LightBorderColor().value, 0x00FFFFFFu);
        QCOMPARE(b.DarkBorderColor().value, 0x00808080u);
        QCOMPARE(b.Alignment(), 0);
        QCOMPARE(b.Rows(), 16);
        QCOMPARE(b.Cols(), 24);
        QCOMPARE(b.Shift(), 15);
        QVERIFY(!b.Switch() && !b.Value());
        QCOMPARE(b.ForeColorSelected().value, 0u);
        QCOMPARE(b.ForeColorPressed().value, 0u);
        QCOMPARE(b.ToolTipText(), QString());
        QVERIFY(!b.Picture() && !b.SelectedPicture() && !b.PressedPicture() && !b.MouseIcon());
        QCOMPARE(b.MousePointer(), 0);
        QCOMPARE(b.BackColor().value, 0x8000000Fu);
        QCOMPARE(b.ForeColor().value, 0x80000012u);
        QVERIFY(!face(b)->AutoRedraw());
        for (const FontRef &f : {b.Font(), b.FontSelected(), b.FontPressed()})
            QCOMPARE(*f, testFont());
        QVERIFY(b.FontSelected() != b.FontPressed()); // the ambient font is fetched anew
    }

    void allKeysRoundTrip()
    {
        auto a = button();
        FontObject bold = testFont();
        bold.Bold = true;
        a->setFont(makeFont(bold));
        a->setMouseIcon(picture(32, 32, Qt::black));
        a->setMousePointer(99);
        a->setPicture(picture(16, 16, Qt::red));
        a->setCaption(QStringLiteral("&Go"));
        for (const SetterRow &row : setterRows().mid(7))
            row.set(*a);
        a->setAlignment(2);
        a->setForeColorSelected(Colour(0x0000FF));
        a->setForeColorPressed(Colour(0x00FF00));
        PropertyBag bag;
        a->WriteProperties(bag);
        QStringList keys{"autoredraw",
                         "backcolor",
                         "font",
                         "forecolor",
                         "mouseicon",
                         "mousepointer",
                         "picture",
                         "caption",
                         "delta",
                         "lightbordercolor",
                         "darkbordercolor",
                         "alignment",
                         "selectedpicture",
                         "pressedpicture",
                         "fontselected",
                         "fontpressed",
                         "forecolorselected",
                         "forecolorpressed",
                         "switch",
                         "value",
                         "shift",
                         "tooltiptext",
                         "rows",
                         "cols"};
        keys.sort();
        QStringList written = bag.keys(); // in the table's order
        written.sort();
        QCOMPARE(written, keys);

        ZoButton b;
        b.setAmbient(true, testFont());
        b.Initialize();
        b.ReadProperties(bag);
        PropertyBag again;
        b.WriteProperties(again);
        QCOMPARE(again.toJson(), bag.toJson());
    }

    void newInstanceSavesOnlyItsFaceSettings()
    {
        ZoButton b;
        b.setAmbient(false, FontObject());
        b.Initialize();
        b.InitProperties();
        PropertyBag bag;
        b.WriteProperties(bag);
        QCOMPARE(bag.keys(), QStringList({"autoredraw", "forecolor"}));
    }

    void formFileRoundTrip()
    {
        ControlRegistry registry;
        registerButtonControls(registry);
        const QByteArray text = R"({"form": "frmTest", "controls": [
            {"class": "Kelvo.ZoButton", "name": "cmdAction", "index": 0, "width": 330,
             "height": 330, "bag": {"caption": "", "tooltiptext": "Exit", "delta": 30}},
            {"class": "Kelvo.ZoButton", "name": "cmdAction", "index": 1, "top": 360,
             "width": 330, "height": 330}]})";
        Form form(QStringLiteral("frmTest"));
        FormFile::load(form, FormFile::parse(text, "test"), registry);
        auto *exit = form.control<ZoButton>(QStringLiteral("cmdAction"), 0);
        QVERIFY(exit);
        QCOMPARE(exit->ToolTipText(), QStringLiteral("Exit"));
        QCOMPARE(exit->DELTA(), 30);
        QCOMPARE(exit->Caption(), QString());
        QCOMPARE(form.control<ZoButton>(QStringLiteral("cmdAction"), 1)->Caption(),
                 QStringLiteral("ZoButton")); // no bag: a new instance

        const QByteArray written = FormFile::write(form, registry);
        Form again(QStringLiteral("other"));
        FormFile::load(again, FormFile::parse(written, "written"), registry);
        QCOMPARE(FormFile::write(again, registry), written);
    }

    void brokenBagStopsAtTheBrokenKey_data()
    {
        QTest::addColumn<QJsonObject>("bag");
        QTest::addColumn<int>("error");
        QTest::newRow("pointer shape")
            << QJsonObject{{"mousepointer", 42}} << int(HostError::InvalidPropertyValue);
        QTest::newRow("text for a number")
            << QJsonObject{{"delta", "wide"}} << int(HostError::TypeMismatch);
        QTest::newRow("number too large")
            << QJsonObject{{"delta", 1e9}} << int(HostError::Overflow);
    }

    void brokenBagStopsAtTheBrokenKey()
    {
        QFETCH(QJsonObject, bag);
        QFETCH(int, error);
        auto b = button();
        bag.insert("backcolor", 255);
        bag.insert("rows", 7);
        QCOMPARE(errorNumber([&] { b->ReadProperties(PropertyBag(bag)); }), error);
        QCOMPARE(b->BackColor().value, 255u); // read before the broken key
        QCOMPARE(b->Rows(), 16);              // never reached
    }

    void settersRedrawAndReport_data() { addSetterRows(); }

    void settersRedrawAndReport()
    {
        QFETCH(int, row);
        const SetterRow &setter = setterRows().at(row);
        auto b = button();
        b->DrawSelected();
        QSignalSpy changed(b.get(), &UserControl::propertyChanged);
        setter.set(*b);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString::fromLatin1(setter.key));
        QCOMPARE(look(*b), setter.redraws ? "unselected" : "selected");
    }

    void designOnlySettersRefuseAtRunTime_data() { addSetterRows(); }

    void designOnlySettersRefuseAtRunTime()
    {
        QFETCH(int, row);
        const SetterRow &setter = setterRows().at(row);
        auto b = button();
        b->setAmbient(true, testFont());
        b->DrawSelected();
        PropertyBag before;
        b->WriteProperties(before);
        QSignalSpy changed(b.get(), &UserControl::propertyChanged);
        QCOMPARE(errorNumber([&] { setter.set(*b); }),
                 setter.designOnly ? int(HostError::SetNotPermittedAtRunTime) : 0);
        if (setter.designOnly) {
            PropertyBag after;
            b->WriteProperties(after);
            QCOMPARE(after.toJson(), before.toJson());
            QVERIFY(changed.isEmpty());
            QCOMPARE(look(*b), "selected");
        }
    }

    void mousePointerAcceptsOnlyPointerShapes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("valid");
        for (int shape : {0, 15, 99})
            QTest::addRow("%d", shape) << shape << true;
        for (int shape : {-1, 16, 98, 100})
            QTest::addRow("%d", shape) << shape << false;
    }

    void mousePointerAcceptsOnlyPointerShapes()
    {
        QFETCH(int, shape);
        QFETCH(bool, valid);
        auto b = button();
        b->setMousePointer(3);
        QSignalSpy changed(b.get(), &UserControl::propertyChanged);
        QCOMPARE(errorNumber([&] { b->setMousePointer(qint16(shape)); }),
                 valid ? 0 : int(HostError::InvalidPropertyValue));
        QCOMPARE(b->MousePointer(), valid ? shape : 3);
        QCOMPARE(changed.size(), valid ? 1 : 0);
    }

    void customPointerUsesMouseIcon()
    {
        auto b = button();
        b->setMouseIcon(picture(32, 32, Qt::black));
        b->setMousePointer(99);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(face(*b), &enter);
        QCOMPARE(face(*b)->cursor().pixmap().size(), QSize(32, 32));
        b->setMousePointer(15); // once shown, a new shape shows at once
        QCOMPARE(face(*b)->cursor().shape(), Qt::SizeAllCursor);
    }

    void fontsAndPicturesAreSharedReferences()
    {
        auto b = button();
        const FontRef font = makeFont(testFont());
        const PictureRef pic = picture(8, 8, Qt::red);
        b->setFont(font);
        b->setFontSelected(font);
        b->setPicture(pic);
        b->setPressedPicture(pic);
        QVERIFY(b->Font() == font && b->FontSelected() == font);
        QVERIFY(b->Picture() == pic && b->PressedPicture() == pic);
    }

    void terminateReleasesStateFonts()
    {
        auto b = button();
        const std::weak_ptr<FontObject> selected = b->FontSelected();
        const std::weak_ptr<FontObject> pressed = b->FontPressed();
        b->Terminate();
        QVERIFY(selected.expired() && pressed.expired());
        b->DrawSelected(); // a look without its font draws in Font
        QCOMPARE(look(*b), "selected");
    }

    void destroyingAFocusedButtonReportsNothing()
    {
        QWidget form;
        auto *b = button().release();
        b->setParent(&form);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        b->setFocus();
        QCOMPARE(QApplication::focusWidget(), face(*b));
        delete b; // the face loses the focus after the button's own parts are gone
        QVERIFY(!QApplication::focusWidget());
    }

    // --- Interaction ---

    void fullClick()
    {
        FakeDesktop desktop;
        auto b = button();
        desktop.windows.rects[face(*b)] = {100, 100, 122, 122};
        desktop.pointer.position = {110, 110};
        Trace trace(*b);

        mouse(*b, QEvent::MouseMove, {5, 5});
        QCOMPARE(trace.take(), QStringList{"MouseEnter@unselected"});
        QCOMPARE(look(*b), "selected");
        mouse(*b, QEvent::MouseMove, {6, 6});
        QCOMPARE(trace.take(), QStringList());
        mouse(*b, QEvent::MouseButtonPress, {6, 6}, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(trace.take(), QStringList{"MouseEnter@pressed"});
        QVERIFY(b->Value());
        mouse(*b, QEvent::MouseButtonRelease, {6, 6}, Qt::LeftButton);
        QCOMPARE(trace.take(), QStringList({"MouseEnter@pressed", "Click@pressed"}));
        QVERIFY(tick(*b)); // the pointer is still over the button: the check goes on
        QCOMPARE(trace.take(), QStringList());
        QCOMPARE(look(*b), "pressed");
        mouse(*b, QEvent::MouseMove, {6, 6});
        QCOMPARE(trace.take(), QStringList{"MouseEnter@pressed"});
        QCOMPARE(look(*b), "selected");

        desktop.pointer.position = {300, 110};
        QVERIFY(tick(*b));
        QCOMPARE(trace.take(), QStringList{"MouseExit@unselected"});
        QVERIFY(!captureTimer(*b)->isActive());
    }

    void dragOutAndReleaseOutside()
    {
        auto b = button();
        Trace trace(*b);
        mouse(*b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        trace.take();
        mouse(*b, QEvent::MouseMove, {-3, 5}, {}, Qt::LeftButton);
        QCOMPARE(trace.take(), QStringList());
        QCOMPARE(look(*b), "unselected");
        mouse(*b, QEvent::MouseMove, {-4, 5}, {}, Qt::LeftButton); // tracking restarts
        QCOMPARE(trace.take(), QStringList{"MouseEnter@unselected"});
        QCOMPARE(look(*b), "unselected");
        mouse(*b, QEvent::MouseButtonRelease, {-4, 5}, Qt::LeftButton);
        QCOMPARE(trace.take(), QStringList({"MouseEnter@unselected", "Click@unselected"}));
    }

    void everyMouseButtonClicks_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void everyMouseButtonClicks()
    {
        QFETCH(Qt::MouseButton, button);
        auto b = Kit::button();
        QSignalSpy clicks(b.get(), &ZoButton::Click);
        mouse(*b, QEvent::MouseButtonPress, {5, 5}, button, button);
        QVERIFY(b->Value()); // whether or not it is a switch
        QCOMPARE(look(*b), "pressed");
        mouse(*b, QEvent::MouseButtonRelease, {5, 5}, button);
        QCOMPARE(clicks.size(), 1);
    }

    void doubleClickIsTwoClicks()
    {
        auto b = button();
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.get()));
        QSignalSpy clicks(b.get(), &ZoButton::Click);
        QTest::mouseDClick(b->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.size(), 2);
        QVERIFY(!b->Value());
    }

    void pressedSwitchShowsItsNewState()
    {
        auto b = button();
        b->setSwitch(true);
        b->setPicture(picture(8, 8, Qt::red));
        b->setSelectedPicture(picture(8, 8, Qt::green));
        const QPoint inPicture(6, 10); // DELTA 45 and Shift 15 twips: the picture is at (4, 8)
        for (Qt::GlobalColor shows : {Qt::green, Qt::red}) {
            mouse(*b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
            QCOMPARE(face(*b)->image().pixelColor(inPicture), QColor(shows));
            mouse(*b, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);
        }
    }

    void pointerOnTheFaceEdgeIsInside_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("look");
        QTest::newRow("top-left corner") << QPoint(0, 0) << "selected";
        QTest::newRow("right and bottom edge") << QPoint(22, 22) << "selected";
        QTest::newRow("right of") << QPoint(23, 5) << "unselected";
        QTest::newRow("below") << QPoint(5, 23) << "unselected";
        QTest::newRow("left of") << QPoint(-1, 5) << "unselected";
        QTest::newRow("above") << QPoint(5, -1) << "unselected";
    }

    void pointerOnTheFaceEdgeIsInside()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, look);
        auto b = button();
        mouse(*b, QEvent::MouseMove, at, {}, Qt::LeftButton);
        QCOMPARE(Kit::look(*b), look);
    }

    void leaveIsNoticedByTheNextTick_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("left");
        QTest::newRow("inside") << QPoint(110, 110) << false;
        QTest::newRow("on the left edge") << QPoint(100, 110) << false;
        QTest::newRow("on the right edge") << QPoint(122, 110) << false;
        QTest::newRow("on the bottom edge") << QPoint(110, 122) << false;
        QTest::newRow("left of") << QPoint(99, 110) << true;
        QTest::newRow("right of") << QPoint(123, 110) << true;
        QTest::newRow("above") << QPoint(110, 99) << true;
        QTest::newRow("below") << QPoint(110, 123) << true;
    }

    void leaveIsNoticedByTheNextTick()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, left);
        FakeDesktop desktop;
        auto b = button();
        desktop.windows.rects[face(*b)] = {100, 100, 122, 122};
        mouse(*b, QEvent::MouseMove, {5, 5});
        QCOMPARE(captureTimer(*b)->interval(), 100);
        QSignalSpy exits(b.get(), &ZoButton::MouseExit);
        desktop.pointer.position = pointer;
        QVERIFY(tick(*b));
        QCOMPARE(exits.size(), left ? 1 : 0);
        QCOMPARE(captureTimer(*b)->isActive(), !left);
        QCOMPARE(look(*b), left ? "unselected" : "selected");
    }

    void focusLoss_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("redraws");
        QTest::newRow("idle") << "idle" << true;
        QTest::newRow("tracking, hovered") << "hovered" << false;
        QTest::newRow("tracking, pressed") << "pressed" << false;
        QTest::newRow("released") << "released" << true;
        QTest::newRow("dragged out") << "dragged out" << true;
    }

    void focusLoss()
    {
        QFETCH(QString, state);
        QFETCH(bool, redraws);
        auto b = button();
        if (state == "idle")
            b->DrawSelected();
        if (state == "hovered")
            mouse(*b, QEvent::MouseMove, {5, 5});
        if (state == "pressed" || state == "released" || state == "dragged out")
            mouse(*b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        if (state == "released")
            mouse(*b, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton);
        if (state == "dragged out")
            mouse(*b, QEvent::MouseMove, {50, 5}, {}, Qt::LeftButton);
        const qint64 shown = face(*b)->image().cacheKey();
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(face(*b), &out);
        QCOMPARE(face(*b)->image().cacheKey() != shown, redraws);
        if (redraws)
            QCOMPARE(look(*b), "unselected");
    }

    void noKeyClicks_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QList<int>>("keyAscii");
        QTest::newRow("space") << int(Qt::Key_Space) << QList<int>{32};
        QTest::newRow("enter") << int(Qt::Key_Return) << QList<int>{13};
        QTest::newRow("letter") << int(Qt::Key_A) << QList<int>{'a'};
        QTest::newRow("escape") << int(Qt::Key_Escape) << QList<int>{27};
        QTest::newRow("no character") << int(Qt::Key_F2) << QList<int>();
    }

    void noKeyClicks()
    {
        QFETCH(int, key);
        QFETCH(QList<int>, keyAscii);
        auto b = button();
        KeyCounter keysPastTheFace;
        b->installEventFilter(&keysPastTheFace);
        QList<int> pressed;
        int otherKeyEvents = 0;
        connect(
            b.get(), &ZoButton::KeyPress, this,
            [&](qint16 &k) {
                pressed << k;
                k = 0; // a handler may clear the key; nothing else uses it
            },
            Qt::DirectConnection);
        const auto other = [&](qint16 &, qint16 &) { ++otherKeyEvents; };
        connect(b.get(), &ZoButton::KeyDown, this, other, Qt::DirectConnection);
        connect(b.get(), &ZoButton::KeyUp, this, other, Qt::DirectConnection);
        QSignalSpy clicks(b.get(), &ZoButton::Click);
        QTest::keyClick(face(*b), Qt::Key(key));
        QCOMPARE(pressed, keyAscii);
        QCOMPARE(keysPastTheFace.keys, 0);
        QCOMPARE(otherKeyEvents, 0);
        QCOMPARE(clicks.size(), 0);
        QVERIFY(!b->Value());
        QCOMPARE(look(*b), "unselected");
    }

    void autoClickShowsThePressedLookThenClicks()
    {
        struct PaintedLooks : QObject {
            ZoButton *b = nullptr;
            QStringList looks;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    looks << look(*b);
                return false;
            }
        } painted;
        auto b = button();
        painted.b = b.get();
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.get()));
        face(*b)->installEventFilter(&painted);
        QSignalSpy clicks(b.get(), &ZoButton::Click);
        QSignalSpy enters(b.get(), &ZoButton::MouseEnter);
        b->AutoClick();
        QVERIFY(painted.looks.contains("pressed"));
        QCOMPARE(look(*b), "unselected");
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(enters.size(), 0);
        QVERIFY(!b->Value());
        QVERIFY(!captureTimer(*b)->isActive());
    }

    // The face covers the control, so only the window's own show and expose events can ask
    // for the look a repaint draws.
    void windowShownAgainShowsTheUnselectedLook_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("pressed") << "pressed";
        QTest::newRow("selected") << "selected";
    }

    void windowShownAgainShowsTheUnselectedLook()
    {
        QFETCH(QString, before);
        QWidget window;
        auto b = button();
        b->setParent(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        before == "pressed" ? b->DrawPressed() : b->DrawSelected();
        QCOMPARE(look(*b), before);
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(look(*b), "unselected");
        before == "pressed" ? b->DrawPressed() : b->DrawSelected();
        QExposeEvent exposed(QRegion(0, 0, 10, 10)); // uncovered by another window
        QCoreApplication::sendEvent(window.windowHandle(), &exposed);
        QCOMPARE(look(*b), "unselected");
    }
};

QTEST_MAIN(tst_ZoButton)
#include "tst_zobutton.moc"
