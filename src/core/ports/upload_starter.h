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

// The files the FTP client has sent so far, of those its script sends.
using UploadProgressHandler = std::function<void(int sent, int total)>;

// What the starter tells of the client, on the caller's thread: `progress`
// as the count moves (first with none sent; never after the end), `ended`
// once when the client has ended (before the return when the starter waits
// for the client); neither when nothing was started.
struct UploadHandlers {
    UploadProgressHandler progress;
    UploadEndHandler ended;
};

// Starting the FTP client; the platform implements it.
class UploadStarter {
public:
    virtual ~UploadStarter() = default;

    // The FTP client on its script ("ftp -s:" + scriptFile), in the main folder,
    // its transcript in ftp.log. False when it could not be started.
    virtual bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                             UploadHandlers handlers) = 0;
};

} // namespace quenmark
