#pragma once

#include "Form.h"
#include "InvisibleHelper.h"

#include <QPointer>

template <class Control> class PropertyTable;

// Keeps its form above all other windows, or among them, and can take away the form's close
// command, with no code in the form. At run time both are applied to the form through the
// window manager each time the form is activated and whenever either property changes; a
// form still hidden is shown by it. A close command once taken away is never given back.
// In a designer the setters only store, and the control shows its icon at 480 x 480 twips.
class ZoOnTop : public InvisibleHelper {
    Q_OBJECT
public:
    static constexpr HelperLook Look{":/controls/formhelpers/ontop.png", 480, 480};

    explicit ZoOnTop(QWidget *container = nullptr);

    // True: the form stays above ordinary windows; False: it is one of them.
    bool OnTop() const { return m_onTop; }
    void setOnTop(bool on);
    // Disable/Enable form close button (x). False takes the form's close command away.
    bool FormCloseButton() const { return m_formCloseButton; }
    void setFormCloseButton(bool on);

    // The form this control acts on, taken while the saved properties are read (in a designer
    // too); null when the control stands in something other than a form.
    Form *ParentForm() const { return m_parentForm; }

    // New instances and missing keys alike: "FormCloseButton" and "OnTop" True. A key that
    // cannot be read keeps the property's value, and reading goes on with the next.
    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;

private:
    static const PropertyTable<ZoOnTop> &properties();
    void ApplyToParent();

    bool m_onTop = true;
    bool m_formCloseButton = true;
    QPointer<Form> m_parentForm;
};
