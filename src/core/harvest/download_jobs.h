#pragma once

#include <optional>
#include <string_view>

namespace quenmark {

// "Pages at once": how many member pages the download batch fetches at once.
// 1 fetches them one by one; more than the most would only crowd the members'
// servers and our own descriptors.
inline constexpr int kMinDownloadJobs = 1;
inline constexpr int kMaxDownloadJobs = 64;
inline constexpr int kDefaultDownloadJobs = 8;

// The number that `text` is when it is a whole number (digits only) within the
// limits; nullopt otherwise.
std::optional<int> parseDownloadJobs(std::string_view text);

} // namespace quenmark
