#pragma once

#include "app/model/member_record.h"

// The record of every cell and every member's Points on the scale of pointMax.
RecordTable computeStandings(MemberTable& members, int pointMax);
