#include <QTest>

#include "BakedPictures.h"
#include "PictureObject.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <deque>

// A picture as the program's build bakes it: the same pixels as decoding its PNG, in a pixmap
// over the baked bytes themselves. Paths that were not baked are still read from their file.
class tst_BakedPictures : public QObject {
    Q_OBJECT
private slots:
    void fromResourcePrefersTheBakedPicture_data();
    void fromResourcePrefersTheBakedPicture();

private:
    // Every lookup walks all tables added so far, so each row's table lives as long as the test.
    std::deque<QImage> m_pixels;
    std::deque<QByteArray> m_paths;
    std::deque<BakedPictures::Entry> m_entries;
    QTemporaryDir m_dir;
};

// A pattern of colours, each pixel's alpha given by `alpha`.
static QImage pattern(QImage::Format format, int (*alpha)(int x, int y))
{
    QImage image(16, 12, format);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 16, y * 20, 255 - x * 8, alpha(x, y)));
    }
    return image;
}

void tst_BakedPictures::fromResourcePrefersTheBakedPicture_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("baked");

    const auto opaque = [](int, int) { return 255; };
    const auto mixed = [](int x, int y) { return x == 0 ? 0 : (x * 37 + y * 11) % 256; };
    QTest::newRow("opaque") << pattern(QImage::Format_RGB32, opaque) << true;
    QTest::newRow("alpha channel, every pixel opaque")
        << pattern(QImage::Format_ARGB32, opaque) << true;
    QTest::newRow("transparent and partly transparent pixels")
        << pattern(QImage::Format_ARGB32, mixed) << true;

    QImage palette(9, 7, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 0, 0, 0), qRgba(200, 40, 40, 128), qRgb(20, 90, 200)});
    for (int y = 0; y < palette.height(); ++y) {
        for (int x = 0; x < palette.width(); ++x)
            palette.setPixel(x, y, (x + y) % 3);
    }
    QTest::newRow("palette with a transparent colour") << palette << true;
    QTest::newRow("not baked: decoded from the file")
        << pattern(QImage::Format_ARGB32, mixed) << false;
}

void tst_BakedPictures::fromResourcePrefersTheBakedPicture()
{
    QFETCH(QImage, picture);
    QFETCH(bool, baked);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".png");
    QVERIFY(picture.save(path, "PNG"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QImage decoded = PictureObject::fromPng(file.readAll())->pixmap().toImage();

    const uchar *bakedBits = nullptr;
    if (baked) {
        // As the build bakes the program's artwork.
        QImageReader reader(path, "png");
        m_pixels.push_back(BakedPictures::pixmapForm(reader.read()));
        const QImage &pixels = m_pixels.back();
        bakedBits = pixels.constBits();
        m_paths.push_back(path.toUtf8());
        m_entries.push_back({m_paths.back().constData(), pixels.width(), pixels.height(),
                             pixels.format(), bakedBits});
        BakedPictures::add(std::span(&m_entries.back(), 1));
    }

    const PictureRef loaded = PictureObject::fromResource(path);
    QCOMPARE(loaded->source(), path);
    const QImage shown = loaded->pixmap().toImage();
    QCOMPARE(shown, decoded);
    QCOMPARE(shown.constBits() == bakedBits, baked);
}

QTEST_MAIN(tst_BakedPictures)
#include "tst_bakedpictures.moc"
