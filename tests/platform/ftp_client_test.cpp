#include "platform/connection_test.h"
#include "platform/ftp_client.h"
#include "platform/ftp_library.h"
#include "platform/ftp_session.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <optional>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace quenmark {

namespace {

const std::string kPassword = "Zebulon-pw-77";
// Pages as the system writes them (8-bit text, CR LF line ends; a CR inside a
// line, a last line without a line end), and as a POSIX server stores them.
const std::string kElite = "<html>\r\n<b>Elite</b> \xe9t\xe9\r\n</html>\r\n";
const std::string kEliteStored = "<html>\n<b>Elite</b> \xe9t\xe9\n</html>\n";
const std::string kRoster = "<p>a\rb</p>\r\n\r\nend";
const std::string kRosterStored = "<p>a\rb</p>\n\nend";
const std::string kPicture = [] {
    std::string picture = "\xff\xd8\xff\xe0";
    for (int i = 0; i < 4096; ++i)
        picture += static_cast<char>((i * 7 + i / 13) & 0xff);
    return picture + std::string("\r\n\n\r\0\xff\xd9", 7);
}();

// What a command prints, read independently of the code under test.
std::string commandOutput(const std::string& command) {
    std::string out(4096, '\0');
    std::FILE* pipe = ::popen(command.c_str(), "r");
    out.resize(pipe ? std::fread(out.data(), 1, out.size(), pipe) : 0);
    return pipe && ::pclose(pipe) == 0 ? out : "";
}

class FtpClient : public testing::Test {
protected:
    void SetUp() override {
        folder.write("upload/elite.htm", kElite);
        folder.write("upload/roster.htm", kRoster);
        folder.write("upload/points.htm", "points\r\n");
        folder.write("upload/mixed.htm", "one\r\ntwo\nthree\r\n\r\n");
        folder.write("upload/tarvo.jpg", kPicture);
    }

    // ftp.dat: the account, then the commands, with the pages of "upload".
    int run(const std::string& server, const std::string& user, const std::string& password,
            const std::string& commands) {
        folder.write("ftp.dat", crlf({"open " + server, user, password,
                                      "lcd " + (folder / "upload").string()}) +
                                    commands);
        std::ostringstream out;
        const int status = runFtpScript(folder / "ftp.dat", out, limits);
        transcript = out.str();
        return status;
    }

