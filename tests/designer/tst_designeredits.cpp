#include <QTest>

#include "ControlNames.h"
#include "DesignSurface.h"
#include "DesignerWindow.h"
#include "Form.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "PropertyList.h"
#include "PropertyPageHost.h"
#include "Screen.h"
#include "UserControl.h"
#include "button/ButtonPage.h"
#include "button/ZoButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QUndoStack>

namespace {
const QString Forms = QStringLiteral(KELVO_TEST_DATA "/../../app/forms/");

ControlName nameFrom(const QString &key)
{
    const qsizetype open = key.indexOf(QLatin1Char('('));
    if (open < 0)
        return {key, -1};
    return {key.left(open), key.mid(open + 1).chopped(1).toInt()};
}

void click(QWidget *w, QPoint at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(w, &e);
    }
}

// Types the text into the property list's value cell for the key.
void typeInto(PropertyList *list, const QString &key, const QString &text)
{
    const QList<QTableWidgetItem *> rows = list->findItems(key, Qt::MatchExactly);
    QVERIFY(!rows.isEmpty());
    list->item(rows.first()->row(), 1)->setText(text);
}
} // namespace

// The designer's window with one of Kelvo's forms, shown offscreen.
class Designer {
public:
    explicit Designer(const QString &file)
        : window(kelvoControls())
    {
        window.open(Forms + file);
        window.show();
    }
    Form *form() const { return window.surface()->form(); }
    QByteArray text() const { return FormFile::write(*form(), kelvoControls()); }
    UserControl *control(const QString &key) const
    {
        for (UserControl *c : form()->controls()) {
            if (c->objectName() == key)
                return c;
        }
        return nullptr;
    }
    void select(const QString &key)
    {
        window.surface()->select({control(key)});
        window.propertyList()->showObject(control(key));
    }

    DesignerWindow window;
};

class tst_DesignerEdits : public QObject {
    Q_OBJECT
private slots:
    void undoAndRedoEveryEdit_data();
    void undoAndRedoEveryEdit();
    void pastedControlsAreNamedApart_data();
    void pastedControlsAreNamedApart();
    void renamesKeepControlsApart_data();
    void renamesKeepControlsApart();
    void saveAsAddsTheSuffix_data();
    void saveAsAddsTheSuffix();
    void listOffersDropDowns_data();
    void listOffersDropDowns();
    void longTextSurvivesPageAndCell();
    void listEditRedrawsTheButton();
    void labelsShowTheirOwnColours();
};

void tst_DesignerEdits::undoAndRedoEveryEdit_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("selectedAfter");
    const QString exit = QStringLiteral("cmdAction(0)");
    QTest::newRow("move by a key") << "move" << exit << QStringList{exit};
    QTest::newRow("resize by a key") << "resize" << exit << QStringList{exit};
    QTest::newRow("property in the list") << "caption" << exit << QStringList{exit};
    QTest::newRow("property page") << "page" << exit << QStringList{exit};
    QTest::newRow("place at the click") << "place" << exit << QStringList{"Label1"};
    QTest::newRow("delete") << "delete" << exit << QStringList{};
    QTest::newRow("cut") << "cut" << exit << QStringList{};
    QTest::newRow("paste an array member") << "paste" << exit << QStringList{"cmdAction(2)"};
    QTest::newRow("duplicate") << "duplicate"
                               << "timMeasure" << QStringList{"timMeasure1"};
    QTest::newRow("rename an array") << "rename" << exit << QStringList{"cmdGo(0)"};
    QTest::newRow("new index") << "index" << exit << QStringList{"cmdAction(5)"};
}

