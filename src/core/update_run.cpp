#include "core/update_run.h"

#include "core/files/settings_file.h"
#include "core/harvest/download_batch.h"
#include "core/harvest/error_log.h"
#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"
#include "core/pages/site_pages.h"
#include "core/publish/upload.h"
#include "core/publish/upload_script.h"
#include "core/run_stages.h"
#include "core/standings/settle_member_times.h"
#include "core/standings/standings.h"

#include <algorithm>
#include <array>
#include <exception>

namespace quenmark {

namespace {

OperatorMessage rosterMessage(const MemberFileRead& roster) {
    return errorMessage(memberFileProblemText(roster.status, kRosterFile, roster.systemError));
}

void removeQuietly(const std::filesystem::path& path) noexcept {
    try {
        removeFileIfPresent(path);
    } catch (const std::exception&) {
        // Nothing more can be done about it here; the next run replaces it.
    }
}

} // namespace

UpdateRun::UpdateRun(std::filesystem::path mainFolder, BatchStarter& batch, UploadStarter& uploads,
                     RunLock& lock, Clock& clock, RunObserver& observer)
    : m_folder(std::move(mainFolder)), m_batch(batch), m_uploads(uploads), m_lock(lock),
      m_clock(clock), m_observer(observer) {}

// The observer may be going away too: the downloads and the upload end
// without telling it.
UpdateRun::~UpdateRun() {
    if (m_timerOn) {
        endDownloads();
        removeQuietly(m_folder / kSentinelFile);
    }
    if (m_outcome == RunOutcome::Uploading)
        m_uploads.endUploads();
    m_lock.release();
}

void UpdateRun::updateCommand() {
    // The last run's upload still runs, and the folder is still its own.
    if (m_outcome == RunOutcome::Uploading)
        return m_observer.showMessage(errorMessage("Another update is running in this folder."));
    const auto started = std::filesystem::file_time_type::clock::now();
    m_deadline.reset();
    if (m_timeLimit)
        m_deadline = std::chrono::steady_clock::now() + *m_timeLimit;

    m_runToken = std::make_shared<int>(0);
    m_summary = RunSummary{};
    m_summary.time = m_clock.timeOfDay();
    m_summaryShown = false;
    m_progress.reset();
    m_pagesReported = -1;

    m_observer.captionChanged(kBusyCaption);
    m_observer.buttonsEnabledChanged(false);
    m_observer.stageChanged(kReadingRosterStage);

    // The lock comes before anything is read or written: a second run changes nothing.
    const RunLock::Result locked = m_lock.take(m_folder);
    if (locked != RunLock::Result::Taken)
        return stopBeforeProcessing(
            errorMessage(locked == RunLock::Result::Busy
                             ? "Another update is running in this folder."
                             : cannotWrite(kRunLockFile, m_lock.failureError()).what()));

    const MemberFileRead roster = readRoster(m_folder);
    if (roster.status != MemberFileStatus::Ok) {
        // Stuck on purpose: caption and buttons stay as they are, only Exit works.
        const OperatorMessage message = rosterMessage(roster);
        m_observer.showMessage(message);
        m_observer.stageChanged(kNoStage);
        m_lock.release();
        return stopped(message);
    }
    if (auto message = checkBeforeDownloads())
        return stopBeforeProcessing(*message);

    // What a run killed while replacing a file left behind goes first.
    removeReplacementLeftovers(m_folder, started);
    for (const char* folder : {kDownloadFolder, kUploadFolder})
        removeReplacementLeftovers(m_folder / folder, started);

    m_observer.stageChanged(kDownloadStage);
    try {
        startDownloads(roster.members);
    } catch (const std::exception& error) {
        // A file that could not be written (FileError names it) or the file
        // system refusing: the operator is told, and the window is usable again.
        endDownloads();
        return stopBeforeProcessing(errorMessage(error.what()));
    }
}

// Whatever would stop the run after the downloads is found before them, so the
// operator does not wait minutes for a run that must stop.
std::optional<OperatorMessage> UpdateRun::checkBeforeDownloads() const {
    for (const char* folder : kMainFolderFolders) {
        std::error_code ec;
        if (!std::filesystem::is_directory(m_folder / folder, ec))
            // Without the folder the sentinel never comes and the timer would poll for ever.
            return errorMessage(std::string("The folder \"") + folder +
                                "\" could not be found. Make sure it exists in the main folder.");
    }
    // Without the browser every page would come back empty and the site would
    // be published without times.
    if (!m_batch.findsProgram(m_folder / kBrowserFolder, kBrowserProgram))
        return errorMessage(std::string("The program \"") + kBrowserProgram +
                            "\" could not be found. Install it, or put it in the " +
                            kBrowserFolder + " folder.");
    // Read as the run reads it: a file there but unreadable stops here too.
    try {
        if (!loadSettings(m_folder))
            return settingsMissingMessage();
    } catch (const FileError& error) {
        return errorMessage(error.what());
    }
    return missingTemplateMessage(m_folder);
}

void UpdateRun::startDownloads(const MemberTable& members) {
    // A client an earlier run left behind would send beside this run's; a
    // batch would go on writing pages, and its sentinel, into its downloads.
    m_uploads.endLeftoverUpload(m_folder);
    m_batch.endLeftoverBatch(m_folder);
    writeDownloadBatch(m_folder, members);
    std::error_code ec;
    m_batchWritten = std::filesystem::last_write_time(m_folder / kBatchFile, ec);
    if (ec)
        m_batchWritten = std::filesystem::file_time_type::min();
    // A sentinel left by an interrupted run goes before the batch starts, so
    // this run can only ever see its own.
    removeFileIfPresent(m_folder / kSentinelFile);
    m_progress.emplace(m_folder, members);
    if (!m_batch.startBatch(m_folder, kBatchFile))
        throw std::runtime_error("The download could not be started.");
    // Known to be writable now; emptied only once the run's pages are read.
    appendToFile(m_folder / kErrorLogFile, "", kErrorLogFile);
    m_batchEndSeen = false;
    m_outcome = RunOutcome::Downloading;
    reportDownloadCount();
    setTimer(true);
}

void UpdateRun::reportDownloadCount() {
    const int written = m_progress->written();
    if (written == m_pagesReported)
        return;
    m_pagesReported = written;
    m_observer.downloadCountChanged(written, m_progress->total());
}

// Only this run's sentinel counts: written after its batch was, by a batch that
// has ended, so every member line has run and nothing writes pages any more.
bool UpdateRun::sentinelAccepted() const {
    if (!fileExists(m_folder / kSentinelFile))
        return false;
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(m_folder / kSentinelFile, ec);
    return !ec && written >= m_batchWritten;
}

void UpdateRun::tick() {
    if (!m_timerOn)
        return;
    if (m_deadline && std::chrono::steady_clock::now() >= *m_deadline)
        return timeOut();
    // The batch's end is asked before the sentinel is looked for: a batch that
    // writes the sentinel and ends between the two looks is still seen whole.
    const bool batchEnded = !m_batch.batchRunning();
    reportDownloadCount();
    if (batchEnded && sentinelAccepted()) {
        // The timer goes off before anything is shown, so a window that repaints
        // here can never start a second processing half.
        setTimer(false);
        m_observer.stageChanged(kCalculationStage);
        try {
            m_batch.endBatch();
            process();
        } catch (const std::exception& error) {
            stop(errorMessage(error.what()));
        }
        // An upload under way keeps the folder until it ends.
        if (m_outcome != RunOutcome::Uploading)
            m_lock.release();
        return;
    }
    if (!batchEnded)
        return;
    // One more tick for a sentinel that is on its way, then the run gives up.
    if (!m_batchEndSeen) {
        m_batchEndSeen = true;
        return;
    }
    setTimer(false);
    endDownloads();
    removeQuietly(m_folder / kSentinelFile);
    stopBeforeProcessing(errorMessage(std::string("The downloads ended before the last page was "
                                                  "fetched. Check that the folder \"") +
                                      kDownloadFolder + "\" can be written."));
}

void UpdateRun::abandonDownloads() {
    if (!m_timerOn)
        return;
    setTimer(false);
    endDownloads();
    removeQuietly(m_folder / kSentinelFile);
    m_lock.release();
    m_outcome = RunOutcome::Stopped;
}

void UpdateRun::timeOut() {
    abandonDownloads();
    const OperatorMessage message = errorMessage(
        "The downloads did not finish within " +
        std::to_string(m_timeLimit.value_or(std::chrono::seconds(0)).count()) + " seconds.");
    m_observer.showMessage(message);
    stopped(message);
    m_outcome = RunOutcome::TimedOut;
}

void UpdateRun::endDownloads() {
    m_batch.endBatch();
    removeQuietly(m_folder / kBatchFile);
}

void UpdateRun::process() {
    removeFileIfPresent(m_folder / kBatchFile);

    MemberFileRead roster = readRoster(m_folder);
    if (roster.status != MemberFileStatus::Ok)
        return stop(rosterMessage(roster));
    MemberTable& members = roster.members;

    const std::optional<SiteSettings> settings = loadSettings(m_folder);
    if (!settings)
        return stop(settingsMissingMessage());

    // With not one page read (the connection down), the run would publish
    // everyone with his last or no times: it stops with nothing changed.
    if (!anyMemberPageRead(m_folder, members, *settings))
        return stopBeforeProcessing(errorMessage(
            "No member page could be read; check the connection. Nothing was published."));
    writeEmptyFile(m_folder / kErrorLogFile, kErrorLogFile);
    if (auto message = settleMemberTimes(m_folder, members, *settings))
        return stop(*message);
    m_summary.members = static_cast<int>(members.size());
    m_summary.unreadablePages = static_cast<int>(std::count_if(
        members.begin(), members.end(), [](const MemberRecord& member) { return !member.PageOk; }));
    const RecordTable records = computeStandings(members, pointMax(settings->pointMaxIndex));
    if (auto message = writeSitePages(m_folder, members, records, *settings, m_clock))
        return stop(*message);

    if (m_uploadSkipped) {
        if (auto message = writeUploadScript(m_folder, *settings)) {
            m_summary.upload = UploadState::Failed;
            m_summary.uploadFailure = message->text;
            m_observer.showMessage(*message);
        } else {
            m_summary.upload = UploadState::Skipped;
        }
    } else {
        m_observer.stageChanged(kUploadStage);
        startUploading(*settings);
        // A client that has ended already (the command line waits for it) has
        // said how the upload went; "uploading now" would only contradict it.
        if (!m_uploadEnded)
            m_observer.showMessage(
                {"Almost done!", "Uploading now - Have a nice day!", MessageIcon::Information});
    }
    backToIdle();
    settleOutcome();
    showSummary();
}

void UpdateRun::settleOutcome() {
    switch (m_summary.upload) {
    case UploadState::Running:
        m_outcome = RunOutcome::Uploading;
        break;
    case UploadState::Finished:
        m_outcome = RunOutcome::Finished;
        break;
    case UploadState::Skipped:
        m_outcome = RunOutcome::UploadSkipped;
        break;
    case UploadState::Failed:
    case UploadState::NotStarted:
        m_outcome = RunOutcome::UploadFailed;
        break;
    }
}

void UpdateRun::startUploading(const SiteSettings& settings) {
    m_summary.upload = UploadState::Running;
    m_uploadEnded = false;
    const std::weak_ptr<int> run = m_runToken;
    UploadHandlers handlers;
    handlers.progress = [this, run](int sent, int total) {
        if (!run.expired())
            m_observer.uploadCountChanged(sent, total);
    };
    handlers.ended = [this, run](const UploadEnd& end) {
        if (!run.expired())
            uploadEnded(end);
    };
    // The run's own limit bounds the upload too; what the downloads and the
    // processing took of it is gone.
    std::chrono::seconds limit = m_uploadTimeLimit;
    if (m_deadline)
        limit = std::min(limit, std::chrono::floor<std::chrono::seconds>(
                                    *m_deadline - std::chrono::steady_clock::now()));
    std::optional<OperatorMessage> message;
    if (limit <= std::chrono::seconds(0))
        message =
            errorMessage("The upload was not started: the run's " +
                         std::to_string(m_timeLimit.value_or(std::chrono::seconds(0)).count()) +
                         " seconds had passed.");
    else
        message = startUpload(m_folder, settings, m_uploads, limit, std::move(handlers));
    if (message) {
        m_summary.upload = UploadState::Failed;
        m_summary.uploadFailure = message->text;
        m_observer.showMessage(*message);
    }
}

void UpdateRun::uploadEnded(const UploadEnd& end) {
    m_uploadEnded = true;
    const bool failed = end.exitStatus != 0;
    m_summary.upload = failed ? UploadState::Failed : UploadState::Finished;
    if (failed)
        m_summary.uploadFailure = uploadFailureReason(end.exitStatus, end.transcript);
    m_observer.uploadEnded(end);
    // A client that ends while the run still works is told with the run's end.
    if (m_summaryShown) {
        settleOutcome();
        m_lock.release();
        m_observer.summaryChanged(m_summary.text());
    }
    // The summary line holds the reason on one line; the message holds it whole.
    if (failed)
        m_observer.showMessage({"Upload failed", m_summary.uploadFailure, MessageIcon::Critical});
}

void UpdateRun::setTimer(bool on) {
    m_timerOn = on;
    m_observer.timerChanged(on);
}

// A stop during processing: the operator sees why, the buttons come back, the
// caption and the progress line stay as they were.
void UpdateRun::stop(const OperatorMessage& message) {
    m_observer.showMessage(message);
    m_observer.buttonsEnabledChanged(true);
    stopped(message);
}

// A stop before the processing half: the operator sees why, and the window is
// idle again with the folder free.
void UpdateRun::stopBeforeProcessing(const OperatorMessage& message) {
    m_observer.showMessage(message);
    backToIdle();
    m_lock.release();
    stopped(message);
}

void UpdateRun::stopped(const OperatorMessage& message) {
    m_outcome = RunOutcome::Stopped;
    m_summary.stopped = true;
    m_summary.stopMessage = message.text;
    showSummary();
}

void UpdateRun::backToIdle() {
    m_observer.captionChanged(kIdleCaption);
    m_observer.stageChanged(kNoStage);
    m_observer.buttonsEnabledChanged(true);
}

void UpdateRun::showSummary() {
    m_summaryShown = true;
    m_observer.summaryChanged(m_summary.text());
}

} // namespace quenmark
