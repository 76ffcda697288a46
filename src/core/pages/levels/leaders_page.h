#pragma once

#include "core/model/member_record.h"
#include "core/pages/page_context.h"

namespace quenmark {

// Fills Records, DifficultyRecords, Untied and DifficultyUntied of every member
// from the run's points: a member holds a record where his points are the
// maximum, and holds it untied when nobody else does.
void countRecords(MemberTable& members, int pointMax);

// upload/leaders.htm: counts the records, then ranks the members by them,
// overall and per difficulty (top five). False when the template is missing.
[[nodiscard]] bool writeLeadersPage(const PageContext& context);

} // namespace quenmark
