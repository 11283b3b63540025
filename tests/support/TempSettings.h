#pragma once

#include "SettingsStore.h"

#include <QTemporaryDir>

// A settings store in a fresh temporary directory, made the program's store for the life of
// the object.
class TempSettings {
public:
    TempSettings()
        : m_store(m_dir.path())
    {
        SettingsStore::setCurrent(&m_store);
    }
    ~TempSettings() { SettingsStore::setCurrent(nullptr); }
    TempSettings(const TempSettings &) = delete;
    TempSettings &operator=(const TempSettings &) = delete;

    SettingsStore &store() { return m_store; }
    QString directory() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    SettingsStore m_store;
};
