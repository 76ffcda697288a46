#include "platform/system_process_starter.h"

#include "platform/process_start.h"

namespace quenmark {

SystemProcessStarter::SystemProcessStarter(UploadMode uploadMode, std::filesystem::path executable)
    : m_uploadMode(uploadMode),
      m_executable(executable.empty() ? ownExecutable() : std::move(executable)) {}

bool SystemProcessStarter::startBatch(const std::filesystem::path& mainFolder,
                                      const std::string& batchFile) {
    return startDetached({m_executable.string(), {"run-batch", batchFile}, mainFolder, {}});
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
