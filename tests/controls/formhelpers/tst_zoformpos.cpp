#include <QTest>

#include "FakeDesktop.h"
#include "HelperForms.h"
#include "TempSettings.h"
#include "formhelpers/ZoFormPos.h"

using HelperForms::control;
using Entries = QMap<QString, QString>;

// The offscreen screen is 800 x 800 pixels, 12000 twips square; the test form is frameless,
// 3000 x 1500 twips, so centred it stands at 4500, 5250.
class tst_ZoFormPos : public QObject {
    Q_OBJECT
private slots:
    void init() { m_settings = std::make_unique<TempSettings>(); }
    void cleanup() { m_settings.reset(); }
    void restoreAtLoad_data();
    void restoreAtLoad();
    void saveAtUnload_data();
    void saveAtUnload();
    void savedWidthBelowMinimumRaisedByNextResize();
    void minimisedComesBackOnlyWhereReachable_data();
    void minimisedComesBackOnlyWhereReachable();
    void minimumAtResize_data();
    void minimumAtResize();
    void placedAgainAfterFirstPaint();
    void newInstanceAndBagDefaults_data();
    void newInstanceAndBagDefaults();
    void designerKeepsSizeAndFollowsNoForm();

private:
    std::unique_ptr<Form> loadForm(const QJsonObject &bag) const
    {
        return HelperForms::load({control("Kelvo.ZoFormPos", "zopFormPos", bag)});
    }
    void store(const Entries &entries)
    {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            m_settings->store().SaveSetting("Kelvo", "frmTest", it.key(), it.value());
    }
    QString stored(const QString &key) const
    {
        return m_settings->store().GetSetting("Kelvo", "frmTest", key, "(none)");
    }
    std::unique_ptr<TempSettings> m_settings;
};

// Everything a test does not look at is out of the way: no minimum, no centring.
const QJsonObject plain{{"minwidth", 0}, {"minheight", 0}, {"centerform", false}};

// A bag or entries with one key more or changed.
template <class Map, class Value> Map with(Map map, const QString &key, const Value &value)
{
    map.insert(key, value);
    return map;
}

