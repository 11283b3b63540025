#include "PropertyBag.h"

#include "HostError.h"
#include "TextConvert.h"

#include <QJsonArray>
#include <cmath>
#include <limits>

namespace {
QString keyOf(const QString &name)
{
    return name.isLower() ? name : name.toLower();
}

// Whole numbers round like the settings conversions: a half to the even neighbour.
template <class Int> Int toWhole(const QJsonValue &v)
{
    double d = 0;
    if (v.isDouble()) {
        d = v.toDouble();
    } else if (v.isString()) {
        const auto n = TextConvert::toNumber(v.toString());
        if (!n)
            throw HostError(HostError::TypeMismatch);
        d = *n;
    } else if (v.isBool()) {
        d = v.toBool() ? -1 : 0;
    } else {
        throw HostError(HostError::TypeMismatch);
    }
    const std::optional<Int> whole = TextConvert::roundToWhole<Int>(d);
    if (!whole)
        throw HostError(HostError::Overflow);
    return *whole;
}

bool fontFlag(const QJsonObject &o, const char *field, bool fallback)
{
    const QJsonValue v = o.value(QLatin1String(field));
    if (v.isUndefined())
        return fallback;
    if (!v.isBool())
        throw HostError(HostError::TypeMismatch);
    return v.toBool();
}

// Flags are written only when set: a font file written by hand names only those.
JsonNode fontToJson(const FontObject &f)
{
    JsonNode o = JsonNode::object();
    o.set(u"name", QJsonValue(f.Name));
    o.set(u"size", QJsonValue(double(f.Size)));
    o.set(u"weight", QJsonValue(f.Weight));
    o.set(u"charset", QJsonValue(f.Charset));
    const std::pair<const char16_t *, bool> flags[] = {{u"bold", f.Bold},
                                                       {u"italic", f.Italic},
                                                       {u"underline", f.Underline},
                                                       {u"strikethrough", f.Strikethrough}};
    for (const auto &[name, on] : flags) {
        if (on)
            o.set(name, QJsonValue(true));
    }
    return o;
}

FontObject fontFromJson(const QJsonValue &v)
{
    if (!v.isObject())
        throw HostError(HostError::TypeMismatch);
    const QJsonObject o = v.toObject();
    FontObject f;
    const QJsonValue name = o.value(QLatin1String("name"));
    if (!name.isUndefined()) {
        if (!name.isString())
            throw HostError(HostError::TypeMismatch);
        f.Name = name.toString();
    }
    const QJsonValue size = o.value(QLatin1String("size"));
    if (!size.isUndefined()) {
        if (!size.isDouble() || !(size.toDouble() > 0) || size.toDouble() > 2048)
            throw HostError(HostError::InvalidPropertyValue);
        f.Size = float(size.toDouble());
    }
    f.Bold = fontFlag(o, "bold", f.Bold);
    f.Italic = fontFlag(o, "italic", f.Italic);
    f.Underline = fontFlag(o, "underline", f.Underline);
    f.Strikethrough = fontFlag(o, "strikethrough", f.Strikethrough);
    if (o.contains(QLatin1String("charset")))
        f.Charset = toWhole<qint16>(o.value(QLatin1String("charset")));
    if (o.contains(QLatin1String("weight")))
        f.Weight = toWhole<qint16>(o.value(QLatin1String("weight")));
    return f;
}

JsonNode pictureToJson(const PictureObject &p)
{
    if (p.isEmpty())
        return JsonNode(QJsonValue::Null);
    JsonNode o = JsonNode::object();
    if (!p.source().isEmpty())
        o.set(u"resource", QJsonValue(p.source()));
    else
        o.set(u"png", QJsonValue(QString::fromLatin1(p.toPng().toBase64())));
    if (!p.hotSpot().isNull()) {
        JsonNode hotSpot = JsonNode::array();
        hotSpot.append(QJsonValue(p.hotSpot().x()));
        hotSpot.append(QJsonValue(p.hotSpot().y()));
        o.set(u"hotspot", hotSpot);
    }
    return o;
}

PictureRef pictureFromJson(const QJsonValue &v)
{
    if (v.isNull())
        return std::make_shared<PictureObject>();
    if (!v.isObject())
        throw HostError(HostError::TypeMismatch);
    const QJsonObject o = v.toObject();
    PictureRef picture;
    if (o.value(QLatin1String("resource")).isString())
        picture = PictureObject::fromResource(o.value(QLatin1String("resource")).toString());
    else if (o.value(QLatin1String("png")).isString())
        picture = PictureObject::fromPng(
            QByteArray::fromBase64(o.value(QLatin1String("png")).toString().toLatin1()));
    else
        throw HostError(HostError::TypeMismatch);
    const QJsonArray hot = o.value(QLatin1String("hotspot")).toArray();
    if (hot.size() == 2)
        picture->setHotSpot(QPoint(hot.at(0).toInt(), hot.at(1).toInt()));
    return picture;
}

bool samePicture(const PictureRef &a, const PictureRef &b)
{
    if (isEmptyPicture(a) || isEmptyPicture(b))
        return isEmptyPicture(a) == isEmptyPicture(b);
    return a->sameImage(*b);
}

template <class T> bool same(const T &a, const T &b)
{
    return a == b;
}

bool same(const FontRef &a, const FontRef &b)
{
    return (a ? *a : FontObject{}) == (b ? *b : FontObject{});
}

bool same(const PictureRef &a, const PictureRef &b)
{
    return samePicture(a, b);
}
} // namespace

