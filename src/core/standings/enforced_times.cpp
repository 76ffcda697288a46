#include "core/standings/enforced_times.h"

#include "core/main_folder.h"
#include "core/model/leading_number.h"
#include "core/model/levels.h"
#include "core/model/text_file.h"

namespace quenmark {

namespace {

bool isNotAvailable(std::string_view time) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return time.size() == 3 && upper(time[0]) == 'N' && time[1] == '/' && upper(time[2]) == 'A';
}

} // namespace

std::optional<std::int16_t> enforcedTimeValue(std::string_view time, int penaltySeconds) {
    if (isNotAvailable(time))
        return static_cast<std::int16_t>(penaltySeconds);
    if (time.size() < 3)
        return std::nullopt;
    const double minutes = leadingNumber(time.substr(0, time.size() - 3));
    const double seconds = leadingNumber(time.substr(time.size() - 2));
    return toInt16(minutes * 60 + seconds);
}

std::optional<int> enforcedTimeCell(const EnforcedTime& entry) {
    if (!entry.complete || entry.level < 0 || entry.level >= kLevelCount || entry.difficulty < 0 ||
        entry.difficulty >= kDifficultyCount)
        return std::nullopt;
    return cellIndex(entry.level, entry.difficulty);
}

OperatorMessage timesFileMissingMessage() {
    return errorMessage(std::string("\"") + kEnforcedTimesFile +
                        "\" was not found. Go into Members, then Enforce Times to have a new file "
                        "created.");
}

EnforcedTimes::EnforcedTimes(const std::vector<EnforcedTime>& entries, int penaltySeconds) {
    for (const EnforcedTime& entry : entries) {
        const auto cell = enforcedTimeCell(entry);
        const auto value = enforcedTimeValue(entry.time, penaltySeconds);
        if (cell && value)
            m_byName[entry.memberName].push_back({*cell, *value});
    }
}

std::optional<EnforcedTimes> EnforcedTimes::read(const std::filesystem::path& mainFolder,
                                                 int penaltySeconds) {
    const auto bytes = readFileBytes(mainFolder / kEnforcedTimesFile, kEnforcedTimesFile);
    if (!bytes)
        return std::nullopt;
    return EnforcedTimes(enforcedTimesFromText(*bytes), penaltySeconds);
}

void EnforcedTimes::apply(MemberRecord& member) const {
    const auto found = m_byName.find(member.Name);
    if (found == m_byName.end())
        return;
    for (const Override& o : found->second)
        member.Times[static_cast<std::size_t>(o.cell)] = o.value;
}

} // namespace quenmark
