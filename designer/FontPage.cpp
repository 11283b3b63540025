#include "FontPage.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>

FontPage::FontPage(QWidget *parent)
    : StandardPage(QStringLiteral("Font"), QMetaType::fromType<FontRef>(), parent)
    , m_family(new QFontComboBox(this))
    , m_size(new QDoubleSpinBox(this))
    , m_bold(new QCheckBox(QStringLiteral("Bold"), this))
    , m_italic(new QCheckBox(QStringLiteral("Italic"), this))
    , m_underline(new QCheckBox(QStringLiteral("Underline"), this))
    , m_strikethrough(new QCheckBox(QStringLiteral("Strike-through"), this))
{
    m_family->setObjectName(QStringLiteral("family"));
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(1, 2048);
    m_size->setDecimals(2);
    fields()->addRow(QStringLiteral("Font:"), m_family);
    fields()->addRow(QStringLiteral("Size:"), m_size);
    for (QCheckBox *box : {m_bold, m_italic, m_underline, m_strikethrough})
        fields()->addRow(box);

    // The name is kept as typed: forms name faces that the desktop may only have a twin of.
    connect(m_family, &QComboBox::currentTextChanged, this,
            [this](const QString &name) { change([&](FontObject &f) { f.Name = name; }); });
    connect(m_size, &QDoubleSpinBox::valueChanged, this,
            [this](double size) { change([&](FontObject &f) { f.Size = float(size); }); });
    connect(m_bold, &QCheckBox::toggled, this, [this](bool on) {
        change([&](FontObject &f) {
            f.Bold = on;
            f.Weight = on ? 700 : 400;
        });
    });
    connect(m_italic, &QCheckBox::toggled, this,
            [this](bool on) { change([&](FontObject &f) { f.Italic = on; }); });
    connect(m_underline, &QCheckBox::toggled, this,
            [this](bool on) { change([&](FontObject &f) { f.Underline = on; }); });
    connect(m_strikethrough, &QCheckBox::toggled, this,
            [this](bool on) { change([&](FontObject &f) { f.Strikethrough = on; }); });
}

void FontPage::showValue(const QVariant &value)
{
    const FontRef font = value.value<FontRef>();
    const FontObject f = font ? *font : FontObject{};
    m_family->setEditText(f.Name);
    m_size->setValue(double(f.Size));
    m_bold->setChecked(f.Bold);
    m_italic->setChecked(f.Italic);
    m_underline->setChecked(f.Underline);
    m_strikethrough->setChecked(f.Strikethrough);
}

void FontPage::change(const std::function<void(FontObject &)> &edit)
{
    const FontRef font = value().value<FontRef>();
    FontObject f = font ? *font : FontObject{};
    edit(f);
    StandardPage::edit(QVariant::fromValue(makeFont(f)));
}
