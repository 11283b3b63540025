#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "PictureObject.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The saved properties of one control instance. Names are compared without letter case and
// kept in lower case. ReadProperty gives the saved value, or the default where none is saved,
// and throws HostError (TypeMismatch, Overflow) for a value that does not convert to the
// default's kind. WriteProperty leaves out a value equal to its default, so reading it back
// gives the default.
class PropertyBag {
public:
    PropertyBag() = default;
    explicit PropertyBag(const QJsonObject &saved);

    QJsonObject toJson() const { return m_values; }
    bool isEmpty() const { return m_values.isEmpty(); }
    bool contains(const QString &name) const;
    QStringList keys() const { return m_values.keys(); }

    bool ReadProperty(const QString &name, bool defaultValue) const;
    qint16 ReadProperty(const QString &name, qint16 defaultValue) const;
    qint32 ReadProperty(const QString &name, qint32 defaultValue) const;
    float ReadProperty(const QString &name, float defaultValue) const;
    QString ReadProperty(const QString &name, const QString &defaultValue) const;
    QString ReadProperty(const QString &name, const char *defaultValue) const
    {
        return ReadProperty(name, QString::fromUtf8(defaultValue));
    }
    Colour ReadProperty(const QString &name, Colour defaultValue) const;
    // A saved font comes back as a new object; the default is handed back as it is.
    FontRef ReadProperty(const QString &name, const FontRef &defaultValue) const;
    PictureRef ReadProperty(const QString &name, const PictureRef &defaultValue) const;

    void WriteProperty(const QString &name, bool value, bool defaultValue);
    void WriteProperty(const QString &name, qint16 value, qint16 defaultValue);
    void WriteProperty(const QString &name, qint32 value, qint32 defaultValue);
    void WriteProperty(const QString &name, float value, float defaultValue);
    void WriteProperty(const QString &name, const QString &value, const QString &defaultValue);
    void WriteProperty(const QString &name, const QString &value, const char *defaultValue)
    {
        WriteProperty(name, value, QString::fromUtf8(defaultValue));
    }
    void WriteProperty(const QString &name, Colour value, Colour defaultValue);
    void WriteProperty(const QString &name, const FontRef &value, const FontRef &defaultValue);
    void WriteProperty(const QString &name, const PictureRef &value,
                       const PictureRef &defaultValue);

    // The host's own entries ("_extentx", "_extenty"), written whatever their value.
    void setHostValue(const QString &name, double value);
    double hostValue(const QString &name, double defaultValue) const;

private:
    QJsonValue saved(const QString &name) const;
    void store(const QString &name, const QJsonValue &value, bool isDefault);

    QJsonObject m_values;
};
