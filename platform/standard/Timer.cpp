#include "Timer.h"

#include "Form.h"
#include "HostError.h"
#include "PropertyTable.h"

namespace {
const PropertyTable<Timer> &timerProperties()
{
    static const PropertyTable<Timer> table = [] {
        PropertyTable<Timer> t;
        t.add(QStringLiteral("Enabled"), true, &Timer::Enabled, &Timer::setEnabled)
            .add(QStringLiteral("Interval"), qint32(0), &Timer::Interval, &Timer::setInterval);
        return t;
    }();
    return table;
}
} // namespace

Timer::Timer(QWidget *container)
    : UserControl(container)
{
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Timer::Tick);
}

void Timer::Initialize()
{
    Form *form = ParentForm();
    m_formRunning = !form || form->isLoaded();
    if (form) {
        connect(form, &Form::Load, this, [this] {
            m_formRunning = true;
            arm();
        });
        connect(form, &Form::Unload, this, [this] {
            m_formRunning = false;
            arm();
        });
    }
    arm();
}

void Timer::setInterval(qint32 milliseconds)
{
    if (milliseconds < 0 || milliseconds > MaxInterval)
        throw HostError(HostError::InvalidPropertyValue);
    m_interval = milliseconds;
    arm();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    arm();
}

void Timer::arm()
{
    if (m_enabled && m_interval > 0 && m_formRunning && Ambient().UserMode())
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

void Timer::InitProperties()
{
    m_enabled = true;
    m_interval = 0;
    arm();
}

void Timer::ReadProperties(const PropertyBag &bag)
{
    timerProperties().read(*this, bag);
}

void Timer::WriteProperties(PropertyBag &bag) const
{
    timerProperties().write(*this, bag);
}

QList<ListedProperty> Timer::listProperties()
{
    return timerProperties().list(*this);
}
