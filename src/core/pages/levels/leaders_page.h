#pragma once

#include "core/model/member_record.h"
#include "core/pages/page_context.h"

namespace quenmark {

// upload/leaders.htm: counts the records, then ranks the members by them,
// overall and per difficulty (top five). False when the template is missing.
[[nodiscard]] bool writeLeadersPage(const PageContext& context);

} // namespace quenmark
