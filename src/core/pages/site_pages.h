#pragma once

#include "core/files/settings_file.h"
#include "core/model/member_record.h"
#include "core/model/operator_message.h"
#include "core/ports/clock.h"

#include <filesystem>
#include <optional>

namespace quenmark {

// Writes every page of the site into upload/, in the run's order. Returns the
// message that stops the run (a missing template), or nullopt.
std::optional<OperatorMessage> writeSitePages(const std::filesystem::path& mainFolder,
                                              MemberTable& members, const RecordTable& records,
                                              const SiteSettings& settings, Clock& clock);

} // namespace quenmark
