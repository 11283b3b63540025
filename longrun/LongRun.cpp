// The monitor window offscreen for 200,000 ticks of its own timer at a 1 ms period, reading
// the real /proc/meminfo. Over the run the pointer moves over the buttons, presses and drags
// the window, and every 1,000 ticks the Options button opens the options dialog, whose On top
// switch is clicked twice and whose Return closes it. After a warm-up of 40,000 ticks the
// process must hold steady: private memory and the heap may grow by 64 KiB at most,
// descriptors, widgets and native windows not at all; LeakSanitizer then checks the exit.
// Prints its figures; exit status 0 only when every one holds. A first argument of 80,000 or
// more runs that many ticks.
#include "FontObject.h"
#include "MemoryStatus.h"
#include "PointerDriver.h"
#include "ProcessUsage.h"
#include "SettingsStore.h"
#include "Timer.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoOnTop.h"
#include "frmMain.h"
#include "frmOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's own bookkeeping would read as growth: freed memory waits in a quarantine
// of 256 MiB before it is used again, and every new call stack that allocates is kept for good.
// So no quarantine and two frames a stack: the leak check at exit stays whole, and
// ASAN_OPTIONS=malloc_context_size=30 gives a leak report its full stacks back.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=0:thread_local_quarantine_size_kb=0:malloc_context_size=2";
}
#endif

namespace {
QtMessageHandler defaultMessageHandler = nullptr;

// The offscreen platform cannot raise a window and says so at every opening of the dialog.
void dropOffscreenRaise(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text != QLatin1String("This plugin does not support raise()"))
        defaultMessageHandler(type, context, text);
}

constexpr int WarmUpTicks = 40000;
int Ticks = 200000;
int ReportEvery = Ticks / 10;
constexpr int DialogEvery = 1000;
constexpr qint64 AllowedGrowthKiB = 64;

// Drives the run from the monitor's ticks. Input is queued to the event loop, as a user's
// would come, rather than given inside a tick.
class LongRun : public QObject {
public:
    explicit LongRun(frmMain &monitor)
        : m_monitor(monitor)
    {
        connect(monitor.timMeasure(), &Timer::Tick, this, &LongRun::tick);
        m_clock.start();
    }

    ProcessUsage warm;
    ProcessUsage last;
    int ticks() const { return m_ticks; }
    int dialogs() const { return m_dialogs; }

private:
    void later(std::function<void()> input) { QTimer::singleShot(0, this, std::move(input)); }

    void tick()
    {
        ++m_ticks;
        if (m_ticks == WarmUpTicks)
            warm = report();
        if (m_ticks % ReportEvery == 0 && m_ticks != WarmUpTicks && m_ticks != Ticks)
            report();
        if (m_ticks == Ticks) {
            last = report();
            later([this] { PointerDriver::click(m_monitor.cmdAction(0)); }); // Exit
            return;
        }
        if (m_ticks > Ticks)
            return;
        if (m_dialog)
            dialogStep();
        else
            monitorStep();
    }

    void monitorStep()
    {
        if (m_ticks % DialogEvery == DialogEvery / 2) {
            m_openedAt = m_ticks;
            later([this] { PointerDriver::click(m_monitor.cmdAction(1)); }); // Options
            return;
        }
        // The dialog is modal: once it shows, the ticks find it here.
        if (m_openedAt >= 0) {
            m_dialog = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
            if (m_dialog) {
                ++m_dialogs;
                m_openedAt = m_ticks;
                m_onTopAtOpening = m_monitor.zopOnTop()->OnTop();
            }
            return;
        }
        switch (m_ticks % 10) {
        case 1:
            later([this] { PointerDriver::moveOver(m_monitor.cmdAction(0)); });
            break;
        case 3:
            later([this] { PointerDriver::moveOver(m_monitor.cmdAction(1)); });
            break;
        case 6:
            later([this] { PointerDriver::dragAcross(&m_monitor); });
            break;
        default:
            break;
        }
    }

