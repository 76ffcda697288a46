#include "cli/headless_runner.h"

#include "cli/init_command.h"
#include "core/harvest/download_progress.h"
#include "core/run_stages.h"
#include "core/update_run.h"
#include "platform/date_stamp.h"
#include "platform/folder_run_lock.h"
#include "platform/system_process_starter.h"

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
    // Called at most once a tick, and only when the count changed.
    void downloadCountChanged(int written, int total) override {
        const std::string text = downloadCountText(written, total);
        if (!m_terminal)
            return printLine(text);
        // On a terminal one line rewrites itself; the blanks wipe a longer one.
        std::cout << '\r' << text << "   " << std::flush;
        m_countLineOpen = true;
    }
    void summaryChanged(const std::string&) override {}

    void printLine(const std::string& text) {
        endCountLine();
        std::cout << text << std::endl;
    }
    void showError(const std::string& text) {
        endCountLine();
        std::cerr << text << std::endl;
    }

private:
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
    SystemProcessStarter processes(options.upload ? SystemProcessStarter::UploadMode::WaitForEnd
                                                  : SystemProcessStarter::UploadMode::ScriptOnly);
    FolderRunLock lock;
    processes.setDownloadJobs(options.downloadJobs);
    SystemClock clock;
    ConsoleObserver observer;
    UpdateRun run(options.folder, processes, lock, clock, observer);

    run.updateCommand();
    const auto start = std::chrono::steady_clock::now();
    while (run.timerOn()) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        run.tick();
        if (run.timerOn() && options.timeoutSeconds &&
            std::chrono::steady_clock::now() - start >=
                std::chrono::seconds(*options.timeoutSeconds)) {
            run.abandonDownloads();
            const std::string text = "The downloads did not finish within " +
                                     std::to_string(*options.timeoutSeconds) + " seconds.";
            observer.showError("Error: " + text);
            RunSummary summary = run.summary();
            summary.stopped = true;
            summary.stopMessage = text;
            observer.printLine(summary.text());
            return kExitStopped;
        }
    }
    RunSummary summary = run.summary();
    if (run.outcome() == RunOutcome::Completed && !options.upload)
        summary.upload = UploadState::Skipped;
    if (run.outcome() == RunOutcome::NotUploaded) {
        observer.printLine(summary.text());
        return kExitUploadFailed;
    }
    if (run.outcome() != RunOutcome::Completed) {
        // The window's messages point at its buttons; without a window, init
        // makes what a main folder lacks.
        if (lacksWhatInitMakes(options.folder))
            std::cerr << "Hint: \"quenmark-updater init\" makes the missing files and folders of "
                         "a main folder and leaves the others alone."
                      << std::endl;
        observer.printLine(summary.text());
        return kExitStopped;
    }
    observer.printLine(summary.text());
    if (summary.upload == UploadState::Failed)
        return kExitUploadFailed;
    return kExitCompleted;
}

} // namespace quenmark
