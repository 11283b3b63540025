#include <QTest>

#include "FakeDesktop.h"
#include "HelperForms.h"
#include "formhelpers/ZoOnTop.h"

#include <QCloseEvent>
#include <QSignalSpy>
#include <QWindow>

using HelperForms::control;

class tst_ZoOnTop : public QObject {
    Q_OBJECT
private slots:
    void appliedAtEveryActivation_data();
    void appliedAtEveryActivation();
    void runTimeChangesApplyInOrder();
    void designerChangesNoWindow();
    void newInstanceAndSavedBags_data();
    void newInstanceAndSavedBags();

    // The real window manager, on a platform without a keep-above level (as offscreen is).
    void keepAboveKeepsTheSameShownWindow();
    void settingOnTopShowsAHiddenForm();
    void closeRequests_data();
    void closeRequests();
};

// frmTest with one ZoOnTop, whose property changes are logged among the fake's calls.
std::unique_ptr<Form> loadLogged(FakeDesktop &desktop, const std::optional<QJsonObject> &bag,
                                 bool userMode = true)
{
    auto form = HelperForms::load({control("Kelvo.ZoOnTop", "zopOnTop", bag)}, userMode);
    QObject::connect(
        form->control("zopOnTop"), &UserControl::propertyChanged,
        [&desktop](const QString &name) { desktop.windowManager.calls << "changed " + name; });
    return form;
}

