#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "UserControl.h"

#include <QString>

class QLabel;

// The host's text label, placed by form files as "Label". It shows Caption on one line at
// its top edge, in Font and ForeColor on BackColor; a caption wider than the label is cut.
// A label never takes keyboard focus.
//
// Every setter shows its change at once and reports its key with PropertyChanged. Font holds
// a shared reference: a change made through the font object itself shows only once the font
// is set again. A new instance (InitProperties) shows its own name, as a designer's new label
// does; a saved label without a caption shows nothing.
class Label : public UserControl {
    Q_OBJECT
public:
    // Alignment values, as form files save them.
    enum : qint16 { LeftJustify = 0, RightJustify = 1, Center = 2 };

    explicit Label(QWidget *container = nullptr);

    QString Caption() const;
    void setCaption(const QString &caption);
    // Throws HostError(InvalidPropertyValue) for anything but LeftJustify, RightJustify or
    // Center, and keeps the old alignment.
    qint16 Alignment() const { return m_alignment; }
    void setAlignment(qint16 alignment);
    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    Colour ForeColor() const { return m_foreColor; }
    void setForeColor(Colour colour);
    FontRef Font() const { return m_font; }
    // No font (null) stands for the ambient font.
    void setFont(const FontRef &font);

    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColours();

    QLabel *m_text;
    qint16 m_alignment = LeftJustify;
    Colour m_backColor = Colour::system(SystemColour::ButtonFace);
    Colour m_foreColor = Colour::system(SystemColour::ButtonText);
    FontRef m_font = makeFont();
};
