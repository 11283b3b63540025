#include "SettingsStore.h"

#include "IniDocument.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<SettingsStore *> currentStore = nullptr;

QString cannotRead()
{
    return QLatin1String("cannot be read: ") + QString::fromLocal8Bit(std::strerror(errno));
}

// What a read of the settings file found. A refused file is neither read nor replaced.
struct FileContents {
    enum class State { Missing, Read, Refused };
    State state = State::Missing;
    QByteArray bytes;
    QString problem; // why it was refused
    QString target;  // the file itself, links followed
};

FileContents refused(QString problem)
{
    return {FileContents::State::Refused, {}, std::move(problem), {}};
}

// Looks before it opens, and opens without waiting, so that neither a FIFO nor a device at the
// path can hold the program up; what it opened it checks again.
FileContents readSettingsFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT ? FileContents{} : refused(cannotRead());
    QString target = path;
    if (S_ISLNK(status.st_mode)) {
        if (::stat(name.constData(), &status) != 0)
            return refused(QStringLiteral("is a link to nothing"));
        target = QFileInfo(path).canonicalFilePath();
    }
    if (!S_ISREG(status.st_mode))
        return refused(QStringLiteral("is not a regular file"));
    if (status.st_uid != ::geteuid())
        return refused(QStringLiteral("belongs to another user"));
    const QString tooLarge =
        QStringLiteral("is larger than %1 KiB").arg(SettingsStore::MaxFileSize / 1024);
    if (status.st_size > SettingsStore::MaxFileSize)
        return refused(tooLarge);

    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refused(cannotRead());
    FileContents contents{FileContents::State::Read, {}, {}, target};
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || opened.st_dev != status.st_dev ||
        opened.st_ino != status.st_ino) {
        contents = refused(QStringLiteral("changed while it was opened"));
    } else {
        char buffer[16384];
        ssize_t got;
        while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                contents = refused(cannotRead());
                break;
            }
            contents.bytes.append(buffer, got);
            if (contents.bytes.size() > SettingsStore::MaxFileSize) {
                contents = refused(tooLarge);
                break;
            }
        }
    }
    ::close(fd);
    return contents;
}

// Creates the folder, and any missing folder above it, for its owner alone.
void makePrivateFolder(const QString &path)
{
    QStringList missing;
    for (QString at = QDir::cleanPath(path); !QFileInfo::exists(at);) {
        missing.prepend(at);
        const QString up = QFileInfo(at).path();
        if (up == at)
            break;
        at = up;
    }
    for (const QString &folder : std::as_const(missing))
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
}

// Takes from group and others whatever they may do with the folder or file at the path. The
// owner's own bits stay: a folder the user made read-only must not become writable again. A
// folder or file of another user, and a shared folder with the sticky bit, are not ours to
// change.
void keepPrivate(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status;
    if (::fstat(fd, &status) == 0 && (S_ISDIR(status.st_mode) || S_ISREG(status.st_mode)) &&
        status.st_uid == ::geteuid() && (status.st_mode & S_ISVTX) == 0 &&
        (status.st_mode & 077) != 0)
        ::fchmod(fd, status.st_mode & 07700);
    ::close(fd);
}

// Two copies saving at once take turns by a lock on the folder. The system drops the lock of a
// copy that dies, so none is ever left behind; a copy that holds it too long is not waited for.
class FolderLock {
public:
    explicit FolderLock(const QString &folder)
        : m_fd(::open(QFile::encodeName(folder).constData(),
                      O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC))
    {
        constexpr int WaitMs = 2000;
        const QDeadlineTimer deadline(WaitMs);
        // A folder that cannot be opened fails the save soon after anyway, and one whose file
        // system has no locks is saved to without.
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return;
            if (deadline.hasExpired()) {
                m_busy = true;
                return;
            }
            QThread::msleep(20);
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool busy() const { return m_busy; }

private:
    int m_fd;
    bool m_busy = false;
};

QString homeFolder()
{
    const QString home = QDir::homePath();
    if (QDir::isAbsolutePath(home) && home != QDir::rootPath())
        return home;
    if (const passwd *user = ::getpwuid(::geteuid()); user && user->pw_dir)
        return QFile::decodeName(user->pw_dir);
    return home;
}
} // namespace

SettingsStore::SettingsStore(QString directory)
    : m_directory(std::move(directory))
{
}

QString SettingsStore::defaultDirectory()
{
    return configFolder(qgetenv("XDG_CONFIG_HOME"), homeFolder());
}

