#pragma once

#include "core/model/member_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

// How many member pages the running batch has written so far. A page counts
// once its file appeared or changed since the batch started: the state of each
// page file is taken at the start, so pages left by an earlier run never count
// and no clock granularity of the file system matters.
class DownloadProgress {
public:
    // The pages the batch writes for these members (one per usable base name).
    DownloadProgress(const std::filesystem::path& mainFolder, const MemberTable& members);

    int total() const { return static_cast<int>(m_pages.size()); }
    // Looks at every page file: one stat each, cheap enough once a second.
    int written() const;

private:
    struct Page {
        std::filesystem::path file;
        std::optional<std::filesystem::file_time_type> before; // none: did not exist
    };
    std::vector<Page> m_pages;
};

// "n of N pages".
std::string downloadCountText(int written, int total);

} // namespace quenmark
