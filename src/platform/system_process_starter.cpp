#include "platform/system_process_starter.h"

#include "core/harvest/download_batch.h"
#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"
#include "platform/download_jobs_setting.h"
#include "platform/process_group.h"
#include "platform/process_start.h"

#include <QTimer>
#include <iostream>
#include <random>

namespace quenmark {

namespace {

std::string newMarker() {
    std::random_device random;
    std::uniform_int_distribution<int> digit(0, 15);
    std::string value;
    for (int i = 0; i < 24; ++i)
        value += "0123456789abcdef"[digit(random)];
    return std::string(kBatchMarkerName) + "=" + value;
}

void removeRecord(const std::filesystem::path& mainFolder) {
    try {
        removeFileIfPresent(mainFolder / kBatchRecordFile);
    } catch (const FileError&) {
        // A record left behind names a group that is gone or not ours: harmless.
    }
}

void removeDoneLog(const std::filesystem::path& mainFolder) {
    try {
        removeFileIfPresent(mainFolder / kBatchDoneLogFile);
    } catch (const FileError&) {
        // The interpreter empties the log it is given, so a leftover counts nothing.
    }
}

constexpr int kPollMilliseconds = 250;

UploadEnd uploadEnd(int exitStatus, const std::filesystem::path& transcript) {
    return {exitStatus, readFileBytes(transcript).value_or("")};
}

} // namespace

SystemProcessStarter::SystemProcessStarter(UploadMode uploadMode, std::filesystem::path executable)
    : m_uploadMode(uploadMode),
      m_executable(executable.empty() ? ownExecutable() : std::move(executable)) {}

SystemProcessStarter::~SystemProcessStarter() {
    endBatch();
}

bool SystemProcessStarter::findsProgram(const std::filesystem::path& folder,
                                        const std::string& program) {
    return findProgram(program, folder).has_value();
}

void SystemProcessStarter::endLeftoverBatch(const std::filesystem::path& mainFolder) {
    const auto lines = readLines(mainFolder / kBatchRecordFile);
    if (!lines)
        return;
    // The interpreter leads its own session and group, both of its process id.
    if (lines->size() >= 2)
        endMarkedProcesses(static_cast<int>(leadingNumber((*lines)[0])), (*lines)[1]);
    removeRecord(mainFolder);
}

bool SystemProcessStarter::startBatch(const std::filesystem::path& mainFolder,
                                      const std::string& batchFile) {
    endBatch();
    // The count of finished pages starts from nothing, before the batch does.
    removeDoneLog(mainFolder);
    const int jobs = m_downloadJobs.value_or(downloadJobsSetting());
    ProcessSpec spec{m_executable.string(),
                     {"run-batch", "--jobs", std::to_string(jobs), "--done-log",
                      std::filesystem::absolute(mainFolder / kBatchDoneLogFile).string(),
                      batchFile},
                     mainFolder,
                     {}};
    spec.environment.push_back(newMarker());
    const int groupId = startGroupLeader(spec);
    if (groupId < 0)
        return false;
    m_batch = Batch{groupId, spec.environment.front(), mainFolder};
    try {
        replaceFile(mainFolder / kBatchRecordFile,
                    TextBuilder().numberLine(groupId).line(m_batch->marker).text(),
                    Durability::Unsynced);
    } catch (const FileError&) {
        // A batch that no later run could end is not started at all.
        endBatch();
        return false;
    }
    return true;
}

bool SystemProcessStarter::batchRunning() {
    if (!m_batch)
        return false;
    if (!m_batch->ended)
        m_batch->ended = hasEnded(m_batch->groupId);
    return !m_batch->ended;
}

void SystemProcessStarter::endBatch() {
    if (!m_batch)
        return;
    // The interpreter may have ended while programs it started still run.
    endMarkedProcesses(m_batch->groupId, m_batch->marker);
    if (!m_batch->ended)
        endChild(m_batch->groupId);
    removeRecord(m_batch->mainFolder);
    removeDoneLog(m_batch->mainFolder);
    m_batch.reset();
}

bool SystemProcessStarter::startUpload(const std::filesystem::path& mainFolder,
                                       const std::string& scriptFile, UploadEndHandler ended) {
    if (m_uploadMode == UploadMode::ScriptOnly)
        return true;
    const std::filesystem::path transcript = mainFolder / kUploadLogFile;
    const ProcessSpec spec{
        m_executable.string(), {"ftp", "-s:" + scriptFile}, mainFolder, transcript};
    if (m_uploadMode == UploadMode::Detached) {
        const int pid = startWatched(spec);
        if (pid < 0)
            return false;
        m_uploads.push_back({pid, transcript, std::move(ended)});
        if (!m_poll) {
            m_poll = std::make_unique<QTimer>();
            m_poll->setInterval(kPollMilliseconds);
            QObject::connect(m_poll.get(), &QTimer::timeout, [this] { pollUploads(); });
        }
        m_poll->start();
        return true;
    }
    const ProcessResult result = runAndWait(spec);
    if (!result.started)
        return false;
    m_uploadStatus = result.exitStatus;
    const UploadEnd end = uploadEnd(result.exitStatus, transcript);
    std::cout << end.transcript << std::flush;
    if (ended)
        ended(end);
    return true;
}

void SystemProcessStarter::pollUploads() {
    std::vector<std::pair<UploadEndHandler, UploadEnd>> ended;
    std::erase_if(m_uploads, [&ended](WatchedUpload& upload) {
        const std::optional<int> status = endedStatus(upload.pid);
        if (status)
            ended.emplace_back(std::move(upload.ended), uploadEnd(*status, upload.transcript));
        return status.has_value();
    });
    if (m_uploads.empty())
        m_poll->stop();
    // Called last: a handler may start another upload.
    for (const auto& [handler, end] : ended)
        if (handler)
            handler(end);
}

} // namespace quenmark
