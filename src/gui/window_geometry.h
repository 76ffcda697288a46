#pragma once

class QWidget;

namespace quenmark {

// Gives the window the size and position it had when the operator last closed
// one of its kind (QSettings, keyed by its class), fitted to the screen it opens
// on, and keeps them when it hides.
void rememberGeometry(QWidget* window);

} // namespace quenmark
