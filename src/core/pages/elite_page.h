#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

// upload/elite.htm: member count, the record of every cell with its holders,
// record sums, the holders table and the top 100 of both overall standings.
// Its standings tables compute every member's DifficultyPoints and
// DifficultyTotal, which the pages after it read. False when the template is missing.
[[nodiscard]] bool writeElitePage(const PageContext& context);

} // namespace quenmark
