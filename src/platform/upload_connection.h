#pragma once

#include "platform/ftp_session.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// A file on its way to the server is sent as its name plus this, beside its
// final place, then renamed over the old file: a visitor gets the old page or
// the new one, never a part. Leftovers of this exact form are removed by the
// next upload into that directory.
inline constexpr std::string_view kPartSuffix = ".quenmark-part";

// The upload's hold on one server: FtpSession commands tried again for a
// passing failure on a new connection (logged in, and in the same directory),
// after the pauses of the limits; a lasting failure is returned at once. Notes on retries, renames
// and leftovers go to `transcript`.
class UploadConnection {
public:
    UploadConnection(ServerAddress address, std::string user, std::string password,
                     IdentityFiles identity, std::ostream& transcript, UploadLimits limits = {});
    ~UploadConnection();
    UploadConnection(const UploadConnection&) = delete;
    UploadConnection& operator=(const UploadConnection&) = delete;

    FtpReply open();
    FtpReply changeDirectory(const std::string& name);
    // Sends one file under its part name and renames it into place; a file
    // that could not be sent leaves no part behind (unless the server stopped
    // answering: then the next upload removes it).
    FtpReply send(std::string_view bytes, const std::string& remoteName, TransferMode mode);
    std::string directory() const;

private:
    using Step = std::function<FtpReply(FtpSession&)>;
    FtpReply attempt(const std::string& what, const Step& step);
    FtpReply connectAndRun(const Step& step);
    FtpReply sendOnce(FtpSession& session, std::string_view bytes, const std::string& remoteName,
                      TransferMode mode);
    void removeLeftovers();

    ServerAddress m_address;
    std::string m_user;
    std::string m_password;
    IdentityFiles m_identity;
    std::ostream& m_out;
    UploadLimits m_limits;
    std::unique_ptr<FtpSession> m_session;
    std::vector<std::string> m_directories; // every cd that worked, to redo on a new connection
    std::set<std::string> m_cleanedDirectories;
};

} // namespace quenmark
