#include "BakedPictures.h"

#include <QByteArray>
#include <vector>

namespace {
// Built on first use, so a table added by another file's static object never finds it unbuilt.
std::vector<std::span<const BakedPictures::Entry>> &tables()
{
    static std::vector<std::span<const BakedPictures::Entry>> all;
    return all;
}

bool isOpaque(const QImage &premultiplied)
{
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return false;
        }
    }
    return true;
}
} // namespace

namespace BakedPictures {

void add(std::span<const Entry> table)
{
    tables().push_back(table);
}

QImage find(const QString &path)
{
    if (tables().empty())
        return {};
    const QByteArray key = path.toUtf8();
    for (const auto &table : tables()) {
        for (const Entry &entry : table) {
            if (key == entry.path)
                return QImage(entry.bits, entry.width, entry.height, entry.width * 4, entry.format);
        }
    }
    return {};
}

QImage pixmapForm(const QImage &decoded)
{
    QImage image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Opaque pixels are the same four bytes in both formats.
    if (isOpaque(image))
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace BakedPictures
