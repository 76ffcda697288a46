#pragma once

#include "core/files/settings_file.h"
#include "core/model/member_record.h"
#include "core/ports/clock.h"

#include <filesystem>
#include <string>

namespace quenmark {

// What every page writer of one run reads: the main folder, the member table
// (whose scratch fields and totals the writers fill), the records and the
// settings turned into their values.
struct PageContext {
    PageContext(const std::filesystem::path& mainFolder, MemberTable& members,
                const RecordTable& records, const SiteSettings& settings, Clock& clock);

    const std::filesystem::path& mainFolder;
    MemberTable& members;
    const RecordTable& records;
    Clock& clock;
    std::string pointColor;
    int pointMax;
    int penaltySeconds;
    std::string alignWord;
};

} // namespace quenmark
