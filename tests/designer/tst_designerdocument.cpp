#include <QTest>

#include "Form.h"
#include "FormDocument.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "formhelpers/ZoFormPos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {
const QString Forms = QStringLiteral(KELVO_TEST_DATA "/../../app/forms/");

// Everything a form file gives a form and its controls, as the program loads it: at run time.
QJsonObject asTheProgramLoadsIt(const QString &path)
{
    Form form(QString{});
    FormFile::load(form, path, kelvoControls());
    return QJsonDocument::fromJson(FormFile::write(form, kelvoControls())).object();
}

QJsonObject savedControl(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue &c : QJsonDocument::fromJson(file.readAll())["controls"].toArray()) {
        if (c["name"] == name)
            return c.toObject();
    }
    return {};
}
} // namespace

class tst_DesignerDocument : public QObject {
    Q_OBJECT
private slots:
    void savedFormLoadsInTheProgramAsBefore_data();
    void savedFormLoadsInTheProgramAsBefore();
    void newControlIsANewInstance();
    void newControlOfEveryClassSavesAsItStarted_data();
    void newControlOfEveryClassSavesAsItStarted();
    void unreadableFileNamesFileAndPlace_data();
    void unreadableFileNamesFileAndPlace();
    void failedSaveKeepsTheFormModified();
};

void tst_DesignerDocument::savedFormLoadsInTheProgramAsBefore_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("monitor window") << "frmMain.json";
    QTest::newRow("options dialog") << "frmOptions.json";
}

void tst_DesignerDocument::savedFormLoadsInTheProgramAsBefore()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString saved = dir.filePath(file);
    FormDocument document(kelvoControls());
    document.open(Forms + file);
    QVERIFY(!document.form()->userMode());
    document.save(saved);
    QCOMPARE(document.path(), saved);
    QVERIFY(!document.isModified());
    QCOMPARE(asTheProgramLoadsIt(saved), asTheProgramLoadsIt(Forms + file));
}

// A new ZoFormPos has no InitProperties: it starts with the zeros of its members, which are
// not the bag's defaults, so they are saved.
void tst_DesignerDocument::newControlIsANewInstance()
{
    QTemporaryDir dir;
    FormDocument document(kelvoControls());
    document.open(Forms + QStringLiteral("frmOptions.json"));
    auto *formPos = qobject_cast<ZoFormPos *>(
        document.addControl(QStringLiteral("Kelvo.ZoFormPos"), QPointF(300, 300)));
    QVERIFY(formPos);
    QCOMPARE(formPos->MinHeight(), 0);
    QCOMPARE(formPos->MinWidth(), 0);
    QCOMPARE(formPos->CenterForm(), false);
    QCOMPARE(formPos->RememberFormPosition(), false);
    QCOMPARE(formPos->Name(), QStringLiteral("ZoFormPos2"));
    QCOMPARE(formPos->TabIndex(), 9);
    QCOMPARE(QSizeF(formPos->Width(), formPos->Height()), QSizeF(240, 230));
    UserControl *onTop = document.addControl(QStringLiteral("Kelvo.ZoOnTop"), QPointF(0, 0));
    QCOMPARE(onTop->Name(), QStringLiteral("ZoOnTop2"));
    QVERIFY(document.isModified());

    const QString saved = dir.filePath(QStringLiteral("form.json"));
    document.save(saved);
    const QJsonObject formPosBag = savedControl(saved, "ZoFormPos2")["bag"].toObject();
    QCOMPARE(formPosBag["minheight"], QJsonValue(0));
    QCOMPARE(formPosBag["centerform"], QJsonValue(false));
    QCOMPARE(savedControl(saved, "ZoOnTop2")["bag"].toObject().keys(),
             QStringList({"_extentx", "_extenty"}));
}

void tst_DesignerDocument::newControlOfEveryClassSavesAsItStarted_data()
{
    QTest::addColumn<QString>("className");
    for (const QString &className : kelvoControls().classNames())
        QTest::newRow(qPrintable(className)) << className;
}

// What InitProperties gave a new instance is what the program loads from the saved form.
void tst_DesignerDocument::newControlOfEveryClassSavesAsItStarted()
{
    QFETCH(QString, className);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("new.json"));
    FormDocument document(kelvoControls());
    QVERIFY(document.addControl(className, QPointF(120, 240)));
    document.save(saved);
    const QJsonObject designed =
        QJsonDocument::fromJson(FormFile::write(*document.form(), kelvoControls())).object();
    QCOMPARE(asTheProgramLoadsIt(saved), designed);
}

void tst_DesignerDocument::unreadableFileNamesFileAndPlace_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("place");
    QTest::newRow("cut short") << QByteArray("{\n  \"form\": \"frmX\",\n  \"controls\": [")
                               << "3:16";
    QTest::newRow("unknown class")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Nope", "name": "x"}]})")
        << "controls[0] (x)";
    QTest::newRow("property of the wrong kind")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Kelvo.ZoButton", "name": "b",
                         "bag": {"delta": "wide"}}]})")
        << "controls[0] (b)";
    QTest::newRow("no such file") << QByteArray() << "1:1";
}

void tst_DesignerDocument::unreadableFileNamesFileAndPlace()
{
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.json"));
    if (!text.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    FormDocument document(kelvoControls());
    document.open(Forms + QStringLiteral("frmMain.json"));
    const Form *shown = document.form();

    try {
        document.open(path);
        QFAIL("a damaged form file was opened");
    } catch (const FormFileError &e) {
        QCOMPARE(e.file(), path);
        QTEST(e.position(), "place");
    }
    QCOMPARE(document.form(), shown);
    QCOMPARE(document.path(), Forms + QStringLiteral("frmMain.json"));
}

void tst_DesignerDocument::failedSaveKeepsTheFormModified()
{
    QTemporaryDir dir;
    FormDocument document(kelvoControls());
    document.open(Forms + QStringLiteral("frmMain.json"));
    document.addControl(QStringLiteral("Label"), QPointF(0, 0));
    const QString nowhere = dir.filePath(QStringLiteral("missing/form.json"));
    QVERIFY_THROWS_EXCEPTION(FormFileError, document.save(nowhere));
    QVERIFY(document.isModified());
    QCOMPARE(document.path(), Forms + QStringLiteral("frmMain.json"));
}

QTEST_MAIN(tst_DesignerDocument)
#include "tst_designerdocument.moc"
