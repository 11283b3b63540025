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

bool namesAreLower(const QJsonObject &bag)
{
    for (auto it = bag.begin(); it != bag.end(); ++it) {
        if (!it.key().isLower())
            return false;
    }
    return true;
}

// Calls use with the key of name. Property names are short ASCII words, lowered on the stack:
// reading a form's controls looks up every property of every control.
template <class Use> auto withKey(const QString &name, Use use)
{
    constexpr qsizetype Short = 32;
    if (name.size() <= Short) {
        char16_t lower[Short];
        qsizetype i = 0;
        for (; i < name.size() && name.at(i).unicode() < 0x80; ++i) {
            const char16_t c = name.at(i).unicode();
            lower[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
        }
        if (i == name.size())
            return use(QStringView(lower, i));
    }
    return use(QStringView(keyOf(name)));
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
    const double r = std::nearbyint(d);
    if (!std::isfinite(r) || r < double(std::numeric_limits<Int>::min()) ||
        r > double(std::numeric_limits<Int>::max()))
        throw HostError(HostError::Overflow);
    return Int(r);
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

QJsonObject fontToJson(const FontObject &f)
{
    return QJsonObject{{"name", f.Name},           {"size", double(f.Size)},
                       {"bold", f.Bold},           {"italic", f.Italic},
                       {"underline", f.Underline}, {"strikethrough", f.Strikethrough},
                       {"charset", f.Charset},     {"weight", f.Weight}};
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

QJsonValue pictureToJson(const PictureObject &p)
{
    if (p.isEmpty())
        return QJsonValue::Null;
    QJsonObject o;
    if (!p.source().isEmpty())
        o.insert("resource", p.source());
    else
        o.insert("png", QString::fromLatin1(p.toPng().toBase64()));
    if (!p.hotSpot().isNull())
        o.insert("hotspot", QJsonArray{p.hotSpot().x(), p.hotSpot().y()});
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
} // namespace

// Bags are saved with lower-case names and are taken as they are; only a bag written by hand
// needs its names folded.
PropertyBag::PropertyBag(const QJsonObject &saved)
    : m_values(saved)
{
    if (namesAreLower(saved))
        return;
    m_values = {};
    for (auto it = saved.begin(); it != saved.end(); ++it)
        m_values.insert(keyOf(it.key()), it.value());
}

bool PropertyBag::contains(const QString &name) const
{
    return withKey(name, [this](QStringView key) { return m_values.contains(key); });
}

QJsonValue PropertyBag::saved(const QString &name) const
{
    return withKey(name, [this](QStringView key) { return m_values.value(key); });
}

void PropertyBag::store(const QString &name, const QJsonValue &value, bool isDefault)
{
    if (isDefault)
        withKey(name, [this](QStringView key) { m_values.remove(key); });
    else
        m_values.insert(keyOf(name), value);
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
    return v.isUndefined() ? defaultValue : pictureFromJson(v);
}

void PropertyBag::WriteProperty(const QString &name, bool value, bool defaultValue)
{
    store(name, value, value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, qint16 value, qint16 defaultValue)
{
    store(name, value, value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, qint32 value, qint32 defaultValue)
{
    store(name, value, value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, float value, float defaultValue)
{
    store(name, double(value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, const QString &value,
                                const QString &defaultValue)
{
    store(name, value, value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, Colour value, Colour defaultValue)
{
    store(name, double(value.value), value == defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, const FontRef &value,
                                const FontRef &defaultValue)
{
    const FontObject written = value ? *value : FontObject{};
    const bool isDefault = defaultValue ? written == *defaultValue : !value;
    store(name, fontToJson(written), isDefault);
}

void PropertyBag::WriteProperty(const QString &name, const PictureRef &value,
                                const PictureRef &defaultValue)
{
    store(name, value ? pictureToJson(*value) : QJsonValue(QJsonValue::Null),
          samePicture(value, defaultValue));
}

void PropertyBag::setHostValue(const QString &name, double value)
{
    m_values.insert(keyOf(name), value);
}

double PropertyBag::hostValue(const QString &name, double defaultValue) const
{
    const QJsonValue v = saved(name);
    return v.isDouble() ? v.toDouble() : defaultValue;
}
