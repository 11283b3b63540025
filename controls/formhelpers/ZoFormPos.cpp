#include "ZoFormPos.h"

#include "AppInfo.h"
#include "Desktop.h"
#include "PropertyTable.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "TextConvert.h"

#include <algorithm>
#include <utility>

namespace {
// Where a form of this size stands centred on a screen of that size; negative when the form is
// the larger.
float centred(double screen, double size)
{
    return (float(screen) - float(size)) / 2.0f;
}

bool onAnyScreen(const Form &form, const QList<ScreenRect> &screens)
{
    const int left = Screen::toPixelsX(form.Left());
    const int top = Screen::toPixelsY(form.Top());
    const int right = left + Screen::toPixelsX(form.Width());
    const int bottom = top + Screen::toPixelsY(form.Height());
    return std::any_of(screens.begin(), screens.end(), [&](const ScreenRect &s) {
        return left < s.right && s.left < right && top < s.bottom && s.top < bottom;
    });
}

qint16 readWindowState(const QString &text)
{
    const std::optional<qint16> state = TextConvert::toInt16(text);
    return state && *state >= 0 && *state <= 2 ? *state : 0;
}
} // namespace

ZoFormPos::ZoFormPos(QWidget *container)
    : InvisibleHelper(container, Look)
{
}

const PropertyTable<ZoFormPos> &ZoFormPos::properties()
{
    static const PropertyTable<ZoFormPos> table = [] {
        PropertyTable<ZoFormPos> t;
        t.add(QStringLiteral("MinHeight"), qint32(3000), &ZoFormPos::MinHeight,
              [](ZoFormPos &c, qint32 v) { c.m_minHeight = v; })
            .add(QStringLiteral("MinWidth"), qint32(3000), &ZoFormPos::MinWidth,
                 [](ZoFormPos &c, qint32 v) { c.m_minWidth = v; })
            .add(QStringLiteral("CenterForm"), true, &ZoFormPos::CenterForm,
                 [](ZoFormPos &c, bool v) { c.m_centerForm = v; })
            .add(QStringLiteral("RememberFormPosition"), true, &ZoFormPos::RememberFormPosition,
                 [](ZoFormPos &c, bool v) { c.m_rememberFormPosition = v; });
        return t;
    }();
    return table;
}

void ZoFormPos::setMinHeight(qint32 twips)
{
    m_minHeight = twips;
    PropertyChanged(QStringLiteral("MinHeight"));
}

void ZoFormPos::setMinWidth(qint32 twips)
{
    m_minWidth = twips;
    PropertyChanged(QStringLiteral("MinWidth"));
}

void ZoFormPos::setCenterForm(bool on)
{
    m_centerForm = on;
    PropertyChanged(QStringLiteral("CenterForm"));
}

void ZoFormPos::setRememberFormPosition(bool on)
{
    m_rememberFormPosition = on;
    PropertyChanged(QStringLiteral("RememberFormPosition"));
}

void ZoFormPos::ReadProperties(const PropertyBag &bag)
{
    if (Ambient().UserMode()) {
        m_parentForm = UserControl::ParentForm();
        if (m_parentForm) {
            connect(m_parentForm, &Form::Load, this, &ZoFormPos::restorePlacement);
            connect(m_parentForm, &Form::Resize, this, &ZoFormPos::enforceMinimum);
            connect(m_parentForm, &Form::Unload, this, &ZoFormPos::savePlacement);
        }
    }
    properties().read(*this, bag);
}

void ZoFormPos::WriteProperties(PropertyBag &bag) const
{
    properties().write(*this, bag);
}

QList<ListedProperty> ZoFormPos::listProperties()
{
    return properties().list(*this);
}

void ZoFormPos::Terminate()
{
    if (m_parentForm)
        disconnect(m_parentForm, nullptr, this, nullptr);
    m_parentForm = nullptr;
}

