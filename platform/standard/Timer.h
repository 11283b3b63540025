#pragma once

#include "UserControl.h"

#include <QTimer>

// The host's periodic timer control. It ticks every Interval milliseconds while Enabled,
// from its form's load until its form's unload (at once when it has no form), and only at
// run time. Interval 0 stops the ticks; the range is 0 to 65535. A new Interval or Enabled
// restarts the count.
class Timer : public UserControl {
    Q_OBJECT
public:
    explicit Timer(QWidget *container = nullptr);

    qint32 Interval() const { return m_interval; }
    // Throws HostError(InvalidPropertyValue) outside 0..65535.
    void setInterval(qint32 milliseconds);
    // Shadows QWidget's enabled state, which a timer does not use.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    bool isTicking() const { return m_timer.isActive(); }

    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;
    QList<ListedProperty> listProperties() override;
    bool InvisibleAtRunTime() const override { return true; }

    static constexpr qint32 MaxInterval = 65535;

signals:
    void Tick();

private:
    void arm();

    QTimer m_timer;
    qint32 m_interval = 0;
    bool m_enabled = true;
    bool m_formRunning = false;
};
