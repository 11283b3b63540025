#include "PictureObject.h"

#include "BakedPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace {
// Asked for a format by name, Qt's reader first loads every image plugin installed (and the
// libraries behind them) to ask whether one of them reads it. With detection off it goes
// straight to its own PNG decoder.
QPixmap readPng(QIODevice *device)
{
    QImageReader reader(device, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}
} // namespace

PictureObject::PictureObject(QPixmap pixmap, QString source)
    : m_pixmap(std::move(pixmap))
    , m_source(std::move(source))
{
}

PictureRef PictureObject::fromResource(const QString &path)
{
    // The program's own artwork is decoded when it is built; the pixmap shares those pixels.
    const QImage baked = BakedPictures::find(path);
    if (!baked.isNull())
        return std::make_shared<PictureObject>(QPixmap::fromImage(baked), path);

    QPixmap pixmap;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            pixmap = readPng(&file);
    } else {
        pixmap.load(path);
    }
    return std::make_shared<PictureObject>(pixmap, pixmap.isNull() ? QString() : path);
}

PictureRef PictureObject::fromPng(const QByteArray &png)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    const QPixmap pixmap = readPng(&buffer);
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
