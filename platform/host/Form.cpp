#include "Form.h"

#include "Desktop.h"
#include "FormAccessible.h"
#include "MousePointer.h"
#include "PropertyTable.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "UserControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QVarLengthArray>
#include <algorithm>
#include <utility>

namespace {
qint16 buttonState(Qt::MouseButtons buttons)
{
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                  (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 shiftState(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) |
                  (modifiers & Qt::ControlModifier ? 2 : 0) |
                  (modifiers & Qt::AltModifier ? 4 : 0));
}

const PropertyTable<Form> &formProperties()
{
    static const PropertyTable<Form> table = [] {
        PropertyTable<Form> t;
        t.add(QStringLiteral("Caption"), QString(), &Form::Caption, &Form::setCaption)
            .add(QStringLiteral("BorderStyle"), FormBorderStyle::Sizable, &Form::BorderStyle,
                 &Form::setBorderStyle)
            .add(QStringLiteral("ControlBox"), true, &Form::ControlBox, &Form::setControlBox)
            .add(QStringLiteral("ShowInTaskbar"), true, &Form::ShowInTaskbar,
                 &Form::setShowInTaskbar)
            .add(
                QStringLiteral("ClientWidth"), 0.0f,
                [](const Form &f) { return float(f.clientSizeAsSet().width()); },
                [](Form &f, float w) { f.setClientSize(w, f.clientSizeAsSet().height()); })
            .add(
                QStringLiteral("ClientHeight"), 0.0f,
                [](const Form &f) { return float(f.clientSizeAsSet().height()); },
                [](Form &f, float h) { f.setClientSize(f.clientSizeAsSet().width(), h); })
            .add(QStringLiteral("BackColor"), Colour::system(SystemColour::ButtonFace),
                 &Form::BackColor, &Form::setBackColor)
            .add(QStringLiteral("ForeColor"), Colour::system(SystemColour::ButtonText),
                 &Form::ForeColor, &Form::setForeColor)
            .addWithDefault(
                QStringLiteral("Font"), [](const Form &) { return makeFont(); }, &Form::Font,
                &Form::setFont)
            .add(QStringLiteral("Icon"), PictureRef(), &Form::Icon, &Form::setIcon)
            .add(QStringLiteral("MousePointer"), qint16(0), &Form::MousePointer,
                 &Form::setMousePointer);
        return t;
    }();
    return table;
}
} // namespace

Form::Form(const QString &name, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    FormAccessible::install();
    setName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyPalette();
    setFont(m_font);
}

Form::~Form()
{
    const QList<UserControl *> controls = std::exchange(m_controls, {});
    for (UserControl *c : controls)
        c->Terminate();
    qDeleteAll(controls);
}

void Form::setName(const QString &name)
{
    m_name = name;
    setObjectName(name);
}

double Form::Left() const
{
    return Screen::fromPixelsX(outerTopLeft().x());
}

double Form::Top() const
{
    return Screen::fromPixelsY(outerTopLeft().y());
}

void Form::setCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(caption);
    applyWindowFlags();
}

double Form::Width() const
{
    return Screen::fromPixelsX(width() + frameExtraWidth());
}

double Form::Height() const
{
    return Screen::fromPixelsY(height() + frameExtraHeight());
}

void Form::setLeft(double twips)
{
    moveOuterTo(QPoint(Screen::toPixelsX(twips), outerTopLeft().y()));
}

void Form::setTop(double twips)
{
    moveOuterTo(QPoint(outerTopLeft().x(), Screen::toPixelsY(twips)));
}

void Form::setWidth(double twips)
{
    resizeWithin(QSize(std::max(1, Screen::toPixelsX(twips) - frameExtraWidth()), height()));
}

void Form::setHeight(double twips)
{
    resizeWithin(QSize(width(), std::max(1, Screen::toPixelsY(twips) - frameExtraHeight())));
}

// A window larger than all screens together comes only from damaged input (a form file, the
// settings store): it could not be shown whole, nor even painted.
void Form::resizeWithin(QSize pixels)
{
    const ScreenRect desktop = Desktop::bounds(Desktop::windowManager().screens());
    if (desktop.right > desktop.left && desktop.bottom > desktop.top)
        pixels =
            pixels.boundedTo(QSize(desktop.right - desktop.left, desktop.bottom - desktop.top));
    resize(pixels);
}

void Form::Move(double left, double top)
{
    moveOuterTo(QPoint(Screen::toPixelsX(left), Screen::toPixelsY(top)));
}

void Form::Move(double left, double top, double width, double height)
{
    Move(left, top);
    setWidth(width);
    setHeight(height);
}

