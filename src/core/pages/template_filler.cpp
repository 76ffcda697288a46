#include "core/pages/template_filler.h"

#include "core/model/text_file.h"

namespace quenmark {

namespace {

constexpr std::string_view kMarker = "***";
constexpr std::size_t kFlushSize = 1 << 20;

} // namespace

PageOutput::PageOutput(const std::filesystem::path& path, std::string shownName)
    : m_shownName(std::move(shownName)) {
    m_file.open(path, std::ios::binary | std::ios::trunc);
    if (!m_file)
        throw cannotWrite(m_shownName);
    m_buffer.reserve(kFlushSize + 4096);
}

PageOutput::~PageOutput() = default;

void PageOutput::line(std::string_view text) {
    m_buffer.append(text);
    m_buffer.append("\r\n");
    flushWhenFull();
}

void PageOutput::flushWhenFull() {
    if (m_buffer.size() >= kFlushSize)
        flushBuffer();
}

void PageOutput::flushBuffer() {
    m_file.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
    if (!m_file)
        throw cannotWrite(m_shownName);
}

void PageOutput::close() {
    flushBuffer();
    m_file.close();
    if (!m_file)
        throw cannotWrite(m_shownName);
}

std::string templateShownName(std::string_view templateFile) {
    return "templates/" + std::string(templateFile);
}

std::string pageShownName(std::string_view pageFile) {
    return "upload/" + std::string(pageFile);
}

void replaceMarkers(std::string& line, std::string_view text) {
    std::size_t at = line.find(kMarker);
    if (at == std::string::npos)
        return;
    std::string result;
    result.reserve(line.size() + text.size());
    std::size_t from = 0;
    while (at != std::string::npos) {
        result.append(line, from, at - from);
        result.append(text);
        from = at + kMarker.size();
        at = line.find(kMarker, from);
    }
    result.append(line, from);
    line = std::move(result);
}

bool fillTemplate(const std::filesystem::path& mainFolder, std::string_view templateFile,
                  std::string_view pageFile, int firstMarker, const MarkerHandler& handler) {
    const std::string templateName = templateShownName(templateFile);
    const std::filesystem::path templatePath = mainFolder / "templates" / templateFile;
    if (!fileExists(templatePath))
        return false;
    const std::optional<std::string> content = readFileBytes(templatePath);
    if (!content)
        throw cannotRead(templateName);

    PageOutput page(mainFolder / "upload" / pageFile, pageShownName(pageFile));
    int counter = firstMarker - 1;
    for (std::string& line : splitLines(*content)) {
        // The last position is fixed by the line as read; each test then looks at
        // the line as the handlers have left it.
        const std::size_t length = line.size();
        if (length >= kMarker.size()) {
            const std::size_t last = length - kMarker.size();
            for (std::size_t p = line.find(kMarker); p != std::string::npos && p <= last;
                 p = line.find(kMarker, p + 1)) {
                ++counter;
                handler(counter, line, page);
            }
        }
        page.line(line);
    }
    page.close();
    return true;
}

} // namespace quenmark
