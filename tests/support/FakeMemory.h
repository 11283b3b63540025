#pragma once

#include "MemoryStatus.h"

// A memory source that hands out whatever sample the test sets, and counts the reads.
class FakeMemory final : public MemoryStatusSource {
public:
    MemorySample sample;
    int reads = 0;
    MemorySample read() override
    {
        ++reads;
        return sample;
    }
};
