#pragma once

#include "StandardPage.h"

class QLabel;

// The standard picture page: a preview of the chosen picture property, a new picture from a
// PNG or SVG file, or none.
class PicturePage : public StandardPage {
    Q_OBJECT
public:
    explicit PicturePage(QWidget *parent = nullptr);

    // Takes the picture in the file for the chosen property, to be saved with the form. A
    // file that cannot be read as a picture is reported, and the property keeps its picture.
    bool loadFile(const QString &path);
    void clear();

protected:
    void showValue(const QVariant &value) override;

private:
    QLabel *m_preview;
};
