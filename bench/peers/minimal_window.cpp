// The yardstick: the smallest Qt 6 Widgets window that does Kelvo's job the plain way. Each
// second it reads /proc/meminfo, formats the three lines and repaints the whole window.
// With --wake-only it wakes each second and does nothing: what any Qt window costs.
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {
qint64 field(const QByteArray &text, const QByteArray &key)
{
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return 0;
    const qsizetype end = text.indexOf('\n', at);
    return text.mid(at + key.size(), end - at - key.size())
        .replace("kB", "")
        .trimmed()
        .toLongLong();
}

class MinimalMonitor : public QWidget {
public:
    explicit MinimalMonitor(bool wakeOnly)
    {
        setWindowTitle(QStringLiteral("Minimal Qt monitor"));
        resize(139, 47);
        if (!wakeOnly) {
            connect(&m_timer, &QTimer::timeout, this, &MinimalMonitor::tick);
            tick();
        }
        m_timer.start(1000);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setFont(QFont(QStringLiteral("Arial"), 10));
        const QFontMetrics metrics(painter.font());
        for (int i = 0; i < 3; ++i)
            painter.drawText(0, metrics.ascent() + i * metrics.height(), m_lines[i]);
    }

private:
    void tick()
    {
        QFile file(QStringLiteral("/proc/meminfo"));
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray text = file.readAll();
        const qint64 total = field(text, "MemTotal:") * 1024;
        const qint64 available = field(text, "MemAvailable:") * 1024;
        const QLocale locale;
        m_lines[0] = QStringLiteral("Total=%1kb").arg(locale.toString(total / 1000));
        m_lines[1] = QStringLiteral("Aval=%1kb").arg(locale.toString(available / 1000));
        m_lines[2] =
            QStringLiteral("Used=%1%")
                .arg(locale.toString(total ? 100.0 * double(total - available) / double(total) : 0,
                                     'f', 1));
        update();
    }

    QTimer m_timer;
    QString m_lines[3];
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MinimalMonitor window(QCoreApplication::arguments().contains(QStringLiteral("--wake-only")));
    window.show();
    return app.exec();
}
