#include <QTest>

#include "ColourPage.h"
#include "ButtonTestKit.h"
#include "FontPage.h"
#include "PicturePage.h"
#include "PropertyList.h"
#include "PropertyPageHost.h"
#include "button/ButtonPage.h"
#include "button/ZoButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

namespace {
// The text of the message the widget or its dialog shows now; empty when there is none.
QString message(const QWidget *owner)
{
    const QMessageBox *box = owner->window()->findChild<QMessageBox *>();
    return box && box->isVisible() ? box->text() : QString();
}
} // namespace

class tst_DesignerPages : public QObject {
    Q_OBJECT
private slots:
    void applyFollowsChanged();
    void failingPageKeepsTheDialogOpen();
    void fontPageGivesANewFont();
    void colourPageTakesSystemAndAnyColour_data();
    void colourPageTakesSystemAndAnyColour();
    void picturePageLoadsAFile();
    void propertyListEditsInPlace_data();
    void propertyListEditsInPlace();
};

// Loading the Button page changes its empty fields, which marks it changed.
void tst_DesignerPages::applyFollowsChanged()
{
    auto b = designButton();
    PropertyPageHost host({b.get()});
    ButtonPage *page = host.addPage(new ButtonPage);
    QSignalSpy applied(&host, &PropertyPageHost::applied);
    QVERIFY(host.canApply());
    QVERIFY(host.apply());
    QVERIFY(!host.canApply());
    QCOMPARE(applied.count(), 1);

    page->findChild<QLineEdit *>(QStringLiteral("txtToolTopText"))->setText(QStringLiteral("Go"));
    QVERIFY(host.canApply());
    QVERIFY(host.apply());
    QCOMPARE(b->ToolTipText(), QStringLiteral("Go"));
}

void tst_DesignerPages::failingPageKeepsTheDialogOpen()
{
    auto b = designButton();
    PropertyPageHost host({b.get()});
    host.addPage(new FontPage);
    ButtonPage *page = host.addPage(new ButtonPage);
    host.show();
    page->findChild<QLineEdit *>(QStringLiteral("txtDelta"))->setText(QStringLiteral("wide"));
    host.accept();
    QVERIFY(host.isVisible());
    QVERIFY(host.canApply());
    QVERIFY2(message(&host).contains(QStringLiteral("Delta")), qPrintable(message(&host)));
    QCOMPARE(b->DELTA(), qint16(45));
}

// The standard pages apply to every selected control that has the property.
void tst_DesignerPages::fontPageGivesANewFont()
{
    auto b = designButton();
    auto other = designButton();
    const FontRef was = b->Font();
    PropertyPageHost host({b.get(), other.get()});
    FontPage *page = host.addPage(new FontPage);
    QCOMPARE(page->properties(), QStringList({"Font", "FontSelected", "FontPressed"}));
    QVERIFY(!host.canApply());
    for (QCheckBox *box : page->findChildren<QCheckBox *>()) {
        if (box->text() == QLatin1String("Bold"))
            box->click();
    }
    QVERIFY(host.apply());
    QVERIFY(b->Font()->Bold);
    QVERIFY(other->Font()->Bold);
    QVERIFY(!was->Bold);
    QVERIFY(!b->FontSelected()->Bold);
}

void tst_DesignerPages::colourPageTakesSystemAndAnyColour_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("system colour by name") << "Button highlight"
                                           << "" << 0x80000014u;
    QTest::newRow("any colour typed") << ""
                                      << "#102030" << 0x00302010u;
}

void tst_DesignerPages::colourPageTakesSystemAndAnyColour()
{
    QFETCH(QString, named);
    QFETCH(QString, typed);
    auto b = designButton();
    PropertyPageHost host({b.get()});
    ColourPage *page = host.addPage(new ColourPage);
    page->choose(QStringLiteral("DarkBorderColor"));
    if (!named.isEmpty()) {
        auto *system = page->findChild<QComboBox *>(QStringLiteral("system"));
        const int entry = system->findText(named);
        system->setCurrentIndex(entry);
        emit system->activated(entry);
    } else {
        auto *rgb = page->findChild<QLineEdit *>(QStringLiteral("rgb"));
        rgb->setText(typed);
        QTest::keyClick(rgb, Qt::Key_Return);
    }
    QVERIFY(host.apply());
    QTEST(b->DarkBorderColor().value, "colour");
    QCOMPARE(b->LightBorderColor(), Colour(0x00FFFFFF));
}

void tst_DesignerPages::picturePageLoadsAFile()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("five.png"));
    QImage image(5, 7, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(png));
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a picture") > 0);
    notes.close();

    auto b = designButton();
    PropertyPageHost host({b.get()});
    PicturePage *page = host.addPage(new PicturePage);
    page->choose(QStringLiteral("PressedPicture"));
    QVERIFY(!page->loadFile(text));
    QVERIFY(message(page).contains(text));
    QVERIFY(!host.canApply());
    QVERIFY(page->loadFile(png));
    QVERIFY(host.apply());
    QCOMPARE(QSize(b->PressedPicture()->width(), b->PressedPicture()->height()), QSize(5, 7));
    QVERIFY(isEmptyPicture(b->Picture()));
}

void tst_DesignerPages::propertyListEditsInPlace_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("says"); // the message, empty when the value is taken
    QTest::newRow("text") << "Caption"
                          << "Hello"
                          << "Hello"
                          << "";
    QTest::newRow("number") << "Delta"
                            << "46"
                            << "46"
                            << "";
    QTest::newRow("word for a number") << "Delta"
                                       << "wide"
                                       << "45"
                                       << "Delta: \"wide\" is not a number";
    // The same words as the Button page's.
    QTest::newRow("number beyond 16 bits") << "Delta"
                                           << "99999"
                                           << "45"
                                           << "Delta: 99999 is not between -32768 and 32767";
    QTest::newRow("True or False") << "Switch"
                                   << "true"
                                   << "True"
                                   << "";
    QTest::newRow("neither True nor False") << "Switch"
                                            << "maybe"
                                            << "False"
                                            << "Switch: \"maybe\" is not True or False";
    QTest::newRow("pointer shape refused by the button")
        << "MousePointer"
        << "42"
        << "0"
        << "MousePointer: \"42\" is not a valid value";
}

void tst_DesignerPages::propertyListEditsInPlace()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, says);
    auto b = designButton();
    PropertyList list;
    list.showObject(b.get());
    QSignalSpy edited(&list, &PropertyList::edited);
    const QList<QTableWidgetItem *> rows = list.findItems(key, Qt::MatchExactly);
    QVERIFY(!rows.isEmpty());
    QTableWidgetItem *value = list.item(rows.first()->row(), 1);
    QVERIFY(value->flags() & Qt::ItemIsEditable);

    value->setText(typed);
    QCOMPARE(list.item(rows.first()->row(), 1)->text(), shown);
    QCOMPARE(edited.count(), says.isEmpty() ? 1 : 0);
    QCOMPARE(message(&list), says);
}

QTEST_MAIN(tst_DesignerPages)
#include "tst_designerpages.moc"
