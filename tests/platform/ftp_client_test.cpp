#include "platform/ftp_client.h"
#include "tests/support/temp_folder.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace quenmark {

namespace {

const std::string kPassword = "Zebulon-pw-77";

// pyftpdlib on 127.0.0.1 on a free port, serving the folder's "server", for the life of the
// object.
// Debian's own python3 has pyftpdlib; another one earlier on PATH may not.
class LocalFtpServer {
public:
    explicit LocalFtpServer(const TempFolder& folder, bool raw = false) : m_folder(folder) {
        const std::string script = QUENMARK_FTP_SERVER_SCRIPT;
        const std::string command =
            "/usr/bin/python3 '" + script + "' '" + (folder / "server").string() + "' " +
            kPassword + (raw ? " --raw" : "") + " 2>>'" + (folder / "server.log").string() + "'";
        m_pipe = ::popen(command.c_str(), "r");
        if (m_pipe == nullptr || std::fscanf(m_pipe, "%d %d", &m_port, &m_pid) != 2)
            m_port = m_pid = 0;
    }
    ~LocalFtpServer() {
        if (m_pid != 0)
            ::kill(m_pid, SIGTERM);
        if (m_pipe != nullptr)
            ::pclose(m_pipe);
    }
    int port() const { return m_port; }
    std::string log() const { return m_folder.read("server.log"); }

private:
    const TempFolder& m_folder;
    std::FILE* m_pipe = nullptr;
    int m_port = 0;
    int m_pid = 0;
};

class FtpClient : public testing::Test {
protected:
    void SetUp() override { folder.makeFolders({"server/site", "upload"}); }

    int run(int port, const std::string& password, const std::string& commands) {
        folder.write("ftp.dat", "open 127.0.0.1 " + std::to_string(port) + "\r\nranker\r\n" +
                                    password + "\r\nlcd " + (folder / "upload").string() + "\r\n" +
                                    commands);
        std::ostringstream out;
        const int status = runFtpScript(folder / "ftp.dat", out);
        transcript = out.str();
        return status;
    }

    TempFolder folder;
    std::string transcript;
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
    LocalFtpServer server(folder, /*raw=*/true);
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
    } cases[] = {
        {server.port(), "wrong-" + kPassword, "Upload failed: Login to 127.0.0.1 failed: 530"},
        {refusingPort, kPassword, "Upload failed: Login to 127.0.0.1 failed"}};
    for (const auto& c : cases) {
        EXPECT_NE(run(c.port, c.password, "put elite.htm elite.htm\r\nquit\r\n"), 0);
        EXPECT_NE(transcript.find(c.why), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find(c.password), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find("put elite.htm"), std::string::npos) << transcript;
    }
    EXPECT_FALSE(folder.exists("server/elite.htm"));
}

} // namespace

} // namespace quenmark
