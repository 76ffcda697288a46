#include "platform/connection_test.h"
#include "platform/ftp_client.h"
#include "platform/ftp_library.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_server.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace quenmark {

namespace {

// What a command prints, read independently of the code under test.
std::string commandOutput(const std::string& command) {
    std::string out(4096, '\0');
    std::FILE* pipe = ::popen(command.c_str(), "r");
    out.resize(pipe ? std::fread(out.data(), 1, out.size(), pipe) : 0);
    return pipe && ::pclose(pipe) == 0 ? out : "";
}

class SecureUpload : public testing::Test {
protected:
    void SetUp() override {
        folder.write("upload/elite.htm", "<p>elite</p>\r\n");
        folder.write("upload/roster.htm", "<p>roster</p>\r\n");
    }

    // The main folder's ftp.dat: the account, then the pages into `directory`.
    int run(const std::string& server, const std::string& user, const std::string& password,
            const std::string& directory) {
        folder.write("ftp.dat",
                     crlf({"open " + server, user, password, "cd " + directory,
                           "lcd " + (folder / "upload").string(), "ascii",
                           "put elite.htm elite.htm", "put roster.htm roster.htm", "quit"}));
        std::ostringstream out;
        const int status = runFtpScript(folder / "ftp.dat", out);
        transcript = out.str();
        return status;
    }

    TempFolder folder;
    std::string transcript;
};

// TLS with a self-signed certificate: refused with its fingerprint (checked
// whole end to end) until it is in trusted.pem, then the pages arrive, by
// explicit and by implicit TLS.
TEST_F(SecureUpload, FtpOverTlsTrustsTheCertificatesOfTrustedPem) {
    for (const char* form : {"ftpes://", "ftps://"}) {
        SCOPED_TRACE(form);
        const bool implicit = form == std::string("ftps://");
        const std::string ftpd = implicit ? "ftps" : "ftpes";
        TestServer server("proftpd '" + (folder / ftpd).string() + "' zebulons" +
                              (implicit ? " --implicit" : ""),
                          (folder / "server.log").string());
        ASSERT_NE(server.port(), 0) << folder.read("server.log");
        const std::string address =
            form + std::string("127.0.0.1:") + std::to_string(server.port());
        std::remove((folder / "trusted.pem").c_str());
        EXPECT_NE(run(address, "quenmark", "zebulons", "/"), 0);
        EXPECT_NE(transcript.find("is not trusted (SSL certificate problem: self-signed "
                                  "certificate). Its SHA-256 fingerprint is "),
                  std::string::npos)
            << transcript;
        EXPECT_FALSE(folder.exists(ftpd + "/root/elite.htm"));

        folder.write("trusted.pem", folder.read(ftpd + "/cert.pem"));
        EXPECT_EQ(run(address, "quenmark", "zebulons", "/"), 0) << transcript;
        EXPECT_EQ(folder.read(ftpd + "/root/elite.htm"), "<p>elite</p>\n");
        EXPECT_EQ(folder.read(ftpd + "/root/roster.htm"), "<p>roster</p>\n");
    }
}

// SFTP with the user's key: an unknown host key is refused with its
// fingerprint; trusted, it is in known_hosts as OpenSSH writes it, the pages
// arrive, and a second upload replaces them (the server will not rename over
// a file: delete, then rename).
TEST_F(SecureUpload, SftpChecksKnownHostsAndLogsInWithTheUsersKey) {
    TestServer server("sshd '" + (folder / "sshd").string() + "'",
                      (folder / "server.log").string());
    ASSERT_NE(server.port(), 0) << folder.read("server.log");
    folder.makeFolders({"home/.ssh", "site"});
    folder.write("home/.ssh/id_ed25519", folder.read("sshd/user"));
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    ::setenv("HOME", (folder / "home").c_str(), 1);
    const std::string address = "sftp://127.0.0.1:" + std::to_string(server.port());
    const std::string user = commandOutput("id -un | tr -d '\\n'");
    const std::string site = (folder / "site").string();

    EXPECT_NE(run(address, user, "", site), 0);
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
    EXPECT_EQ(run(address, user, "", site), 0) << transcript;
    folder.write("upload/elite.htm", "<p>elite again</p>\r\n");
    EXPECT_EQ(run(address, user, "", site), 0) << transcript;
    ::setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(folder.read("site/elite.htm"), "<p>elite again</p>\n");
    EXPECT_EQ(folder.read("site/roster.htm"), "<p>roster</p>\n");
    EXPECT_EQ(folder.count("site"), 2);
    EXPECT_NE(transcript.find("elite.htm was deleted, then"), std::string::npos) << transcript;
}

} // namespace

} // namespace quenmark
