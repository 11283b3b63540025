// One full tick of the monitor: sample /proc/meminfo, format the figures, and paint the
// window into an image, as the screen would get it.
#include <benchmark/benchmark.h>

#include "FontObject.h"
#include "MemoryStatus.h"
#include "frmMain.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {
void BM_Tick(benchmark::State &state)
{
    ProcMemInfo memory;
    frmMain form(memory);
    QImage image(form.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        form.timMeasure_Timer();
        form.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Tick);

void BM_TickWithoutPainting(benchmark::State &state)
{
    ProcMemInfo memory;
    frmMain form(memory);
    for (auto _ : state) {
        form.timMeasure_Timer();
        benchmark::DoNotOptimize(form.line(2).constData());
    }
}
BENCHMARK(BM_TickWithoutPainting);
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
