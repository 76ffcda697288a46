#include "standings/settle_member_times.h"

std::optional<OperatorMessage> settleMemberTimes(const std::filesystem::path&, MemberTable&,
                                                 const SiteSettings&) {
    return std::nullopt;
}
