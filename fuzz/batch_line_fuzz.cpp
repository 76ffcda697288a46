// The command interpreter's reading of a batch line, on arbitrary bytes.
#include "platform/batch_interpreter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)parseBatchLine(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
