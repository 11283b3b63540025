#include "PictureObject.h"

#include <QBuffer>
#include <QImage>

PictureObject::PictureObject(QPixmap pixmap, QString source)
    : m_pixmap(std::move(pixmap))
    , m_source(std::move(source))
{
}

PictureRef PictureObject::fromResource(const QString &path)
{
    QPixmap pixmap(path);
    return std::make_shared<PictureObject>(pixmap, pixmap.isNull() ? QString() : path);
}

PictureRef PictureObject::fromPng(const QByteArray &png)
{
    QPixmap pixmap;
    pixmap.loadFromData(png, "PNG");
    return std::make_shared<PictureObject>(pixmap);
}

QByteArray PictureObject::toPng() const
{
    QByteArray bytes;
    if (isEmpty())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    m_pixmap.save(&buffer, "PNG");
    return bytes;
}

bool PictureObject::sameImage(const PictureObject &other) const
{
    if (isEmpty() || other.isEmpty())
        return isEmpty() == other.isEmpty();
    if (!m_source.isEmpty() && !other.m_source.isEmpty())
        return m_source == other.m_source;
    return m_pixmap.toImage() == other.m_pixmap.toImage();
}