Entries placement(const QString &left, const QString &top, const QString &width = "3000",
                  const QString &height = "1500")
{
    return {
        {"WindowState", "0"}, {"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
}

QRectF rectOf(const Form &form)
{
    return QRectF(form.Left(), form.Top(), form.Width(), form.Height());
}

void tst_ZoFormPos::restoreAtLoad_data()
{
    QTest::addColumn<QJsonObject>("bag");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QList<ScreenRect>>("screens");
    QTest::addColumn<QRectF>("placed");

    const QList<ScreenRect> one{{0, 0, 800, 800}};
    const QList<ScreenRect> two{{0, 0, 800, 800}, {800, 0, 1600, 800}};
    const QRectF centred(4500, 5250, 3000, 1500);
    QTest::newRow("first run: designed size, centred") << plain << Entries() << one << centred;
    QTest::newRow("saved placement")
        << plain << placement("600", "300", "4500", "2400") << one << QRectF(600, 300, 4500, 2400);
    QTest::newRow("centred with the saved size")
        << with(plain, "centerform", true) << placement("15", "15", "4500", "2400") << one
        << QRectF(3750, 4800, 4500, 2400);
    QTest::newRow("not remembered: nothing read")
        << with(with(plain, "rememberformposition", false), "centerform", true)
        << with(placement("600", "300", "4500", "2400"), "WindowState", "2") << one << centred;
    QTest::newRow("unreadable entries take their defaults")
        << plain << with(placement("nan", "300", "abc", "2400"), "WindowState", "7") << one
        << QRectF(4500, 300, 3000, 2400);
    QTest::newRow("width beyond all screens cut to them")
        << plain << placement("600", "300", "1e30") << one << QRectF(600, 300, 12000, 1500);
    QTest::newRow("partly past the right edge: as saved")
        << plain << placement("10500", "300") << one << QRectF(10500, 300, 3000, 1500);
    QTest::newRow("on a second screen: as saved")
        << plain << placement("15000", "300") << two << QRectF(15000, 300, 3000, 1500);
    QTest::newRow("second screen gone: centred")
        << plain << placement("15000", "300") << one << centred;
    QTest::newRow("huge position: centred")
        << plain << placement("-1e30", "1e30") << one << centred;
    QTest::newRow("saved size below the minimum, no position: centred at the minimum")
        << with(with(plain, "minwidth", 6000), "minheight", 3000)
        << Entries{{"Width", "0"}, {"Height", "0"}} << one << QRectF(3000, 4500, 6000, 3000);
}

void tst_ZoFormPos::restoreAtLoad()
{
    QFETCH(QJsonObject, bag);
    QFETCH(Entries, entries);
    QFETCH(QList<ScreenRect>, screens);
    FakeDesktop desktop;
    desktop.windowManager.screenRects = screens;
    store(entries);
    auto form = loadForm(bag);
    form->Show();
    QCOMPARE(form->WindowState(), qint16(0));
    QTEST(rectOf(*form), "placed");
}

// The form is closed at 1500, 900, 6000 x 3000 in the given state, then loaded again.
void tst_ZoFormPos::saveAtUnload_data()
{
    QTest::addColumn<QJsonObject>("bag");
    QTest::addColumn<qint16>("state");
    QTest::addColumn<Entries>("saved");
    QTest::addColumn<qint16>("reopened");

    const Entries before = placement("600", "300", "4500", "2400");
    QTest::newRow("normal") << plain << qint16(0) << placement("1500", "900", "6000", "3000")
                            << qint16(0);
    QTest::newRow("minimised: placement kept")
        << plain << qint16(1) << with(before, "WindowState", "1") << qint16(1);
    QTest::newRow("maximised: placement kept")
        << plain << qint16(2) << with(before, "WindowState", "2") << qint16(2);
    QTest::newRow("not remembered: only the state")
        << with(plain, "rememberformposition", false) << qint16(0)
        << with(before, "WindowState", "0") << qint16(0);
}

void tst_ZoFormPos::saveAtUnload()
{
    QFETCH(QJsonObject, bag);
    QFETCH(qint16, state);
    QFETCH(Entries, saved);
    store(with(placement("600", "300", "4500", "2400"), "WindowState", "2"));
    auto form = loadForm(bag);
    form->Show();
    form->setWindowState(0);
    form->Move(1500, 900, 6000, 3000);
    form->setWindowState(state);
    form->unload();
    for (auto it = saved.begin(); it != saved.end(); ++it)
        QCOMPARE(stored(it.key()), it.value());

    form = loadForm(bag);
    form->Show();
    QTEST(form->WindowState(), "reopened");
}

void tst_ZoFormPos::savedWidthBelowMinimumRaisedByNextResize()
{
    store(placement("600", "300", "1500"));
    auto form = loadForm(with(plain, "minwidth", 3000));
    form->ensureLoaded();
    QCOMPARE(form->Width(), 1500.0);
    form->Show();
    QCOMPARE(form->Width(), 3000.0);
}

void tst_ZoFormPos::minimisedComesBackOnlyWhereReachable_data()
{
    QTest::addColumn<QJsonObject>("frame");
    QTest::addColumn<qint16>("state");
    QTest::newRow("title bar and taskbar entry: minimised")
        << QJsonObject{{"borderstyle", 2}} << qint16(1);
    QTest::newRow("tool window without title bar: normal")
        << QJsonObject{{"borderstyle", 5}, {"controlbox", false}} << qint16(0);
    QTest::newRow("no taskbar entry, no title bar: normal")
        << QJsonObject{{"borderstyle", 2}, {"controlbox", false}, {"showintaskbar", false}}
        << qint16(0);
}

void tst_ZoFormPos::minimisedComesBackOnlyWhereReachable()
{
    QFETCH(QJsonObject, frame);
    store(with(placement("600", "300"), "WindowState", "1"));
    auto form = HelperForms::load({control("Kelvo.ZoFormPos", "zopFormPos", plain)}, true, frame);
    form->ensureLoaded();
    QTEST(form->WindowState(), "state");
}

void tst_ZoFormPos::minimumAtResize_data()
{
    QTest::addColumn<qint16>("state");
    QTest::addColumn<QSize>("minimum"); // width, height: unequal, so a swap shows
    QTest::addColumn<QSizeF>("asked");
    QTest::addColumn<QSizeF>("result");
    QTest::newRow("narrower: width raised")
        << qint16(0) << QSize(1500, 1200) << QSizeF(750, 3000) << QSizeF(1500, 3000);
    QTest::newRow("lower: height raised")
        << qint16(0) << QSize(1500, 1200) << QSizeF(3000, 15) << QSizeF(3000, 1200);
    QTest::newRow("both raised") << qint16(0) << QSize(1500, 1200) << QSizeF(150, 15)
                                 << QSizeF(1500, 1200);
    QTest::newRow("zero minimum changes nothing")
        << qint16(0) << QSize(0, 0) << QSizeF(150, 30) << QSizeF(150, 30);
    QTest::newRow("minimum beyond all screens: raised only to them")
        << qint16(0) << QSize(2147483647, 1000000000) << QSizeF(150, 15) << QSizeF(12000, 12000);
    QTest::newRow("minimised: left alone")
        << qint16(1) << QSize(1500, 1200) << QSizeF(750, 15) << QSizeF(750, 15);
}

// A new minimum takes effect at the next resize.
void tst_ZoFormPos::minimumAtResize()
{
    QFETCH(qint16, state);
    QFETCH(QSize, minimum);
    QFETCH(QSizeF, asked);
    auto form = loadForm(plain);
    form->Show();
    form->setWindowState(state);
    auto *pos = form->control<ZoFormPos>("zopFormPos");
    pos->setMinWidth(minimum.width());
    pos->setMinHeight(minimum.height());
    form->setWidth(asked.width());
    form->setHeight(asked.height());
    QTEST(QSizeF(form->Width(), form->Height()), "result");
}

// Some window managers leave Qt recording a frameless window at 0,0 right after mapping it.
void tst_ZoFormPos::placedAgainAfterFirstPaint()
{
    auto form = loadForm(plain);
    form->Show();
    QVERIFY(!form->control("zopFormPos")->isVisible());
    form->move(0, 0);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCoreApplication::processEvents();
    QCOMPARE(form->pos(), QPoint(300, 350));

    form->move(10, 20); // the user's own moves stay
    form->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(form->pos(), QPoint(10, 20));
}

void tst_ZoFormPos::newInstanceAndBagDefaults_data()
{
    QTest::addColumn<std::optional<QJsonObject>>("bag");
    QTest::addColumn<QVariantList>("properties");
    QTest::addColumn<QJsonObject>("written");

    QTest::newRow("new instance: zero values")
        << std::optional<QJsonObject>() << QVariantList{0, 0, false, false}
        << QJsonObject{{"minheight", 0},
                       {"minwidth", 0},
                       {"centerform", false},
                       {"rememberformposition", false}};
    QTest::newRow("empty bag: the defaults")
        << std::optional(QJsonObject()) << QVariantList{3000, 3000, true, true} << QJsonObject();
    const QJsonObject partial{{"minwidth", 2175}, {"centerform", false}};
    QTest::newRow("saved keys, defaults for the rest")
        << std::optional(partial) << QVariantList{3000, 2175, false, true} << partial;
}

void tst_ZoFormPos::newInstanceAndBagDefaults()
{
    QFETCH(std::optional<QJsonObject>, bag);
    auto form = HelperForms::load({control("Kelvo.ZoFormPos", "zopFormPos", bag)}, false);
    const auto *pos = form->control<ZoFormPos>("zopFormPos");
    QTEST(QVariantList(
              {pos->MinHeight(), pos->MinWidth(), pos->CenterForm(), pos->RememberFormPosition()}),
          "properties");
    PropertyBag written;
    pos->WriteProperties(written);
    QTEST(written.toJson(), "written");
}

void tst_ZoFormPos::designerKeepsSizeAndFollowsNoForm()
{
    auto form = HelperForms::load({control("Kelvo.ZoFormPos", "zopFormPos")}, false);
    auto *pos = form->control<ZoFormPos>("zopFormPos");
    QVERIFY(!pos->ParentForm());
    form->Show();
    pos->Move(0, 0, 1000, 1000);
    QCOMPARE(QSizeF(pos->Width(), pos->Height()), QSizeF(240, 230));
    QCOMPARE(pos->size(), QSize(16, 15));
    form->unload();
    QCOMPARE(stored("WindowState"), "(none)");
}

QTEST_MAIN(tst_ZoFormPos)
#include "tst_zoformpos.moc"
