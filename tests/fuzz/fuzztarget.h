#pragma once

// Each fuzz target defines LLVMFuzzerTestOneInput. Built with clang it is a
// libFuzzer program; otherwise fuzzdriver.cpp replays the seed corpus and
// then feeds mutations of it for a bounded time. A broken property aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                                                           \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property broken: %s\n", #condition);                                       \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
