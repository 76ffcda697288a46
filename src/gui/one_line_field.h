#pragma once

class QLineEdit;

namespace quenmark {

// A text box whose text becomes one line of a file, so it never holds CR or LF:
// a line break would shift every later line of the file. Breaks typed, pasted
// or shown from a file become one blank between words and go at either end (a
// tab stays). Its length is bounded only by what a file line holds, so a long
// text shown from a file is saved back whole.
QLineEdit* oneLineField(const char* name);

} // namespace quenmark
