#pragma once

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace quenmark {

// A broken promise of the code under test: the fuzzer reports it as a crash.
inline void require(bool condition) {
    if (!condition)
        std::abort();
}

// The next NUL-separated part of a fuzz input, taken off its front.
inline std::string_view nextPart(std::string_view& bytes) {
    const std::size_t end = bytes.find('\0');
    const std::string_view part = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    return part;
}

} // namespace quenmark
