#pragma once

#include "ButtonSurface.h"
#include "Colour.h"
#include "FontObject.h"
#include "PictureObject.h"
#include "PropertyTable.h"
#include "UserControl.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWindow>

class ButtonFace;

// Kelvo's graphical push-button, placed by forms as "Kelvo.ZoButton".
//
// It shows a picture and a caption in three looks: unselected (flat, at rest), selected (the
// pointer is over it: raised border) and pressed (sunken border, picture and caption moved by
// Shift). Each look has its own picture, font and caption colour. With Switch on it is a
// two-state switch that shows SelectedPicture while Value is true. Every mouse press inverts
// Value, every release raises Click; no key clicks the button.
//
// Each look is composed whole in a hidden buffer and then shown on the face in one copy, so
// no half-drawn look is ever seen. The setters of BackColor, Font, ForeColor, Picture,
// Caption, DELTA and Alignment redraw the face at once (Refresh); the others only store, and
// their change shows at the next drawing. Every setter reports its key with PropertyChanged.
//
// Font and picture properties hold shared references: a getter hands out the object it
// holds, a setter keeps the object it is given. Geometry is in twips.
//
// The host creates the button, calls Initialize, then InitProperties for a new instance or
// ReadProperties with its saved bag; until then its own settings are zero and empty.
class ZoButton : public UserControl {
    Q_OBJECT
    // The properties the button's property page reaches by name; each write runs the setter.
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(bool Switch READ Switch WRITE setSwitch)
    Q_PROPERTY(qint16 Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(qint16 DELTA READ DELTA WRITE setDELTA)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint16 MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE setToolTipText)
public:
    explicit ZoButton(QWidget *container = nullptr);
    ~ZoButton() override;

    // --- Properties ---

    Colour BackColor() const;
    void setBackColor(Colour New_BackColor);
    FontRef Font() const;
    void setFont(const FontRef &New_Font);
    Colour ForeColor() const;
    void setForeColor(Colour New_ForeColor);
    PictureRef MouseIcon() const;
    void setMouseIcon(const PictureRef &New_MouseIcon);
    // A pointer shape 0 to 15, or 99 for MouseIcon. Throws HostError(InvalidPropertyValue)
    // for any other value, which is then neither kept nor reported.
    qint16 MousePointer() const;
    void setMousePointer(qint16 New_MousePointer);
    PictureRef Picture() const { return imgPicture; }
    void setPicture(const PictureRef &New_Picture);
    // "&" underlines the next character and is not shown. Only the first MaxCaptionLength
    // characters are drawn.
    QString Caption() const { return m_Caption; }
    void setCaption(const QString &New_Caption);
    static constexpr int MaxCaptionLength = 32767;
    // The margin between picture and edge, twips; saved and reported as "Delta".
    qint16 DELTA() const { return m_Delta; }
    void setDELTA(qint16 New_DELTA);
    Colour LightBorderColor() const { return m_LightBorderColor; }
    void setLightBorderColor(Colour New_LightBorderColor);
    Colour DarkBorderColor() const { return m_DarkBorderColor; }
    void setDarkBorderColor(Colour New_DarkBorderColor);
    // 0 picture left, 1 picture right, anything else picture on top. Alignment, Switch and
    // Shift are set in the designer only: at run time their setters throw
    // HostError(SetNotPermittedAtRunTime) and change nothing.
    qint16 Alignment() const { return m_Alignment; }
    void setAlignment(qint16 New_Alignment);
    PictureRef SelectedPicture() const { return imgSelected; }
    void setSelectedPicture(const PictureRef &New_SelectedPicture);
    PictureRef PressedPicture() const { return imgPressed; }
    void setPressedPicture(const PictureRef &New_PressedPicture);
    // A look whose font is none draws with Font.
    FontRef FontSelected() const { return m_FontSelected; }
    void setFontSelected(const FontRef &New_FontSelected);
    FontRef FontPressed() const { return m_FontPressed; }
    void setFontPressed(const FontRef &New_FontPressed);
    Colour ForeColorSelected() const { return m_ForeColorSelected; }
    void setForeColorSelected(Colour New_ForeColorSelected);
    Colour ForeColorPressed() const { return m_ForeColorPressed; }
    void setForeColorPressed(Colour New_ForeColorPressed);
    bool Switch() const { return m_Switch; }
    void setSwitch(bool New_Switch);
    bool Value() const { return m_Value; }
    void setValue(bool New_Value);
    // How far the pressed look moves picture and caption, twips.
    qint16 Shift() const { return m_Shift; }
    void setShift(qint16 New_Shift);
    QString ToolTipText() const;
    void setToolTipText(const QString &New_ToolTipText);
    // Kept and saved for the forms; the button itself does not use them.
    qint16 Rows() const { return m_Rows; }
    void setRows(qint16 New_Rows);
    qint16 Cols() const { return m_Cols; }
    void setCols(qint16 New_Cols);

