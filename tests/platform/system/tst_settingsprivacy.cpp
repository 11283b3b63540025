#include <QTest>

#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {
// The permission bits in octal, as chmod takes them.
QString modeOf(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("missing");
    return QString::number(status.st_mode & 07777, 8);
}

void setMode(const QString &path, mode_t mode)
{
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
}

// Creation as open as a umask can leave it, for the life of the object.
class OpenUmask {
public:
    OpenUmask()
        : m_saved(::umask(0))
    {
    }
    ~OpenUmask() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

enum Before { NothingYet, ConfigHomeMissing, OpenedByHand };
} // namespace

Q_DECLARE_METATYPE(Before)

// The settings folder and file are the user's alone, whatever the umask and whatever mode an
// earlier program or a person left them in.
class tst_SettingsPrivacy : public QObject {
    Q_OBJECT

private slots:
    void privateAfterEverySave_data()
    {
        QTest::addColumn<Before>("before");
        QTest::newRow("first save makes the folder and file") << NothingYet;
        QTest::newRow("a missing configuration folder is made private too") << ConfigHomeMissing;
        QTest::newRow("folder and file opened to all by hand") << OpenedByHand;
    }

    void privateAfterEverySave()
    {
        QFETCH(Before, before);
        const OpenUmask umask;
        QTemporaryDir root;
        const QString home =
            before == ConfigHomeMissing ? root.filePath("missing/config") : root.path();
        const QString folder = home + "/Kelvo";
        const QString file = folder + "/Kelvo.ini";
        SettingsStore store(home);
        if (before == OpenedByHand) {
            QVERIFY(store.SaveSetting("Kelvo", "frmMain", "OnTop", "True"));
            setMode(folder, 0777);
            setMode(file, 0666);
        }

        // Twice: the second save replaces a file that exists.
        for (const char *value : {"120", "240"}) {
            QVERIFY(store.SaveSetting("Kelvo", "frmMain", "Left", value));
            QCOMPARE(modeOf(folder), u"700");
            QCOMPARE(modeOf(file), u"600");
        }
        if (before == ConfigHomeMissing)
            QCOMPARE(modeOf(home), u"700");
        // Nothing but the settings file is left behind.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Kelvo.ini"});
    }

    // A read-only folder is the owner's choice: a save fails and changes no mode.
    void failedSaveChangesNoMode()
    {
        if (geteuid() == 0)
            QSKIP("root writes through a read-only folder");
        QTemporaryDir root;
        SettingsStore store(root.path());
        QVERIFY(store.SaveSetting("Kelvo", "frmMain", "Left", "120"));
        const QString folder = root.filePath("Kelvo");
        setMode(folder, 0500);
        QVERIFY(!store.SaveSetting("Kelvo", "frmMain", "Left", "240"));
        QCOMPARE(modeOf(folder), u"500");
        setMode(folder, 0700);
    }
};

QTEST_GUILESS_MAIN(tst_SettingsPrivacy)
#include "tst_settingsprivacy.moc"
