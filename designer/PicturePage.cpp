#include "PicturePage.h"

#include "ErrorReport.h"
#include "PictureObject.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr QSize PreviewSize(160, 120);
}

PicturePage::PicturePage(QWidget *parent)
    : StandardPage(QStringLiteral("Picture"), QMetaType::fromType<PictureRef>(), parent)
    , m_preview(new QLabel(this))
{
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(PreviewSize);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    auto *load = new QPushButton(QStringLiteral("Load..."), this);
    auto *none = new QPushButton(QStringLiteral("Clear"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(none);
    fields()->addRow(QStringLiteral("Picture:"), m_preview);
    fields()->addRow(buttons);

    connect(load, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Load Picture"), QString(),
                                         QStringLiteral("Pictures (*.png *.svg);;All files (*)"));
        if (!path.isEmpty())
            loadFile(path);
    });
    connect(none, &QPushButton::clicked, this, &PicturePage::clear);
}

bool PicturePage::loadFile(const QString &path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        reportError(this, QStringLiteral("%1: not a picture this system can read (%2)")
                              .arg(path, reader.errorString()));
        return false;
    }
    edit(QVariant::fromValue(std::make_shared<PictureObject>(QPixmap::fromImage(image))));
    showChosen();
    return true;
}

void PicturePage::clear()
{
    edit(QVariant::fromValue(PictureRef()));
    showChosen();
}

void PicturePage::showValue(const QVariant &value)
{
    const PictureRef picture = value.value<PictureRef>();
    if (isEmptyPicture(picture)) {
        m_preview->setPixmap(QPixmap());
        m_preview->setText(QStringLiteral("(none)"));
        return;
    }
    const QPixmap &pixmap = picture->pixmap();
    m_preview->setPixmap(
        pixmap.width() > PreviewSize.width() || pixmap.height() > PreviewSize.height()
            ? pixmap.scaled(PreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : pixmap);
}
