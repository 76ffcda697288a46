#pragma once

#include "core/ports/process_starter.h"
#include "platform/process_start.h"

#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace quenmark {

// Member pages the download batch fetches at once unless the operator says
// otherwise, and the most it may fetch at once.
inline constexpr int kDefaultDownloadJobs = 8;
inline constexpr int kMaxDownloadJobs = 64;

// Starts the download batch and the upload with this program's own command
// interpreter (run-batch) and FTP client (ftp -s:).
class SystemProcessStarter : public ProcessStarter {
public:
    enum class UploadMode {
        Detached,   // the window: never waits; learns the client's end from the event loop
        WaitForEnd, // the command line: waits, then shows the client's transcript
        ScriptOnly, // the command line with --no-upload: ftp.dat is written, nothing started
    };

    // executable: the program that serves as interpreter and client; this one's own
    // unless given (tests run the real program from a test binary).
    explicit SystemProcessStarter(UploadMode uploadMode, std::filesystem::path executable = {});
    // A batch still running ends with its starter.
    ~SystemProcessStarter() override;
    SystemProcessStarter(const SystemProcessStarter&) = delete;
    SystemProcessStarter& operator=(const SystemProcessStarter&) = delete;

    bool findsProgram(const std::filesystem::path& folder, const std::string& program) override;
    void endLeftoverBatch(const std::filesystem::path& mainFolder) override;
    bool startBatch(const std::filesystem::path& mainFolder, const std::string& batchFile) override;
    bool batchRunning() override;
    void endBatch() override;
    bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                     UploadEndHandler ended) override;

    // How many pages the batch fetches at once; 1 runs it line by line. Unless
    // set, each batch takes the operator's setting (downloadJobsSetting).
    void setDownloadJobs(int jobs) { m_downloadJobs = jobs; }

    // WaitForEnd: the client's exit status once it has run.
    std::optional<int> uploadStatus() const { return m_uploadStatus; }

private:
    struct Batch {
        // Its process id leads its session and group.
        ChildProcess interpreter;
        std::string marker;
        std::filesystem::path mainFolder;
    };
    struct WatchedUpload {
        ChildProcess client;
        std::filesystem::path transcript;
        UploadEndHandler ended;
        std::unique_ptr<QSocketNotifier> notifier;
    };
    void uploadEnded(WatchedUpload* upload);

    UploadMode m_uploadMode;
    std::filesystem::path m_executable;
    std::optional<int> m_downloadJobs;
    std::optional<int> m_uploadStatus;
    std::optional<Batch> m_batch;
    std::vector<ChildProcess> m_ending; // batches ended, not yet reaped
    std::vector<std::unique_ptr<WatchedUpload>> m_uploads;
};

} // namespace quenmark
