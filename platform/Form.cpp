#include "Form.h"

#include "MousePointer.h"
#include "PropertyTable.h"
#include "Screen.h"
#include "UserControl.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPainter>
#include <QPointer>

namespace {
const PropertyTable<Form> &formProperties()
{
    static const PropertyTable<Form> table = [] {
        PropertyTable<Form> t;
        t.add(QStringLiteral("Caption"), QString(), &Form::Caption, &Form::setCaption)
            .add(QStringLiteral("BorderStyle"), qint16(2), &Form::BorderStyle,
                 &Form::setBorderStyle)
            .add(QStringLiteral("ControlBox"), true, &Form::ControlBox, &Form::setControlBox)
            .add(QStringLiteral("ShowInTaskbar"), true, &Form::ShowInTaskbar,
                 &Form::setShowInTaskbar)
            .add(
                QStringLiteral("ClientWidth"), 0.0f,
                [](const Form &f) { return float(f.ScaleWidth()); },
                [](Form &f, float w) { f.setClientSize(w, f.ScaleHeight()); })
            .add(
                QStringLiteral("ClientHeight"), 0.0f,
                [](const Form &f) { return float(f.ScaleHeight()); },
                [](Form &f, float h) { f.setClientSize(f.ScaleWidth(), h); })
            .add(QStringLiteral("BackColor"), Colour::system(15), &Form::BackColor,
                 &Form::setBackColor)
            .add(QStringLiteral("ForeColor"), Colour::system(18), &Form::ForeColor,
                 &Form::setForeColor)
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
    return Screen::fromPixelsX(pos().x());
}

double Form::Top() const
{
    return Screen::fromPixelsY(pos().y());
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
    move(Screen::toPixelsX(twips), pos().y());
}

void Form::setTop(double twips)
{
    move(pos().x(), Screen::toPixelsY(twips));
}

void Form::setWidth(double twips)
{
    resize(std::max(1, Screen::toPixelsX(twips) - frameExtraWidth()), height());
}

void Form::setHeight(double twips)
{
    resize(width(), std::max(1, Screen::toPixelsY(twips) - frameExtraHeight()));
}

void Form::Move(double left, double top)
{
    move(Screen::toPixelsX(left), Screen::toPixelsY(top));
}

void Form::Move(double left, double top, double width, double height)
{
    Move(left, top);
    setWidth(width);
    setHeight(height);
}

double Form::ScaleWidth() const
{
    return Screen::fromPixelsX(width());
}

double Form::ScaleHeight() const
{
    return Screen::fromPixelsY(height());
}

void Form::setClientSize(double width, double height)
{
    resize(std::max(1, Screen::toPixelsX(width)), std::max(1, Screen::toPixelsY(height)));
}

// While a window manager is still framing a window, Qt can report a frame smaller than the
// window itself (1 x 1 under openbox); a frame never takes away from the window's size.
int Form::frameExtraWidth() const
{
    return std::max(0, frameGeometry().width() - width());
}

int Form::frameExtraHeight() const
{
    return std::max(0, frameGeometry().height() - height());
}

qint16 Form::WindowState() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return 1;
    if (s & Qt::WindowMaximized)
        return 2;
    return 0;
}

void Form::setWindowState(qint16 state)
{
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1)
        s |= Qt::WindowMinimized;
    else if (state == 2)
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

void Form::setIcon(const PictureRef &icon)
{
    m_icon = icon;
    setWindowIcon(isEmptyPicture(icon) ? QIcon() : QIcon(icon->pixmap()));
}

void Form::setMousePointer(qint16 shape)
{
    setCursor(MousePointer::cursorFor(shape, {}));
    m_mousePointer = shape;
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

void Form::applyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window;
    if (m_borderStyle == 4 || m_borderStyle == 5 || !m_showInTaskbar)
        flags = Qt::Tool;
    else if (m_borderStyle == 3)
        flags = Qt::Dialog;
    const bool titleBar = m_borderStyle != 0 && (m_controlBox || !Caption().isEmpty());
    if (!titleBar) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        if (m_controlBox)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    flags |= windowFlags() & Qt::WindowStaysOnTopHint;
    if (flags != windowFlags())
        setWindowFlags(flags);
}

void Form::applyPalette()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, m_backColor.toQColor());
    p.setColor(QPalette::WindowText, m_foreColor.toQColor());
    setPalette(p);
}

void Form::ReadProperties(const PropertyBag &bag)
{
    formProperties().read(*this, bag);
}

void Form::WriteProperties(PropertyBag &bag) const
{
    formProperties().write(*this, bag);
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
    m_loaded = true;
    emit Load();
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
    emit Unload();
    m_loaded = false;
    hide();
}

void Form::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor.toQColor(palette()));
    emit Paint();
    paintContents(painter);
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

// A close request from the window manager unloads the form like the program's own close.
void Form::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}
