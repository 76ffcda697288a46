#include "platform/upload_connection.h"

#include <chrono>
#include <ostream>
#include <thread>

namespace quenmark {

UploadConnection::UploadConnection(ServerAddress address, std::string user, std::string password,
                                   IdentityFiles identity, std::ostream& transcript,
                                   UploadLimits limits)
    : m_address(std::move(address)), m_user(std::move(user)), m_password(std::move(password)),
      m_identity(std::move(identity)), m_out(transcript), m_limits(limits) {}

UploadConnection::~UploadConnection() = default;

FtpReply UploadConnection::open() {
    return attempt("Login to " + serverName(m_address), {});
}

FtpReply UploadConnection::changeDirectory(const std::string& name) {
    FtpReply reply = attempt(
        "cd " + name, [&name](FtpSession& session) { return session.changeDirectory(name); });
    if (reply.ok)
        m_directories.push_back(name);
    return reply;
}

std::string UploadConnection::directory() const {
    return m_session ? m_session->directory() : "the login directory";
}

FtpReply UploadConnection::send(std::string_view bytes, const std::string& remoteName,
                                TransferMode mode) {
    if (m_session && m_cleanedDirectories.insert(m_session->directory()).second)
        removeLeftovers();
    const std::string part = remoteName + std::string(kPartSuffix);
    FtpReply reply = attempt("put " + remoteName, [&](FtpSession& session) {
        return sendOnce(session, bytes, remoteName, mode);
    });
    // A server that stopped answering would only keep the upload waiting.
    if (!reply.ok && reply.failure != Failure::Unreachable && reply.failure != Failure::OutOfTime &&
        m_session)
        m_session->removeIfPresent(part);
    return reply;
}

FtpReply UploadConnection::sendOnce(FtpSession& session, std::string_view bytes,
                                    const std::string& remoteName, TransferMode mode) {
    const std::string part = remoteName + std::string(kPartSuffix);
    const FtpReply stored = session.put(bytes, part, mode);
    if (!stored.ok)
        return stored;
    const FtpReply renamed = session.rename(part, remoteName);
    if (renamed.ok || renamed.failure != Failure::Lasting)
        return renamed;
    const FtpReply replaced = session.deleteAndRename(part, remoteName);
    if (replaced.ok)
        m_out << "The server refused to rename " << part << " over " << remoteName << " ("
              << renamed.text << "); " << remoteName << " was deleted, then " << part
              << " renamed.\n";
    return replaced;
}

// Parts that an upload ended midway left in this directory.
void UploadConnection::removeLeftovers() {
    std::vector<std::string> names;
    const FtpReply listed = m_session->list(names);
    if (!listed.ok) {
        m_out << "The directory could not be listed for leftover parts: " << listed.text << "\n";
        return;
    }
    for (const std::string& name : names) {
        if (name.size() <= kPartSuffix.size() || !name.ends_with(kPartSuffix))
            continue;
        const FtpReply removed = m_session->remove(name);
        m_out << (removed.ok ? "Removed " + name + ", left by an upload that did not end."
                             : "Could not remove " + name + ": " + removed.text)
              << "\n";
    }
}

FtpReply UploadConnection::attempt(const std::string& what, const Step& step) {
    FtpReply reply = m_session && step ? step(*m_session) : connectAndRun(step);
    for (int pause : m_limits.retryPauseSeconds) {
        if (reply.ok || reply.failure == Failure::Lasting || reply.failure == Failure::OutOfTime)
            break;
        // A pause that would reach the deadline is not begun.
        if (const auto left = m_limits.timeLeft(); left && *left <= std::chrono::seconds(pause)) {
            m_out << what << " failed: " << reply.text << "\n";
            return {false, kOutOfTimeText, Failure::OutOfTime};
        }
        m_out << what << " failed: " << reply.text << "\nTrying again in " << pause
              << " s on a new connection.\n";
        m_out.flush();
        std::this_thread::sleep_for(std::chrono::seconds(pause));
        reply = connectAndRun(step);
    }
    return reply;
}

// A new connection in the directory the last one was in, then the step.
FtpReply UploadConnection::connectAndRun(const Step& step) {
    m_session = std::make_unique<FtpSession>(m_address, m_user, m_password, m_identity, m_limits);
    FtpReply reply = m_session->logIn();
    for (std::size_t i = 0; reply.ok && i < m_directories.size(); ++i)
        reply = m_session->changeDirectory(m_directories[i]);
    if (!reply.ok) {
        m_session.reset();
        return reply;
    }
    return step ? step(*m_session) : reply;
}

} // namespace quenmark
