#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise found by a fuzz target: print it and abort, so that libFuzzer keeps the
// input that caused it.
#define FUZZ_CHECK(condition, ...)                                       \
    do {                                                                 \
        if (!(condition)) {                                              \
            std::fprintf(stderr, "fuzz check failed: %s: ", #condition); \
            std::fprintf(stderr, __VA_ARGS__);                           \
            std::fprintf(stderr, "\n");                                  \
            std::abort();                                                \
        }                                                                \
    } while (false)
