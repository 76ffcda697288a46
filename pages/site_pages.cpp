#include "pages/site_pages.h"

std::optional<OperatorMessage> writeSitePages(const std::filesystem::path&, MemberTable&,
                                              const RecordTable&, const SiteSettings&, Clock&) {
    return std::nullopt;
}
