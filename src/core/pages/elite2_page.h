#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

// upload/elite2.htm: both overall standings with every member, from the totals
// the elite page computed. False when the template is missing.
[[nodiscard]] bool writeElite2Page(const PageContext& context);

} // namespace quenmark