bool activate(QWidget &window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void tst_ZoOnTop::appliedAtEveryActivation_data()
{
    QTest::addColumn<QJsonObject>("bag");
    QTest::addColumn<QStringList>("applied");
    QTest::newRow("on top") << QJsonObject() << QStringList{"keepAbove frmTest true"};
    QTest::newRow("among other windows")
        << QJsonObject{{"ontop", false}} << QStringList{"keepAbove frmTest false"};
    QTest::newRow("close taken away after the stacking")
        << QJsonObject{{"formclosebutton", false}}
        << QStringList{"keepAbove frmTest true", "removeClose frmTest"};
}

void tst_ZoOnTop::appliedAtEveryActivation()
{
    QFETCH(QJsonObject, bag);
    QFETCH(QStringList, applied);
    FakeDesktop desktop;
    auto form = loadLogged(desktop, bag);
    form->ensureLoaded();
    QCOMPARE(desktop.windowManager.calls, QStringList()); // reading applies nothing
    form->Show();
    QVERIFY(activate(*form));
    QCOMPARE(desktop.windowManager.calls, applied);

    QWidget other;
    other.show();
    QVERIFY(activate(other));
    QVERIFY(activate(*form));
    QCOMPARE(desktop.windowManager.calls, applied + applied);
}

void tst_ZoOnTop::runTimeChangesApplyInOrder()
{
    FakeDesktop desktop;
    auto form = loadLogged(desktop, QJsonObject());
    auto *onTop = form->control<ZoOnTop>("zopOnTop");
    QStringList &calls = desktop.windowManager.calls;

    onTop->setOnTop(false);
    QCOMPARE(calls, QStringList({"changed OnTop", "keepAbove frmTest false"}));
    calls.clear();
    onTop->setFormCloseButton(false);
    QCOMPARE(calls, QStringList({"keepAbove frmTest false", "removeClose frmTest",
                                 "changed FormCloseButton"}));
    calls.clear();
    onTop->setFormCloseButton(true); // gives nothing back
    QCOMPARE(calls, QStringList({"keepAbove frmTest false", "changed FormCloseButton"}));
}

void tst_ZoOnTop::designerChangesNoWindow()
{
    FakeDesktop desktop;
    auto form = loadLogged(desktop, QJsonObject(), false);
    auto *onTop = form->control<ZoOnTop>("zopOnTop");
    QCOMPARE(onTop->ParentForm(), form.get());
    form->Show();
    QVERIFY(activate(*form));
    onTop->setOnTop(false);
    onTop->setFormCloseButton(false);
    QCOMPARE(desktop.windowManager.calls,
             QStringList({"changed OnTop", "changed FormCloseButton"}));
    onTop->Move(0, 0, 1000, 200);
    QCOMPARE(QSizeF(onTop->Width(), onTop->Height()), QSizeF(480, 480));
    QCOMPARE(onTop->size(), QSize(32, 32));
}

// A key that cannot be read leaves its property as it was; reading goes on.
void tst_ZoOnTop::newInstanceAndSavedBags_data()
{
    QTest::addColumn<std::optional<QJsonObject>>("bag");
    QTest::addColumn<bool>("formCloseButton");
    QTest::addColumn<bool>("onTop");
    QTest::newRow("new instance") << std::optional<QJsonObject>() << true << true;
    QTest::newRow("empty bag: the defaults") << std::optional(QJsonObject()) << true << true;
    QTest::newRow("unreadable first key, the second still read")
        << std::optional(QJsonObject{{"formclosebutton", "abc"}, {"ontop", false}}) << true
        << false;
    QTest::newRow("unreadable last key")
        << std::optional(QJsonObject{{"formclosebutton", "FALSE"}, {"ontop", QJsonObject()}})
        << false << true;
}

void tst_ZoOnTop::newInstanceAndSavedBags()
{
    QFETCH(std::optional<QJsonObject>, bag);
    auto form = HelperForms::load({control("Kelvo.ZoOnTop", "zopOnTop", bag)}, false);
    auto *onTop = form->control<ZoOnTop>("zopOnTop");
    QTEST(onTop->FormCloseButton(), "formCloseButton");
    QTEST(onTop->OnTop(), "onTop");
    onTop->setOnTop(true);
    onTop->setFormCloseButton(true);
    PropertyBag written;
    onTop->WriteProperties(written);
    QVERIFY(written.isEmpty());
}

void tst_ZoOnTop::keepAboveKeepsTheSameShownWindow()
{
    auto form = HelperForms::load({control("Kelvo.ZoOnTop", "zopOnTop")});
    auto *onTop = form->control<ZoOnTop>("zopOnTop");
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(!onTop->isVisible());
    const QWindow *window = form->windowHandle();
    const QPoint pos = form->pos();
    QSignalSpy visibility(window, &QWindow::visibleChanged);
    for (bool on : {false, true}) {
        onTop->setOnTop(on);
        QCoreApplication::processEvents();
        QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        QCOMPARE(window->flags().testFlag(Qt::WindowStaysOnTopHint), on);
    }
    QCOMPARE(form->windowHandle(), window);
    QCOMPARE(visibility.count(), 0);
    QCOMPARE(form->pos(), pos);
}

void tst_ZoOnTop::settingOnTopShowsAHiddenForm()
{
    auto form = HelperForms::load({control("Kelvo.ZoOnTop", "zopOnTop")});
    auto *onTop = form->control<ZoOnTop>("zopOnTop");
    connect(form.get(), &Form::Load, onTop, [onTop] { onTop->setOnTop(true); });
    form->ensureLoaded();
    QVERIFY(form->isVisible());
}

void tst_ZoOnTop::closeRequests_data()
{
    QTest::addColumn<QJsonObject>("bag");
    QTest::addColumn<bool>("closes");
    QTest::newRow("close kept: a request unloads") << QJsonObject() << true;
    QTest::newRow("close taken away: a request is refused")
        << QJsonObject{{"formclosebutton", false}} << false;
}

// A window manager's close request arrives as a spontaneous close event.
void tst_ZoOnTop::closeRequests()
{
    QFETCH(QJsonObject, bag);
    QFETCH(bool, closes);
    auto form =
        HelperForms::load({control("Kelvo.ZoOnTop", "zopOnTop", bag)}, true, {{"borderstyle", 2}});
    form->Show();
    QVERIFY(activate(*form));
    QCOMPARE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint), closes);
    form->control<ZoOnTop>("zopOnTop")->setFormCloseButton(true);
    QCloseEvent request;
    QSpontaneKeyEvent::setSpontaneous(&request);
    QCoreApplication::instance()->notify(form.get(), &request);
    QCOMPARE(form->isLoaded(), !closes);
    form->unload(); // the program's own unloading is never refused
    QVERIFY(!form->isLoaded());
}

QTEST_MAIN(tst_ZoOnTop)
#include "tst_zoontop.moc"
