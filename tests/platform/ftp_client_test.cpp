#include "platform/ftp_client.h"
#include "platform/ftp_session.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace quenmark {

namespace {

const std::string kPassword = "Zebulon-pw-77";

// pyftpdlib serving the folder's "server".
class LocalFtpServer : public TestServer {
public:
    explicit LocalFtpServer(const TempFolder& folder, const std::string& options = "")
        : TestServer("ftp '" + (folder / "server").string() + "' " + kPassword + " " + options,
                     (folder / "server.log").string()),
          m_folder(folder) {}
    std::string log() const { return m_folder.read("server.log"); }

private:
    const TempFolder& m_folder;
};

class FtpClient : public testing::Test {
protected:
    void SetUp() override { folder.makeFolders({"server/site", "upload"}); }

    int run(int port, const std::string& password, const std::string& commands) {
        return run("127.0.0.1 " + std::to_string(port), password, commands);
    }
    int run(const std::string& server, const std::string& password, const std::string& commands) {
        folder.write("ftp.dat", "open " + server + "\r\nranker\r\n" + password + "\r\nlcd " +
                                    (folder / "upload").string() + "\r\n" + commands);
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

// Pages as the system writes them (8-bit text, CR LF line ends), and one that was never written.
TEST_F(FtpClient, StoresPagesInTheServersFormAndGoesOnPastAMissingOne) {
    folder.write("upload/elite.htm", "<html>\r\n<b>Elite</b> \xe9t\xe9\r\n</html>\r\n");
    folder.write("upload/roster.htm", "<p>a\rb</p>\r\n\r\nend");
    LocalFtpServer server(folder);
    ASSERT_NE(server.port(), 0) << server.log();
    // "cd " is what an empty directory gives: it leaves the login directory.
    EXPECT_NE(run(server.port(), kPassword,
                  "cd \r\ncd site\r\nascii\r\nput elite.htm elite.htm\r\n"
                  "put stage1.htm stage1.htm\r\nput roster.htm roster.htm\r\nclose\r\nquit\r\n"),
              0);
    // The last line names the first failure, for the run summary.
    EXPECT_TRUE(transcript.ends_with("ftp> quit\n"
                                     "Upload failed: Error opening local file stage1.htm.\n"))
        << transcript;
    EXPECT_FALSE(folder.exists("server/site/stage1.htm"));
    // pyftpdlib on POSIX stores a text upload with LF line ends; a CR inside a
    // line and the last line without a line end stay as they are.
    EXPECT_EQ(folder.read("server/site/elite.htm"), "<html>\n<b>Elite</b> \xe9t\xe9\n</html>\n");
    EXPECT_EQ(folder.read("server/site/roster.htm"), "<p>a\rb</p>\n\nend");
    EXPECT_EQ(transcript.find(kPassword), std::string::npos) << transcript;
    // One connection carries every transfer.
    const std::string log = server.log();
    const std::size_t opened = log.find("session opened");
    EXPECT_TRUE(opened != std::string::npos && opened == log.rfind("session opened")) << log;
}

// What goes over the wire: in text mode one CR LF per line end, whatever the file
// holds; in binary mode the picture's bytes as they are, CR and LF among them.
TEST_F(FtpClient, SendsTextLinesWithOneCrLfAndThePictureAsItIs) {
    folder.write("upload/mixed.htm", "one\r\ntwo\nthree\r\n\r\n");
    std::string picture = "\xff\xd8\xff\xe0";
    for (int i = 0; i < 4096; ++i)
        picture += static_cast<char>((i * 7 + i / 13) & 0xff);
    folder.write("upload/tarvo.jpg", picture + std::string("\r\n\n\r\0\xff\xd9", 7));
    LocalFtpServer server(folder, "--raw");
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_EQ(run(server.port(), kPassword,
                  "ascii\r\nput mixed.htm mixed.htm\r\nbinary\r\nput tarvo.jpg tarvo.jpg\r\n"
                  "quit\r\n"),
              0)
        << transcript;
    EXPECT_EQ(folder.read("server/mixed.htm"), "one\r\ntwo\r\nthree\r\n\r\n");
    EXPECT_EQ(folder.read("server/tarvo.jpg"), folder.read("upload/tarvo.jpg"));
}

// A directory with blanks is changed into whole; after a cd that failed, no
// page lands in the directory the login gave.
TEST_F(FtpClient, ChangesIntoADirectoryWithBlanksAndPutsNothingAfterAFailedCd) {
    folder.makeFolders({"server/my site"});
    folder.write("upload/elite.htm", "x\r\n");
    folder.write("upload/roster.htm", "y\r\n");
    LocalFtpServer server(folder);
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_NE(run(server.port(), kPassword,
                  "cd my site \r\nput elite.htm elite.htm\r\ncd /no such\r\n"
                  "put roster.htm roster.htm\r\nquit\r\n"),
              0);
    EXPECT_EQ(folder.read("server/my site/elite.htm"), "x\n") << transcript;
    EXPECT_FALSE(folder.exists("server/roster.htm"));
    EXPECT_FALSE(folder.exists("server/my site/roster.htm"));
    EXPECT_NE(transcript.find("cd /no such failed"), std::string::npos) << transcript;
}

// A wrong password and a port nobody listens on: the script ends there.
TEST_F(FtpClient, FailedLoginEndsTheScriptAndSaysWhy) {
    folder.write("upload/elite.htm", "x\r\n");
    int refusingPort = 0;
    {
        LocalFtpServer stopped(folder);
        refusingPort = stopped.port();
    }
    LocalFtpServer server(folder);
    ASSERT_NE(server.port(), 0) << server.log();
    const struct {
        int port;
        std::string password, why;
    } cases[] = {{server.port(), "wrong-" + kPassword,
                  "Upload failed: Login to 127.0.0.1 port " + std::to_string(server.port()) +
                      " failed: 530"},
                 {refusingPort, kPassword, "Upload failed: Login to 127.0.0.1 port"}};
    for (const auto& c : cases) {
        EXPECT_NE(run(c.port, c.password, "put elite.htm elite.htm\r\nquit\r\n"), 0);
        EXPECT_NE(transcript.find(c.why), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find(c.password), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find("put elite.htm"), std::string::npos) << transcript;
    }
    EXPECT_FALSE(folder.exists("server/elite.htm"));
}

// A connection dropped in the middle is made again and the file sent; a file
// the server always refuses keeps its old page and leaves no part behind; a
// part an earlier upload left is removed.
TEST_F(FtpClient, RetriesOnANewConnectionAndKeepsTheOldPageOfAFileThatAlwaysFails) {
    for (const char* page : {"elite.htm", "stage1.htm", "roster.htm", "points.htm"})
        folder.write(std::string("upload/") + page, std::string("new ") + page + "\r\n");
    folder.write("server/site/roster.htm", "old roster\n");
    folder.write("server/site/gone.htm.quenmark-part", "left by a killed upload");
    LocalFtpServer server(folder, "--drop-at 2 --refuse roster");
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_NE(run(server.port(), kPassword,
                  "cd site\r\nput elite.htm\r\nput stage1.htm\r\nput roster.htm\r\n"
                  "put points.htm\r\nquit\r\n"),
              0);
    EXPECT_EQ(folder.read("server/site/stage1.htm"), "new stage1.htm\n") << transcript;
    EXPECT_EQ(folder.read("server/site/points.htm"), "new points.htm\n") << transcript;
    EXPECT_EQ(folder.read("server/site/roster.htm"), "old roster\n");
    EXPECT_EQ(folder.count("server/site"), 4) << transcript;
    EXPECT_NE(transcript.find("Trying again in 0 s on a new connection"), std::string::npos);
    EXPECT_TRUE(transcript.ends_with("Upload failed: put roster.htm failed: 451 Local error, try "
                                     "again later. (Failed FTP upload: 451)\n"))
        << transcript;
}

// A server that takes the connection and never answers holds each attempt for
// the connect limit, and the upload ends after the last one; or at its
// deadline, however long its limits and pauses would wait.
TEST_F(FtpClient, ASilentServerEndsTheUploadWithinTheLimitsOrTheDeadline) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 8), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    for (const bool deadline : {false, true}) {
        const auto start = std::chrono::steady_clock::now();
        limits = deadline ? UploadLimits{30, 60, {1, 2, 4}, start + std::chrono::seconds(2)}
                          : UploadLimits{1, 1, {0, 0, 0}, {}};
        EXPECT_NE(run(ntohs(address.sin_port), kPassword, "quit\r\n"), 0);
        EXPECT_LE(std::chrono::steady_clock::now() - start,
                  std::chrono::seconds(deadline ? 3 : limits.silentServerSeconds() + 2));
        const std::string again = "Trying again in 0 s";
        if (deadline)
            EXPECT_NE(transcript.find(kOutOfTimeText), std::string::npos) << transcript;
        else
            EXPECT_NE(transcript.find(again), transcript.rfind(again)); // several attempts
        EXPECT_NE(transcript.find("Upload failed: Login to 127.0.0.1 port"), std::string::npos)
            << transcript;
    }
    ::close(listener);
}

// ftpes:// asks for TLS first; a server without it never sees the account.
TEST_F(FtpClient, ExplicitTlsNeverFallsBackToClearText) {
    LocalFtpServer server(folder, "--commands '" + (folder / "commands").string() + "'");
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_NE(run("ftpes://127.0.0.1:" + std::to_string(server.port()), kPassword, "quit\r\n"), 0);
    const std::string commands = folder.read("commands");
    EXPECT_NE(commands.find("AUTH TLS"), std::string::npos) << commands;
    EXPECT_EQ(commands.find("USER"), std::string::npos) << commands;
    EXPECT_EQ(commands.find("PASS"), std::string::npos) << commands;
    EXPECT_NE(transcript.find("does not offer TLS"), std::string::npos) << transcript;
}

} // namespace

} // namespace quenmark
