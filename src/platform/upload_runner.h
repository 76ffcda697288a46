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
// grows, four times a second.
class UploadRunner : public UploadStarter {
public:
    enum class Waiting {
        Detached,   // the window: never waits; the event loop tells the client's end
        WaitForEnd, // the command line: waits for the client's end
    };

    // executable: the program that serves as the client; this one's own unless
    // given (tests run the real program from a test binary).
    explicit UploadRunner(Waiting waiting, std::filesystem::path executable = {});
    // A window's client runs on when the window closes first.
    ~UploadRunner() override;
    UploadRunner(const UploadRunner&) = delete;
    UploadRunner& operator=(const UploadRunner&) = delete;

    // The client runs in a process group of its own (Detached: a session of its
    // own), so ending its group ends whatever it started.
    bool startUpload(const std::filesystem::path& mainFolder, const std::string& scriptFile,
                     UploadHandlers handlers) override;

    // Ends every client still running, with its group, without waiting; each
    // end handler is called once it has gone (Detached: from the event loop).
    void endUploads();

private:
    struct Watched {
        ChildProcess client;
        std::filesystem::path transcript;
        UploadHandlers handlers;
        int total = 0; // the files the script sends
        int sent = -1; // as last told
        std::unique_ptr<QSocketNotifier> notifier;
        std::unique_ptr<QTimer> poll;
    };
    static void reportProgress(Watched& watched);
    void clientEnded(Watched* watched);

    Waiting m_waiting;
    std::filesystem::path m_executable;
    std::vector<std::unique_ptr<Watched>> m_uploads;
};

} // namespace quenmark