// Each edit is one step: undo gives the form file text back byte for byte, with the selection
// and the unmodified mark; redo gives the edited form again.
void tst_DesignerEdits::undoAndRedoEveryEdit()
{
    QFETCH(QString, edit);
    QFETCH(QString, key);
    QFETCH(QStringList, selectedAfter);
    Designer d(QStringLiteral("frmMain.json"));
    d.select(key);
    const QByteArray before = d.text();
    DesignSurface *surface = d.window.surface();
    const QPoint clickAt(30, 20);
    if (edit == QLatin1String("move"))
        QTest::keyClick(surface, Qt::Key_Right);
    else if (edit == QLatin1String("resize"))
        QTest::keyClick(surface, Qt::Key_Down, Qt::ShiftModifier);
    else if (edit == QLatin1String("caption"))
        typeInto(d.window.propertyList(), QStringLiteral("Caption"), QStringLiteral("Leave"));
    else if (edit == QLatin1String("page")) {
        QTimer::singleShot(0, &d.window, [&d] {
            auto *host = d.window.findChild<PropertyPageHost *>();
            host->findChild<QLineEdit *>(QStringLiteral("txtToolTopText"))
                ->setText(QStringLiteral("Leave"));
            host->accept();
        });
        d.window.showPropertyPages();
    } else if (edit == QLatin1String("place")) {
        surface->armPlacement(QStringLiteral("Label"));
        click(surface, clickAt);
    } else if (edit == QLatin1String("delete"))
        d.window.deleteSelection();
    else if (edit == QLatin1String("cut"))
        d.window.cut();
    else if (edit == QLatin1String("paste")) {
        d.window.copy();
        d.window.paste();
    } else if (edit == QLatin1String("duplicate"))
        d.window.duplicate();
    else if (edit == QLatin1String("rename"))
        typeInto(d.window.propertyList(), QStringLiteral("(Name)"), QStringLiteral("cmdGo"));
    else if (edit == QLatin1String("index"))
        typeInto(d.window.propertyList(), QStringLiteral("Index"), QStringLiteral("5"));
    const QByteArray after = d.text();
    QVERIFY(after != before);
    QCOMPARE(d.window.surface()->selectedKeys(), selectedAfter);
    QVERIFY(d.window.isWindowModified());
    if (edit == QLatin1String("place")) {
        const UserControl *placed = d.control(QStringLiteral("Label1"));
        const QPoint client = clickAt - d.form()->clientRect().topLeft();
        QCOMPARE(QPointF(placed->Left(), placed->Top()),
                 QPointF(Screen::fromPixelsX(client.x()), Screen::fromPixelsY(client.y())));
    }
    if (edit == QLatin1String("rename"))
        QVERIFY(d.control(QStringLiteral("cmdGo(1)")));

    QCOMPARE(d.window.undoStack()->count(), 1);
    d.window.undoStack()->undo();
    QCOMPARE(d.text(), before);
    QCOMPARE(d.window.surface()->selectedKeys(), QStringList{key});
    QVERIFY(!d.window.isWindowModified());
    d.window.undoStack()->redo();
    QCOMPARE(d.text(), after);
    QCOMPARE(d.window.surface()->selectedKeys(), selectedAfter);
    QVERIFY(d.window.isWindowModified());
}

void tst_DesignerEdits::pastedControlsAreNamedApart_data()
{
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QStringList>("pasted");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("a free name is kept")
        << QStringList{"Label1"} << QStringList{"Text1"} << QStringList{"Text1"};
    QTest::newRow("a taken name counts on")
        << QStringList{"Label1", "Label2"} << QStringList{"Label1"} << QStringList{"Label3"};
    QTest::newRow("a name without a number gets one")
        << QStringList{"timMeasure"} << QStringList{"timMeasure"} << QStringList{"timMeasure1"};
    QTest::newRow("names differ in more than case")
        << QStringList{"label1"} << QStringList{"LABEL1"} << QStringList{"LABEL2"};
    QTest::newRow("an array member gets the next index")
        << QStringList{"cmdAction(0)", "cmdAction(1)"} << QStringList{"cmdAction(0)"}
        << QStringList{"cmdAction(2)"};
    QTest::newRow("a whole array stays one") << QStringList{"cmdAction(0)", "cmdAction(1)"}
                                             << QStringList{"cmdAction(0)", "cmdAction(1)"}
                                             << QStringList{"cmdAction(2)", "cmdAction(3)"};
    QTest::newRow("a free index is kept")
        << QStringList{"cmdAction(0)"} << QStringList{"cmdAction(4)"}
        << QStringList{"cmdAction(4)"};
    QTest::newRow("an array under a lone control's name moves aside")
        << QStringList{"cmd"} << QStringList{"cmd(0)"} << QStringList{"cmd1(0)"};
    QTest::newRow("pasted controls stay apart from each other")
        << QStringList{} << QStringList{"Label1", "Label1"} << QStringList{"Label1", "Label2"};
    QTest::newRow("a full array starts another")
        << QStringList{"cmd(32767)"} << QStringList{"cmd(32767)"} << QStringList{"cmd1(32767)"};
}