QString SettingsStore::configFolder(const QByteArray &xdgConfigHome, const QString &home)
{
    // A relative path, "~/.config" unexpanded among them, would depend on the current folder.
    const QString folder = QFile::decodeName(xdgConfigHome);
    if (!folder.isEmpty() && QFile::encodeName(folder) == xdgConfigHome &&
        QDir::isAbsolutePath(folder))
        return QDir::cleanPath(folder);
    return home + QLatin1String("/.config");
}

QString SettingsStore::GetSetting(const QString &app, const QString &section, const QString &key,
                                  const QString &defaultText) const
{
    for (auto entry = m_pending.crbegin(); entry != m_pending.crend(); ++entry) {
        if (entry->app == app && entry->section == section && entry->key == key)
            return entry->text;
    }
    const QString file = fileFor(app);
    const FileContents contents = readSettingsFile(file);
    if (contents.state == FileContents::State::Refused)
        report(file, contents.problem);
    if (contents.state != FileContents::State::Read)
        return defaultText;
    return IniDocument(contents.bytes).value(section, key).value_or(defaultText);
}

bool SettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key,
                                const QString &text)
{
    if (m_batchDepth > 0) {
        m_pending.append({app, section, key, text});
        return true;
    }
    return write(app, {{app, section, key, text}});
}

bool SettingsStore::write(const QString &app, const QList<Entry> &entries)
{
    const QString file = fileFor(app);
    if (!QDir::isAbsolutePath(m_directory)) {
        report(file, QStringLiteral("is not in an absolute folder"));
        return false;
    }
    const QString folder = QFileInfo(file).path();
    makePrivateFolder(folder);
    const FolderLock lock(folder);
    if (lock.busy()) {
        std::fprintf(stderr, "kelvo: another program holds the settings folder %s; not saved\n",
                     qPrintable(folder));
        return false;
    }
    const FileContents before = readSettingsFile(file);
    if (before.state == FileContents::State::Refused) {
        report(file, before.problem);
        return false;
    }
    IniDocument document(before.bytes);
    for (const Entry &entry : entries)
        document.setValue(entry.section, entry.key, entry.text);
    const QByteArray bytes = document.bytes();
    const bool exists = before.state == FileContents::State::Read;
    QSaveFile out(exists ? before.target : file);
    out.setDirectWriteFallback(false);
    // Unbuffered: a buffered write that fails on a full disk is not noticed by commit(), which
    // would then put a cut file in place. A save not committed leaves the file alone.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        out.write(bytes) != bytes.size() || !out.commit())
        return false;
    // A new file is made as the umask allows, and a file or folder opened up by hand or by an
    // older version stays open; every save closes them again.
    keepPrivate(folder);
    keepPrivate(exists ? before.target : file);
    return true;
}

bool SettingsStore::commitPending()
{
    bool written = true;
    while (!m_pending.isEmpty()) {
        const QString app = m_pending.constFirst().app;
        QList<Entry> entries;
        for (auto entry = m_pending.begin(); entry != m_pending.end();) {
            if (entry->app == app) {
                entries.append(*entry);
                entry = m_pending.erase(entry);
            } else {
                ++entry;
            }
        }
        written = write(app, entries) && written;
    }
    return written;
}

void SettingsStore::report(const QString &path, const QString &problem) const
{
    const QString said = path + u'\n' + problem;
    if (m_reported.contains(said))
        return;
    m_reported.insert(said);
    std::fprintf(stderr, "kelvo: the settings file %s %s; its entries are not read or saved\n",
                 qPrintable(path), qPrintable(problem));
}

SettingsStore::Batch::Batch(SettingsStore &store)
    : m_store(store)
{
    ++m_store.m_batchDepth;
}

SettingsStore::Batch::~Batch()
{
    if (--m_store.m_batchDepth == 0)
        m_store.commitPending();
}

bool SettingsStore::Batch::commit()
{
    return m_store.commitPending();
}

SettingsStore &SettingsStore::current()
{
    if (SettingsStore *store = currentStore.load())
        return *store;
    static SettingsStore userStore;
    return userStore;
}

void SettingsStore::setCurrent(SettingsStore *store)
{
    currentStore.store(store);
}

QString SettingsStore::fileFor(const QString &app) const
{
    return m_directory + u'/' + app + u'/' + app + QLatin1String(".ini");
}

QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultText)
{
    return SettingsStore::current().GetSetting(app, section, key, defaultText);
}

bool SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &text)
{
    return SettingsStore::current().SaveSetting(app, section, key, text);
}
