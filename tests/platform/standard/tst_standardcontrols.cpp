#include <QTest>

#include "ControlRegistry.h"
#include "Form.h"
#include "FormFile.h"
#include "Label.h"
#include "StandardControls.h"
#include "TextBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <algorithm>
#include <functional>

class tst_StandardControls : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsChangedPropertiesOnly();
    void changeFollowsEveryNewText_data();
    void changeFollowsEveryNewText();
    void foreColorShowsAtOnce();
    void alignmentMovesTheCaption_data();
    void alignmentMovesTheCaption();
    void tabFollowsTabIndex();
};

static const ControlRegistry &standardControls()
{
    static const ControlRegistry registry = [] {
        ControlRegistry r;
        registerStandardControls(r);
        return r;
    }();
    return registry;
}

static void load(Form &form, const QByteArray &controls)
{
    FormFile::load(
        form,
        FormFile::parse(R"({"form": "frmTest", "controls": [)" + controls + "]}", "frmTest.json"),
        standardControls());
}

// The columns of the pixels that pass the test, one entry per pixel.
static QList<int> columnsWhere(QWidget &widget, const std::function<bool(QColor)> &test)
{
    const QImage image = widget.grab().toImage();
    QList<int> columns;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixelColor(x, y)))
                columns.append(x);
        }
    }
    return columns;
}

void tst_StandardControls::roundTripKeepsChangedPropertiesOnly()
{
    Form form{QString()};
    load(form, R"({"class": "Label", "name": "lblValue", "index": 0, "bag": {}},
                  {"class": "Label", "name": "lblValue", "index": 1, "bag": {}},
                  {"class": "TextBox", "name": "txtLimit", "bag": {}},
                  {"class": "Label", "name": "lblNew"})");
    FontObject big;
    big.Size = 12;
    auto *label = form.control<Label>("lblValue", 1);
    label->setCaption("Used");
    label->setAlignment(Label::Center);
    label->setBackColor(Colour::rgb(255, 255, 255));
    label->setForeColor(Colour::rgb(0, 0, 128));
    label->setFont(makeFont(big));
    auto *box = form.control<TextBox>("txtLimit");
    box->setText("80");
    box->setForeColor(Colour::rgb(255, 0, 0));
    box->setBackColor(Colour::system(SystemColour::ButtonFace));
    box->setFont(makeFont(big));

    const QByteArray text = FormFile::write(form, standardControls());
    const FormDescription saved = FormFile::parse(text, "again");
    const QStringList expectedKeys[] = {
        {},
        {"alignment", "backcolor", "caption", "font", "forecolor"},
        {"backcolor", "font", "forecolor", "text"},
        {"caption"}}; // a new label shows its name, which is not the saved default
    for (int i = 0; i < 4; ++i) {
        QStringList keys = saved.controls.at(i).bag->keys();
        keys.removeIf([](const QString &k) { return k.startsWith('_'); });
        keys.sort(); // written in the table's order
        QCOMPARE(keys, expectedKeys[i]);
    }

    // Every value read back is written out again unchanged.
    Form again{QString()};
    FormFile::load(again, saved, standardControls());
    QCOMPARE(FormFile::write(again, standardControls()), text);
    QCOMPARE(again.control<Label>("lblValue", 0)->Caption(), QString());
    QCOMPARE(again.control<Label>("lblValue", 1)->Caption(), QStringLiteral("Used"));
}

void tst_StandardControls::changeFollowsEveryNewText_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("changes");
    QTest::newRow("typing raises one per key") << true << "05" << 2;
    QTest::newRow("setting by code raises one") << false << "95" << 1;
    QTest::newRow("clearing by code raises one") << false << "" << 1;
    QTest::newRow("setting the same text raises none") << false << "80" << 0;
}

void tst_StandardControls::changeFollowsEveryNewText()
{
    QFETCH(bool, typed);
    QFETCH(QString, input);
    QFETCH(int, changes);
    TextBox box;
    box.setText("80");
    QSignalSpy spy(&box, &TextBox::Change);
    if (typed) {
        QTest::keyClick(box.focusProxy(), Qt::Key_End);
        QTest::keyClicks(box.focusProxy(), input);
    } else {
        box.setText(input);
    }
    QCOMPARE(box.Text(), typed ? "80" + input : input);
    QCOMPARE(spy.count(), changes);
}

void tst_StandardControls::foreColorShowsAtOnce()
{
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    TextBox box;
    box.resize(120, 24);
    box.setText("WWWW");
    QVERIFY(columnsWhere(box, red).isEmpty());
    box.setForeColor(Colour::rgb(255, 0, 0));
    QVERIFY(columnsWhere(box, red).size() > 10);
}

void tst_StandardControls::alignmentMovesTheCaption_data()
{
    QTest::addColumn<qint16>("alignment");
    QTest::addColumn<int>("third");
    QTest::newRow("left keeps the ink in the left third") << qint16(Label::LeftJustify) << 0;
    QTest::newRow("centre puts the ink in the middle third") << qint16(Label::Center) << 1;
    QTest::newRow("right puts the ink in the right third") << qint16(Label::RightJustify) << 2;
}

void tst_StandardControls::alignmentMovesTheCaption()
{
    QFETCH(qint16, alignment);
    QFETCH(int, third);
    Label label;
    label.resize(210, 20);
    label.setBackColor(Colour::rgb(255, 255, 255));
    label.setForeColor(Colour::rgb(0, 0, 0));
    label.setCaption("Hi");
    label.setAlignment(alignment);
    const QList<int> ink = columnsWhere(label, [](QColor c) { return c.lightness() < 128; });
    QVERIFY(!ink.isEmpty());
    QCOMPARE(*std::min_element(ink.begin(), ink.end()) / 70, third);
    QCOMPARE(*std::max_element(ink.begin(), ink.end()) / 70, third);
}

void tst_StandardControls::tabFollowsTabIndex()
{
    // Created first, third, second: the order of creation alone would tab from first to third.
    Form form{QString()};
    load(form,
         R"({"class": "TextBox", "name": "txtFirst", "tabindex": 0, "width": 900, "height": 300},
                  {"class": "TextBox", "name": "txtThird", "tabindex": 3, "bag": {"text": "3"}},
                  {"class": "Label", "name": "lblCaption", "tabindex": 1},
                  {"class": "TextBox", "name": "txtSecond", "tabindex": 2, "bag": {"text": "2"}})");
    form.Show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.control("txtFirst")->focusProxy(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), form.control("txtFirst")->focusProxy());

    for (const char *next : {"txtSecond", "txtThird"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto *edit = qobject_cast<QLineEdit *>(form.control(next)->focusProxy());
        QCOMPARE(QApplication::focusWidget(), edit);
        // Tabbing in selects the whole text, ready to be typed over.
        QCOMPARE(edit->selectedText(), form.control<TextBox>(next)->Text());
    }
}

QTEST_MAIN(tst_StandardControls)
#include "tst_standardcontrols.moc"
