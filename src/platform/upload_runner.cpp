#include "platform/upload_runner.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "platform/ftp_client.h"
#include "platform/ftp_script.h"
#include "platform/process_group.h"
#include "platform/process_record.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

namespace quenmark {

namespace {

// How often the count of files sent, and the deadline, are looked at.
constexpr std::chrono::milliseconds kPoll{250};

// The client stops on its own this long before it is ended, so that it can
// still close its connection and write why it stopped.
constexpr std::chrono::seconds kClientGrace{5};

std::chrono::seconds clientLimit(std::chrono::seconds limit) {
    return std::max(limit - kClientGrace, std::chrono::seconds(1));
}

// The transcript as the client left it; one ended at its limit gets the line
// that tells why. A transcript that cannot be read (something put in its place
// meanwhile) is an empty one: the client's end is still told.
UploadEnd uploadEnd(int exitStatus, const std::filesystem::path& mainFolder,
                    std::chrono::seconds timeLimit, bool timedOut) {
    const std::filesystem::path transcript = mainFolder / kUploadLogFile;
    if (!timedOut)
        return {exitStatus, readFileContent(transcript).bytes};
    const std::string line = "\nUpload failed: The upload did not finish within " +
                             std::to_string(timeLimit.count()) + " seconds.\n";
    try {
        appendToFile(transcript, line, kUploadLogFile);
    } catch (const FileError&) {
        // The end is told all the same, with the line below.
    }
    UploadEnd end{exitStatus, readFileContent(transcript).bytes};
    if (end.transcript.find(line) == std::string::npos)
        end.transcript += line;
    return end;
}

} // namespace

UploadRunner::UploadRunner(Waiting waiting, std::filesystem::path executable)
    : m_waiting(waiting),
      m_executable(executable.empty() ? ownExecutable() : std::move(executable)) {}

UploadRunner::~UploadRunner() {
    endUploads();
}

void UploadRunner::endLeftoverUpload(const std::filesystem::path& mainFolder) {
    endRecordedProcesses(mainFolder / kUploadRecordFile, kUploadRecordFile);
}

bool UploadRunner::startUpload(const std::filesystem::path& mainFolder,
                               const std::string& scriptFile, std::chrono::seconds timeLimit,
                               UploadHandlers handlers) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    const int total = filesToSend(readFtpScript(readFileContent(mainFolder / scriptFile).bytes));
    ProcessSpec spec{
        m_executable.string(),
        {"ftp", "-s:" + scriptFile, "--time-limit", std::to_string(clientLimit(timeLimit).count())},
        mainFolder,
        mainFolder / kUploadLogFile};
    spec.ownSession = true;
    spec.endWithParent = true;
    spec.environment.push_back(newProcessMarker(kUploadMarkerName));
    std::optional<ChildProcess> client = ChildProcess::start(spec);
    if (!client)
        return false;
    try {
        writeProcessRecord(mainFolder / kUploadRecordFile, kUploadRecordFile, client->pid(),
                           spec.environment.front());
    } catch (const FileError&) {
        // A client that no later run could end is not left running.
        client->end();
        client->wait();
        throw;
    }
    auto watched = std::make_unique<Watched>(Watched{std::move(*client),
                                                     mainFolder,
                                                     std::move(handlers),
                                                     total,
                                                     -1,
                                                     timeLimit,
                                                     deadline,
                                                     false,
                                                     {},
                                                     {}});
    look(*watched);
    if (m_waiting == Waiting::WaitForEnd) {
        ChildProcess* const children[] = {&watched->client};
        while (!ChildProcess::waitForAny(
            children, std::min(deadline, std::chrono::steady_clock::now() + kPoll)))
            look(*watched);
        m_uploads.push_back(std::move(watched));
        clientEnded(m_uploads.back().get());
        return true;
    }
    Watched* upload = watched.get();
    upload->notifier =
        std::make_unique<QSocketNotifier>(upload->client.endDescriptor(), QSocketNotifier::Read);
    QObject::connect(upload->notifier.get(), &QSocketNotifier::activated,
                     [this, upload] { clientEnded(upload); });
    upload->poll = std::make_unique<QTimer>();
    QObject::connect(upload->poll.get(), &QTimer::timeout, [upload] { look(*upload); });
    upload->poll->start(kPoll);
    m_uploads.push_back(std::move(watched));
    return true;
}

// The count of files sent, as it moves; a client still running at its
// deadline is ended (its end is told as usual).
void UploadRunner::look(Watched& watched) {
    const int sent = filesSent(readFileContent(watched.mainFolder / kUploadLogFile).bytes);
    if (sent != watched.sent) {
        watched.sent = sent;
        if (watched.handlers.progress)
            watched.handlers.progress(sent, watched.total);
    }
    if (!watched.timedOut && std::chrono::steady_clock::now() >= watched.deadline &&
        !watched.client.exitStatus()) {
        watched.client.end();
        watched.timedOut = true;
    }
}

void UploadRunner::endUploads() {
    for (const auto& upload : m_uploads) {
        upload->client.end();
        upload->handlers = {};
        if (upload->poll)
            upload->poll->stop();
        removeProcessRecord(upload->mainFolder / kUploadRecordFile);
    }
}

void UploadRunner::clientEnded(Watched* watched) {
    const auto found =
        std::find_if(m_uploads.begin(), m_uploads.end(),
                     [watched](const auto& upload) { return upload.get() == watched; });
    if (found == m_uploads.end())
        return;
    std::unique_ptr<Watched> upload = std::move(*found);
    m_uploads.erase(found);
    if (upload->notifier) {
        upload->notifier->setEnabled(false);
        upload->poll->stop();
        // The notifier that called us goes once control is back in the event loop.
        upload->notifier.release()->deleteLater();
    }
    const int status = upload->client.wait();
    removeProcessRecord(upload->mainFolder / kUploadRecordFile);
    upload->timedOut = upload->timedOut && status != 0;
    look(*upload);
    const UploadEnd end =
        uploadEnd(status, upload->mainFolder, upload->timeLimit, upload->timedOut);
    // Called last: a handler may start another upload.
    if (upload->handlers.ended)
        upload->handlers.ended(end);
}

} // namespace quenmark
