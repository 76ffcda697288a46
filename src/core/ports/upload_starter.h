#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace quenmark {

// How the FTP client ended: its exit status and what it wrote (ftp.log).
struct UploadEnd {
    int exitStatus = -1;
    std::string transcript;
};
using UploadEndHandler = std::function<void(const UploadEnd&)>;

// Starting the FTP client; the platform implements it.
class UploadStarter {
public:
    virtual ~UploadStarter() = default;

    // The FTP client on its script ("ftp -s:" + scriptFile), in the main folder,
    // its transcript in ftp.log. False when it could not be started. `ended` is
    // called once when the client has ended, on the caller's thread (before the
    // return when the starter waits for the client); never when nothing was started.
    virtual bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                             UploadEndHandler ended) = 0;
};

} // namespace quenmark
