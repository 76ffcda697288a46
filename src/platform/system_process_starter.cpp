#include "platform/system_process_starter.h"

#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"
#include "platform/process_group.h"
#include "platform/process_start.h"

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
    ProcessSpec spec{m_executable.string(), {"run-batch", batchFile}, mainFolder, {}};
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
    m_batch.reset();
}

bool SystemProcessStarter::startUpload(const std::filesystem::path& mainFolder,
                                       const std::string& scriptFile) {
    if (m_uploadMode == UploadMode::ScriptOnly)
        return true;
    ProcessSpec spec{m_executable.string(), {"ftp", "-s:" + scriptFile}, mainFolder, {}};
    if (m_uploadMode == UploadMode::Detached) {
        spec.outputFile = mainFolder / "ftp.log";
        return startDetached(spec);
    }
    const ProcessResult result = runAndWait(spec);
    if (!result.started)
        return false;
    m_uploadStatus = result.exitStatus;
    return true;
}

} // namespace quenmark