void tst_DesignerEdits::pastedControlsAreNamedApart()
{
    QFETCH(QStringList, taken);
    QFETCH(QStringList, pasted);
    QList<ControlName> existing, incoming;
    for (const QString &key : taken)
        existing.append(nameFrom(key));
    for (const QString &key : pasted)
        incoming.append(nameFrom(key));
    QStringList named;
    for (const ControlName &c : ControlNames::forPaste(existing, incoming))
        named.append(c.key());
    QTEST(named, "named");
}

void tst_DesignerEdits::renamesKeepControlsApart_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("refusal"); // part of the message; empty when allowed
    // The form also holds cmdAction(0), cmdAction(1) and timMeasure.
    QTest::newRow("a free name") << "timMeasure"
                                 << "timTick"
                                 << "";
    QTest::newRow("only the case") << "timMeasure"
                                   << "TimMeasure"
                                   << "";
    QTest::newRow("a name in use") << "timMeasure"
                                   << "cmdAction"
                                   << "already the name";
    QTest::newRow("not a name") << "timMeasure"
                                << "2tim"
                                << "not a valid name";
    QTest::newRow("a whole array renamed") << "cmdAction(1)"
                                           << "cmdGo(1)"
                                           << "";
    QTest::newRow("an index in use") << "cmdAction(1)"
                                     << "cmdAction(0)"
                                     << "already taken";
    QTest::newRow("no index while others share the name") << "cmdAction(1)"
                                                          << "cmdAction"
                                                          << "needs its index";
    QTest::newRow("an index beyond the last") << "timMeasure"
                                              << "timMeasure(32768)"
                                              << "not between 0 and 32767";
    QTest::newRow("a lone control made an array") << "timMeasure"
                                                  << "timMeasure(0)"
                                                  << "";
}

void tst_DesignerEdits::renamesKeepControlsApart()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, refusal);
    QList<ControlName> others;
    for (const QString key : {"cmdAction(0)", "cmdAction(1)", "timMeasure"}) {
        if (key != from)
            others.append(nameFrom(key));
    }
    const QString said = ControlNames::refusal(others, nameFrom(from), nameFrom(to));
    QVERIFY2(refusal.isEmpty() ? said.isEmpty() : said.contains(refusal), qPrintable(said));
}

void tst_DesignerEdits::saveAsAddsTheSuffix_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no suffix") << "/tmp/form"
                               << "/tmp/form.json";
    QTest::newRow("the form suffix") << "/tmp/form.json"
                                     << "/tmp/form.json";
    QTest::newRow("another suffix kept") << "/tmp/form.txt"
                                         << "/tmp/form.txt";
    QTest::newRow("a dot only in the folder") << "/tmp/v1.2/form"
                                              << "/tmp/v1.2/form.json";
}

void tst_DesignerEdits::saveAsAddsTheSuffix()
{
    QFETCH(QString, given);
    QTEST(DesignerWindow::withFormSuffix(given), "saved");
}

void tst_DesignerEdits::listOffersDropDowns_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("choose"); // empty: typed in place
    QTest::addColumn<QString>("shown");
    QTest::newRow("True and False") << "Switch"
                                    << "True"
                                    << "True";
    QTest::newRow("a pointer shape by its name") << "MousePointer"
                                                 << "7 - Size N S"
                                                 << "7";
    QTest::newRow("the custom pointer") << "MousePointer"
                                        << "99 - Custom"
                                        << "99";
    QTest::newRow("the button's alignment") << "Alignment"
                                            << "2 - Picture on Top"
                                            << "2";
    QTest::newRow("text is typed") << "ToolTipText"
                                   << ""
                                   << "Exit";
}

