#pragma once

#include <QPixmap>
#include <QPoint>
#include <QString>
#include <memory>

// A picture as the controls hold and persist it: an image, or none. Like fonts, pictures
// are passed as shared references (PictureRef); a null PictureRef and an empty picture
// both mean "no picture".
class PictureObject {
public:
    PictureObject() = default;
    explicit PictureObject(QPixmap pixmap, QString source = {});

    // A picture from the program's resources (":/..."): the baked one when the path was
    // baked (BakedPictures), else decoded from the file; empty when it cannot be read.
    static std::shared_ptr<PictureObject> fromResource(const QString &path);
    // A picture from PNG bytes, as form files embed pictures that have no resource path.
    static std::shared_ptr<PictureObject> fromPng(const QByteArray &png);

    bool isEmpty() const { return m_pixmap.isNull(); }
    // 0 when empty, else a number that identifies the image.
    qint64 Handle() const { return isEmpty() ? 0 : m_pixmap.cacheKey(); }
    int width() const { return m_pixmap.width(); }   // pixels
    int height() const { return m_pixmap.height(); } // pixels
    const QPixmap &pixmap() const { return m_pixmap; }

    // Where it was loaded from (":/..."), so a form file can refer to it again.
    QString source() const { return m_source; }
    QByteArray toPng() const;

    // For pictures used as pointers: the point of the image that is the pointer's tip.
    QPoint hotSpot() const { return m_hotSpot; }
    void setHotSpot(QPoint p) { m_hotSpot = p; }

    // Same image, by source when both have one, else by pixels.
    bool sameImage(const PictureObject &other) const;

private:
    QPixmap m_pixmap;
    QString m_source;
    QPoint m_hotSpot;
};

using PictureRef = std::shared_ptr<PictureObject>;

inline bool isEmptyPicture(const PictureRef &p)
{
    return !p || p->isEmpty();
}
