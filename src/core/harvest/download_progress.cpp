#include "core/harvest/download_progress.h"

#include "core/model/invalid_names.h"

#include <algorithm>
#include <set>

namespace quenmark {

namespace {

std::optional<std::filesystem::file_time_type> modified(const std::filesystem::path& file) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(file, ec);
    if (ec)
        return std::nullopt;
    return time;
}

} // namespace

DownloadProgress::DownloadProgress(const std::filesystem::path& mainFolder,
                                   const MemberTable& members) {
    const InvalidNameTable names = InvalidNameTable::read(mainFolder);
    std::set<std::string> seen; // two members of one base name share one page file
    for (const MemberRecord& member : members) {
        const std::string base = names.memberFileName(member.Name);
        if (!isUsableBaseName(base) || !seen.insert(base).second)
            continue;
        const std::filesystem::path file = mainFolder / "download" / (base + ".html");
        m_pages.push_back({file, modified(file)});
    }
}

int DownloadProgress::written() const {
    return static_cast<int>(std::count_if(m_pages.begin(), m_pages.end(), [](const Page& page) {
        const auto now = modified(page.file);
        return now && now != page.before;
    }));
}

std::string downloadCountText(int written, int total) {
    return std::to_string(written) + " of " + std::to_string(total) + " pages";
}

} // namespace quenmark
