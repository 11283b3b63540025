#include "ZoButtonAccessible.h"

#include "AccessibleFactory.h"
#include "ButtonFace.h"
#include "ZoButton.h"

namespace {
QAccessibleInterface *buttonFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ZoButton"))
        if (auto *button = qobject_cast<ZoButton *>(object))
            return new ZoButtonAccessible(button, button);
    if (className == QLatin1String("ButtonFace"))
        if (auto *face = qobject_cast<ButtonFace *>(object))
            if (auto *button = qobject_cast<ZoButton *>(face->parentWidget()))
                return new ZoButtonAccessible(face, button);
    return nullptr;
}
} // namespace

ZoButtonAccessible::ZoButtonAccessible(QWidget *widget, ZoButton *button)
    : QAccessibleWidget(widget, QAccessible::Button)
    , m_button(button)
{
}

void ZoButtonAccessible::install()
{
    installAccessibleFactory<buttonFactory>();
}

void ZoButtonAccessible::valueChanged(ZoButton *button)
{
    if (!QAccessible::isActive() || !button->Switch())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}

QAccessible::Role ZoButtonAccessible::role() const
{
    return m_button && m_button->Switch() ? QAccessible::CheckBox : QAccessible::Button;
}

QAccessible::State ZoButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (!m_button)
        return s;
    // The face takes the focus for the button.
    const QWidget *face = m_button->focusProxy() ? m_button->focusProxy() : m_button.data();
    s.focusable = face->focusPolicy() != Qt::NoFocus;
    s.focused = face->hasFocus();
    if (m_button->Switch()) {
        s.checkable = true;
        s.checked = m_button->Value();
    }
    return s;
}

// The caption as the button draws it: every "&" only underlines, and is not shown.
QString ZoButtonAccessible::caption() const
{
    return m_button->Caption().left(ZoButton::MaxCaptionLength).remove(QLatin1Char('&'));
}

QString ZoButtonAccessible::text(QAccessible::Text t) const
{
    if (!m_button)
        return QString();
    switch (t) {
    case QAccessible::Name: {
        const QString shown = caption();
        return shown.isEmpty() ? m_button->ToolTipText() : shown;
    }
    case QAccessible::Description:
        return caption().isEmpty() ? QString() : m_button->ToolTipText();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessibleInterface *ZoButtonAccessible::parent() const
{
    if (m_button && widget() != m_button)
        return QAccessible::queryAccessibleInterface(m_button)->parent();
    return QAccessibleWidget::parent();
}

QStringList ZoButtonAccessible::actionNames() const
{
    return {pressAction()};
}

void ZoButtonAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction() || !m_button || !m_button->isEnabled())
        return;
    ZoButton *button = m_button;
    QMetaObject::invokeMethod(
        button,
        [button] {
            if (button->Switch())
                button->setValue(!button->Value());
            button->AutoClick();
        },
        Qt::QueuedConnection);
}
