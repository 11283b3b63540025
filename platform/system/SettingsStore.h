#pragma once

#include <QList>
#include <QSet>
#include <QString>

// The per-user store of text entries, addressed by application, section and key. Each
// application keeps one INI file, <directory>/<app>/<app>.ini; the default directory is the
// user's configuration directory ($XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config). Entries are read and written as plain text (IniDocument); every line of the
// file that a save does not change stays as it was. Sections and keys are case-sensitive.
//
// Only a regular file of the user's own, at most MaxFileSize bytes, is read or replaced. Any
// other (a FIFO, a device, a folder, a link to one, another user's file, a larger file) reads
// as no entries, is never written, and is named once in a line on standard error; reading never
// waits on it.
//
// Writes are atomic: a save replaces the whole file at once (QSaveFile), so that the file is
// all old or all new. A store that cannot be written
// (read-only folder, full disk) leaves the file as it was and the save says so by returning false;
// the failed change is dropped. Two copies of the program take turns through a lock on the folder;
// a save that cannot have its turn within a couple of seconds is skipped and says so on standard
// error.
//
// The file and its folder are the user's alone: the folder is created 0700, and every save
// that writes takes from group and others any rights they have on the folder and the file;
// the owner's own rights are left as they are. A folder that is not the user's, or is
// shared with the sticky bit (/tmp), keeps its mode.
class SettingsStore {
public:
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit SettingsStore(QString directory = defaultDirectory());

    QString directory() const { return m_directory; }
    static QString defaultDirectory();
    // The configuration folder for these values of XDG_CONFIG_HOME and the home folder: the
    // variable where it is an absolute path that decodes as a file name, else home/.config.
    static QString configFolder(const QByteArray &xdgConfigHome, const QString &home);

    // The stored text, or the default where the entry does not exist. Inside a batch an entry
    // saved in it reads as saved.
    QString GetSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultText) const;
    // Inside a batch it only notes the entry and returns true; the batch's end writes it.
    bool SaveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &text);

    // Holds back the store's saves while it exists and writes them, when it ends, in one
    // replace of each file: a form's unload saves all its entries at once. Batches may nest;
    // the outermost writes.
    class Batch {
    public:
        explicit Batch(SettingsStore &store = current());
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        // Writes now, rather than at the end; false when a file could not be written.
        bool commit();

    private:
        SettingsStore &m_store;
    };

    // The store the program's forms and controls use; tests point it at a temporary directory.
    static SettingsStore &current();
    static void setCurrent(SettingsStore *store); // nullptr restores the user's own store

private:
    struct Entry {
        QString app, section, key, text;
    };
    QString fileFor(const QString &app) const;
    bool write(const QString &app, const QList<Entry> &entries);
    bool commitPending();
    void report(const QString &path, const QString &problem) const;

    QString m_directory;
    int m_batchDepth = 0;
    QList<Entry> m_pending;
    mutable QSet<QString> m_reported;
};

// The program's calls, on SettingsStore::current().
QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &defaultText);
bool SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &text);
