#pragma once

#include "core/ports/process_starter.h"

#include <optional>

namespace quenmark {

// Starts the download batch and the upload with this program's own command
// interpreter (run-batch) and FTP client (ftp -s:).
class SystemProcessStarter : public ProcessStarter {
public:
    enum class UploadMode {
        Detached,   // the window: never waits; the client's output goes to ftp.log
        WaitForEnd, // the command line: waits, the client's output on our own
        ScriptOnly, // the command line with --no-upload: ftp.dat is written, nothing started
    };

    // executable: the program that serves as interpreter and client; this one's own
    // unless given (tests run the real program from a test binary).
    explicit SystemProcessStarter(UploadMode uploadMode, std::filesystem::path executable = {});

    bool startBatch(const std::filesystem::path& mainFolder, const std::string& batchFile) override;
    bool startUpload(const std::filesystem::path& mainFolder,
                     const std::string& scriptFile) override;

    // WaitForEnd: the client's exit status once it has run.
    std::optional<int> uploadStatus() const { return m_uploadStatus; }

private:
    UploadMode m_uploadMode;
    std::filesystem::path m_executable;
    std::optional<int> m_uploadStatus;
};

} // namespace quenmark
