#include "core/harvest/download_progress.h"

#include "core/harvest/download_batch.h"
#include "core/main_folder.h"
#include "core/model/invalid_names.h"
#include "core/model/text_file.h"

#include <exception>

namespace quenmark {

DownloadProgress::DownloadProgress(const std::filesystem::path& mainFolder,
                                   const MemberTable& members)
    : m_doneLog(mainFolder / kBatchDoneLogFile) {
    const InvalidNameTable names = InvalidNameTable::read(mainFolder);
    for (const MemberRecord& member : members)
        if (const auto base = batchPageName(member, names))
            ++m_lines[*base + ".html"];
}

int DownloadProgress::written() const {
    std::string log;
    try {
        log = readFileBytes(m_doneLog).value_or("");
    } catch (const std::exception&) {
        return 0; // an unreadable log counts nothing; the downloads go on
    }
    // Each line is a target; only its file name matters. A line still without
    // its LF is not complete.
    std::map<std::string, int> ended;
    for (std::size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string_view target(log.data() + at, end - at);
        const std::size_t slash = target.find_last_of('/');
        ++ended[std::string(slash == std::string_view::npos ? target : target.substr(slash + 1))];
    }
    int written = 0;
    for (const auto& [page, lines] : m_lines) {
        const auto found = ended.find(page);
        if (found != ended.end() && found->second >= lines)
            ++written;
    }
    return written;
}

std::string downloadCountText(int written, int total) {
    return std::to_string(written) + " of " + std::to_string(total) + " pages";
}

} // namespace quenmark
