#include <QTest>

#include "FakeDesktop.h"
#include "MemoryStatus.h"
#include "TempSettings.h"
#include "frmMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
const QByteArray Good("MemTotal: 8000 kB\nMemFree: 1000 kB\nMemAvailable: 2000 kB\n");
const QByteArray Better("MemTotal: 8000 kB\nMemFree: 1000 kB\nMemAvailable: 4000 kB\n");
const QStringList GoodLines{"Total=8,192kb", "Aval=2,048kb", "Used=75.0%"};
const QStringList BetterLines{"Total=8,192kb", "Aval=4,096kb", "Used=50.0%"};
const QStringList EmptyLines{"Total=kb", "Aval=kb"};

bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A new file at the path, as an atomic replacement would make it.
bool replace(const QString &path, const QByteArray &bytes)
{
    const QString next = path + ".next";
    return writeInPlace(next, bytes) &&
           ::rename(QFile::encodeName(next), QFile::encodeName(path)) == 0;
}

enum Breakage { Missing, Emptied, Garbage, Folder, GarbageThenRemoved };
enum Repair { InPlace, Replaced };
} // namespace

Q_DECLARE_METATYPE(Breakage)
Q_DECLARE_METATYPE(Repair)

// The monitor on a memory file that breaks while it runs and is mended again: every tick of
// the broken file shows the two empty figures, and the first tick after the mend shows the
// new figures, however the file went and came back.
class tst_MemoryFaults : public QObject {
    Q_OBJECT

private slots:
    void brokenSourceShowsEmptyLinesAndRecovers_data()
    {
        QTest::addColumn<Breakage>("breakage");
        QTest::addColumn<Repair>("repair");

        QTest::newRow("missing from the start, then written") << Missing << InPlace;
        QTest::newRow("emptied, then written in place") << Emptied << InPlace;
        QTest::newRow("garbage, then written in place") << Garbage << InPlace;
        QTest::newRow("garbage, then replaced by a new file") << Garbage << Replaced;
        QTest::newRow("garbage, removed, then a new file") << GarbageThenRemoved << InPlace;
        QTest::newRow("a folder in its place, then a file") << Folder << Replaced;
    }

    void brokenSourceShowsEmptyLinesAndRecovers()
    {
        QFETCH(Breakage, breakage);
        QFETCH(Repair, repair);
        const TempSettings settings;
        const FakeDesktop desktop;
        QTemporaryDir directory;
        const QString path = directory.filePath("meminfo");
        // A source that breaks while the monitor runs reads well first.
        const bool breaksLater = breakage != Missing && breakage != Folder;
        if (breaksLater)
            QVERIFY(writeInPlace(path, Good));
        if (breakage == Folder)
            QVERIFY(QDir().mkdir(path));
        ProcMemInfo memory(QFile::encodeName(path).constData());
        frmMain window(memory);
        window.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        const auto lines = [&window] {
            window.timMeasure_Timer();
            QStringList drawn;
            for (int i = 0; i < window.lineCount(); ++i)
                drawn << window.line(i);
            return drawn;
        };

        if (breaksLater) {
            QCOMPARE(lines(), GoodLines);
            QVERIFY(writeInPlace(path, breakage == Emptied ? QByteArray()
                                                           : "\x01\xff garbage\nMemTotal: lots\n"));
        }
        QCOMPARE(lines(), EmptyLines);
        // Removed once it reads as nothing, it must not keep the monitor on the old file.
        if (breakage == GarbageThenRemoved)
            QVERIFY(QFile::remove(path));
        if (breakage == Folder)
            QVERIFY(QDir().rmdir(path));
        QCOMPARE(lines(), EmptyLines);

        QVERIFY(repair == InPlace ? writeInPlace(path, Better) : replace(path, Better));
        QCOMPARE(lines(), BetterLines);
        QCOMPARE(lines(), BetterLines);
    }
};

QTEST_MAIN(tst_MemoryFaults)
#include "tst_memoryfaults.moc"
