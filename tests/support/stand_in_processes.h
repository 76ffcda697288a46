#pragma once

#include "core/ports/batch_starter.h"
#include "core/ports/run_lock.h"
#include "core/ports/upload_starter.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <utility>

namespace quenmark {

// A program a run starts (lynx, the FTP client), stood in for by a script.
inline void writeScript(const TempFolder& folder, const std::string& name,
                        const std::string& body) {
    folder.write(name, "#!/bin/sh\n" + body);
    ::chmod((folder / name).c_str(), 0755);
}

// A process starter that starts nothing: the test plays the batch by writing
// the sentinel, says whether the batch still runs and whether lynx is there,
// and ends the upload through the handlers it was given.
struct StandInProcesses : BatchStarter, UploadStarter {
    bool lynxFound = true, batchStarts = true, uploadStarts = true;
    bool running = false; // the batch has not ended yet
    int batches = 0, batchesEnded = 0, leftoversEnded = 0;
    int uploads = 0, uploadsEnded = 0, leftoverUploadsEnded = 0;
    std::chrono::seconds uploadLimit{0}; // the time limit the last upload was given
    UploadEndHandler uploadEnded;
    UploadProgressHandler uploadProgress;

    bool findsProgram(const std::filesystem::path&, const std::string&) override {
        return lynxFound;
    }
    void endLeftoverBatch(const std::filesystem::path&) override { ++leftoversEnded; }
    bool startBatch(const std::filesystem::path&, const std::string&) override {
        ++batches;
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
    bool heldElsewhere = false, held = false;
    Result take(const std::filesystem::path&) override {
        held = held || !heldElsewhere;
        return heldElsewhere ? Result::Busy : Result::Taken;
    }
    void release() override { held = false; }
};

} // namespace quenmark
