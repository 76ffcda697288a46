#pragma once

#include <QString>
#include <string>

namespace quenmark {

// File text is 8-bit: bytes map to characters one to one (Latin-1), so any
// file round-trips through a widget unchanged. A character typed that has no
// byte of its own is stored as "?".
QString fromBytes(const std::string& bytes);
std::string toBytes(const QString& text);

} // namespace quenmark
