#include <QTest>

#include "SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// What stands at the settings file's path instead of a file of the user's own.
enum Odd { Fifo, Folder, LinkToFolder, DanglingLink, LinkToDevNull, TooLarge, OthersFile };

ino_t inodeOf(const QString &path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// The file type and mode of a path, links followed; 0 for none.
mode_t modeOf(const QString &path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

class tst_SettingsStore : public QObject {
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

    void oddFileIsLeftAlone_data()
    {
        QTest::addColumn<Odd>("odd");
        QTest::newRow("FIFO") << Fifo;
        QTest::newRow("folder") << Folder;
        QTest::newRow("link to a folder") << LinkToFolder;
        QTest::newRow("link to nothing") << DanglingLink;
        QTest::newRow("file over the size limit") << TooLarge;
        // Only root could replace /dev/null or write another user's file.
        if (geteuid() == 0) {
            QTest::newRow("link to /dev/null, as root") << LinkToDevNull;
            QTest::newRow("another user's file, as root") << OthersFile;
        }
    }

    // Defaults, nothing saved, nothing changed, and no wait on a FIFO without a writer.
    void oddFileIsLeftAlone()
    {
        QFETCH(Odd, odd);
        QTemporaryDir directory;
        const QString path = directory.filePath("Kelvo/Kelvo.ini");
        const QByteArray name = QFile::encodeName(path);
        const QByteArray entry("[frmMain]\nOnTop=False\n");
        QVERIFY(QDir().mkpath(directory.filePath("Kelvo")));
        switch (odd) {
        case Fifo:
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            break;
        case Folder:
            QVERIFY(QDir().mkdir(path));
            break;
        case LinkToFolder:
            QCOMPARE(::symlink("..", name.constData()), 0);
            break;
        case DanglingLink:
            QCOMPARE(::symlink("missing.ini", name.constData()), 0);
            break;
        case LinkToDevNull:
            QCOMPARE(::symlink("/dev/null", name.constData()), 0);
            break;
        case TooLarge:
            QVERIFY(writeFile(path, entry + QByteArray(SettingsStore::MaxFileSize, ';')));
            break;
        case OthersFile:
            QVERIFY(writeFile(path, entry));
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
            break;
        }
        const mode_t before = modeOf(path);
        const QByteArray contents = odd == TooLarge || odd == OthersFile ? ::contents(path) : "";

        SettingsStore store(directory.path());
        QCOMPARE(store.GetSetting("Kelvo", "frmMain", "OnTop", Default), Default);
        QVERIFY(!store.SaveSetting("Kelvo", "frmMain", "OnTop", "True"));
        QCOMPARE(modeOf(path), before);
        QCOMPARE(modeOf("/dev/null") & S_IFMT, mode_t(S_IFCHR));
        if (!contents.isEmpty())
            QCOMPARE(::contents(path), contents);
    }

    // A link to a file of the user's own is followed: the file is replaced, the link stays.
    void linkToOwnFileIsFollowed()
    {
        QTemporaryDir directory;
        const QString path = directory.filePath("Kelvo/Kelvo.ini");
        QVERIFY(writeFile(directory.filePath("dotfiles/kelvo.ini"), "; mine\n"));
        QVERIFY(QDir().mkpath(directory.filePath("Kelvo")));
        QVERIFY(QFile::link("../dotfiles/kelvo.ini", path));
        SettingsStore store(directory.path());
        QVERIFY(store.SaveSetting("Kelvo", "frmMain", "OnTop", "False"));
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(contents(directory.filePath("dotfiles/kelvo.ini")),
                 "; mine\n\n[frmMain]\nOnTop=False\n");
    }

    // A form's entries go in with one replace of the file, when the batch ends.
    void batchWritesOnce()
    {
        QTemporaryDir directory;
        const QString path = directory.filePath("Kelvo/Kelvo.ini");
        SettingsStore store(directory.path());
        QVERIFY(store.SaveSetting("Kelvo", "frmMain", "OnTop", "True"));
        const QByteArray before = contents(path);
        const ino_t inode = inodeOf(path);
        {
            const SettingsStore::Batch batch(store);
            QVERIFY(store.SaveSetting("Kelvo", "frmMain", "OnTop", "False"));
            QVERIFY(store.SaveSetting("Kelvo", "frmMain", "Left", "120"));
            QCOMPARE(store.GetSetting("Kelvo", "frmMain", "OnTop", Default), u"False");
            QCOMPARE(contents(path), before);
        }
        QVERIFY(inodeOf(path) != inode); // replaced, not rewritten in place
        QCOMPARE(contents(path), "[frmMain]\nOnTop=False\nLeft=120\n");
    }

    // Another program holding the folder's lock makes a save give up within a few seconds.
    void heldLockSkipsSave()
    {
        QTemporaryDir directory;
        SettingsStore store(directory.path());
        QVERIFY(store.SaveSetting("Kelvo", "frmMain", "Left", "120"));
        const int fd = ::open(QFile::encodeName(directory.filePath("Kelvo")).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!store.SaveSetting("Kelvo", "frmMain", "Left", "240"));
        QVERIFY(waited.elapsed() < 10000);
        ::close(fd);
        QCOMPARE(store.GetSetting("Kelvo", "frmMain", "Left", Default), u"120");
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
        QTest::newRow("XDG_CONFIG_HOME relative")
            << QByteArray("cfg") << QDir::homePath() + "/.config";
        QTest::newRow("XDG_CONFIG_HOME with an unexpanded tilde")
            << QByteArray("~/.config") << QDir::homePath() + "/.config";
        QTest::newRow("XDG_CONFIG_HOME not a decodable name")
            << QByteArray("/tmp/\xff\xfe") << QDir::homePath() + "/.config";
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

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
