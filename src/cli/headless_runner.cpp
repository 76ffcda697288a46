#include "cli/headless_runner.h"

#include "cli/init_command.h"
#include "core/harvest/download_progress.h"
#include "core/publish/upload.h"
#include "core/run_stages.h"
#include "core/run_summary.h"
#include "core/update_run.h"
#include "platform/batch_runner.h"
#include "platform/date_stamp.h"
#include "platform/download_jobs_setting.h"
#include "platform/folder_run_lock.h"
#include "platform/upload_runner.h"

#include <chrono>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace quenmark {

namespace {

class ConsoleObserver : public RunObserver {
public:
    void captionChanged(const std::string&) override {}
    void buttonsEnabledChanged(bool) override {}
    void timerChanged(bool) override {}
    void stageChanged(int stage) override {
        if (stage >= 1 && stage <= static_cast<int>(kStageNames.size()))
            printLine(kStageNames[static_cast<std::size_t>(stage - 1)]);
    }
    void showMessage(const OperatorMessage& message) override {
        showError(message.title + ": " + message.text);
    }
    // Called only when the count changed, at most once a tick (pages) or four
    // times a second (files).
    void downloadCountChanged(int written, int total) override {
        showCount(downloadCountText(written, total));
    }
    void uploadCountChanged(int sent, int total) override {
        showCount(uploadCountText(sent, total));
    }
    void summaryChanged(const std::string&) override {}
    // The transcript goes to standard output; a failure comes as a message.
    void uploadEnded(const UploadEnd& end) override {
        endCountLine();
        std::cout << end.transcript << std::flush;
    }

    void printLine(const std::string& text) {
        endCountLine();
        std::cout << text << std::endl;
    }
    void showError(const std::string& text) {
        endCountLine();
        std::cerr << text << std::endl;
    }

private:
    void showCount(const std::string& text) {
        if (!m_terminal)
            return printLine(text);
        // On a terminal one line rewrites itself; the blanks wipe a longer one.
        std::cout << '\r' << text << "   " << std::flush;
        m_countLineOpen = true;
    }
    void endCountLine() {
        if (m_countLineOpen)
            std::cout << std::endl;
        m_countLineOpen = false;
    }

    bool m_terminal = ::isatty(STDOUT_FILENO) == 1;
    bool m_countLineOpen = false;
};

} // namespace

int runHeadlessUpdate(const HeadlessOptions& options) {
    std::error_code ec;
    if (!std::filesystem::is_directory(options.folder, ec)) {
        std::cerr << "Error: The main folder \"" << options.folder.string()
                  << "\" could not be found." << std::endl;
        return kExitStopped;
    }
    BatchRunner batch;
    batch.setDownloadJobs(options.downloadJobs.value_or(downloadJobsSetting()));
    UploadRunner uploads(UploadRunner::Waiting::WaitForEnd);
    FolderRunLock lock;
    SystemClock clock;
    ConsoleObserver observer;
    UpdateRun run(options.folder, batch, uploads, lock, clock, observer);
    run.setUploadSkipped(!options.upload);
    if (options.timeoutSeconds)
        run.setTimeLimit(std::chrono::seconds(*options.timeoutSeconds));
    if (options.uploadTimeoutSeconds)
        run.setUploadTimeLimit(std::chrono::seconds(*options.uploadTimeoutSeconds));

    run.updateCommand();
    while (run.timerOn()) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        run.tick();
    }
    // The window's messages point at its buttons; without a window, init makes
    // what a main folder lacks.
    if (run.outcome() == RunOutcome::Stopped && lacksWhatInitMakes(options.folder))
        observer.showError("Hint: \"quenmark-updater init\" makes the missing files and folders "
                           "of a main folder and leaves the others alone.");
    observer.printLine(run.summary().text());
    switch (run.outcome()) {
    case RunOutcome::Finished:
    case RunOutcome::UploadSkipped:
        return kExitCompleted;
    case RunOutcome::UploadFailed:
        return kExitUploadFailed;
    default:
        return kExitStopped;
    }
}

} // namespace quenmark
