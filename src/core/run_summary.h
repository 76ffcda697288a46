#pragma once

#include <string>
#include <string_view>

namespace quenmark {

// What became of the upload a run started.
enum class UploadState { NotStarted, Running, Finished, Failed, Skipped };

// The line that tells the operator how the latest run went, kept after the
// closing message: "Last run 14:05: 300 members, 2 pages could not be read,
// upload finished", "... upload failed: <reason>" or "Last run 14:05: stopped:
// <message>".
struct RunSummary {
    std::string time; // hours:minutes of the run's start
    bool stopped = false;
    std::string stopMessage;
    int members = 0;
    int unreadablePages = 0;
    UploadState upload = UploadState::NotStarted;
    std::string uploadFailure; // the client's reason

    std::string text() const;
};

// The FTP client's reason for a failed upload: the "Upload failed: " line that
// ends its transcript, else its exit status.
std::string uploadFailureReason(int exitStatus, std::string_view transcript);

} // namespace quenmark