PropertyBag::PropertyBag(const QJsonObject &saved)
    : m_values(QJsonValue(saved))
{
}

PropertyBag::PropertyBag(const JsonNode &saved)
{
    if (saved.isObject())
        m_values = saved;
}

bool PropertyBag::contains(const QString &name) const
{
    return m_values.member(name, Qt::CaseInsensitive);
}

QStringList PropertyBag::keys() const
{
    QStringList keys;
    for (const JsonNode::Member &m : m_values.members())
        keys.append(m.first);
    return keys;
}

QJsonValue PropertyBag::saved(const QString &name) const
{
    const JsonNode *value = m_values.member(name, Qt::CaseInsensitive);
    return value ? value->toJson() : QJsonValue(QJsonValue::Undefined);
}

template <class T>
bool PropertyBag::keeps(const QString &name, const T &value, const T &defaultValue) const
{
    if (!contains(name))
        return false;
    try {
        return same(ReadProperty(name, defaultValue), value);
    } catch (const HostError &) {
        return false;
    }
}

void PropertyBag::store(const QString &name, const JsonNode &value, bool isDefault)
{
    if (isDefault)
        m_values.remove(name, Qt::CaseInsensitive);
    else if (contains(name))
        m_values.set(name, value, Qt::CaseInsensitive);
    else
        m_values.set(keyOf(name), value);
}

bool PropertyBag::ReadProperty(const QString &name, bool defaultValue) const
{
    const QJsonValue v = saved(name);
    if (v.isUndefined())
        return defaultValue;
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble() != 0;
    if (v.isString()) {
        if (const auto b = TextConvert::toBoolean(v.toString()))
            return *b;
    }
    throw HostError(HostError::TypeMismatch);
}

qint16 PropertyBag::ReadProperty(const QString &name, qint16 defaultValue) const
{
    const QJsonValue v = saved(name);
    return v.isUndefined() ? defaultValue : toWhole<qint16>(v);
}

qint32 PropertyBag::ReadProperty(const QString &name, qint32 defaultValue) const
{
    const QJsonValue v = saved(name);
    return v.isUndefined() ? defaultValue : toWhole<qint32>(v);
}

float PropertyBag::ReadProperty(const QString &name, float defaultValue) const
{
    const QJsonValue v = saved(name);
    if (v.isUndefined())
        return defaultValue;
    std::optional<double> d;
    if (v.isDouble())
        d = v.toDouble();
    else if (v.isString())
        d = TextConvert::toNumber(v.toString());
    if (!d)
        throw HostError(HostError::TypeMismatch);
    if (std::abs(*d) > double(std::numeric_limits<float>::max()))
        throw HostError(HostError::Overflow);
    return float(*d);
}

QString PropertyBag::ReadProperty(const QString &name, const QString &defaultValue) const
{
    const QJsonValue v = saved(name);
    if (v.isUndefined())
        return defaultValue;
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return TextConvert::fromNumber(v.toDouble());
    if (v.isBool())
        return TextConvert::fromBoolean(v.toBool());
    throw HostError(HostError::TypeMismatch);
}

Colour PropertyBag::ReadProperty(const QString &name, Colour defaultValue) const
{
    const QJsonValue v = saved(name);
    if (v.isUndefined())
        return defaultValue;
    // Colours are 32-bit patterns; a signed reading of the same bits is accepted too.
    const qint64 n = toWhole<qint64>(v);
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<quint32>::max())
        throw HostError(HostError::Overflow);
    return Colour(quint32(n));
}

FontRef PropertyBag::ReadProperty(const QString &name, const FontRef &defaultValue) const
{
    const QJsonValue v = saved(name);
    return v.isUndefined() ? defaultValue : makeFont(fontFromJson(v));
}

PictureRef PropertyBag::ReadProperty(const QString &name, const PictureRef &defaultValue) const
{
    const QJsonValue v = saved(name);
    if (v.isUndefined())
        return defaultValue;
    PictureRef picture = pictureFromJson(v);
    if (!v.isNull() && isEmptyPicture(picture) && !m_undecoded.contains(keyOf(name)))
        m_undecoded.append(keyOf(name));
    return picture;
}

void PropertyBag::WriteProperty(const QString &name, bool value, bool defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, qint16 value, qint16 defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, qint32 value, qint32 defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, float value, float defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(double(value)), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, const QString &value,
                                const QString &defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, Colour value, Colour defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, QJsonValue(double(value.value)), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, const FontRef &value,
                                const FontRef &defaultValue)
{
    if (keeps(name, value, defaultValue))
        return;
    const FontObject written = value ? *value : FontObject{};
    const bool isDefault = defaultValue ? written == *defaultValue : !value;
    store(name, fontToJson(written), isDefault);
}

void PropertyBag::WriteProperty(const QString &name, const PictureRef &value,
                                const PictureRef &defaultValue)
{
    if (!keeps(name, value, defaultValue))
        store(name, value ? pictureToJson(*value) : JsonNode(QJsonValue::Null),
              samePicture(value, defaultValue));
}

void PropertyBag::setHostValue(const QString &name, double value)
{
    store(name, QJsonValue(value), false);
}

double PropertyBag::hostValue(const QString &name, double defaultValue) const
{
    const QJsonValue v = saved(name);
    return v.isDouble() ? v.toDouble() : defaultValue;
}