void ZoFormPos::restorePlacement()
{
    Form &form = *m_parentForm;
    m_placed.reset();
    if (m_rememberFormPosition) {
        qint16 state = readWindowState(GetSetting(
            App::Title, form.Name(), QStringLiteral("WindowState"), QStringLiteral("0")));
        // Closed minimised (show desktop, a session ending), a form with neither title bar
        // nor taskbar entry would come back where the user cannot reach it.
        if (state == 1 && !form.canBeRestoredByUser())
            state = 0;
        form.setWindowState(state);
        if (form.WindowState() == FormWindowState::Normal)
            restoreRectangle(form);
    }
    if (m_centerForm && form.WindowState() == FormWindowState::Normal)
        placeCentred(form);
    // After the paint, not inside it: the window is mapped by then.
    if (m_placed)
        connect(&form, &Form::Paint, this, &ZoFormPos::placeAgain,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}

// Each default is computed with the size set just before it.
void ZoFormPos::restoreRectangle(Form &form)
{
    // A size larger than all screens together, which only a damaged store holds, the form
    // itself cuts to them.
    form.setWidth(storedNumber(QStringLiteral("Width"), form.Width()));
    form.setHeight(storedNumber(QStringLiteral("Height"), form.Height()));
    // A stored size below the minimum is raised by the next resize: centred at that size.
    const double width = std::max(form.Width(), double(m_minWidth));
    const double height = std::max(form.Height(), double(m_minHeight));
    form.setLeft(storedNumber(QStringLiteral("Left"), centred(Screen::Width(), width)));
    form.setTop(storedNumber(QStringLiteral("Top"), centred(Screen::Height(), height)));
    // The program's windows may have no title bar and no taskbar entry: one restored to where
    // no screen is any more (a monitor was unplugged) could never be reached again.
    if (onAnyScreen(form, Desktop::windowManager().screens()))
        m_placed = QRectF(form.Left(), form.Top(), form.Width(), form.Height());
    else
        placeCentred(form);
}

void ZoFormPos::placeCentred(Form &form)
{
    form.Move(centred(Screen::Width(), form.Width()), centred(Screen::Height(), form.Height()));
    m_placed = QRectF(form.Left(), form.Top(), form.Width(), form.Height());
}

// A maximised form is left alone, even when the screen is smaller than the minimum. A minimum
// larger than all screens together (a damaged form file) the form cuts to them.
void ZoFormPos::enforceMinimum()
{
    Form &form = *m_parentForm;
    if (form.WindowState() != FormWindowState::Normal)
        return;
    if (form.Width() < double(m_minWidth))
        form.setWidth(m_minWidth);
    if (form.Height() < double(m_minHeight))
        form.setHeight(m_minHeight);
}

void ZoFormPos::savePlacement()
{
    const Form &form = *m_parentForm;
    save(QStringLiteral("WindowState"), QString::number(form.WindowState()));
    if (form.WindowState() != FormWindowState::Normal || !m_rememberFormPosition)
        return;
    save(QStringLiteral("Left"), TextConvert::fromNumber(float(form.Left())));
    save(QStringLiteral("Top"), TextConvert::fromNumber(float(form.Top())));
    save(QStringLiteral("Width"), TextConvert::fromNumber(float(form.Width())));
    save(QStringLiteral("Height"), TextConvert::fromNumber(float(form.Height())));
}

// The call was queued: the control may have terminated since.
void ZoFormPos::placeAgain()
{
    if (!m_parentForm || !m_placed)
        return;
    const QRectF placed = *std::exchange(m_placed, std::nullopt);
    if (m_parentForm->WindowState() == FormWindowState::Normal)
        m_parentForm->Move(placed.left(), placed.top(), placed.width(), placed.height());
}

float ZoFormPos::storedNumber(const QString &key, float defaultValue) const
{
    const QString text =
        GetSetting(App::Title, m_parentForm->Name(), key, TextConvert::fromNumber(defaultValue));
    return TextConvert::toSingle(text).value_or(defaultValue);
}

void ZoFormPos::save(const QString &key, const QString &text) const
{
    SaveSetting(App::Title, m_parentForm->Name(), key, text);
}
