#include "MemoryStatus.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <unistd.h>

namespace {

enum Field { Total, Free, Available, Buffers, Cached, FieldCount };
constexpr std::string_view FieldKeys[FieldCount] = {"MemTotal", "MemFree", "MemAvailable",
                                                    "Buffers", "Cached"};

// The largest count of kB whose bytes still fit in a qint64.
constexpr qint64 MaxKiB = std::numeric_limits<qint64>::max() / 1024;

std::string_view skipBlanks(std::string_view text) noexcept
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

// Reads the "   1234 kB" that follows a key's colon.
std::optional<qint64> readKiB(std::string_view value) noexcept
{
    value = skipBlanks(value);
    std::uint64_t kib = 0; // unsigned, so a minus sign is rejected
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), kib);
    if (error != std::errc() || kib > std::uint64_t(MaxKiB))
        return std::nullopt;
    value = skipBlanks(value.substr(std::size_t(end - value.data())));
    if (value.substr(0, 2) != "kB" || !skipBlanks(value.substr(2)).empty())
        return std::nullopt;
    return qint64(kib);
}

} // namespace

MemorySample MemInfo::parse(std::string_view text) noexcept
{
    std::optional<qint64> kib[FieldCount];
    int found = 0;
    while (found < FieldCount) {
        const std::size_t newline = text.find('\n');
        // A last line without its newline may have been cut short, so it does not count.
        if (newline == std::string_view::npos)
            break;
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);

        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, colon);
        for (int field = 0; field < FieldCount; ++field) {
            if (key != FieldKeys[field] || kib[field])
                continue;
            kib[field] = readKiB(line.substr(colon + 1));
            if (!kib[field])
                return {};
            ++found;
            break;
        }
    }

    if (!kib[Total] || *kib[Total] == 0)
        return {};
    const qint64 total = *kib[Total];
    qint64 available = 0;
    if (kib[Available])
        available = *kib[Available];
    else if (kib[Free] && kib[Buffers] && kib[Cached])
        available = *kib[Free] + *kib[Buffers] + *kib[Cached]; // each is at most MaxKiB
    else
        return {};
    if (available > total) {
        if (!kib[Free] || *kib[Free] > total)
            return {};
        available = *kib[Free];
    }
    return {total * 1024, available * 1024};
}

ProcMemInfo::ProcMemInfo(const char *path)
    : m_path(path)
{
    open();
}

ProcMemInfo::~ProcMemInfo()
{
    close();
}

void ProcMemInfo::open()
{
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
}

void ProcMemInfo::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

MemorySample ProcMemInfo::read()
{
    if (m_fd < 0)
        open();
    if (m_fd < 0)
        return {};
    // Reading from offset 0 makes the kernel produce fresh figures without a seek.
    ssize_t size = 0;
    do
        size = ::pread(m_fd, m_buffer, sizeof m_buffer, 0);
    while (size < 0 && errno == EINTR);
    const MemorySample sample =
        size > 0 ? MemInfo::parse(std::string_view(m_buffer, std::size_t(size))) : MemorySample{};
    // The descriptor may name a file that is gone or was replaced; the path names the source.
    if (sample.total == 0)
        close();
    return sample;
}
