// Keeps the machine's available memory changing, as on a busy desktop, so that a monitor has a
// new figure to draw at every refresh. Every step it returns the block it holds to the system
// and maps, and touches, one of another size; the sizes run through a cycle whose length is not
// a whole number of seconds, so two samples a second apart see different figures.
//
// Bounded: it holds at most the largest block (32 MB) at a time, stops by itself after
// --seconds (at most an hour) and when the process that started it ends.
//
// Usage: churner [--seconds 600] [--step-ms 200]
#include <sys/mman.h>
#include <sys/prctl.h>

#include <array>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {
constexpr std::size_t MiB = 1024 * 1024;
constexpr std::array<std::size_t, 7> BlockMiB{4, 20, 8, 28, 12, 32, 16};
constexpr long MaxSeconds = 3600;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

long argument(int argc, char *argv[], const char *name, long fallback, long low, long high)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            char *end = nullptr;
            const long value = std::strtol(argv[i + 1], &end, 10);
            if (*end != '\0' || value < low || value > high) {
                std::fprintf(stderr, "churner: %s wants a whole number from %ld to %ld\n", name,
                             low, high);
                std::exit(2);
            }
            return value;
        }
    }
    return fallback;
}

// A block of the given size with every page written, so that it counts as used memory.
void *touchedBlock(std::size_t bytes)
{
    void *block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
    const long page = sysconf(_SC_PAGESIZE);
    auto *bytesOf = static_cast<volatile unsigned char *>(block);
    for (std::size_t at = 0; at < bytes; at += std::size_t(page))
        bytesOf[at] = 1;
    return block;
}

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
} // namespace

int main(int argc, char *argv[])
{
    const long seconds = argument(argc, argv, "--seconds", 600, 1, MaxSeconds);
    const long stepMs = argument(argc, argv, "--step-ms", 200, 50, 5000);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);

    void *held = nullptr;
    std::size_t heldBytes = 0;
    const double end = now() + double(seconds);
    const timespec step{stepMs / 1000, (stepMs % 1000) * 1000000};
    for (std::size_t i = 0; !stopRequested && now() < end; ++i) {
        // The old block goes before the new one comes, so that at most one is held.
        if (held)
            munmap(held, heldBytes);
        heldBytes = BlockMiB[i % BlockMiB.size()] * MiB;
        held = touchedBlock(heldBytes);
        if (!held) {
            std::perror("churner: mmap");
            return 1;
        }
        nanosleep(&step, nullptr);
    }
    if (held)
        munmap(held, heldBytes);
    return 0;
}
