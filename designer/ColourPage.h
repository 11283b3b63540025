#pragma once

#include "Colour.h"
#include "StandardPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The standard colour page: the chosen colour property as one of the desktop's system colours,
// picked by name, or as any colour, typed as #rrggbb or picked in the colour dialog.
class ColourPage : public StandardPage {
    Q_OBJECT
public:
    explicit ColourPage(QWidget *parent = nullptr);

    // A system colour's name ("Button face", or "System colour 3" for one without a name
    // here), any other colour as #rrggbb.
    static QString describe(Colour colour);

protected:
    void showValue(const QVariant &value) override;

private:
    void take(Colour colour);

    QComboBox *m_system;
    QLineEdit *m_rgb;
    QPushButton *m_choose;
    QLabel *m_swatch;
};
