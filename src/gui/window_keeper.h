#pragma once

#include "gui/window_geometry.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace quenmark {

// A modeless window that exists at most once: asking for it while it is open
// brings it to the front; closing it deletes it, so the next opening reads its
// files afresh. It opens where the operator last left one of its kind.
template <typename Window> class WindowKeeper {
public:
    // create builds a new window (with WA_DeleteOnClose set by the keeper) or
    // returns nullptr when it must not open.
    Window* show(const std::function<Window*()>& create) {
        if (m_window) {
            m_window->show();
            m_window->raise();
            m_window->activateWindow();
            return m_window;
        }
        Window* window = create();
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose);
        rememberGeometry(window);
        m_window = window;
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    Window* window() const { return m_window; }

private:
    QPointer<Window> m_window;
};

} // namespace quenmark
