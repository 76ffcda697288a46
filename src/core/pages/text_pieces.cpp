#include "core/pages/text_pieces.h"

#include <charconv>

namespace quenmark {

void appendPiece(std::string& text, std::string_view piece) {
    text.append(piece);
}

void appendPiece(std::string& text, std::int64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text.append(digits, end);
}

} // namespace quenmark