double Form::ScaleWidth() const
{
    return Screen::fromPixelsX(clientRect().width());
}

double Form::ScaleHeight() const
{
    return Screen::fromPixelsY(clientRect().height());
}

void Form::setClientSize(double width, double height)
{
    resizeWithin(QSize(std::max(1, Screen::toPixelsX(width)) + 2 * m_frame,
                       std::max(1, Screen::toPixelsY(height)) + 2 * m_frame));
    m_clientTwips = QSizeF(width, height);
    m_clientPixels = clientRect().size();
}

QSizeF Form::clientSizeAsSet() const
{
    if (clientRect().size() == m_clientPixels)
        return m_clientTwips;
    return QSizeF(ScaleWidth(), ScaleHeight());
}

QRect Form::clientRect() const
{
    const QRect inner = rect().adjusted(m_frame, m_frame, -m_frame, -m_frame);
    return inner.isValid() ? inner : QRect(inner.topLeft(), QSize(0, 0));
}

// A form without a title bar asks the window manager for no frame. Some window managers frame
// a new window first and read that request only later (fluxbox, under load): a placement taken
// from the frame seen meanwhile would leave the window lower and shorter for good. Such a form
// is placed by its own window, whatever frame is reported.
bool Form::asksForNoFrame() const
{
    return windowFlags().testFlag(Qt::FramelessWindowHint);
}

QPoint Form::outerTopLeft() const
{
    return asksForNoFrame() ? geometry().topLeft() : pos();
}

void Form::moveOuterTo(QPoint pixels)
{
    if (asksForNoFrame())
        setGeometry(QRect(pixels, size()));
    else
        move(pixels);
}

// While a window manager is still framing a window, Qt can report a frame smaller than the
// window itself (1 x 1 under openbox); a frame never takes away from the window's size.
int Form::frameExtraWidth() const
{
    return asksForNoFrame() ? 0 : std::max(0, frameGeometry().width() - width());
}

int Form::frameExtraHeight() const
{
    return asksForNoFrame() ? 0 : std::max(0, frameGeometry().height() - height());
}

qint16 Form::WindowState() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return FormWindowState::Minimized;
    if (s & Qt::WindowMaximized)
        return FormWindowState::Maximized;
    return FormWindowState::Normal;
}

void Form::setWindowState(qint16 state)
{
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == FormWindowState::Minimized)
        s |= Qt::WindowMinimized;
    else if (state == FormWindowState::Maximized)
        s |= Qt::WindowMaximized;
    QWidget::setWindowState(s);
}

void Form::setBackColor(Colour colour)
{
    m_backColor = colour;
    applyPalette();
    update();
}

void Form::setForeColor(Colour colour)
{
    m_foreColor = colour;
    applyPalette();
    update();
}

void Form::setFont(const FontRef &font)
{
    m_font = font ? font : makeFont();
    QWidget::setFont(m_font->toQFont());
    update();
}

// The form's picture stands at its own size; at the sizes a desktop also asks for (a task
// switcher, a dock) the program's icon does.
void Form::setIcon(const PictureRef &icon)
{
    m_icon = icon;
    if (isEmptyPicture(icon)) {
        setWindowIcon(QIcon());
        return;
    }
    const QIcon program = QApplication::windowIcon();
    QIcon combined;
    for (const QSize &size : program.availableSizes()) {
        if (size != icon->pixmap().size())
            combined.addPixmap(program.pixmap(size));
    }
    combined.addPixmap(icon->pixmap());
    setWindowIcon(combined);
}

void Form::setMousePointer(qint16 shape)
{
    MousePointer::requireValid(shape);
    m_mousePointer = shape;
    m_pointerEdges = {};
    if (m_painted)
        applyPointer();
}

// Over the frame the pointer shows which way a drag resizes; elsewhere the form's own.
void Form::showPointerFor(Qt::Edges edges)
{
    if (edges == m_pointerEdges)
        return;
    m_pointerEdges = edges;
    applyPointer();
}

void Form::applyPointer()
{
    setCursor(m_pointerEdges ? QCursor(MousePointer::resizeShapeFor(m_pointerEdges))
                             : MousePointer::cursorFor(m_mousePointer, {}));
}

void Form::setBorderStyle(qint16 style)
{
    m_borderStyle = style;
    applyWindowFlags();
}

void Form::setControlBox(bool on)
{
    m_controlBox = on;
    applyWindowFlags();
}

void Form::setShowInTaskbar(bool on)
{
    m_showInTaskbar = on;
    applyWindowFlags();
}

