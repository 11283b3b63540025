#include <QTest>

#include "DesignSurface.h"
#include "DesignerWindow.h"
#include "Form.h"
#include "KelvoControls.h"
#include "PropertyList.h"
#include "UserControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTableWidgetItem>

namespace {
const QString Forms = QStringLiteral(KELVO_TEST_DATA "/../../app/forms/");

void mouse(QWidget *w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = {})
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget *w, QPoint from, QPoint by)
{
    mouse(w, QEvent::MouseButtonPress, from);
    mouse(w, QEvent::MouseMove, from + by / 2);
    mouse(w, QEvent::MouseMove, from + by);
    mouse(w, QEvent::MouseButtonRelease, from + by);
}

QRectF twips(const UserControl *c)
{
    return QRectF(c->Left(), c->Top(), c->Width(), c->Height());
}
} // namespace

// The designer's window with a form of Kelvo's open, shown offscreen.
class Designer {
public:
    explicit Designer(const QString &file)
        : window(kelvoControls())
    {
        window.open(Forms + file);
        window.show();
    }
    DesignSurface *surface() const { return window.surface(); }
    UserControl *control(const QString &name) const
    {
        return window.surface()->form()->findChild<UserControl *>(name);
    }

    DesignerWindow window;
};

class tst_DesignerSurface : public QObject {
    Q_OBJECT
private slots:
    void clicksSelect();
    void dragMovesEverySelectedControl();
    void handleResizesTheControl();
    void keysMoveAndResize_data();
    void keysMoveAndResize();
    void tabSelectsInCreationOrder();
    void formKeepsItsPlaceWhenItsFrameChanges_data();
    void formKeepsItsPlaceWhenItsFrameChanges();
};

void tst_DesignerSurface::clicksSelect()
{
    Designer d(QStringLiteral("frmMain.json"));
    UserControl *exit = d.control(QStringLiteral("cmdAction(0)"));
    UserControl *options = d.control(QStringLiteral("cmdAction(1)"));
    const auto click = [&](UserControl *on, Qt::KeyboardModifiers modifiers) {
        const QPoint at = on ? on->geometry().center() : QPoint(2, d.surface()->height() - 3);
        mouse(d.surface(), QEvent::MouseButtonPress, at, modifiers);
        mouse(d.surface(), QEvent::MouseButtonRelease, at, modifiers);
    };

    click(exit, {});
    QCOMPARE(d.surface()->selection(), QList<UserControl *>({exit}));
    QCOMPARE(d.window.propertyList()->object(), exit);
    click(options, Qt::ControlModifier);
    QCOMPARE(d.surface()->selection(), QList<UserControl *>({exit, options}));
    click(exit, Qt::ControlModifier);
    QCOMPARE(d.surface()->selection(), QList<UserControl *>({options}));
    click(nullptr, {});
    QVERIFY(d.surface()->selection().isEmpty());
    QCOMPARE(d.window.propertyList()->object(), d.surface()->form());
    QVERIFY(!d.window.isWindowModified());
}

void tst_DesignerSurface::dragMovesEverySelectedControl()
{
    Designer d(QStringLiteral("frmMain.json"));
    UserControl *exit = d.control(QStringLiteral("cmdAction(0)"));
    UserControl *options = d.control(QStringLiteral("cmdAction(1)"));
    d.surface()->select({exit, options});
    const QRectF exitWas = twips(exit);
    const QRectF optionsWas = twips(options);

    drag(d.surface(), exit->geometry().center(), QPoint(-10, 4));
    QCOMPARE(twips(exit), exitWas.translated(-150, 60));
    QCOMPARE(twips(options), optionsWas.translated(-150, 60));
    QVERIFY(d.window.isWindowModified());
}

void tst_DesignerSurface::handleResizesTheControl()
{
    Designer d(QStringLiteral("frmMain.json"));
    UserControl *options = d.control(QStringLiteral("cmdAction(1)"));
    d.surface()->select({options});
    const QRectF was = twips(options);

    drag(d.surface(), options->geometry().bottomRight() + QPoint(1, 1), QPoint(6, 2));
    QCOMPARE(twips(options), was.adjusted(0, 0, 90, 30));
}

