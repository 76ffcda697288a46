#include "core/pages/time_text.h"

namespace quenmark {

namespace {

void appendTwoDigits(std::string& text, std::int64_t value) {
    if (value < 10)
        text.push_back('0');
    text.append(std::to_string(value));
}

// Times are never negative in a run; a negative one (only an odd enforced time
// could give it) is written as the same form of its size behind a minus sign.
std::string withSign(std::int64_t seconds, std::string (*form)(std::int64_t)) {
    return "-" + form(-seconds);
}

} // namespace

std::string formatMinutes(std::int64_t seconds) {
    if (seconds < 0)
        return withSign(seconds, formatMinutes);
    std::string text = std::to_string(seconds / 60);
    text.push_back(':');
    appendTwoDigits(text, seconds % 60);
    return text;
}

std::string formatHours(std::int64_t seconds) {
    if (seconds < 0)
        return withSign(seconds, formatHours);
    std::string text = std::to_string(seconds / 3600);
    text.push_back(':');
    appendTwoDigits(text, (seconds / 60) % 60);
    text.push_back(':');
    appendTwoDigits(text, seconds % 60);
    return text;
}

std::string formatClock(std::int64_t seconds) {
    return seconds < 3600 ? formatMinutes(seconds) : formatHours(seconds);
}

} // namespace quenmark
