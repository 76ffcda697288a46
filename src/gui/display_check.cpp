#include "gui/display_check.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace quenmark {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool needsNoDisplay(std::string_view platform) {
    constexpr std::array<std::string_view, 7> kWithoutDisplay = {
        "offscreen", "minimal", "minimalegl", "vnc", "linuxfb", "eglfs", "vkkhrdisplay"};
    // Options follow the name after a colon ("vnc:size=800x600").
    platform = platform.substr(0, platform.find(':'));
    for (std::string_view name : kWithoutDisplay)
        if (platform == name)
            return true;
    return false;
}

} // namespace

bool windowCanOpen() {
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return true;
    const char* platforms = std::getenv("QT_QPA_PLATFORM");
    std::string_view rest = platforms ? platforms : "";
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        if (needsNoDisplay(rest.substr(0, end)))
            return true;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

} // namespace quenmark
