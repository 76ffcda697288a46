#include "platform/batch_runner.h"

#include "core/harvest/download_batch.h"
#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "platform/download_jobs_setting.h"
#include "platform/process_group.h"
#include "platform/process_record.h"
#include "platform/process_start.h"

namespace quenmark {

namespace {

void removeDoneLog(const std::filesystem::path& mainFolder) {
    try {
        removeFileIfPresent(mainFolder / kBatchDoneLogFile);
    } catch (const FileError&) {
        // The interpreter empties the log it is given, so a leftover counts nothing.
    }
}

} // namespace

BatchRunner::BatchRunner(std::filesystem::path executable)
    : m_executable(executable.empty() ? ownExecutable() : std::move(executable)) {}

BatchRunner::~BatchRunner() {
    endBatch();
}

bool BatchRunner::findsProgram(const std::filesystem::path& folder, const std::string& program) {
    return findProgram(program, folder).has_value();
}

void BatchRunner::endLeftoverBatch(const std::filesystem::path& mainFolder) {
    endRecordedProcesses(mainFolder / kBatchRecordFile, kBatchRecordFile);
}

bool BatchRunner::startBatch(const std::filesystem::path& mainFolder,
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
    spec.environment.push_back(newProcessMarker(kBatchMarkerName));
    spec.ownSession = true;
    // Whatever ends the run's process ends the batch too.
    spec.endWithParent = true;
    std::optional<ChildProcess> child = ChildProcess::start(spec);
    if (!child)
        return false;
    const int groupId = child->pid();
    m_batch.emplace(Batch{std::move(*child), spec.environment.front(), mainFolder});
    try {
        writeProcessRecord(mainFolder / kBatchRecordFile, kBatchRecordFile, groupId,
                           m_batch->marker);
    } catch (const FileError&) {
        // A batch that no later run could end is not started at all.
        endBatch();
        throw;
    }
    return true;
}

bool BatchRunner::batchRunning() {
    std::erase_if(m_ending, [](ChildProcess& child) { return child.exitStatus().has_value(); });
    if (!m_batch)
        return false;
    return !m_batch->interpreter.exitStatus();
}

void BatchRunner::endBatch() {
    if (!m_batch)
        return;
    // The interpreter may have ended while programs it started still run.
    endMarkedProcesses(m_batch->interpreter.pid(), m_batch->marker);
    m_batch->interpreter.end();
    // Reaped later when it has not gone yet: nothing waits for it here.
    if (!m_batch->interpreter.exitStatus())
        m_ending.push_back(std::move(m_batch->interpreter));
    removeProcessRecord(m_batch->mainFolder / kBatchRecordFile);
    removeDoneLog(m_batch->mainFolder);
    m_batch.reset();
}

} // namespace quenmark
