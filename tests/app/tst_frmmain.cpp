#include <QTest>

#include "FakeDesktop.h"
#include "FakeMemory.h"
#include "TempSettings.h"
#include "Timer.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoOnTop.h"
#include "frmMain.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRawFont>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

// Every test has its own settings store and a fake window manager.
class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_desktop = std::make_unique<FakeDesktop>();
    }
    void cleanup()
    {
        m_desktop.reset();
        m_settings.reset();
    }
    void tickDrawsTheLines_data();
    void tickDrawsTheLines();
    void firstTickComesOnePeriodAfterLoad();
    void periodZeroKeepsTheLastFigures();
    void paintShowsTheLinesInOrder();
    void figuresDrawnAsQtDrawsThem_data();
    void figuresDrawnAsQtDrawsThem();
    void wholeFiguresLeftOfTheButtons_data();
    void wholeFiguresLeftOfTheButtons();
    void layoutFollowsTheHeight_data();
    void layoutFollowsTheHeight();
    void onTopLoadedAndSaved_data();
    void onTopLoadedAndSaved();
    void everyOptionsClickOpensANewDialog();
    void repaintsOnlyLinesThatChanged_data();
    void repaintsOnlyLinesThatChanged();
    void partialRepaintsShowWhatAWholePaintShows_data();
    void partialRepaintsShowWhatAWholePaintShows();
    void picturesLoadWithoutImagePlugins();

private:
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<FakeDesktop> m_desktop;
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

static void useLightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);       // the window's background
    palette.setColor(QPalette::ButtonText, Qt::black); // its text
    QApplication::setPalette(palette);
}

// Rows of the rendered window's text area (the client area left of the buttons) that hold
// any text-coloured pixel.
static QList<int> inkedRows(const frmMain &form, QColor ink)
{
    const QImage image = const_cast<frmMain &>(form).grab().toImage();
    const QRect client = form.clientRect();
    QList<int> rows;
    for (int y = client.top(); y <= client.bottom(); ++y) {
        for (int x = client.left(); x < form.cmdAction(0)->x(); ++x) {
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
    useLightPalette();
    FakeMemory memory;
    frmMain form(memory);
    form.setBackColor(form.BackColor()); // picks up the palette set above
    form.setForeColor(form.ForeColor());
    memory.sample = {8000000, 2000000};
    form.timMeasure_Timer();
    const QList<int> three = inkedRows(form, Qt::black);
    memory.sample = {0, 0};
    form.timMeasure_Timer();
    const QList<int> two = inkedRows(form, Qt::black);

    QVERIFY(!two.isEmpty());
    QVERIFY(three.last() > two.last() + 5); // a third line below the other two
    const QRect client = form.clientRect();
    QCOMPARE(form.grab().toImage().pixelColor(client.left(), client.bottom()), QColor(Qt::white));
}

// The ink of a window area: the sum of how dark its pixels are.
static qint64 inkIn(const QImage &image, const QRect &area)
{
    qint64 ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    }
    return ink;
}

void tst_frmMain::figuresDrawnAsQtDrawsThem_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("fallback"); // whether the window's font lacks a separator
    QTest::newRow("C") << "C" << false;
    QTest::newRow("German") << "de_DE" << false;
    QTest::newRow("French narrow no-break space") << "fr_FR" << true;
    QTest::newRow("Persian separators") << "fa_IR" << true;
    QTest::newRow("Arabic separators") << "ar_EG" << true;
}

// Each line against the same text drawn by Qt's own text layout, which takes a character the
// font lacks from a fallback font. A missing-glyph box adds four per cent or more to a line's ink;
// the same glyphs differ from Qt's only by where antialiasing falls.
void tst_frmMain::figuresDrawnAsQtDrawsThem()
{
    QFETCH(QString, locale);
    QFETCH(bool, fallback);
    useLightPalette();
    FakeMemory memory;
    memory.sample = {25276162048, 23911297024};
    frmMain form(memory);
    form.setBackColor(form.BackColor());
    form.setForeColor(form.ForeColor());
    form.setHeight(form.Height() * 2);
    form.Layout();
    form.setLocale(QLocale(locale));
    form.timMeasure_Timer();
    form.Layout();
    const QImage drawn = form.grab().toImage();

    QImage expected(drawn.size(), drawn.format());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setFont(form.font());
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(form.font(), &form);
    const QRawFont own = QRawFont::fromFont(form.font());
    bool lacking = false;
    for (int i = 0; i < form.lineCount(); ++i) {
        const QPointF baseline(form.clientRect().left(),
                               form.clientRect().top() + i * metrics.height() + metrics.ascent());
        painter.drawText(baseline, form.line(i));
        for (const QChar c : form.line(i))
            lacking = lacking || !own.supportsCharacter(c);
    }
    painter.end();
    QCOMPARE(lacking, fallback);
    for (int i = 0; i < form.lineCount(); ++i) {
        const QRect area = form.lineRect(i).adjusted(0, 0, 4, 0);
        const qint64 ours = inkIn(drawn, area);
        const qint64 qts = inkIn(expected, area);
        QVERIFY2(
            qts > 0 && std::abs(ours - qts) * 100 < qts,
            qPrintable(QStringLiteral("%1: ink %2, Qt's %3").arg(form.line(i)).arg(ours).arg(qts)));
    }
}

