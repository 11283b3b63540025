#include "Label.h"

#include "HostError.h"
#include "LabelAccessible.h"
#include "PropertyTable.h"

#include <QLabel>
#include <QResizeEvent>

namespace {
const PropertyTable<Label> &labelProperties()
{
    static const PropertyTable<Label> table = [] {
        PropertyTable<Label> t;
        t.add(QStringLiteral("Caption"), QString(), &Label::Caption, &Label::setCaption)
            .add(QStringLiteral("Alignment"), qint16(Label::LeftJustify), &Label::Alignment,
                 &Label::setAlignment)
            .add(QStringLiteral("BackColor"), Colour::system(SystemColour::ButtonFace),
                 &Label::BackColor, &Label::setBackColor)
            .add(QStringLiteral("ForeColor"), Colour::system(SystemColour::ButtonText),
                 &Label::ForeColor, &Label::setForeColor)
            .addWithDefault(
                QStringLiteral("Font"), [](const Label &l) { return l.Ambient().Font(); },
                &Label::Font, &Label::setFont);
        return t;
    }();
    return table;
}

Qt::Alignment qtAlignment(qint16 alignment)
{
    switch (alignment) {
    case Label::RightJustify:
        return Qt::AlignRight | Qt::AlignTop;
    case Label::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}
} // namespace

Label::Label(QWidget *container)
    : UserControl(container)
    , m_text(new QLabel(this))
{
    LabelAccessible::install();
    // A caption is shown as written: no markup, no line breaking, no mnemonic.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(qtAlignment(m_alignment));
    m_text->setAutoFillBackground(true);
    m_text->setFont(m_font->toQFont());
    applyColours();
}

QString Label::Caption() const
{
    return m_text->text();
}

void Label::setCaption(const QString &caption)
{
    m_text->setText(caption);
    LabelAccessible::captionChanged(this);
    PropertyChanged(QStringLiteral("Caption"));
}

void Label::setAlignment(qint16 alignment)
{
    if (alignment != LeftJustify && alignment != RightJustify && alignment != Center)
        throw HostError(HostError::InvalidPropertyValue);
    m_alignment = alignment;
    m_text->setAlignment(qtAlignment(alignment));
    PropertyChanged(QStringLiteral("Alignment"));
}

void Label::setBackColor(Colour colour)
{
    m_backColor = colour;
    applyColours();
    PropertyChanged(QStringLiteral("BackColor"));
}

void Label::setForeColor(Colour colour)
{
    m_foreColor = colour;
    applyColours();
    PropertyChanged(QStringLiteral("ForeColor"));
}

void Label::setFont(const FontRef &font)
{
    m_font = font ? font : Ambient().Font();
    m_text->setFont(m_font->toQFont());
    PropertyChanged(QStringLiteral("Font"));
}

void Label::applyColours()
{
    QPalette p = m_text->palette();
    p.setColor(QPalette::Window, m_backColor.toQColor());
    p.setColor(QPalette::WindowText, m_foreColor.toQColor());
    m_text->setPalette(p);
}

void Label::InitProperties()
{
    setCaption(Name());
    setAlignment(LeftJustify);
    setBackColor(Colour::system(SystemColour::ButtonFace));
    setForeColor(Colour::system(SystemColour::ButtonText));
    setFont(Ambient().Font());
}

void Label::ReadProperties(const PropertyBag &bag)
{
    labelProperties().read(*this, bag);
}

void Label::WriteProperties(PropertyBag &bag) const
{
    labelProperties().write(*this, bag);
}

QList<ListedProperty> Label::listProperties()
{
    return labelProperties().list(*this);
}

void Label::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    m_text->setGeometry(rect());
}
