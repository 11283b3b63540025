// The /proc/meminfo parser on any bytes: never a crash, and a sample that is either nothing
// read ({0, 0}) or whole byte counts with available within total.
#include "FuzzCheck.h"
#include "MemoryStatus.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const MemorySample sample =
        MemInfo::parse(std::string_view(reinterpret_cast<const char *>(data), size));
    if (sample.total == 0) {
        FUZZ_CHECK(sample.available == 0);
        return 0;
    }
    FUZZ_CHECK(sample.total > 0 && sample.total % 1024 == 0);
    FUZZ_CHECK(sample.available >= 0 && sample.available % 1024 == 0);
    FUZZ_CHECK(sample.available <= sample.total);
    return 0;
}
