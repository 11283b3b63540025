#include <QTest>

#include "ControlRegistry.h"
#include "Form.h"
#include "FormDocument.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "formhelpers/ZoFormPos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
const QString Forms = QStringLiteral(KELVO_TEST_DATA "/../../app/forms/");

// Everything a form file gives a form and its controls, as the program loads it: at run time.
QJsonObject asTheProgramLoadsIt(const QString &path)
{
    Form form(QString{});
    FormFile::load(form, path, kelvoControls());
    return QJsonDocument::fromJson(FormFile::write(form, kelvoControls())).object();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A form written by hand: notes and keys of the author's own at every level, sizes beyond
// any screen and off the pixel grid, and pictures that cannot be decoded (a missing resource,
// bad base64, bytes that are not a PNG, a PNG too large to allocate).
const QByteArray HandLabel = R"({ "class": "Label", "name": "lblFar", "comment": "by hand",
      "left": 21000, "top": 17000, "width": 2000, "height": 1000,
      "bag": { "_extentx": 3528, "_extenty": 1764, "mine": { "b": 1, "a": [2, 1] } } })";
const QByteArray HandButton = R"({ "class": "Kelvo.ZoButton", "name": "cmdPictures",
      "left": 0, "top": 0, "width": 330, "height": 330,
      "bag": { "_extentx": 582, "_extenty": 582,
               "picture": { "resource": ":/no/such.png" },
               "selectedpicture": { "png": "not base64 at all!" },
               "pressedpicture": { "png": "aGVsbG8=" },
               "mouseicon": { "png": "iVBORw0KGgoAAAANSUhEUgAAdTAAAHUwCAYAAABmJ/i6AAAAAElFTkSuQmCC" } } })";
const QByteArray HandForm = R"({ "form": "frmHand", "note": "kept",
  "properties": { "clientwidth": 24000, "clientheight": 18000, "custom": [1, 2] },
  "controls": [
    )" + HandLabel + ",\n    " +
                            HandButton + R"(
  ]
}
)";

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
    void openAndSaveGivesTheSameBytes_data();
    void openAndSaveGivesTheSameBytes();
    void editRewritesOnlyWhatChanged();
    void saveThatRunsOutOfRoomChangesNothing_data();
    void saveThatRunsOutOfRoomChangesNothing();
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

// A new instance starts at its class's size, and what InitProperties gave it is what the
// program loads from the saved form.
void tst_DesignerDocument::newControlOfEveryClassSavesAsItStarted()
{
    QFETCH(QString, className);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("new.json"));
    FormDocument document(kelvoControls());
    const UserControl *added = document.addControl(className, QPointF(120, 240));
    QVERIFY(added);
    QCOMPARE(QSizeF(added->Width(), added->Height()), kelvoControls().find(className)->newSize);
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

void tst_DesignerDocument::openAndSaveGivesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("undecodedPictures");
    QTest::newRow("monitor window") << bytesOf(Forms + "frmMain.json") << 0;
    QTest::newRow("options dialog") << bytesOf(Forms + "frmOptions.json") << 0;
    QTest::newRow("written by hand") << HandForm << 4;
}

void tst_DesignerDocument::openAndSaveGivesTheSameBytes()
{
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.json"));
    QVERIFY(writeBytes(path, text));
    FormDocument document(kelvoControls());
    document.open(path);
    QTEST(int(document.openProblems().size()), "undecodedPictures");
    document.save(path);
    QCOMPARE(bytesOf(path), text);
}

void tst_DesignerDocument::editRewritesOnlyWhatChanged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.json"));
    QVERIFY(writeBytes(path, HandForm));
    FormDocument document(kelvoControls());
    document.open(path);
    document.form()->controls().first()->Move(100, 200, 2000, 1000);
    document.save(path);

    const QByteArray saved = bytesOf(path);
    QVERIFY(saved.contains(HandButton));
    const QJsonObject root = QJsonDocument::fromJson(saved).object();
    QCOMPARE(root["note"], QJsonValue("kept"));
    QCOMPARE(root["properties"]["clientwidth"], QJsonValue(24000));
    QCOMPARE(root["properties"]["custom"], QJsonValue(QJsonArray{1, 2}));
    const QJsonObject label = root["controls"][0].toObject();
    QCOMPARE(label["left"], QJsonValue(100));
    QCOMPARE(label["comment"], QJsonValue("by hand"));
    QCOMPARE(label["bag"]["mine"]["a"], QJsonValue(QJsonArray{2, 1}));
    QCOMPARE(label.keys().size(), 8);
}

void tst_DesignerDocument::saveThatRunsOutOfRoomChangesNothing_data()
{
    QTest::addColumn<bool>("smallDisk");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << true << "No space left on device";
    QTest::newRow("file size limit") << false << "File too large";
}

// The form grows by a control, and the file it replaces has room for only part of it: on a
// file system with a page left, or under a file size limit just above the old file's size.
void tst_DesignerDocument::saveThatRunsOutOfRoomChangesNothing()
{
    QFETCH(bool, smallDisk);
    QTemporaryDir dir;
    const QString disk = dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkdir(disk));
    if (smallDisk &&
        ::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no small file system can be mounted here");
    const auto unmount = qScopeGuard([&] {
        if (smallDisk)
            ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
    });
    const QString path = disk + QStringLiteral("/frmOptions.json");
    const QByteArray old = bytesOf(Forms + "frmOptions.json");
    QVERIFY(writeBytes(path, old));

    FormDocument document(kelvoControls());
    document.open(path);
    document.addControl(QStringLiteral("Label"), QPointF(0, 0));

    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, SIG_DFL);
    });
    if (smallDisk) {
        QFile filler(disk + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        QVERIFY(filler.resize(filler.size() - page.size()));
    } else {
        std::signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = rlim_t(old.size() + 100);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }

    try {
        document.save(path);
        QFAIL("a save that ran out of room succeeded");
    } catch (const FormFileError &e) {
        QCOMPARE(e.file(), path);
        QTEST(e.message().section(QLatin1Char(';'), 0, 0), "reason");
    }
    QCOMPARE(bytesOf(path), old);
    QVERIFY(document.isModified());
    QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden).size(), smallDisk ? 2 : 1);
}

QTEST_MAIN(tst_DesignerDocument)
#include "tst_designerdocument.moc"
