// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A property the code under fuzzing must keep. A broken one ends the process the way a
// sanitizer report does, so that libFuzzer records the input as a crash.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
