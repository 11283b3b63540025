#include "SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <optional>
#include <sys/stat.h>

namespace {
std::atomic<SettingsStore *> currentStore = nullptr;

std::optional<ino_t> fileIdentity(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_ino;
}

// Creates the folder, and any missing folder above it, for its owner alone.
void makePrivateFolder(const QString &path)
{
    const QFileInfo folder(path);
    if (folder.exists())
        return;
    makePrivateFolder(folder.path());
    QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// QSettings guards each write with "<file>.lock", which a copy fills with its process id right
// after creating it. A copy killed in between leaves the lock empty, and QSettings would wait
// half a minute for so old a lock, the program standing still. A lock still empty a moment after
// it was made has no owner left.
void clearAbandonedLock(const QString &file)
{
    constexpr qint64 OwnerFillsWithinMs = 100;
    const QString lock = file + QLatin1String(".lock");
    const auto empty = [&lock] {
        const QFileInfo info(lock);
        return info.exists() && info.size() == 0;
    };
    if (!empty())
        return;
    const qint64 age = QFileInfo(lock).lastModified().msecsTo(QDateTime::currentDateTime());
    if (age < OwnerFillsWithinMs) {
        QThread::msleep(std::clamp<qint64>(OwnerFillsWithinMs - age, 0, OwnerFillsWithinMs));
        if (!empty())
            return;
    }
    QFile::remove(lock);
}

// Takes from group and others whatever they may do with the path. The owner's own bits stay:
// a folder the user made read-only must not become writable again.
void keepPrivate(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::stat(name.constData(), &status) == 0 && (status.st_mode & 077) != 0)
        ::chmod(name.constData(), status.st_mode & 07700);
}
} // namespace

SettingsStore::SettingsStore(QString directory)
    : m_directory(std::move(directory))
{
}

QString SettingsStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString SettingsStore::GetSetting(const QString &app, const QString &section, const QString &key,
                                  const QString &defaultText) const
{
    const QSettings settings(fileFor(app), QSettings::IniFormat);
    const QVariant value = settings.value(section + u'/' + key);
    if (!value.isValid())
        return defaultText;
    // An entry edited by hand as "a, b" reads as a list; give back the text as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", ");
    return value.toString();
}

bool SettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key,
                                const QString &text)
{
    const QString file = fileFor(app);
    const QString name = section + u'/' + key;
    // QSettings would create the folder open to all; the entries are the user's own.
    makePrivateFolder(QFileInfo(file).path());
    clearAbandonedLock(file);
    QSettings settings(file, QSettings::IniFormat);
    const QVariant previous = settings.value(name);
    const std::optional<ino_t> before = fileIdentity(file);
    settings.setValue(name, text);
    settings.sync();
    bool written = settings.status() == QSettings::NoError;
    // Lines QSettings could not read leave a format error standing that hides whether the
    // write worked; a write replaces the file, so a written file is a new one.
    if (settings.status() == QSettings::FormatError)
        written = fileIdentity(file) != before;
    if (!written) {
        // QSettings keeps an unwritten change for the file and writes it on the next access,
        // even a read; take it back so that a failed save stays failed.
        if (previous.isValid())
            settings.setValue(name, previous);
        else
            settings.remove(name);
        return false;
    }
    // A new file is made as the umask allows, and a file or folder opened up by hand or by
    // an older version stays open; every save closes them again.
    keepPrivate(QFileInfo(file).path());
    keepPrivate(file);
    return true;
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
