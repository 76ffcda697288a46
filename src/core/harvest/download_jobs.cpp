#include "core/harvest/download_jobs.h"

#include <charconv>

namespace quenmark {

std::optional<int> parseDownloadJobs(std::string_view text) {
    int jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        jobs < kMinDownloadJobs || jobs > kMaxDownloadJobs)
        return std::nullopt;
    return jobs;
}

} // namespace quenmark