bool Form::hasTitleBar() const
{
    return m_borderStyle != FormBorderStyle::None && (m_controlBox || !Caption().isEmpty());
}

bool Form::hasOwnFrame() const
{
    return m_borderStyle != FormBorderStyle::None && !hasTitleBar();
}

bool Form::canBeRestoredByUser() const
{
    return hasTitleBar() || hasTaskbarEntry();
}

void Form::applyWindowFlags()
{
    if (m_readingProperties)
        return;
    Qt::WindowFlags flags = Qt::Window;
    if (m_borderStyle == FormBorderStyle::FixedToolWindow ||
        m_borderStyle == FormBorderStyle::SizableToolWindow || !m_showInTaskbar)
        flags = Qt::Tool;
    else if (m_borderStyle == FormBorderStyle::FixedDialog)
        flags = Qt::Dialog;
    if (!hasTitleBar()) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        if (m_controlBox)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    flags |= windowFlags() & Qt::WindowStaysOnTopHint;
    if (flags != windowFlags())
        setWindowFlags(flags);
    if (!hasTaskbarEntry())
        Desktop::windowManager().prepareToLeaveOutOfTaskbar();

    // The client area keeps its size when the own frame comes or goes; the controls keep
    // their place in it.
    const int frame = hasOwnFrame() ? Screen::toPixelsX(FrameTwips) : 0;
    m_sizable = frame > 0 && (m_borderStyle == FormBorderStyle::Sizable ||
                              m_borderStyle == FormBorderStyle::SizableToolWindow);
    setMouseTracking(m_sizable);
    if (frame != m_frame) {
        const bool sizeAsSet = clientRect().size() == m_clientPixels;
        resizeWithin(QSize(width() + 2 * (frame - m_frame), height() + 2 * (frame - m_frame)));
        m_frame = frame;
        if (sizeAsSet)
            m_clientPixels = clientRect().size();
        for (UserControl *c : std::as_const(m_controls))
            c->Move(c->Left(), c->Top(), c->Width(), c->Height());
    }
}

Qt::Edges Form::frameEdgesAt(QPoint pos) const
{
    if (!m_sizable || !rect().contains(pos) || clientRect().contains(pos))
        return {};
    // Near a corner the frame grabs both edges, as a corner grip would.
    const int grip = std::max(m_frame, std::min({4 * m_frame, width() / 3, height() / 3}));
    Qt::Edges edges;
    if (pos.x() < grip)
        edges |= Qt::LeftEdge;
    else if (pos.x() >= width() - grip)
        edges |= Qt::RightEdge;
    if (pos.y() < grip)
        edges |= Qt::TopEdge;
    else if (pos.y() >= height() - grip)
        edges |= Qt::BottomEdge;
    return edges;
}

void Form::DragWindow()
{
    // After the window manager's move ends, Qt on X11 reports one more move with the left
    // button still held; starting on that would make the window follow the bare pointer.
    if (std::exchange(m_dragArmed, false))
        Desktop::windowManager().startSystemMove(this);
}

void Form::applyPalette()
{
    if (m_readingProperties)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, m_backColor.toQColor());
    p.setColor(QPalette::WindowText, m_foreColor.toQColor());
    setPalette(p);
}

// A bag changes the window's kind, frame and colours a key at a time; each change of window
// flags makes Qt rebuild the window's settings, so they are applied once, at the end, whether
// every key could be read or not.
void Form::ReadProperties(const PropertyBag &bag)
{
    m_readingProperties = true;
    const auto applyRead = qScopeGuard([this] {
        m_readingProperties = false;
        applyWindowFlags();
        applyPalette();
    });
    formProperties().read(*this, bag);
}

void Form::WriteProperties(PropertyBag &bag) const
{
    formProperties().write(*this, bag);
}

QList<ListedProperty> Form::listProperties()
{
    return formProperties().list(*this);
}

void Form::addControl(UserControl *control)
{
    control->setParent(this);
    m_controls.append(control);
}

UserControl *Form::control(const QString &name, int index) const
{
    for (UserControl *c : m_controls) {
        if (c->Index() == index && c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return nullptr;
}

void Form::ensureLoaded()
{
    if (m_loaded)
        return;
    QPointer<Form> self(this);
    m_loaded = true;
    m_loading = true;
    emit Load();
    if (!self)
        return;
    m_loading = false;
    const std::optional<bool> inactive = std::exchange(m_showAfterLoad, std::nullopt);
    if (!inactive || !m_loaded)
        return;
    const bool wasInactive = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, *inactive);
    setVisible(true);
    setAttribute(Qt::WA_ShowWithoutActivating, wasInactive);
}

// Qt shows a window's children before it asks for the map, and the first widget a program
// shows starts the accessibility bridge (a session-bus connection and a query for the
// accessibility service), which the map request would otherwise wait for.
void Form::showWindowThenControls()
{
    QVarLengthArray<QPointer<QWidget>, 16> controls;
    for (QObject *child : children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && !widget->isHidden()) {
            controls.append(widget);
            widget->hide();
        }
    }
    QWidget::setVisible(true);
    for (const QPointer<QWidget> &widget : controls) {
        if (widget)
            widget->show();
    }
}

