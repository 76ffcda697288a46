#include "platform/ftp_client.h"
#include "tests/support/temp_folder.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const std::string kPassword = "Zebulon-pw-77";

// pyftpdlib on 127.0.0.1 on a free port, serving `root`, for the life of the object.
// Debian's own python3 has pyftpdlib; another one earlier on PATH may not.
class LocalFtpServer {
public:
    LocalFtpServer(const std::filesystem::path& root, const std::filesystem::path& work,
                   bool raw = false)
        : m_log(work / "server.log") {
        const std::filesystem::path portFile = work / "server.port";
        const std::string script =
            (std::filesystem::path(__FILE__).parent_path() / "ftp_server.py").string();
        std::vector<std::string> args = {"/usr/bin/python3", script,        "--root",
                                         root.string(),      "--port-file", portFile.string(),
                                         "--password",       kPassword};
        if (raw)
            args.emplace_back("--raw");
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, m_log.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 200 && m_pid != 0 && m_port == 0; ++i) {
            std::ifstream in(portFile);
            in >> m_port;
            if (m_port == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~LocalFtpServer() {
        if (m_pid != 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    int port() const { return m_port; }
    std::string log() const {
        std::ifstream in(m_log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_log;
    pid_t m_pid = 0;
    int m_port = 0;
};

// A loopback port that nobody listens on.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class FtpClient : public testing::Test {
protected:
    void SetUp() override {
        folder.makeFolders({"server", "server/site", "upload"});
        // Pages as the system writes them: 8-bit text, CR LF after each line.
        folder.write("upload/elite.htm", "<html>\r\n<b>Elite</b> \xe9t\xe9\r\n</html>\r\n");
        folder.write("upload/roster.htm", "<p>a\rb</p>\r\n\r\nend");
        // A picture whose bytes would not survive a text transfer.
        std::string picture = "\xff\xd8\xff\xe0";
        for (int i = 0; i < 4096; ++i)
            picture += static_cast<char>((i * 7 + i / 13) & 0xff);
        picture += std::string("\r\n\n\r\0\xff\xd9", 7);
        folder.write("upload/tarvo.jpg", picture);
    }

    std::string header(int port) const {
        return "open 127.0.0.1 " + std::to_string(port) + "\r\nranker\r\n" + kPassword + "\r\n";
    }
    int run(const std::string& script) {
        folder.write("ftp.dat", script);
        std::ostringstream out;
        const int status = runFtpScript(folder / "ftp.dat", out);
        transcript = out.str();
        return status;
    }
    std::string lcd() const { return "lcd " + (folder / "upload").string() + "\r\n"; }

    TempFolder folder;
    std::string transcript;
};

TEST_F(FtpClient, PublishesPagesAsTextAndThePictureUnchanged) {
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    const int status = run(header(server.port()) + "cd site\r\n" + lcd() +
                           "ascii\r\nput elite.htm elite.htm\r\nput roster.htm roster.htm\r\n"
                           "binary\r\nput tarvo.jpg tarvo.jpg\r\nclose\r\nquit\r\n");
    EXPECT_EQ(status, 0) << transcript;
    // pyftpdlib on POSIX stores a text upload with LF line ends; a CR inside a
    // line and the last line without a line end stay as they are.
    EXPECT_EQ(folder.read("server/site/elite.htm"), "<html>\n<b>Elite</b> \xe9t\xe9\n</html>\n");
    EXPECT_EQ(folder.read("server/site/roster.htm"), "<p>a\rb</p>\n\nend");
    EXPECT_EQ(folder.read("server/site/tarvo.jpg"), folder.read("upload/tarvo.jpg"));
    EXPECT_EQ(transcript.find(kPassword), std::string::npos) << transcript;
    EXPECT_EQ(count(server.log(), "session opened"), 1u) << server.log();
}

TEST_F(FtpClient, TextModeSendsEachLineEndAsOneCrLf) {
    LocalFtpServer server(folder / "server", folder.path(), /*raw=*/true);
    ASSERT_NE(server.port(), 0) << server.log();
    folder.write("upload/mixed.htm", "one\r\ntwo\nthree\r\n\r\n");
    EXPECT_EQ(run(header(server.port()) + lcd() + "ascii\r\nput mixed.htm mixed.htm\r\nquit\r\n"),
              0)
        << transcript;
    EXPECT_EQ(folder.read("server/mixed.htm"), "one\r\ntwo\r\nthree\r\n\r\n");
}

TEST_F(FtpClient, WrongPasswordEndsTheScript) {
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    folder.write("ftp.dat", "open 127.0.0.1 " + std::to_string(server.port()) +
                                "\r\nranker\r\nnot-the-password\r\n" + lcd() +
                                "put elite.htm elite.htm\r\nquit\r\n");
    std::ostringstream out;
    EXPECT_NE(runFtpScript(folder / "ftp.dat", out), 0);
    EXPECT_NE(out.str().find("530"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("failed"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("not-the-password"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("put elite.htm"), std::string::npos) << out.str();
    EXPECT_FALSE(folder.exists("server/elite.htm"));
}

TEST_F(FtpClient, RefusedConnectionFails) {
    EXPECT_NE(run(header(closedPort()) + lcd() + "put elite.htm elite.htm\r\nquit\r\n"), 0);
    EXPECT_NE(transcript.find("failed"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find(kPassword), std::string::npos) << transcript;
}

TEST_F(FtpClient, MissingLocalFileIsReportedAndTheOthersStillGo) {
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_NE(run(header(server.port()) + lcd() +
                  "put elite.htm elite.htm\r\nput stage1.htm stage1.htm\r\n"
                  "binary\r\nput tarvo.jpg tarvo.jpg\r\nquit\r\n"),
              0);
    EXPECT_NE(transcript.find("stage1.htm"), std::string::npos) << transcript;
    EXPECT_TRUE(folder.exists("server/elite.htm"));
    EXPECT_EQ(folder.read("server/tarvo.jpg"), folder.read("upload/tarvo.jpg"));
    EXPECT_FALSE(folder.exists("server/stage1.htm"));
}

TEST_F(FtpClient, RefusedDirectoryFailsAndLeavesTheDirectory) {
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_NE(run(header(server.port()) + "cd site\r\ncd nowhere\r\n" + lcd() +
                  "put elite.htm elite.htm\r\nquit\r\n"),
              0);
    EXPECT_NE(transcript.find("nowhere"), std::string::npos) << transcript;
    EXPECT_TRUE(folder.exists("server/site/elite.htm"));
}

TEST_F(FtpClient, EmptyDirectoryStaysInTheLoginDirectory) {
    // "cd " is what an empty directory in the settings gives; the next line is
    // still a command of its own.
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    EXPECT_EQ(run(header(server.port()) + "cd \r\n" + lcd() +
                  "ascii\r\nput elite.htm elite.htm\r\nclose\r\nquit\r\n"),
              0)
        << transcript;
    EXPECT_TRUE(folder.exists("server/elite.htm"));
}

TEST_F(FtpClient, QuotedNamesKeepTheirBlanks) {
    LocalFtpServer server(folder / "server", folder.path());
    ASSERT_NE(server.port(), 0) << server.log();
    folder.write("upload/two words.htm", "x\r\n");
    EXPECT_EQ(run(header(server.port()) + lcd() + "put \"two words.htm\" \"on server.htm\"\r\n" +
                  "put elite.htm\r\nquit\r\n"),
              0)
        << transcript;
    EXPECT_EQ(folder.read("server/on server.htm"), "x\n");
    EXPECT_TRUE(folder.exists("server/elite.htm"));
}

TEST_F(FtpClient, MissingScriptFails) {
    std::ostringstream out;
    EXPECT_NE(runFtpScript(folder / "nothing.dat", out), 0);
    EXPECT_NE(out.str().find("nothing.dat"), std::string::npos);
}

} // namespace
