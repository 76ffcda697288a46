#pragma once

#include <string>

namespace quenmark {

// The moment every page is stamped with; the platform reads the system clock
// and the operator's regional long date format.
class Clock {
public:
    virtual ~Clock() = default;
    // Long date, " at ", hours and minutes on the 24-hour clock.
    virtual std::string dateStamp() = 0;
    // Hours and minutes of now on the 24-hour clock ("14:05"), for the run summary.
    virtual std::string timeOfDay() = 0;
};

} // namespace quenmark
