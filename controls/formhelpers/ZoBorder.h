#pragma once

#include "Colour.h"
#include "Form.h"
#include "UserControl.h"

#include <QPointer>

template <class Control> class PropertyTable;

// One of the border's two horizontal lines, in the control's twips.
struct BorderLine {
    Colour BorderColor;
    float X1 = 0;
    float X2 = 0;
    float Y = 0;
};

// An etched horizontal separator: a dark line along the top edge with a light line one pixel
// below it, both as wide as the control. The control keeps itself 60 twips high and its lines
// spanning its width whenever it is created, shown or resized, and at run time whenever its
// form is resized; with AutoResize it then also takes the width of the form's inner area.
class ZoBorder : public UserControl {
    Q_OBJECT
public:
    explicit ZoBorder(QWidget *container = nullptr);

    // Returns/sets the color of an object's border. The colours are the lines' own.
    Colour DarkColor() const { return m_linBorderDark.BorderColor; }
    void setDarkColor(Colour colour);
    Colour LightColor() const { return m_linBorderLight.BorderColor; }
    void setLightColor(Colour colour);
    // Set width of border equal to parent form width. Takes effect at the next resize or show.
    bool AutoResize() const { return m_autoResize; }
    void setAutoResize(bool on);

    // The two lines as last arranged: the dark one at Y 0, the light one at Y 15 twips.
    const BorderLine &linBorderDark() const { return m_linBorderDark; }
    const BorderLine &linBorderLight() const { return m_linBorderLight; }

    // New instances and missing keys alike: "DarkColor" the system button shadow,
    // "LightColor" the system button highlight, "AutoResize" False.
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;
    void Terminate() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static const PropertyTable<ZoBorder> &properties();
    void ArrangeLines();

    static constexpr double FixedHeight = 60; // twips

    BorderLine m_linBorderDark{Colour::system(SystemColour::ButtonShadow), 0, 0, 0};
    BorderLine m_linBorderLight{Colour::system(SystemColour::ButtonHighlight), 0, 0, 15};
    bool m_autoResize = false;
    QPointer<Form> mParentForm;
};
