#include <QTest>

#include "ControlRegistry.h"
#include "Form.h"
#include "FormFile.h"
#include "HostError.h"
#include "PropertyTable.h"
#include "Timer.h"

#include <QTemporaryDir>
#include <sys/stat.h>

// A control that records what the host calls on it, and persists two keys.
class ProbeControl : public UserControl {
    Q_OBJECT
public:
    using UserControl::UserControl;
    static QStringList calls;

    qint16 Level() const { return m_level; }
    void setLevel(qint16 v) { m_level = v; }
    QString Label() const { return m_label; }
    void setLabel(const QString &v) { m_label = v; }

    void Initialize() override { calls << "Initialize " + Name(); }
    void InitProperties() override
    {
        calls << "InitProperties";
        m_level = 1;
    }
    void ReadProperties(const PropertyBag &bag) override
    {
        calls << "ReadProperties";
        table().read(*this, bag);
    }
    void WriteProperties(PropertyBag &bag) const override { table().write(*this, bag); }
    void Terminate() override { calls << "Terminate " + Name(); }

private:
    static const PropertyTable<ProbeControl> &table()
    {
        static const PropertyTable<ProbeControl> t = [] {
            PropertyTable<ProbeControl> p;
            p.add(QStringLiteral("Level"), qint16(5), &ProbeControl::Level, &ProbeControl::setLevel)
                .add(QStringLiteral("Label"), QString(), &ProbeControl::Label,
                     &ProbeControl::setLabel);
            return p;
        }();
        return t;
    }
    qint16 m_level = 0;
    QString m_label;
};
QStringList ProbeControl::calls;

class tst_FormFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void loadCreatesControlsInOrder();
    void roundTripKeepsFormAndControls();
    void extentIsInHundredthsOfAMillimetre();
    void malformedFiles_data();
    void malformedFiles();
    void saveFailureKeepsTheOldFile();
    void hostileFilesAreRefusedWithAMessage_data();
    void hostileFilesAreRefusedWithAMessage();

private:
    ControlRegistry registry;
};

static const QByteArray twoControls = R"({
  "form": "frmTest",
  "properties": { "caption": "Test", "clientwidth": 2955, "clientheight": 1455 },
  "controls": [
    { "class": "Probe", "name": "first", "left": 45, "top": 1080, "width": 1365, "height": 330,
      "tabindex": 3, "index": 0, "bag": { "level": 9 } },
    { "class": "Probe", "name": "second" },
    { "class": "Timer", "name": "timTick", "bag": { "interval": 250 } }
  ]
})";

void tst_FormFile::init()
{
    ProbeControl::calls.clear();
    registry = ControlRegistry();
    registry.add<ProbeControl>(QStringLiteral("Probe"));
    registry.add<Timer>(QStringLiteral("Timer"));
}

void tst_FormFile::loadCreatesControlsInOrder()
{
    {
        Form form{QString()};
        FormFile::load(form, FormFile::parse(twoControls, "frmTest.json"), registry);
        QCOMPARE(form.Name(), QStringLiteral("frmTest"));
        QCOMPARE(form.Caption(), QStringLiteral("Test"));
        QCOMPARE(form.ScaleWidth(), 2955.0);
        QCOMPARE(form.controls().size(), 3);

        auto *first = form.control<ProbeControl>(QStringLiteral("first"), 0);
        QVERIFY(first);
        QCOMPARE(first->Level(), qint16(9));
        QCOMPARE(first->Left(), 45.0);
        QCOMPARE(first->Width(), 1365.0);
        QCOMPARE(first->TabIndex(), 3);
        QCOMPARE(first->geometry(), QRect(3, 72, 91, 22));
        // A control without a bag is a new instance.
        QCOMPARE(form.control<ProbeControl>(QStringLiteral("second"))->Level(), qint16(1));
        QCOMPARE(form.control<Timer>(QStringLiteral("timTick"))->Interval(), 250);
        QVERIFY(form.control<Timer>(QStringLiteral("timTick"))->isHidden());
    }
    QCOMPARE(ProbeControl::calls,
             (QStringList{"Initialize first", "ReadProperties", "Initialize second",
                          "InitProperties", "Terminate first", "Terminate second"}));
}

void tst_FormFile::roundTripKeepsFormAndControls()
{
    Form form{QString()};
    FormFile::load(form, FormFile::parse(twoControls, "frmTest.json"), registry);
    form.control<ProbeControl>(QStringLiteral("second"))->setLabel(QStringLiteral("Hello"));

    const FormDescription again = FormFile::parse(FormFile::write(form, registry), "again");
    QCOMPARE(again.name, QStringLiteral("frmTest"));
    QCOMPARE(again.controls.size(), 3);
    QCOMPARE(again.controls.at(0).extender.Index, 0);
    QCOMPARE(again.controls.at(1).extender.Index, -1);
    QVERIFY(again.controls.at(1).bag.has_value());
    QCOMPARE(again.controls.at(1).bag->ReadProperty("label", QString()), QStringLiteral("Hello"));
    QCOMPARE(again.controls.at(0).bag->ReadProperty("level", qint16(5)), qint16(9));
    // The new instance's level (1) differs from the bag default (5), so it is saved.
    QCOMPARE(again.controls.at(1).bag->ReadProperty("level", qint16(5)), qint16(1));

    Form reloaded{QString()};
    FormFile::load(reloaded, again, registry);
    QCOMPARE(reloaded.control<ProbeControl>(QStringLiteral("second"))->Label(),
             QStringLiteral("Hello"));
    QCOMPARE(reloaded.Caption(), QStringLiteral("Test"));
}

