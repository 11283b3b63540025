#pragma once

#include "UserControl.h"

// What a helper looks like in a designer: its picture (a resource path) at a fixed size in
// twips. The palette shows the same picture.
struct HelperLook {
    const char *picture;
    double width;
    double height;
};

// The base of controls that only lend their form behaviour. The host never shows them at run
// time; in a designer each shows its image and keeps a fixed size, whatever size it is given.
class InvisibleHelper : public UserControl {
    Q_OBJECT
public:
    bool InvisibleAtRunTime() const override { return true; }

protected:
    InvisibleHelper(QWidget *container, const HelperLook &look);

    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const HelperLook &m_look;
};
