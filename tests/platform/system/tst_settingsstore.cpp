#include <QTest>

#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {
const QString Default = QStringLiteral("(default)");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Keeps the NUL bytes a literal holds.
template <qsizetype Size> QByteArray bytes(const char (&text)[Size])
{
    return QByteArray(text, Size - 1);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Caps the size of files this process writes, as a full disk would; root is not exempt.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};
} // namespace

enum Blocker { ReadOnlyFolder, FolderIsFile, DiskFull };

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void lookup_data()
    {
        QTest::addColumn<QStringList>("entry"); // application, section, key
        QTest::addColumn<QString>("expected");

        QTest::newRow("stored entry") << QStringList{"Kelvo", "Window", "Left"} << "120";
        QTest::newRow("other application") << QStringList{"Other", "Window", "Left"} << Default;
        QTest::newRow("other section") << QStringList{"Kelvo", "Options", "Left"} << Default;
        QTest::newRow("key in other case") << QStringList{"Kelvo", "Window", "left"} << Default;
        QTest::newRow("section in other case") << QStringList{"Kelvo", "window", "Left"} << Default;
        QTest::newRow("application in other case")
            << QStringList{"kelvo", "Window", "Left"} << Default;
    }

    void lookup()
    {
        QFETCH(QStringList, entry);
        QTemporaryDir directory;
        SettingsStore store(directory.path());
        QVERIFY(store.SaveSetting("Kelvo", "Window", "Left", "120"));
        QTEST(store.GetSetting(entry[0], entry[1], entry[2], Default), "expected");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");

        QTest::newRow("empty text is not the default") << "";
        QTest::newRow("commas") << "a, b,c";
        QTest::newRow("ini punctuation") << "=;#[x] \"quoted\" \\";
        QTest::newRow("leading at sign") << "@Variant(junk)";
        QTest::newRow("line breaks") << "one\ntwo\r\n";
        QTest::newRow("spaces around") << "  padded  ";
        QTest::newRow("non-ASCII") << QStringLiteral("Grüße \u2713 \u4e2d");
    }

    // The text is read from a copy of the file, out of reach of QSettings' in-process cache.
    void roundTrip()
    {
        QFETCH(QString, text);
        QTemporaryDir written;
        QTemporaryDir copy;
        QVERIFY(SettingsStore(written.path()).SaveSetting("Kelvo", "Options", "Value", text));
        QVERIFY(writeFile(copy.filePath("Kelvo/Kelvo.ini"),
                          contents(written.filePath("Kelvo/Kelvo.ini"))));
        QCOMPARE(SettingsStore(copy.path()).GetSetting("Kelvo", "Options", "Value", Default), text);
    }

    void handEditedFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");

        QTest::newRow("valid entry among garbage")
            << bytes("\x01\xff\xfe noise\n=no key\n[Window]\nLeft=120\nno equals sign\n[[[\n"
                     "[Window\nTop=\x80\x81\n")
            << "120";
        QTest::newRow("unquoted commas") << QByteArray("[Window]\nLeft=1, 2\n") << "1, 2";
        QTest::newRow("binary noise") << bytes("\0\x7f\xc3[\x28]=\n\xff\xff=\n") << Default;
        QTest::newRow("empty file") << QByteArray() << Default;
    }

    // Reading survives the file, and saving keeps the entries that did read.
    void handEditedFile()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir directory;
        SettingsStore store(directory.path());
        QVERIFY(writeFile(directory.filePath("Kelvo/Kelvo.ini"), file));
        QTEST(store.GetSetting("Kelvo", "Window", "Left", Default), "expected");

        QVERIFY(store.SaveSetting("Kelvo", "Window", "Width", "640"));
        QTEST(store.GetSetting("Kelvo", "Window", "Left", Default), "expected");
        QCOMPARE(store.GetSetting("Kelvo", "Window", "Width", Default), u"640");
    }

    void unwritableStoreKeepsFile_data()
    {
        QTest::addColumn<Blocker>("blocker");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("afterwards");

        const QByteArray file("[Window]\nLeft=120\n");
        // Root writes through permissions, so only other users can be stopped by a mode.
        if (geteuid() != 0)
            QTest::newRow("read-only directory") << ReadOnlyFolder << file << "120";
        QTest::newRow("application folder is a file") << FolderIsFile << file << Default;
        QTest::newRow("disk full") << DiskFull << file << "120";
        QTest::newRow("disk full, damaged file") << DiskFull << file + "[[[\n"
                                                 << "120";
    }

    void unwritableStoreKeepsFile()
    {
        QFETCH(Blocker, blocker);
        QFETCH(QByteArray, file);
        QTemporaryDir directory;
        const QString folder = directory.filePath("Kelvo");
        const QString path = blocker == FolderIsFile ? folder : folder + "/Kelvo.ini";
        QVERIFY(writeFile(path, file));
        SettingsStore store(directory.path());

        bool saved = true;
        if (blocker == DiskFull) {
            const FileSizeLimit limit(file.size());
            saved = store.SaveSetting("Kelvo", "Window", "Left", QString(100, u'9'));
        } else {
            const QFile::Permissions permissions = QFile::permissions(folder);
            if (blocker == ReadOnlyFolder)
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            saved = store.SaveSetting("Kelvo", "Window", "Left", "999");
            QFile::setPermissions(folder, permissions);
        }
        QVERIFY(!saved);
        QCOMPARE(contents(path), file);
        // The failed change must not come back once the store can write again.
        QTEST(store.GetSetting("Kelvo", "Window", "Left", Default), "afterwards");
    }

    void currentStore()
    {
        QTemporaryDir directory;
        SettingsStore store(directory.path());
        SettingsStore::setCurrent(&store);
        QVERIFY(SaveSetting("Kelvo", "Window", "Left", "120"));
        QCOMPARE(GetSetting("Kelvo", "Window", "Left", Default), u"120");
        QVERIFY(QFile::exists(directory.filePath("Kelvo/Kelvo.ini")));

        SettingsStore::setCurrent(nullptr);
        QCOMPARE(SettingsStore::current().directory(), SettingsStore::defaultDirectory());
    }

    void defaultDirectory_data()
    {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expected");

        QTest::newRow("XDG_CONFIG_HOME set")
            << QByteArray("/tmp/kelvo-config") << "/tmp/kelvo-config";
        QTest::newRow("XDG_CONFIG_HOME unset") << QByteArray() << QDir::homePath() + "/.config";
        QTest::newRow("XDG_CONFIG_HOME empty") << QByteArray("") << QDir::homePath() + "/.config";
    }

    // Each row sets the variable its own way, so none is put back.
    void defaultDirectory()
    {
        QFETCH(QByteArray, configHome);
        if (configHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
        QTEST(SettingsStore::defaultDirectory(), "expected");
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