void tst_frmMain::wholeFiguresLeftOfTheButtons_data()
{
    QTest::addColumn<QSize>("client"); // pixels
    QTest::addColumn<qint64>("total");
    QTest::addColumn<bool>("smaller"); // than the height asks for
    QTest::newRow("design size, 25 GB") << QSize(139, 47) << qint64(25276162048) << false;
    QTest::newRow("taller than wide") << QSize(139, 147) << qint64(25276162048) << true;
    QTest::newRow("large, 128 GB") << QSize(700, 500) << qint64(128000000000) << true;
    QTest::newRow("design size, 1 TB") << QSize(139, 47) << qint64(1099511627776) << true;
}

void tst_frmMain::wholeFiguresLeftOfTheButtons()
{
    QFETCH(QSize, client);
    QFETCH(qint64, total);
    QFETCH(bool, smaller);
    FakeMemory memory;
    memory.sample = {total, total / 3};
    frmMain form(memory);
    form.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    form.setClientSize(client.width() * 15.0, client.height() * 15.0);
    form.Layout();
    const float byHeight = form.Font()->Size;
    form.timMeasure_Timer();
    form.Layout();
    QCOMPARE(form.Font()->Size < byHeight, smaller);
    for (int i = 0; i < form.lineCount(); ++i)
        QVERIFY2(form.lineRect(i).right() < form.cmdAction(0)->x(), qPrintable(form.line(i)));
    if (smaller) // no smaller than it need be
        QVERIFY(form.lineRect(0).right() > form.cmdAction(0)->x() - form.lineRect(0).width() / 8);
}

struct ButtonPlace {
    double left, top, width, height;
    friend bool operator==(const ButtonPlace &, const ButtonPlace &) = default;
};
Q_DECLARE_METATYPE(ButtonPlace)
Q_DECLARE_METATYPE(MemorySample)

// The window is designed at 2205 x 825 twips outside, a 2085 x 705 client area in its frame.
void tst_frmMain::layoutFollowsTheHeight_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<float>("points");
    QTest::addColumn<ButtonPlace>("exit");
    QTest::addColumn<ButtonPlace>("options");
    QTest::newRow("design size: 10 points")
        << 825.0 << false << 10.0f << ButtonPlace{1755, 0, 330, 352.5}
        << ButtonPlace{1755, 352.5, 330, 352.5};
    QTest::newRow("twice as high: 20 points")
        << 1650.0 << false << 20.0f << ButtonPlace{1755, 0, 330, 765}
        << ButtonPlace{1755, 765, 330, 765};
    QTest::newRow("minimised: nothing moves")
        << 1650.0 << true << 10.0f << ButtonPlace{1755, 0, 330, 352.5}
        << ButtonPlace{1755, 352.5, 330, 352.5};
}

void tst_frmMain::layoutFollowsTheHeight()
{
    QFETCH(double, height);
    QFETCH(bool, minimised);
    FakeMemory memory;
    frmMain form(memory);
    QCOMPARE(QSizeF(form.Width(), form.Height()), QSizeF(2205, 825));
    form.Layout();
    if (minimised)
        form.setWindowState(1);
    form.setHeight(height);
    form.Layout();
    QTEST(form.Font()->Size, "points");
    const auto place = [](const ZoButton *b) {
        return ButtonPlace{b->Left(), b->Top(), b->Width(), b->Height()};
    };
    QTEST(place(form.cmdAction(0)), "exit");
    QTEST(place(form.cmdAction(1)), "options");
    if (!minimised) { // stacked without overlap inside the client area, odd height or not
        QCOMPARE(form.cmdAction(0)->geometry().bottom() + 1, form.cmdAction(1)->geometry().top());
        QCOMPARE(form.cmdAction(1)->geometry().bottom(), form.clientRect().bottom());
    }
}

void tst_frmMain::onTopLoadedAndSaved_data()
{
    QTest::addColumn<QString>("stored"); // empty: no entry
    QTest::addColumn<bool>("above");
    QTest::newRow("first run: above") << QString() << true;
    QTest::newRow("unreadable: above") << "maybe" << true;
    QTest::newRow("False: not above") << "False" << false;
    QTest::newRow("true in any case: above") << "true" << true;
}