    // --- Methods ---

    void DrawPressed();
    void DrawUnSelected();
    void DrawSelected();
    // The unselected look in the buffer's current fore colour and font, always with Picture,
    // and the caption as it is, "&" shown and nothing underlined.
    void Refresh();
    // Plays a click: the pressed look for 125 ms, during which the program stands still, then
    // the unselected look, then Click. Value and the pointer tracking stay as they are.
    void AutoClick();

    // --- Host entry points ---

    // Takes the screen's twips per pixel, to whole numbers, for good.
    void Initialize() override;
    void InitProperties() override;
    // 24 keys in a fixed order; a key that cannot be read ends the reading with its error.
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;
    // Lets go of the two state fonts.
    void Terminate() override;

signals:
    // --- Events (the key events pass their arguments by reference: connect them directly) ---

    // Each start of pointer tracking: the first move over the button, every press and
    // every release.
    void MouseEnter();
    // The first check, every 100 ms while tracking, that finds the pointer off the button.
    void MouseExit();
    // Occurs when the user presses and then releases a mouse button over an object.
    void Click();
    // Occurs when the user presses a key while an object has the focus. Never raised.
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    // Occurs when the user presses and releases an ANSI key.
    void KeyPress(qint16 &KeyAscii);
    // Occurs when the user releases a key while an object has the focus. Never raised.
    void KeyUp(qint16 &KeyCode, qint16 &Shift);

protected:
    // The host's Paint and Resize of the control: both show the unselected look. The face
    // covers the control, so its paint is also run when its window is shown or exposed again.
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Look { UnSelected, Selected, Pressed, Refresh };

    static const PropertyTable<ZoButton> &properties();

    // The face's colour, and the buffer's to match, without redrawing.
    void setSurfaceBackColor(Colour colour);
    void setSurfaceForeColor(Colour colour);
    void refuseAtRunTime() const;
    const PictureRef &chosenPicture(Look look) const;
    void draw(Look look);
    void drawBorder(Colour topLeft, Colour bottomRight);
    void PrintCaption(const QString &text);

    void StartCapture();
    void picButton_MouseDown();
    void picButton_MouseMove(float X, float Y);
    void picButton_MouseUp();
    void picButton_LostFocus();
    void timCapture_Timer();

    QTimer timCapture;
    ButtonSurface picBuffer;
    PictureRef imgPressed;
    PictureRef imgSelected;
    PictureRef imgPicture;
    ButtonFace *picButton;             // owned as a child widget
    QPointer<QWindow> m_watchedWindow; // whose expose events repaint the button
    Look m_shownLook = Look::Refresh;  // what the face shows

    qint16 m_Alignment = 0;
    Colour m_LightBorderColor;
    Colour m_DarkBorderColor;
    qint16 m_Delta = 0;
    QString m_Caption;
    bool m_MouseIn = false;
    int m_TwipsPerPixelX = 0;
    int m_TwipsPerPixelY = 0;
    qint16 m_Rows = 0;
    qint16 m_Cols = 0;
    qint16 m_Shift = 0;
    bool m_Switch = false;
    bool m_Value = false;
    Colour m_ForeColorSelected;
    Colour m_ForeColorPressed;
    FontRef m_FontSelected;
    FontRef m_FontPressed;
};