// The cell's editor is a drop-down where the value is one of a few; the choice is what the
// row then holds.
void tst_DesignerEdits::listOffersDropDowns()
{
    QFETCH(QString, key);
    QFETCH(QString, choose);
    Designer d(QStringLiteral("frmMain.json"));
    d.select(QStringLiteral("cmdAction(0)"));
    PropertyList *list = d.window.propertyList();
    const QList<QTableWidgetItem *> rows = list->findItems(key, Qt::MatchExactly);
    QVERIFY(!rows.isEmpty());
    const QModelIndex cell = list->model()->index(rows.first()->row(), 1);
    QAbstractItemDelegate *delegate = list->itemDelegateForIndex(cell);
    std::unique_ptr<QWidget> editor(delegate->createEditor(list->viewport(), {}, cell));
    delegate->setEditorData(editor.get(), cell);
    auto *box = qobject_cast<QComboBox *>(editor.get());
    QCOMPARE(box != nullptr, !choose.isEmpty());
    if (box) {
        const int entry = box->findText(choose);
        QVERIFY(entry >= 0);
        box->setCurrentIndex(entry);
    }
    delegate->setModelData(editor.get(), list->model(), cell);
    QTEST(list->item(rows.first()->row(), 1)->text(), "shown");
}

// Opening the Button page or a list cell on a caption longer than a line edit's usual limit,
// and closing it without an edit, leaves the caption whole.
void tst_DesignerEdits::longTextSurvivesPageAndCell()
{
    Designer d(QStringLiteral("frmMain.json"));
    auto *exit = qobject_cast<ZoButton *>(d.control(QStringLiteral("cmdAction(0)")));
    const QString caption(40000, QLatin1Char('x'));
    exit->setCaption(caption);
    exit->setToolTipText(caption);

    ButtonPage page;
    page.setSelectedControls({exit});
    page.SelectionChanged();
    page.ApplyChanges();
    QCOMPARE(exit->Caption(), caption);
    QCOMPARE(exit->ToolTipText(), caption);

    PropertyList *list = d.window.propertyList();
    list->showObject(exit);
    const QList<QTableWidgetItem *> rows =
        list->findItems(QStringLiteral("Caption"), Qt::MatchExactly);
    const QModelIndex cell = list->model()->index(rows.first()->row(), 1);
    QAbstractItemDelegate *delegate = list->itemDelegateForIndex(cell);
    std::unique_ptr<QWidget> editor(delegate->createEditor(list->viewport(), {}, cell));
    delegate->setEditorData(editor.get(), cell);
    delegate->setModelData(editor.get(), list->model(), cell);
    QCOMPARE(exit->Caption(), caption);
}

// The face shows what the button last drew; a caption typed in the list must reach it.
void tst_DesignerEdits::listEditRedrawsTheButton()
{
    Designer d(QStringLiteral("frmMain.json"));
    d.select(QStringLiteral("cmdAction(1)"));
    auto *face = d.control(QStringLiteral("cmdAction(1)"))->findChild<QWidget *>();
    const QImage before = face->grab().toImage();
    typeInto(d.window.propertyList(), QStringLiteral("Caption"), QStringLiteral("Settings"));
    QVERIFY(face->grab().toImage() != before);
}

void tst_DesignerEdits::labelsShowTheirOwnColours()
{
    Designer d(QStringLiteral("frmOptions.json"));
    const QImage label = d.control(QStringLiteral("Label1"))->grab().toImage();
    QCOMPARE(label.pixelColor(label.width() - 1, label.height() - 1),
             Colour::system(SystemColour::ButtonFace).toQColor());
}

QTEST_MAIN(tst_DesignerEdits)
#include "tst_designeredits.moc"
