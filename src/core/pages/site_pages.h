#pragma once

#include "core/files/settings_file.h"
#include "core/model/member_record.h"
#include "core/model/operator_message.h"
#include "core/ports/clock.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quenmark {

// The seven templates of the site, in the order the run first needs them.
inline constexpr std::array<const char*, 7> kSiteTemplates = {
    "elite.html",   "elite2.html", "stage.html", "diff.html",
    "leaders.html", "roster.html", "points.html"};

// "\"templates/<file>\" could not be found.", the message that stops the run.
OperatorMessage templateMissingMessage(std::string_view templateFile);

// The message for the first template of the site that does not exist or cannot
// be read, or nullopt.
std::optional<OperatorMessage> missingTemplateMessage(const std::filesystem::path& mainFolder);

// Writes every page of the site into upload/, in the run's order. Returns the
// message that stops the run (a missing template), or nullopt.
std::optional<OperatorMessage> writeSitePages(const std::filesystem::path& mainFolder,
                                              MemberTable& members, const RecordTable& records,
                                              const SiteSettings& settings, Clock& clock);

} // namespace quenmark
