#include <QTest>

#include "FakeDesktop.h"
#include "FakeMemory.h"
#include "MonitorAccessible.h"
#include "TempSettings.h"
#include "button/ButtonFace.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoOnTop.h"
#include "frmMain.h"
#include "frmOptions.h"

#include <QAccessible>
#include <QSignalSpy>

// What assistive technologies find in the monitor and its options dialog, offscreen, through
// the interfaces a bridge reads: reached from the window down, as a screen reader walks them.
class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everythingIsFoundAndNamed_data();
    void everythingIsFoundAndNamed();
    void pressClicksOnceTheRequestIsAnswered_data();
    void pressClicksOnceTheRequestIsAnswered();
    void buttonStatesFollowTheButton();
    void linesFollowTheTicks_data();
    void linesFollowTheTicks();

private:
    // The object of a role and name somewhere under root, checked to know its own place.
    static QAccessibleInterface *find(QAccessibleInterface *root, QAccessible::Role role,
                                      const QString &name);
    QStringList shownLines() const;

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeMemory m_memory;
    std::unique_ptr<frmMain> m_monitor;
    std::unique_ptr<frmOptions> m_options;
};

void tst_Accessibility::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_desktop = std::make_unique<FakeDesktop>();
    m_memory.sample = {8000000, 2000000};
    m_monitor = std::make_unique<frmMain>(m_memory);
    m_monitor->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_monitor->Show();
    m_monitor->timMeasure_Timer();
    m_options = std::make_unique<frmOptions>(*m_monitor);
    m_options->ensureLoaded();
}

void tst_Accessibility::cleanup()
{
    m_options.reset();
    m_monitor.reset();
    m_desktop.reset();
    m_settings.reset();
}

QAccessibleInterface *tst_Accessibility::find(QAccessibleInterface *root, QAccessible::Role role,
                                              const QString &name)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child)
            continue;
        if (child->role() == role && child->text(QAccessible::Name) == name) {
            if (child->parent() != root || root->indexOfChild(child) != i)
                return nullptr;
            return child;
        }
        if (QAccessibleInterface *below = find(child, role, name))
            return below;
    }
    return nullptr;
}

void tst_Accessibility::everythingIsFoundAndNamed_data()
{
    QTest::addColumn<bool>("inOptions");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<QStringList>("actions");

    const QStringList press{QAccessibleActionInterface::pressAction()};
    QTest::newRow("a monitor line is text valued as drawn")
        << false << QAccessible::StaticText << "Total=8,000kb"
        << "Total=8,000kb"
        << "" << false << QStringList();
    QTest::newRow("the last line too") << false << QAccessible::StaticText << "Used=75.0%"
                                       << "Used=75.0%"
                                       << "" << false << QStringList();
    QTest::newRow("a picture button is named by its tool tip")
        << false << QAccessible::Button << "Exit"
        << ""
        << "" << false << press;
    QTest::newRow("so is the other") << false << QAccessible::Button << "Options"
                                     << ""
                                     << "" << false << press;
    QTest::newRow("a switch is named by its caption, described by its tool tip")
        << true << QAccessible::CheckBox << "On top"
        << ""
        << "Make form topmost" << true << press;
    QTest::newRow("a push button with a caption") << true << QAccessible::Button << "Return"
                                                  << ""
                                                  << "Return to the monitor" << false << press;
    QTest::newRow("the field is named by its label, described by its unit")
        << true << QAccessible::EditableText << "Check Every:"
        << "1000"
        << "msec" << false << QStringList{QAccessibleActionInterface::setFocusAction()};
    QTest::newRow("a label is static text") << true << QAccessible::StaticText << "msec"
                                            << "msec"
                                            << "" << false << QStringList();
}