void tst_DesignerSurface::keysMoveAndResize_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QRectF>("change"); // left, top, width, height, twips
    QTest::newRow("right moves") << "cmdAction(0)" << int(Qt::Key_Right) << false
                                 << QRectF(15, 0, 0, 0);
    QTest::newRow("up moves") << "Label1" << int(Qt::Key_Up) << false << QRectF(0, -15, 0, 0);
    QTest::newRow("shift+right widens")
        << "cmdAction(0)" << int(Qt::Key_Right) << true << QRectF(0, 0, 15, 0);
    QTest::newRow("shift+up makes lower")
        << "txtInterval" << int(Qt::Key_Up) << true << QRectF(0, 0, 0, -15);
    QTest::newRow("border keeps its height")
        << "ZoBorder1" << int(Qt::Key_Down) << true << QRectF(0, 0, 0, 0);
    QTest::newRow("on-top helper keeps its size")
        << "ZoOnTop1" << int(Qt::Key_Right) << true << QRectF(0, 0, 0, 0);
    QTest::newRow("position helper keeps its size")
        << "ZoFormPos1" << int(Qt::Key_Left) << true << QRectF(0, 0, 0, 0);
    QTest::newRow("a helper still moves")
        << "ZoFormPos1" << int(Qt::Key_Down) << false << QRectF(0, 15, 0, 0);
}

void tst_DesignerSurface::keysMoveAndResize()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QRectF, change);
    Designer d(QStringLiteral("frmOptions.json"));
    UserControl *c = d.control(control);
    QVERIFY(c);
    d.surface()->select({c});
    const QRectF was = twips(c);

    QTest::keyClick(d.surface(), Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(twips(c), QRectF(was.left() + change.left(), was.top() + change.top(),
                              was.width() + change.width(), was.height() + change.height()));
}

void tst_DesignerSurface::tabSelectsInCreationOrder()
{
    Designer d(QStringLiteral("frmMain.json"));
    const auto selected = [&] { return d.surface()->selection().value(0)->objectName(); };
    QTest::keyClick(d.surface(), Qt::Key_Tab);
    QCOMPARE(selected(), QStringLiteral("zopFormPos"));
    QTest::keyClick(d.surface(), Qt::Key_Tab);
    QCOMPARE(selected(), QStringLiteral("cmdAction(0)"));
    QTest::keyClick(d.surface(), Qt::Key_Backtab);
    QTest::keyClick(d.surface(), Qt::Key_Backtab);
    QCOMPARE(selected(), QStringLiteral("cmdAction(1)"));
}

void tst_DesignerSurface::formKeepsItsPlaceWhenItsFrameChanges_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::newRow("a caption brings a title bar") << "Caption"
                                                  << "Kelvo";
    QTest::newRow("a dialog frame") << "BorderStyle"
                                    << "3";
    QTest::newRow("a wider client area") << "ClientWidth"
                                         << "3000";
}

// A form whose frame changes is made a window of its own by the host; the designer keeps it in
// place under its surface.
void tst_DesignerSurface::formKeepsItsPlaceWhenItsFrameChanges()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    Designer d(QStringLiteral("frmMain.json"));
    PropertyList *list = d.window.propertyList();
    Form *form = d.surface()->form();
    QCOMPARE(list->object(), form);
    const QList<QTableWidgetItem *> rows = list->findItems(key, Qt::MatchExactly);
    QVERIFY(!rows.isEmpty());
    list->item(rows.first()->row(), 1)->setText(typed);

    QVERIFY(!form->isWindow());
    QCOMPARE(form->parentWidget(), d.surface()->parentWidget());
    QCOMPARE(d.surface()->geometry(), form->geometry());
    QVERIFY(d.window.isWindowModified());
}

QTEST_MAIN(tst_DesignerSurface)
#include "tst_designersurface.moc"
