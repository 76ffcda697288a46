#pragma once

class QLineEdit;

namespace quenmark {

// A text box whose text becomes one line of a file: CR and LF typed or pasted
// into it are dropped (a tab stays), since a line break would shift every later
// line of the file; and its length is bounded only by what a file line holds,
// so a long text shown from a file is saved back whole.
QLineEdit* oneLineField(const char* name);

} // namespace quenmark
