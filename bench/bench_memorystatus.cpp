// The cost of one memory sample against its floor, a bare pread of /proc/meminfo; a sample
// should take at most 1.3 times the bare read. Formatting the figures is measured apart.
#include <benchmark/benchmark.h>

#include "MemoryStatus.h"
#include "NumberFormat.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
void BM_BarePread(benchmark::State &state)
{
    const int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    char buffer[4096];
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pread(fd, buffer, sizeof buffer, 0));
        benchmark::ClobberMemory();
    }
    ::close(fd);
}
BENCHMARK(BM_BarePread);

void BM_ProcMemInfoRead(benchmark::State &state)
{
    ProcMemInfo source;
    for (auto _ : state)
        benchmark::DoNotOptimize(source.read());
}
BENCHMARK(BM_ProcMemInfoRead);

void BM_ParseOnly(benchmark::State &state)
{
    char buffer[4096];
    const int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    const ssize_t size = ::pread(fd, buffer, sizeof buffer, 0);
    ::close(fd);
    const std::string text(buffer, size > 0 ? std::size_t(size) : 0);
    for (auto _ : state) {
        std::string_view view = text;
        benchmark::DoNotOptimize(view);
        benchmark::DoNotOptimize(MemInfo::parse(view));
    }
}
BENCHMARK(BM_ParseOnly);

// The three figures the window shows on each tick.
void BM_FormatLines(benchmark::State &state)
{
    const QLocale locale = QLocale::system();
    double total = 16318412.0 * 1024;
    double available = 9876544.0 * 1024;
    for (auto _ : state) {
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(available);
        benchmark::DoNotOptimize(NumberFormat::grouped(total / 1024, locale));
        benchmark::DoNotOptimize(NumberFormat::grouped(available / 1024, locale));
        benchmark::DoNotOptimize(NumberFormat::oneDecimal(100 * available / total, locale));
    }
}
BENCHMARK(BM_FormatLines);
} // namespace

BENCHMARK_MAIN();
