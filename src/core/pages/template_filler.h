#pragma once

#include "core/pages/text_pieces.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quenmark {

// The page being filled. It is kept whole in memory and replaces the old page
// only once complete, so a run that stops half way never leaves a page empty
// or cut short.
class PageOutput {
public:
    // One whole line; the line end CR LF is added.
    void line(std::string_view text);
    // One whole line from its pieces (texts and whole numbers), built in place.
    template <typename... Pieces> void linePieces(const Pieces&... pieces) {
        appendPieces(m_text, pieces..., std::string_view("\r\n"));
    }
    const std::string& text() const { return m_text; }
    std::string takeText() { return std::move(m_text); }

private:
    std::string m_text;
};

// Called for every marker met, with its number, the template line in its
// current state (which it may change) and the page (to which it may write rows).
using MarkerHandler = std::function<void(int marker, std::string& line, PageOutput& page)>;

// No sane page has a line this long; member data that would make one (marker
// text replaced over and over) stops the run instead of exhausting memory.
inline constexpr std::size_t kLongestPageLine = std::size_t{64} << 20;

// Copies the template "templates/<templateFile>" of the main folder line by line
// into "upload/<pageFile>", numbering every "***" met from `firstMarker` on and
// handing it to the handler. Returns false, touching no page, when the template
// does not exist; throws FileError when it cannot be read, a line would grow
// past kLongestPageLine, or the page cannot be written. The old page stays
// whole whenever FileError is thrown.
[[nodiscard]] bool fillTemplate(const std::filesystem::path& mainFolder,
                                std::string_view templateFile, std::string_view pageFile,
                                int firstMarker, const MarkerHandler& handler);

// The page text of a template text; `templateName` names it in messages.
std::string fillTemplateText(std::string_view templateText, std::string_view templateName,
                             int firstMarker, const MarkerHandler& handler);

// The two ways a handler answers a marker.
// Inline: every "***" of the line, left to right, becomes `text`. Throws
// std::length_error when the line would grow past kLongestPageLine.
void replaceMarkers(std::string& line, std::string_view text);
// Table: the handler has written its rows; the marker line goes, leaving an empty line.
inline void endTable(std::string& line) {
    line.clear();
}

// "templates/<file>" and "upload/<file>", as messages name them.
std::string templateShownName(std::string_view templateFile);
std::string pageShownName(std::string_view pageFile);

} // namespace quenmark
