#pragma once

#include "core/pages/text_pieces.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace quenmark {

// The page file being written. Lines collect in memory and reach the file in
// large blocks, so a page of thousands of rows costs a handful of writes.
class PageOutput {
public:
    // Creates or empties the page; throws FileError naming `shownName` on failure.
    PageOutput(const std::filesystem::path& path, std::string shownName);
    ~PageOutput();
    PageOutput(const PageOutput&) = delete;
    PageOutput& operator=(const PageOutput&) = delete;

    // One whole line; the line end CR LF is added.
    void line(std::string_view text);
    // One whole line from its pieces (texts and whole numbers), built in place.
    template <typename... Pieces> void linePieces(const Pieces&... pieces) {
        appendPieces(m_buffer, pieces..., std::string_view("\r\n"));
        flushWhenFull();
    }
    // Writes what is left and closes the file; throws FileError on failure.
    void close();

private:
    void flushWhenFull();
    void flushBuffer();

    std::ofstream m_file;
    std::string m_shownName;
    std::string m_buffer;
};

// Called for every marker met, with its number, the template line in its
// current state (which it may change) and the page (to which it may write rows).
using MarkerHandler = std::function<void(int marker, std::string& line, PageOutput& page)>;

// Copies the template "templates/<templateFile>" of the main folder line by line
// into "upload/<pageFile>", numbering every "***" met from `firstMarker` on and
// handing it to the handler. Returns false, touching no page, when the template
// does not exist; throws FileError when it cannot be read or the page cannot be
// written.
[[nodiscard]] bool fillTemplate(const std::filesystem::path& mainFolder,
                                std::string_view templateFile, std::string_view pageFile,
                                int firstMarker, const MarkerHandler& handler);

// The two ways a handler answers a marker.
// Inline: every "***" of the line, left to right, becomes `text`.
void replaceMarkers(std::string& line, std::string_view text);
// Table: the handler has written its rows; the marker line goes, leaving an empty line.
inline void endTable(std::string& line) {
    line.clear();
}

// "templates/<file>" and "upload/<file>", as messages name them.
std::string templateShownName(std::string_view templateFile);
std::string pageShownName(std::string_view pageFile);

} // namespace quenmark
