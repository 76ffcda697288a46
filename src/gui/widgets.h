#pragma once

#include <QList>

class QWidget;

namespace quenmark {

// Controls carry the names the windows are specified with, so tests find them.
template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// Tab goes from each control to the next in the list, in the order the window
// shows them.
void chainTabOrder(const QList<QWidget*>& order);

} // namespace quenmark
