#pragma once

#include "core/ports/process_starter.h"
#include "core/ports/run_lock.h"

#include <filesystem>
#include <string>

namespace quenmark {

// A process starter that starts nothing: the test plays the batch by writing
// the sentinel, and says whether the batch still runs and whether lynx is there.
struct StandInProcesses : ProcessStarter {
    bool lynxFound = true;
    bool batchStarts = true;
    bool uploadStarts = true;
    bool running = false; // the batch has not ended yet
    int batches = 0;
    int batchesEnded = 0;
    int leftoversEnded = 0;
    int uploads = 0;
    std::string batchSeen;        // download.bat as it was when the batch started
    UploadEndHandler uploadEnded; // the test ends the upload through it

    bool findsProgram(const std::filesystem::path& folder, const std::string& program) override;
    void endLeftoverBatch(const std::filesystem::path& mainFolder) override;
    bool startBatch(const std::filesystem::path& mainFolder, const std::string& batchFile) override;
    bool batchRunning() override;
    void endBatch() override;
    bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                     UploadEndHandler ended) override;
};

// A lock that another run may be holding.
struct StandInLock : RunLock {
    bool heldElsewhere = false;
    bool held = false;
    Result take(const std::filesystem::path& mainFolder) override;
    void release() override;
};

} // namespace quenmark
