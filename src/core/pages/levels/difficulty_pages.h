#pragma once

#include "core/pages/page_context.h"

namespace quenmark {

enum class DifficultyPageKind { Points, Time };

// upload/diffp-1.htm to diffp-3.htm (points) or difft-1.htm to difft-3.htm
// (time): every member ranked by his total on one difficulty. False, with the
// pages before it written, when the template is missing.
[[nodiscard]] bool writeDifficultyPages(const PageContext& context, DifficultyPageKind kind);

} // namespace quenmark
