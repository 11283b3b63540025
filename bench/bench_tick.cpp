// One tick of the monitor, as the window lives it: the sample of /proc/meminfo, then, when a
// figure changed, the new line formatted and repainted into the window's backing store.
#include <benchmark/benchmark.h>

#include "FontObject.h"
#include "MemoryStatus.h"
#include "Timer.h"
#include "frmMain.h"

#include <QApplication>

namespace {
// Reads /proc/meminfo each time, as the real source does, but hands out the figures it is
// told to, so that a benchmark chooses what changes.
class ScriptedMemory final : public MemoryStatusSource {
public:
    MemorySample sample{8000000000, 2000000000};
    MemorySample read() override
    {
        benchmark::DoNotOptimize(m_real.read());
        return sample;
    }

private:
    ProcMemInfo m_real;
};

void BM_Sample(benchmark::State &state)
{
    ProcMemInfo memory;
    for (auto _ : state)
        benchmark::DoNotOptimize(memory.read());
}
BENCHMARK(BM_Sample);

// Most ticks at rest: the same figures as the last one.
void BM_TickNothingChanged(benchmark::State &state)
{
    ScriptedMemory memory;
    frmMain form(memory);
    form.timMeasure()->setInterval(0);
    form.timMeasure_Timer();
    for (auto _ : state)
        form.timMeasure_Timer();
}
BENCHMARK(BM_TickNothingChanged);

// "Aval=" moves by a few kilobytes; the line is repainted as the window would repaint it. In a
// locale whose group separator the window's font has, and in one whose separator comes from a
// fallback font.
void BM_TickOneLineChanged(benchmark::State &state, const char *locale)
{
    ScriptedMemory memory;
    frmMain form(memory);
    form.setLocale(QLocale(QLatin1String(locale)));
    form.timMeasure()->setInterval(0);
    form.Show();
    form.timMeasure_Timer();
    qint64 available = memory.sample.available;
    for (auto _ : state) {
        available ^= 4096;
        memory.sample.available = available;
        form.timMeasure_Timer();
        form.repaint(form.lineRect(1));
    }
}
BENCHMARK_CAPTURE(BM_TickOneLineChanged, font_has_separator, "en_US");
BENCHMARK_CAPTURE(BM_TickOneLineChanged, separator_from_fallback_font, "fr_FR");
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
