#pragma once

#include "core/ports/batch_starter.h"
#include "core/ports/run_lock.h"
#include "core/ports/upload_starter.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace quenmark {

// A process starter that starts nothing: the test plays the batch by writing
// the sentinel, and says whether the batch still runs and whether lynx is there.
struct StandInProcesses : BatchStarter, UploadStarter {
    bool lynxFound = true;
    bool batchStarts = true;
    bool uploadStarts = true;
    bool running = false; // the batch has not ended yet
    int batches = 0;
    int batchesEnded = 0;
    int leftoversEnded = 0;
    int uploads = 0;
    int uploadsEnded = 0, leftoverUploadsEnded = 0;
    std::chrono::seconds uploadLimit{0};  // the time limit the last upload was given
    std::string batchSeen;                // download.bat as it was when the batch started
    UploadEndHandler uploadEnded;         // the test ends the upload through it
    UploadProgressHandler uploadProgress; // and moves its count

    bool findsProgram(const std::filesystem::path&, const std::string&) override {
        return lynxFound;
    }
    void endLeftoverBatch(const std::filesystem::path&) override { ++leftoversEnded; }
    bool startBatch(const std::filesystem::path& mainFolder,
                    const std::string& batchFile) override {
        ++batches;
        std::ifstream in(mainFolder / batchFile, std::ios::binary);
        batchSeen.assign(std::istreambuf_iterator<char>(in), {});
        return batchStarts;
    }
    bool batchRunning() override { return running; }
    void endBatch() override {
        ++batchesEnded;
        running = false;
    }
    void endLeftoverUpload(const std::filesystem::path&) override { ++leftoverUploadsEnded; }
    bool startUpload(const std::filesystem::path&, const std::string&, std::chrono::seconds limit,
                     UploadHandlers handlers) override {
        ++uploads;
        uploadLimit = limit;
        uploadEnded = std::move(handlers.ended);
        uploadProgress = std::move(handlers.progress);
        return uploadStarts;
    }
    void endUploads() override { ++uploadsEnded; }
};

// A lock that another run may be holding.
struct StandInLock : RunLock {
    bool heldElsewhere = false;
    bool held = false;
    Result take(const std::filesystem::path&) override {
        if (heldElsewhere)
            return Result::Busy;
        held = true;
        return Result::Taken;
    }
    void release() override { held = false; }
};

} // namespace quenmark
