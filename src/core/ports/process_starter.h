#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace quenmark {

// How the FTP client ended: its exit status and what it wrote.
struct UploadEnd {
    int exitStatus = -1;
    std::string transcript;
};
using UploadEndHandler = std::function<void(const UploadEnd&)>;

// Starting the run's two separate processes, and owning the download batch
// from its start to its end; the platform implements it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // Whether the command interpreter finds `program` when its current folder is
    // `folder`: a program in that folder first, then the PATH.
    virtual bool findsProgram(const std::filesystem::path& folder, const std::string& program) = 0;

    // Ends a batch that an earlier run of this main folder left running (killed,
    // or ended before its downloads were done), with every process it started.
    virtual void endLeftoverBatch(const std::filesystem::path& mainFolder) = 0;

    // The download batch, through the command interpreter, in the main folder.
    // The run never waits for it. False when it could not be started.
    virtual bool startBatch(const std::filesystem::path& mainFolder,
                            const std::string& batchFile) = 0;

    // False once the batch process has ended (or when none was started).
    virtual bool batchRunning() = 0;

    // Ends the batch and every process it started; nothing happens when none runs.
    virtual void endBatch() = 0;

    // The FTP client on its script ("ftp -s:" + scriptFile), in the main folder.
    // False when it could not be started. `ended` is called once when the client
    // has ended, on the caller's thread (before the return when the starter
    // waits for the client); never when nothing was started.
    virtual bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                             UploadEndHandler ended) = 0;
};

} // namespace quenmark
