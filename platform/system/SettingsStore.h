#pragma once

#include <QString>

// The per-user store of text entries, addressed by application, section and key. Each
// application keeps one INI file, <directory>/<app>/<app>.ini; the default directory is the
// user's configuration directory ($XDG_CONFIG_HOME, else ~/.config).
//
// Writes are atomic: a store that cannot be written (read-only directory, full disk) leaves
// the file as it was and SaveSetting says so by returning false; nothing is thrown, and the
// failed change is dropped rather than written later. Sections and keys are case-sensitive.
// A damaged file loses its unreadable lines on the next save and keeps the entries that read.
// The file and its folder are the user's alone: the folder is created 0700, and every save
// that writes leaves the folder and the file with no rights for group and others (0700 and
// 0600 as created); the owner's own rights are left as they are. A save is not held up by the
// empty lock file a copy killed while saving can leave behind.
class SettingsStore {
public:
    explicit SettingsStore(QString directory = defaultDirectory());

    QString directory() const { return m_directory; }
    static QString defaultDirectory();

    // The stored text, or the default where the entry does not exist.
    QString GetSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultText) const;
    bool SaveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &text);

    // The store the program's forms and controls use; tests point it at a temporary directory.
    static SettingsStore &current();
    static void setCurrent(SettingsStore *store); // nullptr restores the user's own store

private:
    QString fileFor(const QString &app) const;
    QString m_directory;
};

// The program's calls, on SettingsStore::current().
QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultText);
bool SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &text);
