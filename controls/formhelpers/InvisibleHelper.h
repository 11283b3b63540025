#pragma once

#include "UserControl.h"

// The base of controls that only lend their form behaviour. The host never shows them at run
// time; in a designer each shows its image and keeps a fixed size, whatever size it is given.
class InvisibleHelper : public UserControl {
    Q_OBJECT
public:
    bool InvisibleAtRunTime() const override { return true; }

protected:
    // image: a resource path; the size is in twips.
    InvisibleHelper(QWidget *container, QString image, double width, double height);

    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_image;
    double m_fixedWidth;
    double m_fixedHeight;
};
