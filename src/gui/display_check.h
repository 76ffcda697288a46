#pragma once

namespace quenmark {

// Whether the main window can open: a display server to show it on (DISPLAY or
// WAYLAND_DISPLAY set), or QT_QPA_PLATFORM naming, among its ";"-separated
// choices, a platform that needs none (offscreen, vnc, linuxfb, ...). Asked
// before any Qt application exists, since Qt aborts when it finds no display.
bool windowCanOpen();

} // namespace quenmark
