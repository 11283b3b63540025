#pragma once

#include "FontObject.h"
#include "PropertyBag.h"

#include <QList>
#include <QString>
#include <QWidget>

class Form;
struct ListedProperty;

// The host's properties of a placed control, in its container's twips. Index is the
// control's place in a control array, or -1 for a control that stands alone.
struct Extender {
    QString Name;
    int Index = -1;
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    int TabIndex = -1;
};

// What the host tells a control about where it lives.
class AmbientProperties {
public:
    // False while the control lives in a form designer, true at run time.
    bool UserMode() const { return m_userMode; }
    // The container's font, as a new object on every call.
    FontRef Font() const { return makeFont(m_font); }

private:
    friend class UserControl;
    bool m_userMode = true;
    FontObject m_font;
};

// The base of every control a form file can place. The host creates a control, calls
// Initialize, places it (the extender), then calls ReadProperties with its saved bag, or
// InitProperties for a new instance; WriteProperties when the form is saved; Terminate just
// before the control is destroyed with its form. A designer lists the saved properties through
// listProperties.
class UserControl : public QWidget {
    Q_OBJECT
public:
    explicit UserControl(QWidget *container = nullptr);

    virtual void Initialize() {}
    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag &bag) { Q_UNUSED(bag) }
    virtual void WriteProperties(PropertyBag &bag) const { Q_UNUSED(bag) }
    // The saved properties as the control's own table declares them, in its order; none for a
    // control without saved properties.
    virtual QList<ListedProperty> listProperties();
    virtual void Terminate() {}
    // Controls that only lend behaviour to their form are never shown at run time.
    virtual bool InvisibleAtRunTime() const { return false; }

    const AmbientProperties &Ambient() const { return m_ambient; }
    void setAmbient(bool userMode, const FontObject &font);

    // The container as a form; null when the control stands in something else.
    Form *ParentForm() const;

    // The extender. Geometry is kept in twips as set, from the container's client area, and
    // the widget follows it on whole pixels; setting a size that maps to the same pixels
    // raises no resize.
    const Extender &extender() const { return m_extender; }
    void setExtender(const Extender &extender);
    QString Name() const { return m_extender.Name; }
    int Index() const { return m_extender.Index; }
    int TabIndex() const { return m_extender.TabIndex; }
    double Left() const { return m_extender.Left; }
    double Top() const { return m_extender.Top; }
    double Width() const { return m_extender.Width; }
    double Height() const { return m_extender.Height; }
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width, double height);

    // The control's own drawing area, twips.
    double ScaleWidth() const { return m_extender.Width; }
    double ScaleHeight() const { return m_extender.Height; }

    // Tells the host a persisted property changed, so a designer knows to save the form.
    void PropertyChanged(const QString &name);

signals:
    void propertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // Where the container's client area starts within it, pixels: inside a form's own frame.
    QPoint containerOrigin() const;
    void placeWidget();
    QSize pixelSize() const;

    AmbientProperties m_ambient;
    Extender m_extender;
};
