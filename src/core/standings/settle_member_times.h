#pragma once

#include "core/files/settings_file.h"
#include "core/model/member_record.h"
#include "core/model/operator_message.h"

#include <filesystem>
#include <optional>

namespace quenmark {

// Every member's 42 times made final for the run, member by member in roster
// order: his downloaded page read, the fallbacks, time file and error log
// settled, then the enforced times applied. Returns the message that stops the
// run (times.dat missing), or nullopt when every member was handled.
std::optional<OperatorMessage> settleMemberTimes(const std::filesystem::path& mainFolder,
                                                 MemberTable& members,
                                                 const SiteSettings& settings);

// Whether the downloads brought at least one member page that reads whole (42
// times), or fetched none at all (no member, or none with a usable file name
// and address). Reads only: nothing is written.
bool anyMemberPageRead(const std::filesystem::path& mainFolder, const MemberTable& members,
                       const SiteSettings& settings);

} // namespace quenmark
