#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

// upload/roster.htm: every member in roster order with links to his times and
// his mail address. False when the template is missing.
[[nodiscard]] bool writeRosterPage(const PageContext& context);

} // namespace quenmark
