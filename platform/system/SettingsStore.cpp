#include "SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
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
    }
    return written;
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
