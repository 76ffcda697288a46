#include "core/update_run.h"

#include "core/files/settings_file.h"
#include "core/harvest/download_batch.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"
#include "core/pages/site_pages.h"
#include "core/publish/upload.h"
#include "core/standings/settle_member_times.h"
#include "core/standings/standings.h"

#include <array>
#include <exception>

namespace quenmark {

namespace {

constexpr std::array<const char*, 4> kRequiredFolders = {"lynx", "download", "templates", "upload"};

OperatorMessage rosterMessage(MemberFileStatus status) {
    return errorMessage(status == MemberFileStatus::Missing ? memberFileMissingText(kRosterFile)
                                                            : memberFileDamagedText(kRosterFile));
}

} // namespace

UpdateRun::UpdateRun(std::filesystem::path mainFolder, ProcessStarter& processes, Clock& clock,
                     RunObserver& observer)
    : m_folder(std::move(mainFolder)), m_processes(processes), m_clock(clock),
      m_observer(observer) {}

void UpdateRun::updateCommand() {
    m_observer.captionChanged(kBusyCaption);
    m_observer.buttonsEnabledChanged(false);
    m_observer.stageChanged(1);

    const MemberFileRead roster = readRoster(m_folder);
    if (roster.status != MemberFileStatus::Ok) {
        // Stuck on purpose: caption and buttons stay as they are, only Exit works.
        m_observer.showMessage(rosterMessage(roster.status));
        m_observer.stageChanged(0);
        m_outcome = RunOutcome::Stopped;
        return;
    }
    for (const char* folder : kRequiredFolders) {
        std::error_code ec;
        if (!std::filesystem::is_directory(m_folder / folder, ec)) {
            // Without the folder the sentinel never comes and the timer would poll for ever.
            m_observer.showMessage(errorMessage(std::string("The folder \"") + folder +
                                                "\" could not be found. Make sure it exists in "
                                                "the main folder."));
            backToIdle();
            m_outcome = RunOutcome::Stopped;
            return;
        }
    }

    m_observer.stageChanged(2);
    try {
        writeDownloadBatch(m_folder, roster.members);
        // A sentinel left by an interrupted run goes before the batch starts, so
        // this run can only ever see its own.
        removeFileIfPresent(m_folder / kSentinelFile);
        if (!m_processes.startBatch(m_folder, kBatchFile)) {
            m_observer.showMessage(errorMessage("The download could not be started."));
            backToIdle();
            m_outcome = RunOutcome::Stopped;
            return;
        }
        writeEmptyFile(m_folder / kErrorLogFile);
    } catch (const std::exception& error) {
        // A file that could not be written (FileError names it) or the file
        // system refusing: the operator is told, and the window is usable again.
        m_observer.showMessage(errorMessage(error.what()));
        backToIdle();
        m_outcome = RunOutcome::Stopped;
        return;
    }
    m_outcome = RunOutcome::Downloading;
    setTimer(true);
}

void UpdateRun::tick() {
    if (!m_timerOn || !fileExists(m_folder / kSentinelFile))
        return;
    // The timer goes off before anything is shown, so a window that repaints
    // here can never start a second processing half.
    setTimer(false);
    m_observer.stageChanged(3);
    try {
        process();
    } catch (const std::exception& error) {
        stop(errorMessage(error.what()));
    }
}

void UpdateRun::process() {
    removeFileIfPresent(m_folder / kBatchFile);

    MemberFileRead roster = readRoster(m_folder);
    if (roster.status != MemberFileStatus::Ok)
        return stop(rosterMessage(roster.status));
    MemberTable& members = roster.members;

    const std::optional<SiteSettings> settings = loadSettings(m_folder);
    if (!settings)
        return stop(errorMessage("\"settings.dat\" could not be found. Click Settings to create "
                                 "a new file with default settings."));

    if (auto message = settleMemberTimes(m_folder, members, *settings))
        return stop(*message);
    const RecordTable records = computeStandings(members, pointMax(settings->pointMaxIndex));
    if (auto message = writeSitePages(m_folder, members, records, *settings, m_clock))
        return stop(*message);

    m_observer.stageChanged(4);
    if (auto message = startUpload(m_folder, *settings, m_processes))
        m_observer.showMessage(*message);
    m_observer.showMessage(
        {"Almost done!", "Uploading now - Have a nice day!", MessageIcon::Information});
    backToIdle();
    m_outcome = RunOutcome::Completed;
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
    m_outcome = RunOutcome::Stopped;
}

void UpdateRun::backToIdle() {
    m_observer.captionChanged(kIdleCaption);
    m_observer.stageChanged(0);
    m_observer.buttonsEnabledChanged(true);
}

} // namespace quenmark
