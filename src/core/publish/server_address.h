#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// How the pages travel to the server.
enum class Transport {
    Ftp,         // plain FTP: password and pages in clear text
    FtpExplicit, // ftpes://: FTP that asks for TLS (AUTH TLS) before the login
    FtpImplicit, // ftps://: FTP inside TLS from the first byte
    Sftp,        // sftp://: SSH
};

// The server the FTP Server field names.
struct ServerAddress {
    Transport transport = Transport::Ftp;
    std::string host; // an IPv6 address without its brackets
    int port = 21;

    bool operator==(const ServerAddress&) const = default;
};

// What the field says: the address, or why it is none (`problem`, a sentence
// for the operator that quotes the field).
struct ParsedAddress {
    std::optional<ServerAddress> address;
    std::string problem;
};

// The forms of the FTP Server field: "host", "host port", "host:port" (plain
// FTP), and "ftp://", "ftpes://", "ftps://", "sftp://" followed by host[:port]
// and at most a closing "/". Blanks around the field do not count. Default
// ports: 21, 21, 990, 22.
ParsedAddress parseServerAddress(std::string_view field);

int defaultPort(Transport transport);
bool isEncrypted(Transport transport);

// "ftp.example.com port 2121", "[::1] port 22": the server as messages name it.
std::string serverName(const ServerAddress& address);

// The name known_hosts keeps the server under: the host on port 22, else
// "[host]:port".
std::string knownHostsName(const ServerAddress& address);

} // namespace quenmark
