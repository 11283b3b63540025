#include <QTest>

#include "ButtonTestKit.h"
#include "HostError.h"
#include "button/ButtonPage.h"
#include "button/ZoButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <memory>

namespace {
// Anything with the seven properties: the page reaches its control by name only.
std::unique_ptr<QObject> standIn(int mousePointer)
{
    auto o = std::make_unique<QObject>();
    o->setProperty("Value", false);
    o->setProperty("Switch", false);
    o->setProperty("Alignment", 0);
    o->setProperty("DELTA", 45);
    o->setProperty("Caption", QString());
    o->setProperty("ToolTipText", QString());
    o->setProperty("MousePointer", mousePointer);
    return o;
}

template <class Field> Field *field(const ButtonPage &page, const char *name)
{
    Field *f = page.findChild<Field *>(QLatin1String(name));
    if (!f)
        qFatal("no field %s", name);
    return f;
}
} // namespace

class tst_ButtonPage : public QObject {
    Q_OBJECT
private slots:
    void tabGoesThroughTheFieldsInOrder();
    void loadsAndAppliesBackUnchanged();
    void pointerShapeSelectsItsEntry_data();
    void pointerShapeSelectsItsEntry();
    void caretBecomesCarriageReturn();
    void everyCaretIsConverted();
    void greyedCheckBoxAppliesFalse_data();
    void greyedCheckBoxAppliesFalse();
    void onlyTheFirstSelectedChanges();
    void badNumberWritesNothing_data();
    void badNumberWritesNothing();
    void everyFieldMarksThePageChanged_data();
    void everyFieldMarksThePageChanged();
    void writesGoThroughTheSetters();
};

void tst_ButtonPage::tabGoesThroughTheFieldsInOrder()
{
    ButtonPage page;
    QStringList order;
    for (QWidget *w = page.nextInFocusChain(); w != &page; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && w->parentWidget() == &page)
            order << w->objectName();
    }
    QCOMPARE(order, QStringList({"txtCaption", "txtDelta", "txtAlignment", "cboMouse",
                                 "txtToolTopText", "chkSwitch", "chkValue"}));
}

void tst_ButtonPage::loadsAndAppliesBackUnchanged()
{
    auto b = designButton();
    b->setValue(true);
    b->setSwitch(false);
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    QCOMPARE(field<QCheckBox>(page, "chkValue")->checkState(), Qt::Checked);
    QCOMPARE(field<QCheckBox>(page, "chkSwitch")->checkState(), Qt::Unchecked);

    page.ApplyChanges();
    QCOMPARE(b->Value(), true);
    QCOMPARE(b->Switch(), false);
    QCOMPARE(b->Caption(), QStringLiteral("ZoButton"));
    QCOMPARE(b->DELTA(), qint16(45));
}

void tst_ButtonPage::pointerShapeSelectsItsEntry_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("applied");
    QTest::newRow("custom") << 99 << "99 - Custom" << 99;
    QTest::newRow("size north-south") << 7 << "7 - Size N S" << 7;
    QTest::newRow("default") << 0 << "0 - Default" << 0;
    QTest::newRow("one past the platform shapes") << 16 << "99 - Custom" << 99;
    QTest::newRow("not in the list") << 42 << "99 - Custom" << 99;
}

void tst_ButtonPage::pointerShapeSelectsItsEntry()
{
    QFETCH(int, shape);
    QFETCH(QString, entry);
    const auto control = standIn(shape);
    ButtonPage page;
    page.setSelectedControls({control.get()});
    page.SelectionChanged();
    QCOMPARE(field<QComboBox>(page, "cboMouse")->currentText(), entry);
    page.ApplyChanges();
    QTEST(control->property("MousePointer").toInt(), "applied");
}

void tst_ButtonPage::caretBecomesCarriageReturn()
{
    auto b = designButton();
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    field<QLineEdit>(page, "txtCaption")->setText(QStringLiteral("Two^lines"));
    page.ApplyChanges();
    QCOMPARE(b->Caption(), QStringLiteral("Two\rlines"));

    page.SelectionChanged();
    QCOMPARE(field<QLineEdit>(page, "txtCaption")->text(), QStringLiteral("Two\rlines"));
}

void tst_ButtonPage::everyCaretIsConverted()
{
    const QString carets(40000, QLatin1Char('^'));
    QCOMPARE(ButtonPage::ConvertCaption(carets), QString(40000, QLatin1Char('\r')));
}

