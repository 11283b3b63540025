#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "PictureObject.h"
#include "PropertyBag.h"

#include <QList>
#include <QWidget>
#include <optional>

class QPainter;
class UserControl;
struct ListedProperty;

// The values of a form's WindowState.
namespace FormWindowState {
inline constexpr qint16 Normal = 0;
inline constexpr qint16 Minimized = 1;
inline constexpr qint16 Maximized = 2;
} // namespace FormWindowState

// The values of a form's BorderStyle, its window frame.
namespace FormBorderStyle {
inline constexpr qint16 None = 0;
inline constexpr qint16 FixedSingle = 1;
inline constexpr qint16 Sizable = 2;
inline constexpr qint16 FixedDialog = 3;
inline constexpr qint16 FixedToolWindow = 4;
inline constexpr qint16 SizableToolWindow = 5;
} // namespace FormBorderStyle

// The base of Kelvo's windows. A form is loaded when first shown; its own code and its
// controls follow it through the Load, Activate, Paint, Resize and Unload notifications, in
// the order they subscribed (the form's own handlers first, as it connects them before its
// controls are created). Geometry is in twips: Left, Top, Width and Height are the outer
// rectangle, frame included; ScaleWidth and ScaleHeight the client area. No size is ever
// larger than all screens together.
//
// No window manager gives a thin frame without a title bar, so a bordered form without a title
// bar draws its own: FrameTwips on each side in the desktop's 3-D frame colours, with the
// client area inside it. A sizable one (FormBorderStyle::Sizable or SizableToolWindow) hands a
// left press on its frame to the window manager as a resize and shows the matching resize
// pointers.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString &name, QWidget *parent = nullptr);
    // Terminates and destroys the controls, in creation order.
    ~Form() override;

    QString Name() const { return m_name; }
    void setName(const QString &name);

    // Ambient.UserMode of the controls on this form: false in a form designer.
    bool userMode() const { return m_userMode; }
    void setUserMode(bool userMode) { m_userMode = userMode; }

    // The outer rectangle in twips: with the window manager's frame when the form asked for one
    // (it has a title bar), the window alone when it asked for none.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    double ScaleWidth() const;
    double ScaleHeight() const;
    void setClientSize(double width, double height);
    // The client size in twips as last set, for as long as the window keeps the size that
    // gave it; else ScaleWidth and ScaleHeight. A size set beyond the screens is kept as set,
    // while the window shown is fitted to them.
    QSizeF clientSizeAsSet() const;

    // A FormWindowState value.
    qint16 WindowState() const;
    void setWindowState(qint16 state);

    // The title bar's text. Setting it also names the window for window lists; a form without
    // a caption may still have a window title of its own (setWindowTitle), which shows in no
    // title bar.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    Colour ForeColor() const { return m_foreColor; }
    void setForeColor(Colour colour);
    FontRef Font() const { return m_font; }
    void setFont(const FontRef &font);
    PictureRef Icon() const { return m_icon; }
    void setIcon(const PictureRef &icon);
    qint16 MousePointer() const { return m_mousePointer; }
    void setMousePointer(qint16 shape);

    // The window frame, a FormBorderStyle value. With no caption and no control box the title
    // bar goes.
    qint16 BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(qint16 style);
    bool ControlBox() const { return m_controlBox; }
    void setControlBox(bool on);
    bool ShowInTaskbar() const { return m_showInTaskbar; }
    void setShowInTaskbar(bool on);

    static constexpr double FrameTwips = 60;
    bool hasTitleBar() const;
    bool hasOwnFrame() const;
    // Whether the user can bring the window back once it is minimised: a window with neither a
    // title bar nor a taskbar entry would be lost.
    bool canBeRestoredByUser() const;
    // Tool windows and forms with ShowInTaskbar False stay out of taskbars.
    bool hasTaskbarEntry() const { return windowType() != Qt::Tool; }
    // The client area within the window, in pixels.
    QRect clientRect() const;
    // The window edges a point in window pixels grabs on a sizable own frame; none elsewhere.
    Qt::Edges frameEdgesAt(QPoint pos) const;

    // Hands the left-button drag under way over to the window manager as a move of the
    // window. Only a drag that began with a left press in the client area moves it, once.
    void DragWindow();

    // The form's own saved properties, as its form file holds them.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;
    // The saved properties as the form's table declares them, in its order.
    QList<ListedProperty> listProperties();

    // The controls, in creation order; the form owns them.
    const QList<UserControl *> &controls() const { return m_controls; }
    void addControl(UserControl *control);
    UserControl *control(const QString &name, int index = -1) const;
    template <class T> T *control(const QString &name, int index = -1) const
    {
        return qobject_cast<T *>(control(name, index));
    }

    bool isLoaded() const { return m_loaded; }
    // Raises Load once, before the form is first shown. A form shown while it loads (a Load
    // handler may show it before a later one places it) appears once Load has run, so its
    // window maps once, where the handlers put it.
    void ensureLoaded();
    void Show();
    // A hidden form's window is asked to map before its controls show: they show before its
    // first paint, so it never appears without them.
    void setVisible(bool visible) override;
    // Shows the form modally and returns once it has been unloaded.
    void ShowModal();
    // Raises Unload, saving what its handlers save in one write, and hides the form; whoever
    // owns the form destroys it.
    void unload();

signals:
    void Load();
    void Activate();
    void Paint();
    void Resize();
    void Unload();
    // The pointer over the client area, not over a control: the mouse buttons held (1 left,
    // 2 right, 4 middle), the modifiers (1 Shift, 2 Ctrl, 4 Alt), the position in twips.
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);

protected:
    // The form's own drawing, after the Paint notification: area is the part of the client
    // area to draw, already cleared, in client pixels; the painter's origin is the client
    // area's top-left corner.
    virtual void paintContents(QPainter &painter, const QRect &area)
    {
        Q_UNUSED(painter)
        Q_UNUSED(area)
    }

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showWindowThenControls();
    void applyWindowFlags();
    void resizeWithin(QSize pixels);
    void paintFrame(QPainter &painter) const;
    void showPointerFor(Qt::Edges edges);
    void applyPointer();
    void applyPalette();
    bool asksForNoFrame() const;
    QPoint outerTopLeft() const;
    void moveOuterTo(QPoint pixels);
    int frameExtraWidth() const;
    int frameExtraHeight() const;

    QString m_name;
    QString m_caption;
    bool m_userMode = true;
    bool m_loaded = false;
    bool m_loading = false;
    // While a bag is read, window flags and colours wait to be applied once at its end.
    bool m_readingProperties = false;
    // A show asked for while loading: whether it was asked without activating the window.
    std::optional<bool> m_showAfterLoad;
    Colour m_backColor = Colour::system(SystemColour::ButtonFace);
    Colour m_foreColor = Colour::system(SystemColour::ButtonText);
    FontRef m_font = makeFont();
    PictureRef m_icon;
    qint16 m_mousePointer = 0;
    bool m_painted = false; // once painted, pointer shapes are set as they change
    qint16 m_borderStyle = FormBorderStyle::Sizable;
    bool m_controlBox = true;
    bool m_showInTaskbar = true;
    int m_frame = 0; // the own frame's thickness, pixels
    bool m_sizable = false;
    bool m_dragArmed = false;
    Qt::Edges m_pointerEdges;
    QSizeF m_clientTwips; // as last set
    QSize m_clientPixels; // what that gave the client area
    QList<UserControl *> m_controls;
};
