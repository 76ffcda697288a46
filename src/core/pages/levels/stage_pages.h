#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

// upload/stage1.htm to stage14.htm, one per level, in level order: the level's
// name, its top ten by level points and the three-column time table. False, with
// the pages before it written, when the template is missing.
[[nodiscard]] bool writeStagePages(const PageContext& context);

} // namespace quenmark
