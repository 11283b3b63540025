#include "ZoBorder.h"

#include "PropertyTable.h"
#include "Screen.h"

#include <QPainter>

ZoBorder::ZoBorder(QWidget *container)
    : UserControl(container)
{
}

const PropertyTable<ZoBorder> &ZoBorder::properties()
{
    static const PropertyTable<ZoBorder> table = [] {
        PropertyTable<ZoBorder> t;
        t.add(QStringLiteral("DarkColor"), Colour::system(SystemColour::ButtonShadow),
              &ZoBorder::DarkColor,
              [](ZoBorder &c, Colour v) {
                  c.m_linBorderDark.BorderColor = v;
                  c.update();
              })
            .add(QStringLiteral("LightColor"), Colour::system(SystemColour::ButtonHighlight),
                 &ZoBorder::LightColor,
                 [](ZoBorder &c, Colour v) {
                     c.m_linBorderLight.BorderColor = v;
                     c.update();
                 })
            .add(QStringLiteral("AutoResize"), false, &ZoBorder::AutoResize,
                 [](ZoBorder &c, bool v) { c.m_autoResize = v; });
        return t;
    }();
    return table;
}

void ZoBorder::setDarkColor(Colour colour)
{
    m_linBorderDark.BorderColor = colour;
    update();
    PropertyChanged(QStringLiteral("DarkColor"));
}

void ZoBorder::setLightColor(Colour colour)
{
    m_linBorderLight.BorderColor = colour;
    update();
    PropertyChanged(QStringLiteral("LightColor"));
}

void ZoBorder::setAutoResize(bool on)
{
    m_autoResize = on;
    PropertyChanged(QStringLiteral("AutoResize"));
}

void ZoBorder::Initialize()
{
    ArrangeLines();
}

void ZoBorder::InitProperties()
{
    m_autoResize = false;
}

void ZoBorder::ReadProperties(const PropertyBag &bag)
{
    if (Ambient().UserMode()) {
        mParentForm = UserControl::ParentForm();
        if (mParentForm)
            connect(mParentForm, &Form::Resize, this, &ZoBorder::ArrangeLines);
    }
    properties().read(*this, bag);
}

void ZoBorder::WriteProperties(PropertyBag &bag) const
{
    properties().write(*this, bag);
}

QList<ListedProperty> ZoBorder::listProperties()
{
    return properties().list(*this);
}

void ZoBorder::Terminate()
{
    if (mParentForm)
        disconnect(mParentForm, nullptr, this, nullptr);
    mParentForm = nullptr;
}

void ZoBorder::showEvent(QShowEvent *event)
{
    UserControl::showEvent(event);
    ArrangeLines();
}

void ZoBorder::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    ArrangeLines();
}

// Setting a size the control already has raises no resize, so the nested runs that a new width
// or height starts end at once.
void ZoBorder::ArrangeLines()
{
    // The one step allowed to fail: without a form (always so in a designer) it does nothing.
    if (m_autoResize && mParentForm)
        setWidth(mParentForm->ScaleWidth());
    // The drawing area starts at 0.
    const float right = float(ScaleWidth());
    m_linBorderDark.X1 = m_linBorderLight.X1 = 0;
    m_linBorderDark.X2 = m_linBorderLight.X2 = right;
    setHeight(FixedHeight);
    update();
}

// A line from X1 to X2 covers the pixels from X1 up to, not including, X2.
void ZoBorder::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Colour::system(SystemColour::ButtonFace).toQColor(palette()));
    for (const BorderLine &line : {m_linBorderDark, m_linBorderLight}) {
        const int x1 = Screen::toPixelsX(line.X1);
        const int x2 = Screen::toPixelsX(line.X2);
        if (x2 <= x1)
            continue;
        const int y = Screen::toPixelsY(line.Y);
        painter.setPen(QPen(line.BorderColor.toQColor(palette()), 0));
        painter.drawLine(x1, y, x2 - 1, y);
    }
}