void tst_ButtonPage::greyedCheckBoxAppliesFalse_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("property");
    QTest::newRow("Value") << "chkValue" << QByteArray("Value");
    QTest::newRow("Switch") << "chkSwitch" << QByteArray("Switch");
}

void tst_ButtonPage::greyedCheckBoxAppliesFalse()
{
    QFETCH(QString, box);
    QFETCH(QByteArray, property);
    auto b = designButton();
    b->setProperty(property, true);
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    field<QCheckBox>(page, box.toLatin1())->setCheckState(Qt::PartiallyChecked);
    page.ApplyChanges();
    QCOMPARE(b->property(property).toBool(), false);
}

void tst_ButtonPage::onlyTheFirstSelectedChanges()
{
    auto first = designButton();
    auto second = designButton();
    ButtonPage page;
    page.setSelectedControls({first.get(), second.get()});
    page.SelectionChanged();
    field<QLineEdit>(page, "txtToolTopText")->setText(QStringLiteral("Leave"));
    field<QLineEdit>(page, "txtDelta")->setText(QStringLiteral("30"));
    page.ApplyChanges();
    QCOMPARE(first->ToolTipText(), QStringLiteral("Leave"));
    QCOMPARE(first->DELTA(), qint16(30));
    QCOMPARE(second->ToolTipText(), QString());
    QCOMPARE(second->DELTA(), qint16(45));
}

void tst_ButtonPage::badNumberWritesNothing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("named");
    QTest::newRow("Delta not a number") << "txtDelta"
                                        << "wide" << int(HostError::TypeMismatch) << "Delta";
    QTest::newRow("Delta beyond 16 bits") << "txtDelta"
                                          << "40000" << int(HostError::Overflow) << "Delta";
    QTest::newRow("Delta empty") << "txtDelta"
                                 << "" << int(HostError::TypeMismatch) << "Delta";
    QTest::newRow("Alignment not a number") << "txtAlignment"
                                            << "top" << int(HostError::TypeMismatch) << "Alignment";
}

// Value and Switch come before the numbers in the order of writing: they must stay too.
void tst_ButtonPage::badNumberWritesNothing()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, named);
    auto b = designButton();
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    field<QCheckBox>(page, "chkValue")->setCheckState(Qt::Checked);
    field<QCheckBox>(page, "chkSwitch")->setCheckState(Qt::Checked);
    field<QLineEdit>(page, "txtCaption")->setText(QStringLiteral("New"));
    field<QLineEdit>(page, box.toLatin1())->setText(text);
    QSignalSpy reported(b.get(), &UserControl::propertyChanged);

    try {
        page.ApplyChanges();
        QFAIL("a bad number was applied");
    } catch (const HostError &e) {
        QTEST(e.number(), "error");
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(named), e.what());
    }
    QCOMPARE(reported.count(), 0);
    QCOMPARE(b->Value(), false);
    QCOMPARE(b->Switch(), false);
    QCOMPARE(b->Caption(), QStringLiteral("ZoButton"));
}

void tst_ButtonPage::everyFieldMarksThePageChanged_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"txtCaption", "txtDelta", "txtAlignment", "cboMouse", "txtToolTopText",
                             "chkSwitch", "chkValue"})
        QTest::newRow(name) << name;
}

void tst_ButtonPage::everyFieldMarksThePageChanged()
{
    QFETCH(QString, name);
    auto b = designButton();
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    page.setChanged(false);
    QSignalSpy changed(&page, &ButtonPage::ChangedChanged);

    QWidget *f = page.findChild<QWidget *>(name);
    if (auto *text = qobject_cast<QLineEdit *>(f))
        text->setText(text->text() + QLatin1Char('1'));
    else if (auto *list = qobject_cast<QComboBox *>(f))
        list->setCurrentIndex(3);
    else if (auto *check = qobject_cast<QCheckBox *>(f))
        check->click();
    QVERIFY(page.Changed());
    QCOMPARE(changed.count(), 1);
}

void tst_ButtonPage::writesGoThroughTheSetters()
{
    auto b = designButton();
    ButtonPage page;
    page.setSelectedControls({b.get()});
    page.SelectionChanged();
    QSignalSpy reported(b.get(), &UserControl::propertyChanged);
    page.ApplyChanges();
    QStringList keys;
    for (const QList<QVariant> &call : reported)
        keys << call.first().toString();
    QCOMPARE(keys, QStringList({"Value", "Switch", "Alignment", "Delta", "Caption", "MousePointer",
                                "ToolTipText"}));
}

QTEST_MAIN(tst_ButtonPage)
#include "tst_buttonpage.moc"
