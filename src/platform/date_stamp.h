#pragma once

#include "core/ports/clock.h"

#include <string>

namespace quenmark {

// The system clock and the operator's regional long date format. When
// SOURCE_DATE_EPOCH holds a number of seconds since 1970, that moment (in UTC)
// stands in for the clock, so two runs on the same data give the same pages.
class SystemClock : public Clock {
public:
    std::string dateStamp() override;
    // The real time of day: the summary tells when the run was, whatever the pages say.
    std::string timeOfDay() override;
};

} // namespace quenmark
