#pragma once

#include <cstdlib>

namespace quenmark {

// A broken promise of the code under test: the fuzzer reports it as a crash.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace quenmark
