#include <QTest>

#include "HelperForms.h"
#include "formhelpers/ZoBorder.h"

#include <QSignalSpy>

using HelperForms::control;

class tst_ZoBorder : public QObject {
    Q_OBJECT
private slots:
    void sixtyHighWithLinesAcross_data();
    void sixtyHighWithLinesAcross();
    void paintsTheTwoLines();
    void autoResize_data();
    void autoResize();
    void unchangedSizeRaisesNoResize();
    void newInstanceAndBagDefaults();
};

// frmTest (3000 twips wide inside) with one ZoBorder where the options dialog has its own.
std::unique_ptr<Form> loadBorder(const std::optional<QJsonObject> &bag, bool userMode,
                                 double height = 60)
{
    const QJsonObject placement{{"left", 120}, {"top", 630}, {"width", 2940}, {"height", height}};
    return HelperForms::load({control("Kelvo.ZoBorder", "ZoBorder1", bag, placement)}, userMode);
}

void tst_ZoBorder::sixtyHighWithLinesAcross_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<double>("placedHeight");
    QTest::addColumn<QSizeF>("asked");
    QTest::newRow("designer stretches it") << false << 60.0 << QSizeF(4000, 300);
    QTest::newRow("code flattens it") << true << 60.0 << QSizeF(1500, 15);
    QTest::newRow("placed with no height") << true << 0.0 << QSizeF(2940, 60);
}

void tst_ZoBorder::sixtyHighWithLinesAcross()
{
    QFETCH(bool, userMode);
    QFETCH(double, placedHeight);
    QFETCH(QSizeF, asked);
    auto form = loadBorder(QJsonObject(), userMode, placedHeight);
    auto *border = form->control<ZoBorder>("ZoBorder1");
    QCOMPARE(border->Height(), 60.0);
    form->Show();
    border->setWidth(asked.width());
    border->setHeight(asked.height());
    QCOMPARE(QSizeF(border->Width(), border->Height()), QSizeF(asked.width(), 60));
    QCOMPARE(border->height(), 4);
    for (const BorderLine &line : {border->linBorderDark(), border->linBorderLight()}) {
        QCOMPARE(line.X1, 0.0f);
        QCOMPARE(line.X2, float(asked.width()));
    }
    QCOMPARE(border->linBorderDark().Y, 0.0f);
    QCOMPARE(border->linBorderLight().Y, 15.0f);
}

void tst_ZoBorder::paintsTheTwoLines()
{
    auto form = loadBorder(QJsonObject(), false);
    auto *border = form->control<ZoBorder>("ZoBorder1");
    form->Show();
    QSignalSpy changed(border, &UserControl::propertyChanged);
    border->setLightColor(Colour(0x0000FF));
    QCOMPARE(changed, QList<QVariantList>({{"LightColor"}}));

    const QImage image = border->grab().toImage();
    const QPalette &palette = border->palette();
    const QRgb dark = Colour::system(SystemColour::ButtonShadow).toQColor(palette).rgb();
    const QRgb face = Colour::system(SystemColour::ButtonFace).toQColor(palette).rgb();
    QCOMPARE(image.size(), QSize(196, 4));
    for (int x : {0, 195}) {
        QCOMPARE(image.pixel(x, 0), dark);
        QCOMPARE(image.pixel(x, 1), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(x, 2), face);
    }
    PropertyBag written;
    border->WriteProperties(written);
    QCOMPARE(written.toJson(), QJsonObject({{"lightcolor", 255}}));
}

// The form's inner area goes from 3000 to 4500 twips wide.
void tst_ZoBorder::autoResize_data()
{
    QTest::addColumn<bool>("userMode");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("setAfterShow");
    QTest::addColumn<double>("shown");
    QTest::addColumn<double>("resized");
    QTest::newRow("off") << true << false << false << 2940.0 << 2940.0;
    QTest::newRow("saved on: follows the form") << true << true << false << 3000.0 << 4500.0;
    QTest::newRow("set on: waits for the next resize") << true << false << true << 2940.0 << 4500.0;
    QTest::newRow("designer: never follows") << false << true << false << 2940.0 << 2940.0;
}

void tst_ZoBorder::autoResize()
{
    QFETCH(bool, userMode);
    QFETCH(bool, saved);
    QFETCH(bool, setAfterShow);
    auto form = loadBorder(QJsonObject{{"autoresize", saved}}, userMode);
    auto *border = form->control<ZoBorder>("ZoBorder1");
    form->Show();
    QVERIFY(border->isVisible());
    if (setAfterShow)
        border->setAutoResize(true);
    QTEST(border->Width(), "shown");
    form->setClientSize(4500, 1500);
    QTEST(border->Width(), "resized");
    QCOMPARE(border->Left(), 120.0);
}

// Counts the resize events a widget gets.
class ResizeCounter : public QObject {
public:
    explicit ResizeCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Resize;
        return false;
    }
};

void tst_ZoBorder::unchangedSizeRaisesNoResize()
{
    auto form = loadBorder(QJsonObject{{"autoresize", true}}, true);
    auto *border = form->control<ZoBorder>("ZoBorder1");
    form->Show();
    ResizeCounter resizes(border);
    border->setHeight(60);
    border->setWidth(3000);
    QCOMPARE(resizes.count, 0);
    form->setClientSize(4500, 1500); // one new width; the nested arrangement changes nothing
    QCOMPARE(resizes.count, 1);
}

void tst_ZoBorder::newInstanceAndBagDefaults()
{
    for (const auto &bag : {std::optional<QJsonObject>(), std::optional(QJsonObject())}) {
        auto form = loadBorder(bag, false);
        const auto *border = form->control<ZoBorder>("ZoBorder1");
        QCOMPARE(border->DarkColor(), Colour(0x80000010));
        QCOMPARE(border->LightColor(), Colour(0x80000014));
        QCOMPARE(border->AutoResize(), false);
        PropertyBag written;
        border->WriteProperties(written);
        QVERIFY(written.isEmpty());
    }
}

QTEST_MAIN(tst_ZoBorder)
#include "tst_zoborder.moc"
