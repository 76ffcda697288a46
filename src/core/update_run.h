#pragma once

#include "core/files/settings_file.h"
#include "core/harvest/download_progress.h"
#include "core/model/member_record.h"
#include "core/ports/clock.h"
#include "core/ports/process_starter.h"
#include "core/ports/run_lock.h"
#include "core/ports/run_observer.h"
#include "core/run_summary.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quenmark {

inline constexpr const char* kIdleCaption = "Updater - Quenmark";
inline constexpr const char* kBusyCaption = "Updating...";

// How the latest run ended, for the headless runner's exit status. NotUploaded:
// the pages were written but the upload could not be started.
enum class RunOutcome { Idle, Downloading, Completed, NotUploaded, Stopped };

// One publication, split in two by the downloads: the Update command starts
// them, and the timer tick that finds the sentinel does all the rest. UI-free:
// it reports to its observer, which is the main window or the headless runner.
// The run holds the main folder's lock from the Update command to its end, and
// owns the batch it started: whatever ends the run ends the batch.
class UpdateRun {
public:
    UpdateRun(std::filesystem::path mainFolder, ProcessStarter& processes, RunLock& lock,
              Clock& clock, RunObserver& observer);
    // A run still downloading is abandoned.
    ~UpdateRun();
    UpdateRun(const UpdateRun&) = delete;
    UpdateRun& operator=(const UpdateRun&) = delete;

    void updateCommand();
    void tick();
    // Gives up waiting for the downloads: the batch ends with every process it
    // started, download.bat and the sentinel go, and the folder is free again.
    void abandonDownloads();

    bool timerOn() const { return m_timerOn; }
    RunOutcome outcome() const { return m_outcome; }
    const RunSummary& summary() const { return m_summary; }

private:
    std::optional<OperatorMessage> checkBeforeDownloads() const;
    void startDownloads(const MemberTable& members);
    void reportDownloadCount();
    bool sentinelAccepted() const;
    void endDownloads();
    void process();
    void startUploading(const SiteSettings& settings);
    void uploadEnded(const UploadEnd& end);
    void setTimer(bool on);
    void stop(const OperatorMessage& message);
    void stopBeforeProcessing(const OperatorMessage& message);
    void stopped(const OperatorMessage& message);
    void backToIdle();
    void showSummary();

    std::filesystem::path m_folder;
    ProcessStarter& m_processes;
    RunLock& m_lock;
    Clock& m_clock;
    RunObserver& m_observer;
    bool m_timerOn = false;
    // The moment download.bat was written, on the file system's clock: a
    // sentinel from before it is not this run's.
    std::filesystem::file_time_type m_batchWritten;
    bool m_batchEndSeen = false;
    RunOutcome m_outcome = RunOutcome::Idle;
    std::optional<DownloadProgress> m_progress;
    int m_pagesReported = -1;
    RunSummary m_summary;
    bool m_summaryShown = false;
    // The upload outlives the run that started it; its end only reaches this
    // object while it exists and has not begun another run.
    std::shared_ptr<int> m_runToken = std::make_shared<int>(0);
};

} // namespace quenmark
