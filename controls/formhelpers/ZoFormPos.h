#pragma once

#include "Form.h"
#include "InvisibleHelper.h"

#include <QPointer>
#include <QRectF>
#include <optional>

template <class Control> class PropertyTable;

// Gives its form, with no code in the form, a remembered placement, centring and a minimum
// size. At run time it follows the form it stands on:
// - Load: with RememberFormPosition, restores the window state saved in the settings section
//   named after the form (a minimised state as normal for a form the user could not bring
//   back: no title bar, no taskbar entry), and in the normal state the saved Width, Height,
//   Left and Top (missing or unreadable entries: the current size, centred on the screen; a
//   size larger than all screens together is cut to them). A restored rectangle that lies wholly
//   outside every screen would leave the window unreachable, so the form is centred instead. Then,
//   with CenterForm, a form in the normal state is centred.
// - Resize: raises a normal form's Width to MinWidth, then its Height to MinHeight; a minimum
//   larger than all screens together raises it only to them.
// - Unload: saves "WindowState" always, and "Left", "Top", "Width", "Height" only from the
//   normal state with RememberFormPosition.
// The setters only store: a new minimum applies at the next resize, the rest at the next load
// or unload. Geometry is in twips. In a designer it shows its image at 240 x 230 twips.
class ZoFormPos : public InvisibleHelper {
    Q_OBJECT
public:
    static constexpr HelperLook Look{":/controls/formhelpers/formpos.png", 240, 230};

    explicit ZoFormPos(QWidget *container = nullptr);

    // The smallest outer height and width of the form, twips.
    qint32 MinHeight() const { return m_minHeight; }
    void setMinHeight(qint32 twips);
    qint32 MinWidth() const { return m_minWidth; }
    void setMinWidth(qint32 twips);
    bool CenterForm() const { return m_centerForm; }
    void setCenterForm(bool on);
    bool RememberFormPosition() const { return m_rememberFormPosition; }
    void setRememberFormPosition(bool on);

    // The form this control follows: taken at run time while the saved properties are read;
    // null in a designer and once the control has terminated.
    Form *ParentForm() const { return m_parentForm; }

    // A new instance keeps its zero values (0, 0, False, False); missing keys of a saved bag
    // read as "MinHeight" 3000, "MinWidth" 3000, "CenterForm" and "RememberFormPosition" True.
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;
    void Terminate() override;

private:
    static const PropertyTable<ZoFormPos> &properties();
    void restorePlacement();
    void restoreRectangle(Form &form);
    void placeCentred(Form &form);
    void enforceMinimum();
    void savePlacement();
    void placeAgain();
    float storedNumber(const QString &key, float defaultValue) const;
    void save(const QString &key, const QString &text) const;

    qint32 m_minHeight = 0;
    qint32 m_minWidth = 0;
    bool m_centerForm = false;
    bool m_rememberFormPosition = false;
    QPointer<Form> m_parentForm;
    // Where the last load placed the form. While a window manager maps a window it can answer
    // with the place and size the window had before (Qt then records a frameless window at
    // 0,0, or at its designed size), so the rectangle is applied again at the first paint.
    std::optional<QRectF> m_placed;
};
