#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenmark {

// Page rows are built by appending their pieces to one text, which keeps its
// capacity from row to row, rather than by chains of temporary strings: the
// large tables of a big roster are mostly this work.
void appendPiece(std::string& text, std::string_view piece);
void appendPiece(std::string& text, std::int64_t number);

template <typename... Pieces> void appendPieces(std::string& text, const Pieces&... pieces) {
    (appendPiece(text, pieces), ...);
}

} // namespace quenmark
