// Shared by the fuzz targets: the toolkit's base library (lists, shared
// strings) initialised once, and the input as text.
#pragma once
#include <Eina.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline void fuzz_init_once()
{
    static bool done = (eina_init(), true);
    (void)done;
}

inline std::string fuzz_text(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// An invariant of the code under test; a failure is a finding.
#define FUZZ_REQUIRE(cond)                                                                             \
    do {                                                                                               \
        if (!(cond)) {                                                                                 \
            fprintf(stderr, "fuzz invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
            abort();                                                                                   \
        }                                                                                              \
    } while (0)
