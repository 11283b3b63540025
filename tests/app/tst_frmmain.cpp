#include <QTest>

#include "MemoryStatus.h"
#include "Timer.h"
#include "frmMain.h"

#include <QImage>
#include <QSignalSpy>

// Hands out whatever sample the test sets.
class FakeMemory final : public MemoryStatusSource {
public:
    MemorySample sample;
    int reads = 0;
    MemorySample read() override
    {
        ++reads;
        return sample;
    }
};

class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    void tickDrawsTheLines_data();
    void tickDrawsTheLines();
    void firstTickComesOnePeriodAfterLoad();
    void periodZeroKeepsTheLastFigures();
    void paintShowsTheLinesInOrder();
};

void tst_frmMain::tickDrawsTheLines_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("available");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("example") << qint64(536330240) << qint64(201326592)
                             << QStringList{"Total=536,330kb", "Aval=201,327kb", "Used=62.5%"};
    QTest::newRow("above 4 GiB") << qint64(25276162048) << qint64(23911297024)
                                 << QStringList{"Total=25,276,162kb", "Aval=23,911,297kb",
                                                "Used=5.4%"};
    QTest::newRow("nothing read shows two empty figures")
        << qint64(0) << qint64(0) << QStringList{"Total=kb", "Aval=kb"};
    QTest::newRow("all available") << qint64(8000000) << qint64(8000000)
                                   << QStringList{"Total=8,000kb", "Aval=8,000kb", "Used=0.0%"};
    QTest::newRow("none available")
        << qint64(8000000) << qint64(0) << QStringList{"Total=8,000kb", "Aval=kb", "Used=100.0%"};
}

void tst_frmMain::tickDrawsTheLines()
{
    QFETCH(qint64, total);
    QFETCH(qint64, available);
    QFETCH(QStringList, lines);
    FakeMemory memory;
    memory.sample = {total, available};
    frmMain form(memory);
    form.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    form.timMeasure_Timer();
    QStringList drawn;
    for (int i = 0; i < form.lineCount(); ++i)
        drawn << form.line(i);
    QCOMPARE(drawn, lines);
}

void tst_frmMain::firstTickComesOnePeriodAfterLoad()
{
    FakeMemory memory;
    memory.sample = {1000, 500};
    frmMain form(memory);
    QCOMPARE(form.timMeasure()->Interval(), 1000);
    form.timMeasure()->setInterval(20);
    QVERIFY(!form.timMeasure()->isTicking());
    form.Show();
    QCOMPARE(form.lineCount(), 0); // nothing until the first period has passed
    QTRY_COMPARE(form.lineCount(), 3);
    QTRY_VERIFY(memory.reads >= 2);
}

void tst_frmMain::periodZeroKeepsTheLastFigures()
{
    FakeMemory memory;
    memory.sample = {1000, 500};
    frmMain form(memory);
    form.timMeasure()->setInterval(10);
    form.Show();
    QTRY_COMPARE(form.lineCount(), 3);
    form.timMeasure()->setInterval(0);
    const int reads = memory.reads;
    memory.sample = {0, 0};
    QTest::qWait(50);
    QCOMPARE(memory.reads, reads);
    QCOMPARE(form.lineCount(), 3);
}

// Rows of the rendered window that hold any text-coloured pixel.
static QList<int> inkedRows(const QImage &image, QColor ink)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == ink) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

void tst_frmMain::paintShowsTheLinesInOrder()
{
    QPalette palette;
    palette.setColor(QPalette::HighlightedText, Qt::white); // the window's background
    palette.setColor(QPalette::ButtonText, Qt::black);      // its text
    QApplication::setPalette(palette);

    FakeMemory memory;
    frmMain form(memory);
    form.setBackColor(form.BackColor()); // picks up the palette set above
    form.setForeColor(form.ForeColor());
    memory.sample = {8000000, 2000000};
    form.timMeasure_Timer();
    const QList<int> three = inkedRows(form.grab().toImage(), Qt::black);
    memory.sample = {0, 0};
    form.timMeasure_Timer();
    const QList<int> two = inkedRows(form.grab().toImage(), Qt::black);

    QVERIFY(!two.isEmpty());
    QVERIFY(three.last() > two.last() + 5); // a third line below the other two
    QCOMPARE(form.grab().toImage().pixelColor(form.width() - 1, form.height() - 1),
             QColor(Qt::white));
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
