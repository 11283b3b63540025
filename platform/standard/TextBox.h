#pragma once

#include "Colour.h"
#include "FontObject.h"
#include "UserControl.h"

#include <QString>

class QLineEdit;

// The host's single-line text box, placed by form files as "TextBox". It takes keyboard
// focus by click and by Tab, and selects all its text when tabbed into.
//
// Change is raised on every change of Text, whether typed or set by code; setting Text to
// what it already holds changes nothing and raises nothing. The property setters show their
// change at once and report their key with PropertyChanged; typing reports nothing, as only
// a designer cares. The text is painted readable on its background whatever the palette (see
// shownForeColor). Font holds a shared reference: a change made through the font object
// itself shows only once the font is set again.
class TextBox : public UserControl {
    Q_OBJECT
public:
    explicit TextBox(QWidget *container = nullptr);

    QString Text() const;
    void setText(const QString &text);
    Colour ForeColor() const { return m_foreColor; }
    void setForeColor(Colour colour);
    Colour BackColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    FontRef Font() const { return m_font; }
    // No font (null) stands for the ambient font.
    void setFont(const FontRef &font);

    // Names the text field for assistive technologies: name is what it holds (its label's
    // caption), description what qualifies it (a unit).
    void setAccessibleText(const QString &name, const QString &description);
    // The text colour as painted: ForeColor, brought towards black or white as far as needed
    // to stand out from the background at least 4.5 : 1.
    QColor shownForeColor() const;

    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;

    // The system colours a text box starts with: window text on window background.
    static constexpr Colour DefaultForeColor = Colour::system(SystemColour::WindowText);
    static constexpr Colour DefaultBackColor = Colour::system(SystemColour::Window);

signals:
    void Change();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    QLineEdit *m_edit;
    Colour m_foreColor = DefaultForeColor;
    Colour m_backColor = DefaultBackColor;
    FontRef m_font = makeFont();
};
