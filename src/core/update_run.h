#pragma once

#include "core/ports/clock.h"
#include "core/ports/process_starter.h"
#include "core/ports/run_observer.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quenmark {

inline constexpr const char* kIdleCaption = "Updater - Quenmark";
inline constexpr const char* kBusyCaption = "Updating...";
inline constexpr const char* kErrorLogFile = "errors.txt";

// How the latest run ended, for the headless runner's exit status.
enum class RunOutcome { Idle, Downloading, Completed, Stopped };

// One publication, split in two by the downloads: the Update command starts
// them, and the timer tick that finds the sentinel does all the rest. UI-free:
// it reports to its observer, which is the main window or the headless runner.
class UpdateRun {
public:
    UpdateRun(std::filesystem::path mainFolder, ProcessStarter& processes, Clock& clock,
              RunObserver& observer);

    void updateCommand();
    void tick();

    bool timerOn() const { return m_timerOn; }
    RunOutcome outcome() const { return m_outcome; }

private:
    void process();
    void setTimer(bool on);
    void stop(const OperatorMessage& message);
    void backToIdle();

    std::filesystem::path m_folder;
    ProcessStarter& m_processes;
    Clock& m_clock;
    RunObserver& m_observer;
    bool m_timerOn = false;
    RunOutcome m_outcome = RunOutcome::Idle;
};

} // namespace quenmark
