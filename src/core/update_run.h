#pragma once

#include "core/files/settings_file.h"
#include "core/harvest/download_progress.h"
#include "core/model/member_record.h"
#include "core/ports/batch_starter.h"
#include "core/ports/clock.h"
#include "core/ports/run_lock.h"
#include "core/ports/run_observer.h"
#include "core/ports/upload_starter.h"
#include "core/run_summary.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quenmark {

inline constexpr const char* kIdleCaption = "Updater - Quenmark";
inline constexpr const char* kBusyCaption = "Updating...";

// The longest an upload may take unless the run's own time limit is shorter:
// a server that stops answering never holds the run, and its lock, for longer.
inline constexpr std::chrono::seconds kDefaultUploadTimeLimit{600};

// Where the latest run is, or how it ended.
enum class RunOutcome {
    Idle,          // no run yet
    Downloading,   // the download batch runs
    Uploading,     // the pages are written; the FTP client runs on
    Finished,      // the pages are written and uploaded
    UploadFailed,  // the pages are written; the upload could not start or failed
    UploadSkipped, // the pages and ftp.dat are written; no upload was asked for
    Stopped,       // stopped on an error (or abandoned) before anything was uploaded
    TimedOut,      // the downloads did not finish in the time given; nothing was processed
};

// One publication, split in two by the downloads: the Update command starts
// them, and the timer tick that finds the sentinel does all the rest. UI-free:
// it reports to its observer, which is the main window or the headless runner.
// The run holds the main folder's lock from the Update command until its upload
// has ended, and owns the batch and the upload it started: whatever ends the
// run ends them.
class UpdateRun {
public:
    UpdateRun(std::filesystem::path mainFolder, BatchStarter& batch, UploadStarter& uploads,
              RunLock& lock, Clock& clock, RunObserver& observer);
    // A run still downloading is abandoned; an upload still running is ended.
    ~UpdateRun();
    UpdateRun(const UpdateRun&) = delete;
    UpdateRun& operator=(const UpdateRun&) = delete;

    void updateCommand();
    void tick();
    // Gives up waiting for the downloads: the batch ends with every process it
    // started, download.bat and the sentinel go, and the folder is free again.
    void abandonDownloads();
    // Runs after this one end within `limit` from their Update command (none:
    // no limit): downloads not finished by then are abandoned (TimedOut), and
    // the upload gets what is left of it, at most its own limit.
    void setTimeLimit(std::optional<std::chrono::seconds> limit) { m_timeLimit = limit; }
    // The longest the upload of runs after this one may take.
    void setUploadTimeLimit(std::chrono::seconds limit) { m_uploadTimeLimit = limit; }
    // Runs after this one write ftp.dat but start no upload (and show no
    // uploading stage or message).
    void setUploadSkipped(bool skipped) { m_uploadSkipped = skipped; }

    bool timerOn() const { return m_timerOn; }
    RunOutcome outcome() const { return m_outcome; }
    const RunSummary& summary() const { return m_summary; }

private:
    std::optional<OperatorMessage> checkBeforeDownloads() const;
    void startDownloads(const MemberTable& members);
    void reportDownloadCount();
    bool sentinelAccepted() const;
    void endDownloads();
    void timeOut();
    void process();
    void startUploading(const SiteSettings& settings);
    void uploadEnded(const UploadEnd& end);
    void settleOutcome();
    void setTimer(bool on);
    void stop(const OperatorMessage& message);
    void stopBeforeProcessing(const OperatorMessage& message);
    void stopped(const OperatorMessage& message);
    void backToIdle();
    void showSummary();

    std::filesystem::path m_folder;
    BatchStarter& m_batch;
    UploadStarter& m_uploads;
    bool m_uploadSkipped = false;
    RunLock& m_lock;
    Clock& m_clock;
    RunObserver& m_observer;
    bool m_timerOn = false;
    // The moment download.bat was written, on the file system's clock: a
    // sentinel from before it is not this run's.
    std::filesystem::file_time_type m_batchWritten;
    bool m_batchEndSeen = false;
    RunOutcome m_outcome = RunOutcome::Idle;
    std::optional<std::chrono::seconds> m_timeLimit;
    std::chrono::seconds m_uploadTimeLimit = kDefaultUploadTimeLimit;
    std::optional<std::chrono::steady_clock::time_point> m_deadline; // of the run under way
    std::optional<DownloadProgress> m_progress;
    int m_pagesReported = -1;
    RunSummary m_summary;
    bool m_summaryShown = false;
    bool m_uploadEnded = false; // the client of the latest run has ended
    // The upload goes on after the processing half; its end only reaches this
    // object while it exists and has not begun another run.
    std::shared_ptr<int> m_runToken = std::make_shared<int>(0);
};

} // namespace quenmark
