#pragma once

#include "core/model/member_record.h"

namespace quenmark {

// The record of every cell and every member's Points on the scale of pointMax.
RecordTable computeStandings(MemberTable& members, int pointMax);

// Points for place k (the number of members with a strictly smaller time):
// P, P - 3, P - 5, then the count-down base minus k but never below 0.
std::int16_t pointsForPlace(int place, int pointMax);

// The base the points of the places from the third on count down from: P - 3.
int countDownBase(int pointMax);

} // namespace quenmark
