#include "core/pages/template_filler.h"

#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/text_file.h"

#include <stdexcept>

namespace quenmark {

namespace {

constexpr std::string_view kMarker = "***";

FileError lineTooLong(std::string_view templateName) {
    return FileError("\"" + std::string(templateName) +
                     "\" could not be filled: a line of its page would grow past 64 MB.");
}

} // namespace

void PageOutput::line(std::string_view text) {
    m_text.append(text);
    m_text.append("\r\n");
}

std::string templateShownName(std::string_view templateFile) {
    return std::string(kTemplatesFolder) + "/" + std::string(templateFile);
}

std::string pageShownName(std::string_view pageFile) {
    return std::string(kUploadFolder) + "/" + std::string(pageFile);
}

void replaceMarkers(std::string& line, std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = line.find(kMarker); at != std::string::npos;
         at = line.find(kMarker, at + kMarker.size()))
        ++count;
    if (count == 0)
        return;
    // Sized before anything is built, so an oversized line never takes the memory.
    if (text.size() > kMarker.size() &&
        (text.size() - kMarker.size()) > (kLongestPageLine - line.size()) / count)
        throw std::length_error("page line too long");
    std::string result;
    result.reserve(line.size() + count * text.size());
    std::size_t from = 0;
    for (std::size_t at = line.find(kMarker); at != std::string::npos;
         at = line.find(kMarker, from)) {
        result.append(line, from, at - from);
        result.append(text);
        from = at + kMarker.size();
    }
    result.append(line, from);
    line = std::move(result);
}

std::string fillTemplateText(std::string_view templateText, std::string_view templateName,
                             int firstMarker, const MarkerHandler& handler) {
    PageOutput page;
    int counter = firstMarker - 1;
    for (std::string& line : splitLines(templateText)) {
        // The last position is fixed by the line as read. Markers are looked for
        // in the template's own text only: once a handler has changed the line,
        // what it holds came from the handler (member data may hold "***") and
        // is never taken for a marker, so nothing is replaced twice.
        const std::size_t length = line.size();
        if (length >= kMarker.size()) {
            const std::size_t last = length - kMarker.size();
            for (std::size_t p = line.find(kMarker); p != std::string::npos && p <= last;
                 p = line.find(kMarker, p + 1)) {
                const std::size_t sizeBefore = line.size();
                ++counter;
                try {
                    handler(counter, line, page);
                } catch (const std::length_error&) {
                    throw lineTooLong(templateName);
                }
                if (line.size() != sizeBefore || line.compare(p, kMarker.size(), kMarker) != 0)
                    break;
            }
        }
        page.line(line);
    }
    return page.takeText();
}

bool fillTemplate(const std::filesystem::path& mainFolder, std::string_view templateFile,
                  std::string_view pageFile, int firstMarker, const MarkerHandler& handler) {
    const std::string templateName = templateShownName(templateFile);
    const std::optional<std::string> content =
        readFileBytes(mainFolder / kTemplatesFolder / templateFile, templateName);
    if (!content)
        return false;
    const std::string text = fillTemplateText(*content, templateName, firstMarker, handler);
    const std::filesystem::path pagePath = mainFolder / kUploadFolder / pageFile;
    replaceFile(pagePath, text, Durability::Unsynced, FileAccess::Default, pageShownName(pageFile));
    return true;
}

} // namespace quenmark
