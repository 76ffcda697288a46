#pragma once

#include <filesystem>
#include <optional>

namespace quenmark {

struct HeadlessOptions {
    std::filesystem::path folder = ".";
    bool upload = true;
    std::optional<int> timeoutSeconds;       // the whole run
    std::optional<int> uploadTimeoutSeconds; // the upload; unset: the default
    // Member pages fetched at once for this run; unset: the operator's setting.
    std::optional<int> downloadJobs;
};

// Exit statuses of `update`.
enum HeadlessExit { kExitCompleted = 0, kExitStopped = 1, kExitUsage = 2, kExitUploadFailed = 3 };

// One whole publication without a window: the run the Update button performs,
// with the progress stages and the download count on standard output, every
// message on standard error as "Title: text", and the run summary as the last
// line of standard output.
int runHeadlessUpdate(const HeadlessOptions& options);

} // namespace quenmark
