#include "TextBox.h"

#include "PropertyTable.h"

#include <QLineEdit>
#include <QResizeEvent>

namespace {
const PropertyTable<TextBox> &textBoxProperties()
{
    static const PropertyTable<TextBox> table = [] {
        PropertyTable<TextBox> t;
        t.add(QStringLiteral("Text"), QString(), &TextBox::Text, &TextBox::setText)
            .addWithDefault(
                QStringLiteral("Font"), [](const TextBox &b) { return b.Ambient().Font(); },
                &TextBox::Font, &TextBox::setFont)
            .add(QStringLiteral("ForeColor"), TextBox::DefaultForeColor, &TextBox::ForeColor,
                 &TextBox::setForeColor)
            .add(QStringLiteral("BackColor"), TextBox::DefaultBackColor, &TextBox::BackColor,
                 &TextBox::setBackColor);
        return t;
    }();
    return table;
}
} // namespace

TextBox::TextBox(QWidget *container)
    : UserControl(container)
    , m_edit(new QLineEdit(this))
{
    // The line edit already selects everything when tabbed into and only reports a text
    // that really changed.
    setFocusProxy(m_edit);
    m_edit->setFont(m_font->toQFont());
    applyColours();
    connect(m_edit, &QLineEdit::textChanged, this, &TextBox::Change);
}

QString TextBox::Text() const
{
    return m_edit->text();
}

void TextBox::setText(const QString &text)
{
    if (text == m_edit->text())
        return;
    m_edit->setText(text);
    PropertyChanged(QStringLiteral("Text"));
}

void TextBox::setForeColor(Colour colour)
{
    m_foreColor = colour;
    applyColours();
    PropertyChanged(QStringLiteral("ForeColor"));
}

void TextBox::setBackColor(Colour colour)
{
    m_backColor = colour;
    applyColours();
    PropertyChanged(QStringLiteral("BackColor"));
}

void TextBox::setFont(const FontRef &font)
{
    m_font = font ? font : Ambient().Font();
    m_edit->setFont(m_font->toQFont());
    PropertyChanged(QStringLiteral("Font"));
}

void TextBox::setAccessibleText(const QString &name, const QString &description)
{
    m_edit->setAccessibleName(name);
    m_edit->setAccessibleDescription(description);
}

// A colour chosen for a light background (black, red) stays readable on the dark one a system
// background colour becomes under a dark palette.
void TextBox::applyColours()
{
    const QColor background = m_backColor.toQColor();
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Text, readableOn(m_foreColor.toQColor(), background));
    p.setColor(QPalette::Base, background);
    m_edit->setPalette(p);
}

QColor TextBox::shownForeColor() const
{
    return m_edit->palette().color(QPalette::Text);
}

void TextBox::changeEvent(QEvent *event)
{
    UserControl::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        applyColours();
}

void TextBox::InitProperties()
{
    setText(QString());
    setForeColor(DefaultForeColor);
    setBackColor(DefaultBackColor);
    setFont(Ambient().Font());
}

void TextBox::ReadProperties(const PropertyBag &bag)
{
    textBoxProperties().read(*this, bag);
}

void TextBox::WriteProperties(PropertyBag &bag) const
{
    textBoxProperties().write(*this, bag);
}

QList<ListedProperty> TextBox::listProperties()
{
    return textBoxProperties().list(*this);
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    UserControl::resizeEvent(event);
    m_edit->setGeometry(rect());
}
