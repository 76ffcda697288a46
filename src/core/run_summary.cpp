#include "core/run_summary.h"

#include "core/model/text_file.h"

#include <algorithm>

namespace quenmark {

namespace {

constexpr std::string_view kFailureLine = "Upload failed: ";

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The status line is one line: a message of several lines reads as one.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string uploadText(const RunSummary& summary) {
    switch (summary.upload) {
    case UploadState::Running:
        return "uploading";
    case UploadState::Finished:
        return "upload finished";
    case UploadState::Failed:
        return "upload failed: " + oneLine(summary.uploadFailure);
    case UploadState::Skipped:
        return "upload skipped";
    case UploadState::NotStarted:
        break;
    }
    return "upload not started";
}

} // namespace

std::string RunSummary::text() const {
    const std::string start = "Last run " + time + ": ";
    if (stopped)
        return start + "stopped: " + oneLine(stopMessage);
    return start + counted(members, "member", "members") + ", " +
           counted(unreadablePages, "page could not be read", "pages could not be read") + ", " +
           uploadText(*this);
}

std::string uploadFailureReason(int exitStatus, std::string_view transcript) {
    std::string reason;
    for (const std::string& line : splitLines(transcript))
        if (line.starts_with(kFailureLine))
            reason = line.substr(kFailureLine.size());
    if (!reason.empty())
        return reason;
    return "the FTP client ended with status " + std::to_string(exitStatus);
}

} // namespace quenmark
