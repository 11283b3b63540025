#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "JsonNode.h"
#include "PictureObject.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The saved properties of one control instance, in the order they were saved. Names are
// compared without letter case; new ones are kept in lower case. ReadProperty gives the saved
// value, or the default where none is saved, and throws HostError (TypeMismatch, Overflow) for
// a value that does not convert to the default's kind. WriteProperty leaves out a value equal
// to its default, so reading it back gives the default.
//
// A bag written over the one a control was read from keeps what the control does not change:
// an entry that still reads as the value written stays as it was saved, where it was, and
// entries no property writes stay too.
class PropertyBag {
public:
    PropertyBag() = default;
    explicit PropertyBag(const QJsonObject &saved);
    // An object; anything else is an empty bag.
    explicit PropertyBag(const JsonNode &saved);

    QJsonObject toJson() const { return m_values.toJson().toObject(); }
    const JsonNode &node() const { return m_values; }
    bool isEmpty() const { return m_values.members().empty(); }
    bool contains(const QString &name) const;
    QStringList keys() const;

    // The names of saved pictures that could not be decoded: they read as no picture, and
    // stay in the bag as they were saved.
    QStringList undecodedPictures() const { return m_undecoded; }

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
    // Whether the saved entry reads as the value.
    template <class T> bool keeps(const QString &name, const T &value, const T &defaultValue) const;
    void store(const QString &name, const JsonNode &value, bool isDefault);

    JsonNode m_values = JsonNode::object();
    mutable QStringList m_undecoded;
};