// Mapped and then moved, the window would flash where the form file left it and make the
// window manager place it twice.
void Form::setVisible(bool visible)
{
    if (m_loading) {
        if (visible) {
            m_showAfterLoad = testAttribute(Qt::WA_ShowWithoutActivating);
            return;
        }
        m_showAfterLoad.reset();
    }
    if (visible && isHidden())
        showWindowThenControls();
    else
        QWidget::setVisible(visible);
}

void Form::Show()
{
    ensureLoaded();
    if (m_loaded)
        show();
}

void Form::ShowModal()
{
    QPointer<Form> self(this);
    setWindowModality(Qt::ApplicationModal);
    ensureLoaded();
    if (!self || !m_loaded)
        return;
    QEventLoop loop;
    connect(this, &Form::Unload, &loop, &QEventLoop::quit);
    show();
    loop.exec();
}

void Form::unload()
{
    if (!m_loaded)
        return;
    {
        // Whatever the handlers save goes into the settings file in one replace.
        const SettingsStore::Batch batch;
        emit Unload();
    }
    m_loaded = false;
    hide();
}

// Only the area asked for is drawn: a form that updates one line of text repaints that line.
void Form::paintEvent(QPaintEvent *event)
{
    // A pointer shape comes from the pointer theme, read and sent to the X server; nobody
    // sees it before the window is on screen, so the first paint goes first.
    if (!std::exchange(m_painted, true))
        QMetaObject::invokeMethod(this, &Form::applyPointer, Qt::QueuedConnection);
    QPainter painter(this);
    const QRect client = clientRect();
    if (m_frame > 0 && !client.contains(event->rect()))
        paintFrame(painter);
    const QRect area = client & event->rect();
    painter.fillRect(area, m_backColor.toQColor(palette()));
    emit Paint();
    painter.setClipRect(area);
    painter.translate(client.topLeft());
    paintContents(painter, area.translated(-client.topLeft()));
}

// A raised 3-D frame: light over dark on the outer line, highlight over shadow on the next,
// button face on the rest.
void Form::paintFrame(QPainter &painter) const
{
    const QPalette &p = palette();
    const auto colour = [&p](int index) { return Colour::system(index).toQColor(p); };
    const QRect outer = rect();
    painter.fillRect(outer, colour(SystemColour::ButtonFace));
    const auto ring = [&](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    ring(outer, colour(SystemColour::LightFace), colour(SystemColour::DarkShadow));
    ring(outer.adjusted(1, 1, -1, -1), colour(SystemColour::ButtonHighlight),
         colour(SystemColour::ButtonShadow));
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit Resize();
}

void Form::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit Activate();
}

bool Form::event(QEvent *event)
{
    // The program's icon may come after the form's own picture: the window takes both.
    if (event->type() == QEvent::ApplicationWindowIconChange && !isEmptyPicture(m_icon))
        setIcon(m_icon);
    return QWidget::event(event);
}

void Form::showEvent(QShowEvent *event)
{
    if (!hasTaskbarEntry())
        Desktop::windowManager().leaveOutOfTaskbar(this);
    QWidget::showEvent(event);
}

// A left press in the client area arms a move for as long as the left button stays down,
// whatever other buttons come and go meanwhile: the button state at the move decides.
void Form::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_dragArmed = false;
        if (const Qt::Edges edges = frameEdgesAt(at))
            Desktop::windowManager().startSystemResize(this, edges);
        else
            m_dragArmed = clientRect().contains(at);
    }
    QWidget::mousePressEvent(event);
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_sizable)
        showPointerFor(frameEdgesAt(at));
    const QRect client = clientRect();
    if (client.contains(at))
        emit MouseMove(buttonState(event->buttons()), shiftState(event->modifiers()),
                       float(Screen::fromPixelsX(at.x() - client.left())),
                       float(Screen::fromPixelsY(at.y() - client.top())));
    QWidget::mouseMoveEvent(event);
}

void Form::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragArmed = false;
    QWidget::mouseReleaseEvent(event);
}

// A close request from the window manager unloads the form like the program's own close.
void Form::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}