void tst_Accessibility::everythingIsFoundAndNamed()
{
    QFETCH(bool, inOptions);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, description);
    QFETCH(bool, checkable);
    QFETCH(QStringList, actions);

    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(
        inOptions ? static_cast<Form *>(m_options.get()) : m_monitor.get());
    QCOMPARE(window->role(), inOptions ? QAccessible::Dialog : QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), inOptions ? "Kelvo V.1.0.1" : "Kelvo");

    QAccessibleInterface *found = find(window, role, name);
    QVERIFY2(found, "not found where its parent says it is");
    QCOMPARE(found->text(QAccessible::Value), value);
    QCOMPARE(found->text(QAccessible::Description), description);
    QCOMPARE(bool(found->state().checkable), checkable);
    QAccessibleActionInterface *action = found->actionInterface();
    QCOMPARE(action ? action->actionNames() : QStringList(), actions);
}

void tst_Accessibility::pressClicksOnceTheRequestIsAnswered_data()
{
    QTest::addColumn<bool>("isSwitch");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("valueTurns");

    QTest::newRow("push button: a click, value kept") << false << true << 1 << false;
    QTest::newRow("switch: a click after the value turned") << true << true << 1 << true;
    QTest::newRow("disabled: nothing") << false << false << 0 << false;
}

void tst_Accessibility::pressClicksOnceTheRequestIsAnswered()
{
    QFETCH(bool, isSwitch);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);
    QFETCH(bool, valueTurns);

    ZoButton *button = m_options->cmdAction(isSwitch ? 0 : 1);
    button->disconnect(m_options.get()); // Return would unload the dialog
    button->setEnabled(enabled);
    const bool before = button->Value();
    bool valueAtClick = before;
    QSignalSpy clicked(button, &ZoButton::Click);
    connect(button, &ZoButton::Click, this, [&] { valueAtClick = button->Value(); });

    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.size(), 0);
    QTest::qWait(300);
    QCOMPARE(clicked.size(), clicks);
    QCOMPARE(button->Value(), valueTurns ? !before : before);
    QCOMPARE(valueAtClick, button->Value());
}

// The face takes the focus for the button, and stands for it when focus is reported.
void tst_Accessibility::buttonStatesFollowTheButton()
{
    m_options->Show();
    QVERIFY(QTest::qWaitForWindowActive(m_options.get()));
    ZoButton *onTop = m_options->cmdAction(0);
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(onTop);
    QAccessibleInterface *face =
        QAccessible::queryAccessibleInterface(onTop->findChild<ButtonFace *>());

    onTop->setFocus();
    QVERIFY(button->state().focusable && button->state().focused);
    QCOMPARE(face->text(QAccessible::Name), "On top");
    QCOMPARE(face->parent(), button->parent());
    onTop->setValue(true);
    QVERIFY(button->state().checked && face->state().checked);
    onTop->setEnabled(false);
    QVERIFY(button->state().disabled && face->state().disabled);
}

QStringList tst_Accessibility::shownLines() const
{
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_monitor.get());
    QStringList lines;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *child = window->child(i);
        if (child->role() == QAccessible::StaticText && child->isValid() &&
            child->text(QAccessible::Value) == child->text(QAccessible::Name))
            lines << child->text(QAccessible::Name);
    }
    return lines;
}

void tst_Accessibility::linesFollowTheTicks_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("available");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("a figure changes") << qint64(8000000) << qint64(4000000)
                                      << QStringList{"Total=8,000kb", "Aval=4,000kb", "Used=50.0%"};
    QTest::newRow("no total: the share goes")
        << qint64(0) << qint64(0) << QStringList{"Total=kb", "Aval=kb"};
}

// What a listener is told after each tick (offscreen none listens, so the test tells it as the
// tick would): the lines it finds then are the lines drawn, also after a line went and came back.
void tst_Accessibility::linesFollowTheTicks()
{
    QFETCH(qint64, total);
    QFETCH(qint64, available);
    QFETCH(QStringList, lines);
    const QStringList before = shownLines();
    QCOMPARE(before.size(), 3);

    m_memory.sample = {total, available};
    m_monitor->timMeasure_Timer();
    MonitorAccessible::linesDrawn(*m_monitor);
    QCOMPARE(shownLines(), lines);

    m_memory.sample = {8000000, 2000000};
    m_monitor->timMeasure_Timer();
    MonitorAccessible::linesDrawn(*m_monitor);
    QCOMPARE(shownLines(), before);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