    TempFolder folder;
    std::string transcript;
    // Retries at once: the pauses between them are no part of what is tested here.
    UploadLimits limits{30, 60, {0, 0, 0}, {}};
};

// pyftpdlib with a fault of its own ("server" names its folder), a script, and
// what it makes: the exit, a line of the transcript (ending with "\n": its end)
// and the files on the servers (nullopt: none).
// - pages: "cd " (an empty directory) leaves the login directory; the last
//   line names the first failure, for the run summary.
// - wire: one CR LF per line end in text mode, the picture as it is.
// - cd: a directory is changed into whole; after a failed cd no page lands.
// - retry: a dropped connection is made again and the file sent; a file always
//   refused keeps its old page and leaves no part; an older part goes.
// - tls: ftpes:// asks for TLS first; a server without it never sees the account.
TEST_F(FtpClient, UploadsToAServerAndSaysWhatFailed) {
    const struct {
        std::string server, options, scheme, password, commands;
        bool succeeds;
        std::string says;
    } cases[] = {
        {"pages", "", "", kPassword,
         "cd \r\ncd site\r\nascii\r\nput elite.htm elite.htm\r\nput stage1.htm stage1.htm\r\n"
         "put roster.htm roster.htm\r\nclose\r\nquit\r\n",
         false, "ftp> quit\nUpload failed: Error opening local file stage1.htm.\n"},
        {"wire", "--raw", "", kPassword,
         "ascii\r\nput mixed.htm mixed.htm\r\nbinary\r\nput tarvo.jpg tarvo.jpg\r\nquit\r\n", true,
         ""},
        {"cd", "", "", kPassword,
         "cd my site \r\nput elite.htm elite.htm\r\ncd /no such\r\nput roster.htm\r\nquit\r\n",
         false, "cd /no such failed"},
        {"login", "", "", "wrong-" + kPassword, "put elite.htm elite.htm\r\nquit\r\n", false,
         "failed: 530"},
        {"retry", "--drop-at 2 --refuse roster", "", kPassword,
         "cd site\r\nput elite.htm\r\nput points.htm\r\nput roster.htm\r\nput "
         "mixed.htm\r\nquit\r\n",
         false,
         "Upload failed: put roster.htm failed: 451 Local error, try again later. (Failed FTP "
         "upload: 451)\n"},
        {"tls", "", "ftpes://", kPassword, "quit\r\n", false, "does not offer TLS"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        folder.makeFolders({c.server + "/my site"});
        folder.write(c.server + "/site/roster.htm", "old roster\n");
        folder.write(c.server + "/site/gone.htm.quenmark-part", "left by a killed upload");
        TestServer server("ftp '" + (folder / c.server).string() + "' " + kPassword + " " +
                              c.options,
                          (folder / c.server).string() + ".log");
        ASSERT_NE(server.port(), 0) << folder.read(c.server + ".log");
        const std::string port = std::to_string(server.port());
        EXPECT_EQ(run(c.scheme.empty() ? "127.0.0.1 " + port : c.scheme + "127.0.0.1:" + port,
                      "ranker", c.password, c.commands) == 0,
                  c.succeeds)
            << transcript;
        EXPECT_TRUE(c.says.ends_with('\n') ? transcript.ends_with(c.says)
                                           : transcript.find(c.says) != std::string::npos)
            << transcript;
        EXPECT_EQ(transcript.find(c.password), std::string::npos) << transcript;
    }
    const std::pair<std::string, std::optional<std::string>> files[] = {
        {"pages/site/elite.htm", kEliteStored},
        {"pages/site/roster.htm", kRosterStored},
        {"pages/site/stage1.htm", {}},
        {"wire/mixed.htm", "one\r\ntwo\r\nthree\r\n\r\n"},
        {"wire/tarvo.jpg", kPicture},
        {"cd/my site/elite.htm", kEliteStored},
        {"cd/roster.htm", {}},
        {"cd/my site/roster.htm", {}},
        {"login/elite.htm", {}},
        {"retry/site/points.htm", "points\n"},
        {"retry/site/mixed.htm", "one\ntwo\nthree\n\n"},
        {"retry/site/roster.htm", "old roster\n"},
        {"retry/site/roster.htm.quenmark-part", {}},
        {"retry/site/gone.htm.quenmark-part", {}}};
    for (const auto& [name, content] : files)
        EXPECT_EQ(folder.exists(name) ? std::optional(folder.read(name)) : std::nullopt, content)
            << name;
    // One connection carries every transfer.
    const std::string log = folder.read("pages.log");
    const std::size_t opened = log.find("session opened");
    EXPECT_TRUE(opened != std::string::npos && opened == log.rfind("session opened")) << log;
    EXPECT_EQ(folder.read("tls.log").find("USER '"), std::string::npos); // no log-in tried
}

// A port that refuses the connection, and a server that takes it and never
// answers (each attempt held for the connect limit): the upload ends after the
// last attempt, or at its deadline however long its limits and pauses would wait.
TEST_F(FtpClient, AServerThatNeverAnswersEndsTheUploadInTime) {
    for (const auto& [listening, deadline] :
         {std::pair{false, false}, {true, false}, {true, true}}) {
        SCOPED_TRACE(std::string(listening ? "silent" : "refused") +
                     (deadline ? ", deadline" : ""));
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), length), 0);
        ASSERT_TRUE(!listening || ::listen(socket, 8) == 0);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        const auto start = std::chrono::steady_clock::now();
        limits = deadline ? UploadLimits{30, 60, {1, 2, 4}, start + std::chrono::seconds(2)}
                          : UploadLimits{1, 1, {0, 0, 0}, {}};
        EXPECT_NE(run("127.0.0.1 " + std::to_string(ntohs(address.sin_port)), "ranker", kPassword,
                      "put elite.htm elite.htm\r\nquit\r\n"),
                  0);
        ::close(socket);
        EXPECT_LE(std::chrono::steady_clock::now() - start,
                  std::chrono::seconds(deadline ? 3 : limits.silentServerSeconds() + 2));
        const std::string again = "Trying again in 0 s";
        if (deadline)
            EXPECT_NE(transcript.find(kOutOfTimeText), std::string::npos) << transcript;
        else
            EXPECT_NE(transcript.find(again), transcript.rfind(again)); // several attempts
        EXPECT_NE(transcript.find("Upload failed: Login to 127.0.0.1 port"), std::string::npos)
            << transcript;
        EXPECT_EQ(transcript.find("put elite.htm"), std::string::npos) << transcript;
    }
}

