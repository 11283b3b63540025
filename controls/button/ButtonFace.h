#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "PictureObject.h"

#include <QImage>
#include <QString>
#include <QWidget>

// The visible face of a ZoButton. It shows exactly the last image handed to it (back colour
// where that image does not reach), takes the focus by click and by tab, and reports the
// mouse, character keys and focus loss to its control. It also keeps the settings the face
// owns: back and fore colour, font, pointer, mouse icon, tool tip and persistent drawing.
//
// Mouse positions are reported in twips from the face's top-left corner, also outside the
// face while a mouse button is held; ScaleWidth and ScaleHeight give the face's extent in the
// same unit. A double click counts as a press of its own.
class ButtonFace : public QWidget {
    Q_OBJECT
public:
    explicit ButtonFace(QWidget *control);

    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    Colour ForeColor() const { return m_foreColor; }
    void setForeColor(Colour colour) { m_foreColor = colour; }
    // Never null: no font gives the default font.
    const FontRef &Font() const { return m_font; }
    void setFont(const FontRef &font) { m_font = font ? font : makeFont(); }

    // Throws HostError(InvalidPropertyValue) for a shape that is not a pointer shape, and
    // then keeps the shape it had.
    qint16 MousePointer() const { return m_mousePointer; }
    void setMousePointer(qint16 shape);
    // The pointer of shape 99.
    const PictureRef &MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const PictureRef &icon);

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }

    // The face always keeps its image; the mode is only kept to be saved and loaded.
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool on) { m_autoRedraw = on; }

    double ScaleWidth() const;
    double ScaleHeight() const;

    const QImage &image() const { return m_image; }
    // Shows the image at the next repaint; its top-left corner at the face's.
    void showImage(const QImage &image);

signals:
    void mouseDown();
    void mouseMove(float x, float y);
    void mouseUp();
    void keyPress(qint16 &keyAscii);
    void lostFocus();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;

private:
    void applyPointer();

    QImage m_image;
    Colour m_backColor = Colour::system(SystemColour::ButtonFace);
    Colour m_foreColor = Colour::system(SystemColour::WindowText);
    FontRef m_font = makeFont();
    qint16 m_mousePointer = 0;
    PictureRef m_mouseIcon;
    bool m_pointerApplied = false; // the pointer has come over the face once
    bool m_autoRedraw = true;
};