void tst_FormFile::extentIsInHundredthsOfAMillimetre()
{
    QCOMPARE(FormFile::toExtent(480), 847);
    QCOMPARE(FormFile::toExtent(1440), 2540);

    Form form{QString()};
    FormFile::load(form, FormFile::parse(twoControls, "frmTest.json"), registry);
    const FormDescription d = FormFile::parse(FormFile::write(form, registry), "again");
    QCOMPARE(d.controls.at(0).bag->hostValue("_extentx", 0), 2408.0);
    QCOMPARE(d.controls.at(0).bag->hostValue("_EXTENTY", 0), 582.0);
}

void tst_FormFile::malformedFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("position");

    QTest::newRow("syntax error names line and column")
        << QByteArray("{\n  \"form\": \"f\",\n  \"controls\": [ oops ]\n}") << "3:17";
    QTest::newRow("empty file") << QByteArray() << "1:1";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "1:1";
    QTest::newRow("no form name") << QByteArray(R"({"controls": []})") << "form";
    QTest::newRow("controls not a list")
        << QByteArray(R"({"form": "f", "controls": {}})") << "controls";
    QTest::newRow("control without class")
        << QByteArray(R"({"form": "f", "controls": [{"name": "a"}]})") << "controls[0] (a)";
    QTest::newRow("control without name")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Probe"}]})") << "controls[0]";
    QTest::newRow("geometry not a number")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Probe", "name": "a",
                           "left": "x"}]})")
        << "controls[0] (a)";
    QTest::newRow("unknown class")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Nope", "name": "a"}]})")
        << "controls[0] (a)";
    QTest::newRow("value of the wrong kind")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Probe", "name": "p"},
                           {"class": "Probe", "name": "q", "bag": {"level": "high"}}]})")
        << "controls[1] (q)";
    QTest::newRow("value out of range")
        << QByteArray(R"({"form": "f", "controls": [{"class": "Timer", "name": "t",
                           "bag": {"interval": 70000}}]})")
        << "controls[0] (t)";
    QTest::newRow("form property of the wrong kind")
        << QByteArray(R"({"form": "f", "properties": {"borderstyle": "thin"}})") << "properties";
}

void tst_FormFile::malformedFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, position);
    Form form{QString()};
    try {
        FormFile::load(form, FormFile::parse(text, "broken.json"), registry, "broken.json");
        QFAIL("a malformed form file loaded");
    } catch (const FormFileError &e) {
        QCOMPARE(e.file(), QStringLiteral("broken.json"));
        QCOMPARE(e.position(), position);
        QVERIFY(QString::fromUtf8(e.what()).startsWith("broken.json: " + position + ": "));
    }
}

void tst_FormFile::saveFailureKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("frmTest.json");
    Form form{QString()};
    FormFile::load(form, FormFile::parse(twoControls, "frmTest.json"), registry);
    FormFile::save(form, path, registry);
    QCOMPARE(FormFile::read(path).controls.size(), 3);
    QVERIFY_THROWS_EXCEPTION(FormFileError,
                             FormFile::save(form, dir.filePath("missing/frmTest.json"), registry));
    QVERIFY_THROWS_EXCEPTION(FormFileError, FormFile::read(dir.filePath("none.json")));
}

void tst_FormFile::hostileFilesAreRefusedWithAMessage_data()
{
    QTest::addColumn<QString>("kind"); // how the file is made: "text", "fifo", "device", "sparse"
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("message");

    QByteArray many = R"({"form": "f", "controls": [)";
    for (int i = 0; i < 30000; ++i)
        many += QByteArray(i ? "," : "") + R"({"class": "Timer", "name": "t", "index": )" +
                QByteArray::number(i % 30000) + "}";
    many += "]}";
    QTest::newRow("30,000 controls") << "text" << many << "controls"
                                     << "30000 controls are more than the 10000 a form can hold";
    QTest::newRow("a pipe") << "fifo" << QByteArray() << "1:1"
                            << "not a regular file";
    QTest::newRow("a device") << "device" << QByteArray() << "1:1"
                              << "not a regular file";
    QTest::newRow("over 16 MiB") << "sparse" << QByteArray() << "1:1"
                                 << "larger than 16 MiB, more than any form needs";
    QTest::newRow("width beyond a 32-bit size")
        << "text" << QByteArray(R"({"form": "f", "controls": [{"class": "Probe", "name": "a",
                         "width": 1e12}]})")
        << "controls[0] (a)"
        << "\"width\" is 1e+12 twips, beyond the 1217471043 a control can have";
    QTest::newRow("bag value out of range")
        << "text" << QByteArray(R"({"form": "f", "controls": [{"class": "Timer", "name": "t",
                         "bag": {"interval": 70000}}]})")
        << "controls[0] (t)"
        << "\"interval\": Invalid property value";
}

// A pipe or a device is refused without waiting on it or reading it.
void tst_FormFile::hostileFilesAreRefusedWithAMessage()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    QString path = dir.filePath("hostile.json");
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "device") {
        path = QStringLiteral("/dev/zero");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(text), text.size());
        if (kind == "sparse")
            QVERIFY(file.resize(FormFile::MaxFileSize + 1));
    }
    try {
        Form form{QString()};
        FormFile::load(form, path, registry);
        QFAIL("a hostile file loaded");
    } catch (const FormFileError &e) {
        QCOMPARE(e.file(), path);
        QTEST(e.position(), "position");
        QTEST(e.message(), "message");
    }
}

QTEST_MAIN(tst_FormFile)
#include "tst_formfile.moc"
