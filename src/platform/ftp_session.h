#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// What one FTP command came to: whether it worked, and the server's answer or,
// when the server never answered, the reason.
struct FtpReply {
    bool ok = false;
    std::string text;
};

enum class TransferMode { Ascii, Binary };

// One connection to an FTP server on libcurl: logged in once, then reused for
// every transfer; destroying the session ends the connection. The remote directory is kept here,
// since libcurl names the directory in each transfer's address.
class FtpSession {
public:
    FtpSession(std::string host, int port, std::string user, std::string password);
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    FtpReply logIn();
    // Changes to directory `name`, relative to the current one unless it starts with
    // "/"; the current one stays when the server refuses.
    FtpReply changeDirectory(std::string_view name);
    // Stores `bytes` as `remoteName` in the current directory. In ASCII mode each
    // line end goes over the wire as CR LF, whether the bytes end their lines
    // with LF or with CR LF.
    FtpReply put(std::string_view bytes, std::string_view remoteName, TransferMode mode);
    // The current remote directory as the operator would write it.
    std::string directory() const;

private:
    struct RemotePath {
        bool absolute = false;
        std::vector<std::string> parts;
    };
    RemotePath resolve(std::string_view name) const;
    std::string urlFor(const RemotePath& path, bool directory) const;
    FtpReply perform(const std::string& url);

    struct Handle;
    std::unique_ptr<Handle> m_handle;
    std::string m_host;
    int m_port;
    RemotePath m_directory;
};

} // namespace quenmark
