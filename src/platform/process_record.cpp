#include "platform/process_record.h"

#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"
#include "platform/process_group.h"

#include <random>

namespace quenmark {

std::string newProcessMarker(const char* name) {
    std::random_device random;
    std::uniform_int_distribution<int> digit(0, 15);
    std::string value;
    for (int i = 0; i < 24; ++i)
        value += "0123456789abcdef"[digit(random)];
    return std::string(name) + "=" + value;
}

void writeProcessRecord(const std::filesystem::path& file, std::string_view shownName,
                        int sessionId, const std::string& marker) {
    replaceFile(file, TextBuilder().numberLine(sessionId).line(marker).text(), Durability::Unsynced,
                FileAccess::Default, shownName);
}

void endRecordedProcesses(const std::filesystem::path& file, std::string_view shownName) {
    const auto lines = readLines(file, shownName);
    if (!lines)
        return;
    if (lines->size() >= 2)
        endMarkedProcesses(static_cast<int>(leadingNumber((*lines)[0])), (*lines)[1]);
    removeProcessRecord(file);
}

void removeProcessRecord(const std::filesystem::path& file) {
    try {
        removeFileIfPresent(file);
    } catch (const FileError&) {
        // Harmless: see the header.
    }
}

} // namespace quenmark
