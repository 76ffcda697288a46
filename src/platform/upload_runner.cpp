#include "platform/upload_runner.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"

#include <QSocketNotifier>
#include <algorithm>

namespace quenmark {

namespace {

// A transcript that cannot be read (something put in its place meanwhile) is
// an empty one: the client's end is still told.
UploadEnd uploadEnd(int exitStatus, const std::filesystem::path& transcript) {
    return {exitStatus, readFileContent(transcript).bytes};
}

} // namespace

UploadRunner::UploadRunner(Waiting waiting, std::filesystem::path executable)
    : m_waiting(waiting),
      m_executable(executable.empty() ? ownExecutable() : std::move(executable)) {}

UploadRunner::~UploadRunner() = default;

bool UploadRunner::startUpload(const std::filesystem::path& mainFolder,
                               const std::string& scriptFile, UploadEndHandler ended) {
    const std::filesystem::path transcript = mainFolder / kUploadLogFile;
    ProcessSpec spec{m_executable.string(), {"ftp", "-s:" + scriptFile}, mainFolder, transcript};
    spec.ownSession = m_waiting == Waiting::Detached;
    std::optional<ChildProcess> client = ChildProcess::start(spec);
    if (!client)
        return false;
    if (m_waiting == Waiting::WaitForEnd) {
        const UploadEnd end = uploadEnd(client->wait(), transcript);
        if (ended)
            ended(end);
        return true;
    }
    auto watched =
        std::make_unique<Watched>(Watched{std::move(*client), transcript, std::move(ended), {}});
    watched->notifier =
        std::make_unique<QSocketNotifier>(watched->client.endDescriptor(), QSocketNotifier::Read);
    QObject::connect(watched->notifier.get(), &QSocketNotifier::activated,
                     [this, upload = watched.get()] { clientEnded(upload); });
    m_uploads.push_back(std::move(watched));
    return true;
}

void UploadRunner::endUploads() {
    for (const auto& upload : m_uploads)
        upload->client.end();
}

void UploadRunner::clientEnded(Watched* watched) {
    const auto found =
        std::find_if(m_uploads.begin(), m_uploads.end(),
                     [watched](const auto& upload) { return upload.get() == watched; });
    if (found == m_uploads.end())
        return;
    std::unique_ptr<Watched> upload = std::move(*found);
    m_uploads.erase(found);
    upload->notifier->setEnabled(false);
    // The notifier that called us goes once control is back in the event loop.
    upload->notifier.release()->deleteLater();
    const UploadEnd end = uploadEnd(upload->client.wait(), upload->transcript);
    // Called last: a handler may start another upload.
    if (upload->ended)
        upload->ended(end);
}

} // namespace quenmark
