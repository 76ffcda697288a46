#pragma once

#include "core/publish/server_address.h"
#include "core/publish/upload_limits.h"
#include "platform/server_identity.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// Why a command failed, for the decision to try again. Passing: a reply that
// asks to try later (4xx) or a reset connection. Unreachable: the server
// could not be reached or stopped answering (refused, timed out). Lasting:
// trying again gives the same (530, 550, an unknown server, a missing file).
// OutOfTime: the upload's deadline has come; nothing more is tried.
enum class Failure { None, Passing, Unreachable, Lasting, OutOfTime };

// The reason of a command that the upload's deadline stopped.
inline constexpr const char* kOutOfTimeText = "the time given to the upload ran out.";

// What one command came to: whether it worked, and the server's answer or,
// when the server never answered, the reason.
struct FtpReply {
    bool ok = false;
    std::string text;
    Failure failure = Failure::None;
};

enum class TransferMode { Ascii, Binary };

// One connection to a server over libcurl, by plain FTP, FTP over TLS
// (explicit or implicit) or SFTP: logged in once, then reused for every
// command; destroying the session ends the connection. TLS certificates are
// checked against the system's store plus trusted.pem, SSH host keys against
// known_hosts; an unknown one fails the login, which then tells what the
// server showed (unknownServer). Over SFTP an empty password means the user's
// key (~/.ssh/id_ed25519, else ~/.ssh/id_rsa). The remote directory is kept
// here, since libcurl names the directory in each command's address.
class FtpSession {
public:
    FtpSession(ServerAddress address, std::string user, std::string password,
               IdentityFiles identity, UploadLimits limits = {});
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    FtpReply logIn();
    // Changes to directory `name`, relative to the current one unless it starts with
    // "/"; the current one stays when the server refuses.
    FtpReply changeDirectory(std::string_view name);
    // The names in the current directory.
    FtpReply list(std::vector<std::string>& names);
    // Stores `bytes` as `remoteName` in the current directory. In ASCII mode each line end goes
    // over the wire as CR LF (over SFTP, which knows no modes, the file gets LF line ends as an FTP
    // server stores them), whether the bytes end their lines with LF or with CR LF.
    FtpReply put(std::string_view bytes, std::string_view remoteName, TransferMode mode);
    // Renames `from` to `to` in the current directory, over a file of that name.
    FtpReply rename(std::string_view from, std::string_view to);
    // The same for a server that refuses to rename over a file: `to` is
    // deleted first, when it is there.
    FtpReply deleteAndRename(std::string_view from, std::string_view to);
    FtpReply remove(std::string_view name);
    // The same, where a missing file is no failure.
    FtpReply removeIfPresent(std::string_view name);
    // The current remote directory as the operator would write it.
    std::string directory() const;
    // After a login that failed on the server's identity: what it showed.
    const std::optional<UnknownServer>& unknownServer() const { return m_unknownServer; }

private:
    struct RemotePath {
        bool absolute = false;
        std::vector<std::string> parts;
    };
    RemotePath resolve(std::string_view name) const;
    std::string urlFor(const RemotePath& path, bool directory) const;
    std::string quotePath(std::string_view name) const;
    FtpReply perform(const std::string& url);
    FtpReply runQuotes(const std::vector<std::string>& commands);
    void setQuotes(const std::vector<std::string>& commands);
    void findUnknownServer(const std::string& reason);

    struct Handle;
    std::unique_ptr<Handle> m_handle;
    ServerAddress m_address;
    IdentityFiles m_identity;
    UploadLimits m_limits;
    RemotePath m_directory;
    std::optional<UnknownServer> m_unknownServer;
};

} // namespace quenmark
