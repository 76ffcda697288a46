#pragma once

#include <QIcon>
#include <QPixmap>

namespace quenmark {

// The program's picture, the stopwatch of the desktop entry (data/, built into
// the program): the windows' icon and the About window's logo.
QIcon programIcon();
QPixmap programLogo(int size);

} // namespace quenmark
