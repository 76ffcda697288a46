#include "cli/headless_runner.h"

#include "cli/init_command.h"
#include "core/update_run.h"
#include "platform/date_stamp.h"
#include "platform/folder_run_lock.h"
#include "platform/system_process_starter.h"

#include <array>
#include <chrono>
#include <iostream>
#include <thread>

namespace quenmark {

namespace {

constexpr std::array<const char*, 4> kStageNames = {"Reading Roster", "Downloading Member Pages",
                                                    "Doing Scary Calculations",
                                                    "Uploading Final Pages"};

class ConsoleObserver : public RunObserver {
public:
    void captionChanged(const std::string&) override {}
    void buttonsEnabledChanged(bool) override {}
    void timerChanged(bool) override {}
    void stageChanged(int stage) override {
        if (stage >= 1 && stage <= 4)
            std::cout << kStageNames[static_cast<std::size_t>(stage - 1)] << std::endl;
    }
    void showMessage(const OperatorMessage& message) override {
        std::cerr << message.title << ": " << message.text << std::endl;
    }
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
            std::cerr << "Error: The downloads did not finish within " << *options.timeoutSeconds
                      << " seconds." << std::endl;
            return kExitStopped;
        }
    }
    if (run.outcome() == RunOutcome::NotUploaded)
        return kExitUploadFailed;
    if (run.outcome() != RunOutcome::Completed) {
        // The window's messages point at its buttons; without a window, init
        // makes what a main folder lacks.
        if (lacksWhatInitMakes(options.folder))
            std::cerr << "Hint: \"quenmark-updater init\" makes the missing files and folders of "
                         "a main folder and leaves the others alone."
                      << std::endl;
        return kExitStopped;
    }
    if (options.upload && processes.uploadStatus().value_or(1) != 0)
        return kExitUploadFailed;
    return kExitCompleted;
}

} // namespace quenmark
