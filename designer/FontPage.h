#pragma once

#include "FontObject.h"
#include "StandardPage.h"

#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QFontComboBox;

// The standard font page: family, size in points, bold, italic, underline and strike-through of
// the chosen font property. An edit makes a new font object, so that whoever shares the old one
// keeps it as it was.
class FontPage : public StandardPage {
    Q_OBJECT
public:
    explicit FontPage(QWidget *parent = nullptr);

protected:
    void showValue(const QVariant &value) override;

private:
    void change(const std::function<void(FontObject &)> &edit);

    QFontComboBox *m_family;
    QDoubleSpinBox *m_size;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
    QCheckBox *m_strikethrough;
};
