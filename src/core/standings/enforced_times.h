#pragma once

#include "core/files/enforced_times_file.h"
#include "core/model/member_record.h"
#include "core/model/operator_message.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quenmark {

// The value of an entry's time text: "N/A" in any letter case is the
// penalty; any other text is leadingNumber of all but its last three characters
// times 60 plus leadingNumber of its last two. nullopt for a text shorter than
// three characters that is not N/A: such an entry is skipped.
std::optional<std::int16_t> enforcedTimeValue(std::string_view time, int penaltySeconds);

// The cell an entry targets, or nullopt when the entry is skipped: cut short by
// the end of the file, level outside 0..13 or difficulty outside 0..2.
std::optional<int> enforcedTimeCell(const EnforcedTime& entry);

// The message that stops the run when times.dat is missing.
OperatorMessage timesFileMissingMessage();

// times.dat, read once for a whole run and grouped by member name, each
// member's entries in file order: applying it to a member gives what a scan of
// the whole file per member gives, the later of two entries for one
// cell staying in effect, names compared exactly.
class EnforcedTimes {
public:
    EnforcedTimes(const std::vector<EnforcedTime>& entries, int penaltySeconds);

    // nullopt when times.dat does not exist; throws FileError when it exists
    // but cannot be read.
    static std::optional<EnforcedTimes> read(const std::filesystem::path& mainFolder,
                                             int penaltySeconds);

    // applyEnforcedTimes for one member.
    void apply(MemberRecord& member) const;

private:
    struct Override {
        int cell;
        std::int16_t value;
    };
    std::unordered_map<std::string, std::vector<Override>> m_byName;
};

} // namespace quenmark
