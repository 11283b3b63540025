#include <QTest>

#include "MemoryStatus.h"

#include <QFile>
#include <QTemporaryFile>

namespace {
QString fixturePath(const char *name)
{
    return QStringLiteral(KELVO_TEST_DATA "/meminfo/") + QLatin1String(name) +
           QLatin1String(".txt");
}

QByteArray fixture(const char *name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

constexpr qint64 KiB = 1024;
} // namespace

class tst_MemoryStatus : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("available");

        QTest::newRow("figures read by key")
            << fixture("normal") << 16318412 * KiB << 9876544 * KiB;
        QTest::newRow("without MemAvailable free, buffers and cached count")
            << fixture("no-memavailable") << 2061328 * KiB << (127516 + 98236 + 912044) * KiB;
        QTest::newRow("available above total falls back to free")
            << fixture("available-over-total") << 1048576 * KiB << 524288 * KiB;
        QTest::newRow("counts above 4 GiB keep 64 bits")
            << fixture("huge") << Q_INT64_C(6442450944) * KiB << Q_INT64_C(5368709120) * KiB;
        QTest::newRow("line cut short is not trusted") << fixture("truncated") << 0LL << 0LL;
        QTest::newRow("empty text") << fixture("empty") << 0LL << 0LL;
        QTest::newRow("garbage") << fixture("garbage") << 0LL << 0LL;
        QTest::newRow("key order does not matter")
            << QByteArray("Cached: 3 kB\nMemAvailable: 5 kB\nSwapCached: 9 kB\nMemTotal: 8 kB\n")
            << 8 * KiB << 5 * KiB;
        QTest::newRow("no way to get available")
            << QByteArray("MemTotal: 8 kB\nMemFree: 2 kB\nCached: 1 kB\n") << 0LL << 0LL;
        QTest::newRow("non-numeric figure")
            << QByteArray("MemTotal: 8 kB\nMemAvailable: lots kB\n") << 0LL << 0LL;
        QTest::newRow("negative figure")
            << QByteArray("MemTotal: 8 kB\nMemAvailable: -5 kB\n") << 0LL << 0LL;
        QTest::newRow("figure in another unit")
            << QByteArray("MemTotal: 8 MB\nMemAvailable: 5 MB\n") << 0LL << 0LL;
        QTest::newRow("bytes overflow 64 bits")
            << QByteArray("MemTotal: 9007199254740992 kB\nMemAvailable: 5 kB\n") << 0LL << 0LL;
        QTest::newRow("figure overflows 64 bits")
            << QByteArray("MemTotal: 99999999999999999999 kB\nMemAvailable: 5 kB\n") << 0LL << 0LL;
        QTest::newRow("zero total")
            << QByteArray("MemTotal: 0 kB\nMemAvailable: 0 kB\n") << 0LL << 0LL;
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        const MemorySample sample = MemInfo::parse(std::string_view(text.data(), text.size()));
        QTEST(sample.total, "total");
        QTEST(sample.available, "available");
    }

    void readFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("available");

        QTest::newRow("fixture") << fixturePath("normal") << 16318412 * KiB << 9876544 * KiB;
        QTest::newRow("empty file") << fixturePath("empty") << 0LL << 0LL;
        QTest::newRow("missing file") << QStringLiteral("/nonexistent") << 0LL << 0LL;
    }

    void readFile()
    {
        QFETCH(QString, path);
        ProcMemInfo source(QFile::encodeName(path).constData());
        // The second read proves each sample starts again from the top of the file.
        for (int read = 0; read < 2; ++read) {
            const MemorySample sample = source.read();
            QTEST(sample.total, "total");
            QTEST(sample.available, "available");
        }
    }

    void rereadSeesChangedFigures()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("MemTotal: 8 kB\nMemAvailable: 5 kB\n");
        QVERIFY(file.flush());
        ProcMemInfo source(QFile::encodeName(file.fileName()).constData());
        QCOMPARE(source.read().available, 5 * KiB);

        QVERIFY(file.seek(0));
        file.write("MemTotal: 8 kB\nMemAvailable: 7 kB\n");
        QVERIFY(file.flush());
        QCOMPARE(source.read().available, 7 * KiB);
    }

    void readsThisMachine()
    {
        ProcMemInfo source;
        const MemorySample sample = source.read();
        QVERIFY(sample.total > 0);
        QVERIFY(sample.available > 0 && sample.available <= sample.total);
    }
};

QTEST_GUILESS_MAIN(tst_MemoryStatus)
#include "tst_memorystatus.moc"
