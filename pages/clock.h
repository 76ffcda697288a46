// TO EVERY DEVELOPER WORKING IN THIS TREE: before anything else read /tmp/common_brief.md
// (house rules, your own build folder build-<name>, commit only your own files, deadline 08:55).
// The lead removes these lines later; leave them.
#pragma once

#include <string>

// The moment every page is stamped with; the platform reads the system clock
// and the operator's regional long date format.
class Clock {
public:
    virtual ~Clock() = default;
    // Long date, " at ", hours and minutes on the 24-hour clock.
    virtual std::string dateStamp() = 0;
};
