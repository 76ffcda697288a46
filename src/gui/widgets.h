#pragma once

namespace quenmark {

// Controls carry the names the windows are specified with, so tests find them.
template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace quenmark
