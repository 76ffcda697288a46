#pragma once

#include "core/ports/batch_starter.h"
#include "platform/process_start.h"

#include <optional>
#include <vector>

namespace quenmark {

// Runs the download batch with this program's own command interpreter
// (run-batch) in a session of its own, ended with whatever ends our process.
// The batch record (download.pid) holds its process group id, which is also its
// session id, and the marker its processes carry, so that a later run can end it.
class BatchRunner : public BatchStarter {
public:
    // executable: the program that serves as interpreter; this one's own unless
    // given (tests run the real program from a test binary).
    explicit BatchRunner(std::filesystem::path executable = {});
    // A batch still running ends with its runner.
    ~BatchRunner() override;
    BatchRunner(const BatchRunner&) = delete;
    BatchRunner& operator=(const BatchRunner&) = delete;

    bool findsProgram(const std::filesystem::path& folder, const std::string& program) override;
    void endLeftoverBatch(const std::filesystem::path& mainFolder) override;
    bool startBatch(const std::filesystem::path& mainFolder, const std::string& batchFile) override;
    bool batchRunning() override;
    void endBatch() override;

    // How many pages the batch fetches at once; 1 runs it line by line. Unless
    // set, each batch takes the operator's setting (downloadJobsSetting).
    void setDownloadJobs(int jobs) { m_downloadJobs = jobs; }

private:
    struct Batch {
        // Its process id leads its session and group.
        ChildProcess interpreter;
        std::string marker;
        std::filesystem::path mainFolder;
    };

    std::filesystem::path m_executable;
    std::optional<int> m_downloadJobs;
    std::optional<Batch> m_batch;
    std::vector<ChildProcess> m_ending; // batches ended, not yet reaped
};

} // namespace quenmark
