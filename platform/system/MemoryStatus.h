#pragma once

#include <QtGlobal>
#include <string>
#include <string_view>

// Total and available physical memory, in bytes. Counts are 64-bit: machines have far more
// than 2 GiB. A total of 0 means the figures could not be read.
struct MemorySample {
    qint64 total = 0;
    qint64 available = 0;
    friend bool operator==(const MemorySample &, const MemorySample &) = default;
};

namespace MemInfo {
// Reads a /proc/meminfo text by key ("MemTotal", "MemAvailable", ... in kB of 1024 bytes).
// Without MemAvailable (kernels before 3.14) available is MemFree + Buffers + Cached; when
// available exceeds total (seen in containers) it is MemFree. Only lines ending in a newline
// count, since a last line without one may have been cut short. Anything unreadable (a figure
// that is not a count of kB, or too big for 64 bits of bytes) gives {0, 0}.
MemorySample parse(std::string_view text) noexcept;
} // namespace MemInfo

// Where the monitor takes its samples from; tests hand in a fake or a fixture file.
class MemoryStatusSource {
public:
    virtual ~MemoryStatusSource() = default;
    virtual MemorySample read() = 0;
};

// Samples a meminfo file through a descriptor kept open while it reads well: one pread per
// sample into a fixed buffer, nothing allocated per sample. A sample that cannot be read or
// reads as nothing ({0, 0}) lets go of the descriptor, and the next sample opens the path
// again: a file that was missing or broken is read once it is whole again, even when it came
// back as a new file.
class ProcMemInfo final : public MemoryStatusSource {
public:
    explicit ProcMemInfo(const char *path = "/proc/meminfo");
    ~ProcMemInfo() override;
    ProcMemInfo(const ProcMemInfo &) = delete;
    ProcMemInfo &operator=(const ProcMemInfo &) = delete;

    MemorySample read() override;

private:
    void open();
    void close();

    std::string m_path;
    int m_fd = -1;
    char m_buffer[4096];
};
