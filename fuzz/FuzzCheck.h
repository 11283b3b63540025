#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, so that libFuzzer saves the input
// and a replay of the corpus fails, naming the property.
#define FUZZ_FAIL(what)                                                                            \
    do {                                                                                           \
        std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, what);                     \
        std::abort();                                                                              \
    } while (false)

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FUZZ_FAIL(#condition);                                                                 \
    } while (false)
