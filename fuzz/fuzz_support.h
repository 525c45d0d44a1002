// What the fuzz targets share: the libFuzzer entry point that each of them
// defines, and the check that turns a broken property into a crash, so that
// libFuzzer keeps the input and the replay driver fails the test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

// abort() rather than an exception: libFuzzer and the sanitizers report an
// abort with the stack and save the input; an exception would need a handler.
#define FUZZ_REQUIRE(condition)                                                          \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__,     \
                         #condition);                                                    \
            std::abort();                                                                \
        }                                                                                \
    } while (false)