// Implicit TLS with a self-signed certificate (explicit TLS is checked end to
// end): refused with its fingerprint until it is in trusted.pem, then the pages arrive.
TEST_F(FtpClient, FtpOverTlsTrustsTheCertificatesOfTrustedPem) {
    TestServer server("proftpd '" + (folder / "ftps").string() + "' zebulons --implicit",
                      (folder / "server.log").string());
    ASSERT_NE(server.port(), 0) << folder.read("server.log");
    const std::string address = "ftps://127.0.0.1:" + std::to_string(server.port());
    const std::string commands = crlf({"cd /", "ascii", "put elite.htm", "put roster.htm", "quit"});
    EXPECT_NE(run(address, "quenmark", "zebulons", commands), 0);
    EXPECT_NE(transcript.find("is not trusted (SSL certificate problem: self-signed "
                              "certificate). Its SHA-256 fingerprint is "),
              std::string::npos)
        << transcript;
    EXPECT_FALSE(folder.exists("ftps/root/elite.htm"));
    folder.write("trusted.pem", folder.read("ftps/cert.pem"));
    EXPECT_EQ(run(address, "quenmark", "zebulons", commands), 0) << transcript;
    EXPECT_EQ(folder.read("ftps/root/elite.htm"), kEliteStored);
    EXPECT_EQ(folder.read("ftps/root/roster.htm"), kRosterStored);
}

// SFTP with the user's key: an unknown host key is refused with its
// fingerprint; trusted, it is in known_hosts as OpenSSH writes it, the pages
// arrive, and a second upload replaces them (the server will not rename over
// a file: delete, then rename).
TEST_F(FtpClient, SftpChecksKnownHostsAndLogsInWithTheUsersKey) {
    TestServer server("sshd '" + (folder / "sshd").string() + "'",
                      (folder / "server.log").string());
    ASSERT_NE(server.port(), 0) << folder.read("server.log");
    folder.makeFolders({"site"});
    folder.write("home/.ssh/id_ed25519", folder.read("sshd/user"));
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    ::setenv("HOME", (folder / "home").c_str(), 1);
    const std::string address = "sftp://127.0.0.1:" + std::to_string(server.port());
    const std::string user = commandOutput("id -un | tr -d '\\n'");
    const std::string site = (folder / "site").string();
    const std::string commands =
        crlf({"cd " + site, "ascii", "put elite.htm", "put roster.htm", "quit"});

    EXPECT_NE(run(address, user, "", commands), 0);
    const std::string fingerprint =
        commandOutput("ssh-keygen -lf '" + (folder / "sshd/host.pub").string() +
                      "' | cut -d' ' -f2 | tr -d '\\n'");
    EXPECT_NE(transcript.find("Its SHA-256 fingerprint is " + fingerprint + "."), std::string::npos)
        << transcript;

    const FtpLibrary library;
    const SiteSettings settings = parseSettings({address, user, "", "", "", "", "", " 1 ", site});
    const ConnectionCheck check = testConnection(settings, identityFilesOf(folder.path()));
    ASSERT_TRUE(check.unknownServer) << check.words;
    EXPECT_EQ(check.unknownServer->fingerprint, fingerprint);
    trustServer(identityFilesOf(folder.path()), *check.unknownServer);
    const std::string hostKey = folder.read("sshd/host.pub");
    EXPECT_EQ(folder.read("known_hosts"), "[127.0.0.1]:" + std::to_string(server.port()) + " " +
                                              hostKey.substr(0, hostKey.rfind(' ')) + "\n");
    EXPECT_TRUE(testConnection(settings, identityFilesOf(folder.path())).ok);
    EXPECT_EQ(run(address, user, "", commands), 0) << transcript;
    folder.write("upload/elite.htm", "<p>elite again</p>\r\n");
    EXPECT_EQ(run(address, user, "", commands), 0) << transcript;
    ::setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(folder.read("site/elite.htm"), "<p>elite again</p>\n");
    EXPECT_EQ(folder.read("site/roster.htm"), kRosterStored);
    EXPECT_EQ(folder.count("site"), 2);
    EXPECT_NE(transcript.find("elite.htm was deleted, then"), std::string::npos) << transcript;
}

} // namespace

} // namespace quenmark
