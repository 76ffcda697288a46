#include "platform/upload_runner.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "platform/ftp_client.h"
#include "platform/ftp_script.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace quenmark {

namespace {

// How often the count of files sent is looked at.
constexpr std::chrono::milliseconds kPoll{250};

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
                               const std::string& scriptFile, UploadHandlers handlers) {
    const std::filesystem::path transcript = mainFolder / kUploadLogFile;
    const int total = filesToSend(readFtpScript(readFileContent(mainFolder / scriptFile).bytes));
    ProcessSpec spec{m_executable.string(), {"ftp", "-s:" + scriptFile}, mainFolder, transcript};
    spec.ownSession = m_waiting == Waiting::Detached;
    std::optional<ChildProcess> client = ChildProcess::start(spec);
    if (!client)
        return false;
    auto watched = std::make_unique<Watched>(
        Watched{std::move(*client), transcript, std::move(handlers), total, -1, {}, {}});
    reportProgress(*watched);
    if (m_waiting == Waiting::WaitForEnd) {
        ChildProcess* const children[] = {&watched->client};
        while (!ChildProcess::waitForAny(children, std::chrono::steady_clock::now() + kPoll))
            reportProgress(*watched);
        reportProgress(*watched);
        const UploadEnd end = uploadEnd(watched->client.wait(), transcript);
        if (watched->handlers.ended)
            watched->handlers.ended(end);
        return true;
    }
    watched->notifier =
        std::make_unique<QSocketNotifier>(watched->client.endDescriptor(), QSocketNotifier::Read);
    QObject::connect(watched->notifier.get(), &QSocketNotifier::activated,
                     [this, upload = watched.get()] { clientEnded(upload); });
    watched->poll = std::make_unique<QTimer>();
    QObject::connect(watched->poll.get(), &QTimer::timeout,
                     [upload = watched.get()] { reportProgress(*upload); });
    watched->poll->start(kPoll);
    m_uploads.push_back(std::move(watched));
    return true;
}

void UploadRunner::reportProgress(Watched& watched) {
    const int sent = filesSent(readFileContent(watched.transcript).bytes);
    if (sent == watched.sent)
        return;
    watched.sent = sent;
    if (watched.handlers.progress)
        watched.handlers.progress(sent, watched.total);
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
    upload->poll->stop();
    // The notifier that called us goes once control is back in the event loop.
    upload->notifier.release()->deleteLater();
    reportProgress(*upload);
    const UploadEnd end = uploadEnd(upload->client.wait(), upload->transcript);
    // Called last: a handler may start another upload.
    if (upload->handlers.ended)
        upload->handlers.ended(end);
}

} // namespace quenmark
