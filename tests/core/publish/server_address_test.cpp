#include "core/publish/server_address.h"

#include <gtest/gtest.h>

namespace quenmark {

// A row with a host is an address (`says`: how messages, then known_hosts, name
// it); a row without one is no address (`says`: part of the operator's sentence).
TEST(ServerAddress, EveryFormOfTheField) {
    using enum Transport;
    const struct {
        const char* field;
        Transport transport;
        const char* host;
        int port;
        const char* says;
    } cases[] = {
        {"ftp.example.com", Ftp, "ftp.example.com", 21, ""},
        {" 127.0.0.1 2121 ", Ftp, "127.0.0.1", 2121, "127.0.0.1 port 2121|[127.0.0.1]:2121"},
        {"127.0.0.1:2121", Ftp, "127.0.0.1", 2121, ""},
        {"::1", Ftp, "::1", 21, ""},
        {"ftp://host_1.example/", Ftp, "host_1.example", 21, ""},
        {"FTPES://example.com:2121", FtpExplicit, "example.com", 2121, ""},
        {"ftps://example.com", FtpImplicit, "example.com", 990, ""},
        {"sftp://[::1]", Sftp, "::1", 22, "[::1] port 22|::1"},
        {"sftp://[2001:db8::2]:2222/", Sftp, "2001:db8::2", 2222,
         "[2001:db8::2] port 2222|[2001:db8::2]:2222"},
        {"  ", Ftp, nullptr, 0, "The FTP server is not named."},
        {"gopher://example.com", Ftp, nullptr, 0,
         "begins with ftp://, ftpes://, ftps:// or sftp://"},
        {"ftp://me@example.com", Ftp, nullptr, 0, "belongs in the Username field"},
        {"ftpes://example.com/htdocs", Ftp, nullptr, 0, "belongs in the Directory field"},
        {"example.com 0", Ftp, nullptr, 0,
         "names the port \"0\": a port is a number from 1 to 65535"},
        {"example.com 21 x", Ftp, nullptr, 0, "is not a server address"},
        {"exa$mple.com", Ftp, nullptr, 0, "\"exa$mple.com\" is not a host name"},
        {"sftp://[::1", Ftp, nullptr, 0, "is not a host name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const ParsedAddress parsed = parseServerAddress(c.field);
        if (!c.host) {
            EXPECT_FALSE(parsed.address);
            EXPECT_NE(parsed.problem.find(c.says), std::string::npos) << parsed.problem;
            continue;
        }
        ASSERT_TRUE(parsed.address) << parsed.problem;
        EXPECT_EQ(*parsed.address, (ServerAddress{c.transport, c.host, c.port}));
        if (*c.says) {
            EXPECT_EQ(serverName(*parsed.address) + "|" + knownHostsName(*parsed.address), c.says);
        }
    }
}

} // namespace quenmark
