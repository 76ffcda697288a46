#include "core/publish/server_address.h"

#include <gtest/gtest.h>

namespace quenmark {

TEST(ServerAddress, EveryFormOfTheField) {
    using enum Transport;
    const struct {
        const char* field;
        Transport transport;
        const char* host;
        int port;
    } cases[] = {
        {"ftp.example.com", Ftp, "ftp.example.com", 21},
        {" 127.0.0.1 2121 ", Ftp, "127.0.0.1", 2121},
        {"127.0.0.1:2121", Ftp, "127.0.0.1", 2121},
        {"::1", Ftp, "::1", 21},
        {"ftp://host_1.example/", Ftp, "host_1.example", 21},
        {"FTPES://example.com:2121", FtpExplicit, "example.com", 2121},
        {"ftps://example.com", FtpImplicit, "example.com", 990},
        {"sftp://[::1]", Sftp, "::1", 22},
        {"sftp://[2001:db8::2]:2222/", Sftp, "2001:db8::2", 2222},
    };
    for (const auto& c : cases) {
        const ParsedAddress parsed = parseServerAddress(c.field);
        ASSERT_TRUE(parsed.address) << c.field << ": " << parsed.problem;
        EXPECT_EQ(*parsed.address, (ServerAddress{c.transport, c.host, c.port})) << c.field;
    }
}

TEST(ServerAddress, WhatIsNoAddressIsSaid) {
    const struct {
        const char* field;
        const char* problem;
    } cases[] = {
        {"  ", "The FTP server is not named."},
        {"gopher://example.com", "begins with ftp://, ftpes://, ftps:// or sftp://"},
        {"ftp://me@example.com", "belongs in the Username field"},
        {"ftpes://example.com/htdocs", "belongs in the Directory field"},
        {"example.com 0", "names the port \"0\": a port is a number from 1 to 65535"},
        {"example.com 21 x", "is not a server address"},
        {"exa$mple.com", "\"exa$mple.com\" is not a host name"},
        {"sftp://[::1", "is not a host name"},
    };
    for (const auto& c : cases) {
        const ParsedAddress parsed = parseServerAddress(c.field);
        EXPECT_FALSE(parsed.address) << c.field;
        EXPECT_NE(parsed.problem.find(c.problem), std::string::npos)
            << c.field << ": " << parsed.problem;
    }
}

TEST(ServerAddress, NamesInMessagesAndInKnownHosts) {
    EXPECT_EQ(serverName({Transport::Sftp, "::1", 2222}), "[::1] port 2222");
    EXPECT_EQ(knownHostsName({Transport::Sftp, "example.com", 22}), "example.com");
    EXPECT_EQ(knownHostsName({Transport::Sftp, "127.0.0.1", 2222}), "[127.0.0.1]:2222");
    EXPECT_FALSE(isEncrypted(Transport::Ftp));
    EXPECT_TRUE(isEncrypted(Transport::FtpExplicit));
}

} // namespace quenmark
