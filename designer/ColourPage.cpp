#include "ColourPage.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace {
// The system colours Kelvo paints from the desktop's palette.
struct SystemColourName {
    int index;
    const char *name;
};
constexpr SystemColourName systemColours[] = {
    {5, "Window background"},
    {SystemColour::WindowText, "Window text"},
    {SystemColour::CaptionText, "Caption text"},
    {13, "Highlight"},
    {14, "Highlighted text"},
    {SystemColour::ButtonFace, "Button face"},
    {SystemColour::ButtonShadow, "Button shadow"},
    {SystemColour::ButtonText, "Button text"},
    {SystemColour::ButtonHighlight, "Button highlight"},
    {SystemColour::DarkShadow, "Dark 3-D shadow"},
    {SystemColour::LightFace, "Light 3-D face"},
    {23, "Tool-tip text"},
    {24, "Tool-tip background"},
};

QString hexText(Colour colour)
{
    return QColor(colour.toQColor()).name();
}

// Only "#rrggbb".
std::optional<Colour> fromHexText(const QString &text)
{
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#')) || !ok)
        return std::nullopt;
    return Colour::rgb(int(rgb >> 16), int(rgb >> 8), int(rgb));
}
} // namespace

ColourPage::ColourPage(QWidget *parent)
    : StandardPage(QStringLiteral("Colour"), QMetaType::fromType<Colour>(), parent)
    , m_system(new QComboBox(this))
    , m_rgb(new QLineEdit(this))
    , m_choose(new QPushButton(QStringLiteral("Choose..."), this))
    , m_swatch(new QLabel(this))
{
    m_system->setObjectName(QStringLiteral("system"));
    m_rgb->setObjectName(QStringLiteral("rgb"));
    for (const SystemColourName &c : systemColours)
        m_system->addItem(QLatin1String(c.name), c.index);
    m_rgb->setPlaceholderText(QStringLiteral("#rrggbb"));
    m_swatch->setMinimumSize(48, 24);
    m_swatch->setAutoFillBackground(true);
    fields()->addRow(QStringLiteral("System colour:"), m_system);
    fields()->addRow(QStringLiteral("Colour:"), m_rgb);
    fields()->addRow(m_choose);
    fields()->addRow(QStringLiteral("Shows as:"), m_swatch);

    connect(m_system, &QComboBox::activated, this,
            [this](int entry) { take(Colour::system(m_system->itemData(entry).toInt())); });
    connect(m_rgb, &QLineEdit::editingFinished, this, [this] {
        if (const std::optional<Colour> colour = fromHexText(m_rgb->text()))
            take(*colour);
        else
            showChosen();
    });
    connect(m_choose, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(value().value<Colour>().toQColor(), this);
        if (chosen.isValid())
            take(Colour::rgb(chosen.red(), chosen.green(), chosen.blue()));
    });
}

QString ColourPage::describe(Colour colour)
{
    if (!colour.isSystem())
        return hexText(colour);
    for (const SystemColourName &c : systemColours) {
        if (c.index == colour.systemIndex())
            return QLatin1String(c.name);
    }
    return QStringLiteral("System colour %1").arg(colour.systemIndex());
}

void ColourPage::showValue(const QVariant &value)
{
    const Colour colour = value.value<Colour>();
    m_system->setCurrentIndex(colour.isSystem() ? m_system->findData(colour.systemIndex()) : -1);
    m_rgb->setText(colour.isSystem() ? QString() : hexText(colour));
    QPalette p = m_swatch->palette();
    p.setColor(QPalette::Window, colour.toQColor());
    m_swatch->setPalette(p);
}

void ColourPage::take(Colour colour)
{
    edit(QVariant::fromValue(colour));
    showChosen();
}
