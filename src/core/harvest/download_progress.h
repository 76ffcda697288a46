#pragma once

#include "core/model/member_record.h"

#include <filesystem>
#include <map>
#include <string>

namespace quenmark {

// How many member pages the running batch has finished. A page counts once
// every batch line that writes it has ended, as the batch notes in its done
// log: a page file appears when its fetch starts, so the files themselves
// cannot tell. Pages left by an earlier run never count.
class DownloadProgress {
public:
    // The pages the batch fetches for these members, one per base name.
    DownloadProgress(const std::filesystem::path& mainFolder, const MemberTable& members);

    int total() const { return static_cast<int>(m_lines.size()); }
    // Reads the done log once: cheap enough once a second.
    int written() const;

private:
    std::filesystem::path m_doneLog;
    std::map<std::string, int> m_lines; // page file name -> batch lines writing it
};

// "n of N pages".
std::string downloadCountText(int written, int total);

} // namespace quenmark
