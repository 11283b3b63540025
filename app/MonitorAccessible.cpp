#include "MonitorAccessible.h"

#include "AccessibleFactory.h"
#include "frmMain.h"

#include <QPointer>

namespace {
// One shown line of the monitor: static text whose name and value are the line.
class MonitorLineAccessible final : public QAccessibleInterface {
public:
    MonitorLineAccessible(frmMain *monitor, int index)
        : m_monitor(monitor)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_monitor && m_index < m_monitor->lineCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_monitor ? m_monitor->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_monitor.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return QString();
        return m_monitor->line(m_index);
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = m_monitor->lineRect(m_index);
        return QRect(m_monitor->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        if (!isValid() || !m_monitor->isVisible())
            s.invisible = true;
        return s;
    }

private:
    QPointer<frmMain> m_monitor;
    int m_index;
};

} // namespace

MonitorAccessible::MonitorAccessible(frmMain *monitor)
    : FormAccessible(monitor)
{
}

MonitorAccessible::~MonitorAccessible()
{
    for (const KnownLine &known : std::as_const(m_lines))
        QAccessible::deleteAccessibleInterface(known.id);
}

void MonitorAccessible::install()
{
    installAccessibleFactory<accessibleFor<frmMain, MonitorAccessible>>();
}

frmMain *MonitorAccessible::monitor() const
{
    return static_cast<frmMain *>(widget());
}

int MonitorAccessible::lineCount() const
{
    return monitor()->lineCount();
}

QAccessibleInterface *MonitorAccessible::line(int i) const
{
    while (m_lines.size() <= i) {
        const int index = int(m_lines.size());
        const QAccessible::Id id =
            QAccessible::registerAccessibleInterface(new MonitorLineAccessible(monitor(), index));
        m_lines.append({id, monitor()->line(index)});
    }
    return QAccessible::accessibleInterface(m_lines[i].id);
}

int MonitorAccessible::childCount() const
{
    return lineCount() + FormAccessible::childCount();
}

QAccessibleInterface *MonitorAccessible::child(int index) const
{
    if (index < 0)
        return nullptr;
    if (index < lineCount())
        return line(index);
    return FormAccessible::child(index - lineCount());
}

int MonitorAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (!child->object()) {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
        for (int i = 0; i < lineCount() && i < m_lines.size(); ++i)
            if (m_lines[i].id == id)
                return i;
        return -1;
    }
    const int control = FormAccessible::indexOfChild(child);
    return control < 0 ? -1 : lineCount() + control;
}

void MonitorAccessible::linesDrawn(frmMain &monitor)
{
    if (auto *self =
            dynamic_cast<MonitorAccessible *>(QAccessible::queryAccessibleInterface(&monitor)))
        self->announceLines();
}

void MonitorAccessible::announceLines()
{
    const int count = lineCount();
    // Lines a tick no longer draws (no total any more) go first, last one first.
    while (m_lines.size() > count) {
        const KnownLine gone = m_lines.takeLast();
        QAccessibleEvent event(QAccessible::accessibleInterface(gone.id),
                               QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&event);
        QAccessible::deleteAccessibleInterface(gone.id);
    }
    for (int i = 0; i < count; ++i) {
        if (i >= m_lines.size()) {
            QAccessibleEvent event(line(i), QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&event);
            continue;
        }
        const QString shown = monitor()->line(i);
        if (m_lines[i].text == shown)
            continue;
        m_lines[i].text = shown;
        QAccessibleEvent event(line(i), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
