#pragma once

#include <chrono>
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

// Starting the FTP client and owning it until it ends; the platform implements
// it. A client ends with the process that started it, however that ends.
class UploadStarter {
public:
    virtual ~UploadStarter() = default;

    // Ends a client that an earlier run of this main folder left running (its
    // run killed), with whatever it started. Throws FileError when the record
    // of one is there but cannot be read.
    virtual void endLeftoverUpload(const std::filesystem::path& mainFolder) = 0;

    // The FTP client on its script ("ftp -s:" + scriptFile), in the main folder,
    // its transcript in ftp.log. It stops sending once timeLimit has passed, and
    // is ended then if it has not: its transcript then ends with "Upload failed:"
    // and the reason. False when it could not be started; FileError when the
    // record a later run needs to end it could not be written (nothing is left
    // running).
    virtual bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                             std::chrono::seconds timeLimit, UploadHandlers handlers) = 0;

    // Ends every client still running, with whatever it started, without
    // waiting; their handlers are not called any more.
    virtual void endUploads() = 0;
};

} // namespace quenmark
