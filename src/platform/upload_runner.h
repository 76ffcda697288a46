#pragma once

#include "core/ports/upload_starter.h"
#include "platform/process_start.h"

#include <memory>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace quenmark {

// Runs the upload with this program's own FTP client (ftp -s:), its
// transcript in ftp.log. It prints nothing: the transcript goes to whoever
// the end is handed to. The files sent are counted from the transcript as it
// grows, four times a second. The client leads a session of its own, so
// ending its group ends whatever it started; it is ended with our process (a
// parent-death signal), and while it runs ftp.pid names it and its marker, so
// that a later run ends one that outlived its run all the same.
class UploadRunner : public UploadStarter {
public:
    enum class Waiting {
        Detached,   // the window: never waits; the event loop tells the client's end
        WaitForEnd, // the command line: waits for the client's end
    };

    // executable: the program that serves as the client; this one's own unless
    // given (tests run the real program from a test binary).
    explicit UploadRunner(Waiting waiting, std::filesystem::path executable = {});
    // Clients still running are ended.
    ~UploadRunner() override;
    UploadRunner(const UploadRunner&) = delete;
    UploadRunner& operator=(const UploadRunner&) = delete;

    void endLeftoverUpload(const std::filesystem::path& mainFolder) override;
    bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                     std::chrono::seconds timeLimit, UploadHandlers handlers) override;
    void endUploads() override;

private:
    struct Watched {
        ChildProcess client;
        std::filesystem::path mainFolder;
        UploadHandlers handlers;
        int total = 0; // the files the script sends
        int sent = -1; // as last told
        std::chrono::seconds timeLimit;
        ChildProcess::Deadline deadline;
        bool timedOut = false; // ended by us at the deadline
        std::unique_ptr<QSocketNotifier> notifier;
        std::unique_ptr<QTimer> poll;
    };
    static void look(Watched& watched);
    void clientEnded(Watched* watched);

    Waiting m_waiting;
    std::filesystem::path m_executable;
    std::vector<std::unique_ptr<Watched>> m_uploads;
};

} // namespace quenmark
