#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

// upload/points.htm: the point scale of the settings. False when the template is missing.
[[nodiscard]] bool writePointsPage(const PageContext& context);

} // namespace quenmark