    void dialogStep()
    {
        QPointer<frmOptions> dialog = m_dialog;
        switch (m_ticks - m_openedAt) {
        case 10:
            later([dialog] {
                if (dialog)
                    PointerDriver::moveOver(dialog->cmdAction(0));
            });
            break;
        case 30: // On top, twice: the monitor ends where it began
            expect(m_monitor.zopOnTop()->OnTop() != m_onTopAtOpening,
                   "On top did not switch the monitor");
            [[fallthrough]];
        case 20:
            later([dialog] {
                if (dialog)
                    PointerDriver::click(dialog->cmdAction(0));
            });
            break;
        case 40:
            later([dialog] {
                if (dialog)
                    PointerDriver::moveOver(dialog->cmdAction(1));
            });
            break;
        case 50: // Return, with the period the dialog read: 1 ms
            later([dialog] {
                if (dialog)
                    PointerDriver::click(dialog->cmdAction(1));
            });
            break;
        case 60:
            expect(!dialog, "the options dialog did not close on Return");
            expect(m_monitor.zopOnTop()->OnTop() == m_onTopAtOpening,
                   "On top clicked twice left the monitor switched");
            expect(m_monitor.timMeasure()->Interval() == 1, "Return changed the period");
            m_dialog = nullptr;
            m_openedAt = -1;
            break;
        default:
            break;
        }
    }

    // The input must reach the controls, or the run would prove nothing.
    static void expect(bool holds, const char *otherwise)
    {
        if (!holds) {
            std::fprintf(stderr, "long run: %s\n", otherwise);
            std::exit(1);
        }
    }

    ProcessUsage report() const
    {
        const ProcessUsage usage = ProcessUsage::now();
        std::printf("%7d ticks, %6.1f s: %s\n", m_ticks, double(m_clock.elapsed()) / 1000,
                    qPrintable(usage.toString()));
        std::fflush(stdout);
        return usage;
    }

    frmMain &m_monitor;
    QElapsedTimer m_clock;
    int m_ticks = 0;
    int m_dialogs = 0;
    int m_openedAt = -1;
    bool m_onTopAtOpening = true;
    QPointer<frmOptions> m_dialog;
};
} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::atoi(argv[1]) >= 2 * WarmUpTicks) {
        Ticks = std::atoi(argv[1]);
        ReportEvery = Ticks / 10;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    defaultMessageHandler = qInstallMessageHandler(dropOffscreenRaise);
    installFontSubstitutions();
    // The run's settings stay out of the user's store.
    QTemporaryDir settingsDirectory;
    SettingsStore settings(settingsDirectory.path());
    SettingsStore::setCurrent(&settings);

    ProcMemInfo memory;
    frmMain monitor(memory);
    QObject::connect(&monitor, &Form::Unload, &app, &QApplication::quit, Qt::QueuedConnection);
    LongRun run(monitor);
    monitor.Show();
    monitor.timMeasure()->setInterval(1);
    const int status = app.exec();

    const qint64 growth = run.last.privateKiB - run.warm.privateKiB;
    const qint64 heapGrowth = run.last.heapKiB - run.warm.heapKiB;
    const bool steady = growth <= AllowedGrowthKiB && heapGrowth <= AllowedGrowthKiB &&
                        run.last.descriptors <= run.warm.descriptors &&
                        run.last.widgets <= run.warm.widgets &&
                        run.last.windows <= run.warm.windows;
    std::printf("%d ticks, %d dialogs. After the warm-up of %d ticks: private memory %+lld KiB, "
                "heap %+lld KiB (each at most +%lld), descriptors %d -> %d, widgets %d -> %d, "
                "native windows %d -> %d: %s\n",
                run.ticks(), run.dialogs(), WarmUpTicks, growth, heapGrowth, AllowedGrowthKiB,
                run.warm.descriptors, run.last.descriptors, run.warm.widgets, run.last.widgets,
                run.warm.windows, run.last.windows, steady ? "steady" : "NOT STEADY");
    SettingsStore::setCurrent(nullptr);
    return status == 0 && run.ticks() >= Ticks && run.dialogs() == Ticks / DialogEvery && steady
               ? 0
               : 1;
}
