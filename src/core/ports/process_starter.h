#pragma once

#include <filesystem>
#include <string>

namespace quenmark {

// Starting the run's two separate processes; the platform implements it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // The download batch, through the command interpreter, in the main folder.
    // The window never waits for it. False when it could not be started.
    virtual bool startBatch(const std::filesystem::path& mainFolder,
                            const std::string& batchFile) = 0;

    // The FTP client on its script ("ftp -s:" + scriptFile), in the main folder.
    // False when it could not be started.
    virtual bool startUpload(const std::filesystem::path& mainFolder,
                             const std::string& scriptFile) = 0;
};

} // namespace quenmark