void tst_frmMain::onTopLoadedAndSaved()
{
    QFETCH(QString, stored);
    QFETCH(bool, above);
    if (!stored.isEmpty())
        m_settings->store().SaveSetting("Kelvo", "frmMain", "OnTop", stored);
    FakeMemory memory;
    frmMain form(memory);
    form.Show();
    QCOMPARE(form.zopOnTop()->OnTop(), above);
    QCOMPARE(m_desktop->windowManager.calls.first(),
             QStringLiteral("keepAbove frmMain %1").arg(above ? "true" : "false"));
    form.zopOnTop()->setOnTop(!above);
    form.cmdAction_Click(0); // Exit
    QVERIFY(!form.isLoaded());
    QCOMPARE(m_settings->store().GetSetting("Kelvo", "frmMain", "OnTop", ""),
             above ? "False" : "True");
}

void tst_frmMain::everyOptionsClickOpensANewDialog()
{
    FakeMemory memory;
    frmMain form(memory);
    form.Show();
    QList<QPointer<Form>> opened;
    QTimer closer; // closes each dialog once it is shown
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<Form *>(QApplication::activeModalWidget())) {
            QVERIFY(dialog->isLoaded());
            opened << dialog;
            dialog->unload();
        }
    });
    closer.start(10);
    form.cmdAction_Click(1);
    form.cmdAction_Click(1);
    QCOMPARE(opened.size(), 2);
    QVERIFY(!opened[0] && !opened[1]); // each released once closed
}

void tst_frmMain::repaintsOnlyLinesThatChanged_data()
{
    QTest::addColumn<MemorySample>("next");
    QTest::addColumn<QList<int>>("lines");
    QTest::newRow("same sample: nothing") << MemorySample{8000000000, 2000000000} << QList<int>();
    QTest::newRow("a few kilobytes freed: the end of Aval= only")
        << MemorySample{8000000000, 2000004096} << QList<int>{1};
    QTest::newRow("nothing read: all three, Used= erased")
        << MemorySample{0, 0} << QList<int>{0, 1, 2};
}

// What the window repaints in a tick, against the rectangles of the lines.
void tst_frmMain::repaintsOnlyLinesThatChanged()
{
    QFETCH(MemorySample, next);
    QFETCH(QList<int>, lines);
    struct Painted : QObject {
        QRegion region;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                region += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
    } painted;
    FakeMemory memory;
    memory.sample = {8000000000, 2000000000};
    frmMain form(memory);
    form.timMeasure()->setInterval(0);
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.timMeasure_Timer();
    QCoreApplication::processEvents();
    QRegion expected;
    for (int i : lines)
        expected += form.lineRect(i);

    form.installEventFilter(&painted);
    memory.sample = next;
    form.timMeasure_Timer(); // painted within the tick, with no request left for later
    QCOMPARE(painted.region.isEmpty(), lines.isEmpty());
    QCOMPARE(painted.region - expected, QRegion()); // nothing outside the changed lines
    for (int i : lines)                             // and something in each
        QVERIFY(painted.region.intersects(form.lineRect(i)));
    if (lines == QList<int>{1}) // from the first changed digit on
        QVERIFY(painted.region.boundingRect().width() < form.lineRect(1).width() / 2);
}

void tst_frmMain::partialRepaintsShowWhatAWholePaintShows_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << QStringLiteral("C");
    QTest::newRow("fr_FR: separators from a fallback font") << QStringLiteral("fr_FR");
    QTest::newRow("ar_EG: digits from a fallback font") << QStringLiteral("ar_EG");
}

// Each tick repaints only the glyphs that changed; what the window then shows must be what
// painting it whole gives, as the figures change, grow, shrink and vanish.
void tst_frmMain::partialRepaintsShowWhatAWholePaintShows()
{
    QFETCH(QString, locale);
    FakeMemory memory;
    memory.sample = {25276162048, 23911297024};
    frmMain form(memory);
    form.setLocale(QLocale(locale));
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const MemorySample samples[] = {
        {25276162048, 23911297024}, {25276162048, 23911301120}, {25276162048, 9999999000},
        {25276162048, 10000000000}, {25276162048, 0},           {0, 0},
        {25276162048, 1000},        {25276162048, 23911297024},
    };
    for (const MemorySample &sample : samples) {
        memory.sample = sample;
        form.timMeasure_Timer();
        QCoreApplication::processEvents();
        const QImage shown =
            form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, form.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

// Every image plugin Qt finds, and the libraries behind them, would otherwise be loaded to
// ask whether it reads PNG: about a millisecond at start and memory kept for good.
void tst_frmMain::picturesLoadWithoutImagePlugins()
{
    FakeMemory memory;
    frmMain form(memory);
    QVERIFY(!form.cmdAction(0)->Picture()->pixmap().isNull());
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("/imageformats/"));
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
