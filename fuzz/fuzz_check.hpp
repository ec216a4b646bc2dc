#pragma once
// A property that must hold for every input: when it does not, the fuzzer stops with the
// input saved as a crash file.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition, what)                                                       \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "property failed: %s (%s) at %s:%d\n", what, #condition, \
                         __FILE__, __LINE__);                                             \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

namespace fuzz {

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzz
