#pragma once

#include <QImage>
#include <QString>
#include <span>

// Pictures decoded while Kelvo is built (resources/bake-pictures.cpp), found by the resource
// path they were decoded from. Their pixels are read-only data in the executable, stored in
// the format a pixmap keeps them in, so a pixmap made from one shares those clean pages
// instead of decoding a PNG into the heap at every start.
namespace BakedPictures {

// One baked picture: 4 bytes a pixel, rows width * 4 bytes apart.
struct Entry {
    const char *path; // the resource path, UTF-8: ":/app/buttons/exit.png"
    int width;
    int height;
    QImage::Format format; // as pixmapForm() gives it
    const uchar *bits;
};

// Makes a table's pictures findable. The table and its pixels must outlive every lookup, as
// the generated tables do. When two tables hold a path, the one added first wins.
void add(std::span<const Entry> table);

// The baked picture for a resource path as an image over its read-only pixels, or a null
// image when that path was not baked.
QImage find(const QString &path);

// A decoded picture in the format a pixmap holds it on a 24-bit X screen or offscreen:
// ARGB32_Premultiplied when any pixel is not opaque, else RGB32. Pixels in that format are
// shared by QPixmap::fromImage() rather than converted into a copy.
QImage pixmapForm(const QImage &decoded);

// Adds a generated table while the program's static objects are built.
struct Registrar {
    explicit Registrar(std::span<const Entry> table) { add(table); }
};

} // namespace BakedPictures
