#pragma once

#include <filesystem>
#include <string>

namespace quenmark {

// Starting the download batch and owning it from its start to its end; the
// platform implements it.
class BatchStarter {
public:
    virtual ~BatchStarter() = default;

    // Whether the command interpreter finds `program` when its current folder is
    // `folder`: a program in that folder first, then the PATH.
    virtual bool findsProgram(const std::filesystem::path& folder, const std::string& program) = 0;

    // Ends a batch that an earlier run of this main folder left running (killed,
    // or ended before its downloads were done), with every process it started.
    virtual void endLeftoverBatch(const std::filesystem::path& mainFolder) = 0;

    // The download batch, through the command interpreter, in the main folder.
    // The run never waits for it. False when it could not be started; FileError
    // (nothing left running) when the record a later run needs to end it could
    // not be written.
    virtual bool startBatch(const std::filesystem::path& mainFolder,
                            const std::string& batchFile) = 0;

    // False once the batch process has ended (or when none was started).
    virtual bool batchRunning() = 0;

    // Ends the batch and every process it started, without waiting for them to
    // go; nothing happens when none runs.
    virtual void endBatch() = 0;
};

} // namespace quenmark
