#include "core/publish/server_address.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace quenmark {

namespace {

constexpr std::array<std::pair<std::string_view, Transport>, 4> kSchemes = {{
    {"ftp", Transport::Ftp},
    {"ftpes", Transport::FtpExplicit},
    {"ftps", Transport::FtpImplicit},
    {"sftp", Transport::Sftp},
}};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<int> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    int port = 0;
    for (char c : text)
        port = port * 10 + (c - '0');
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool isHostName(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == '_';
    });
}

bool isIpv6(std::string_view host) {
    return std::count(host.begin(), host.end(), ':') >= 2 &&
           std::all_of(host.begin(), host.end(),
                       [](unsigned char c) { return std::isxdigit(c) || c == ':' || c == '.'; });
}

class Parser {
public:
    explicit Parser(std::string_view field) : m_field(trimmed(field)) {}

    ParsedAddress parse() {
        if (m_field.empty())
            return fail("The FTP server is not named.");
        const std::size_t schemeEnd = m_field.find("://");
        if (schemeEnd == std::string_view::npos)
            return parsePlain();
        const std::string scheme = lowerCase(m_field.substr(0, schemeEnd));
        const auto known = std::find_if(kSchemes.begin(), kSchemes.end(),
                                        [&](const auto& entry) { return entry.first == scheme; });
        if (known == kSchemes.end())
            return fail(quoted() + " is not a server address: it begins with ftp://, ftpes://, "
                                   "ftps:// or sftp://, or names the host alone.");
        std::string_view rest = m_field.substr(schemeEnd + 3);
        if (rest.ends_with('/'))
            rest.remove_suffix(1);
        if (rest.find('@') != std::string_view::npos)
            return fail(quoted() + " holds a user name: it belongs in the Username field.");
        if (rest.find('/') != std::string_view::npos)
            return fail(quoted() + " holds a directory: it belongs in the Directory field.");
        return hostAndPort(rest, known->second);
    }

private:
    // Today's forms: "host", "host port", and "host:port".
    ParsedAddress parsePlain() {
        const auto blank = std::find_if(m_field.begin(), m_field.end(), isBlank);
        if (blank == m_field.end())
            return isIpv6(m_field) ? address(std::string(m_field), Transport::Ftp, {})
                                   : hostAndPort(m_field, Transport::Ftp);
        const std::string_view host = m_field.substr(0, blank - m_field.begin());
        const std::string_view port = trimmed(m_field.substr(host.size()));
        if (!isHostName(host) && !isIpv6(host))
            return notAHost(host);
        if (port.find_first_of(" \t") != std::string_view::npos)
            return fail(quoted() + " is not a server address: a host name and a port, or one "
                                   "of the forms ftp://, ftpes://, ftps://, sftp://.");
        return address(std::string(host), Transport::Ftp, port);
    }

    ParsedAddress hostAndPort(std::string_view text, Transport transport) {
        std::string_view host = text;
        std::optional<std::string_view> port;
        if (text.starts_with('[')) {
            const std::size_t close = text.find(']');
            if (close == std::string_view::npos)
                return notAHost(text);
            host = text.substr(1, close - 1);
            const std::string_view after = text.substr(close + 1);
            if (!after.empty()) {
                if (!after.starts_with(':'))
                    return notAHost(text);
                port = after.substr(1);
            }
            if (!isIpv6(host))
                return notAHost(host);
        } else {
            const std::size_t colon = text.find(':');
            if (colon != std::string_view::npos) {
                host = text.substr(0, colon);
                port = text.substr(colon + 1);
            }
            if (!isHostName(host))
                return notAHost(host);
        }
        return address(std::string(host), transport, port);
    }

    ParsedAddress address(std::string host, Transport transport,
                          std::optional<std::string_view> portText) {
        ServerAddress result{transport, std::move(host), defaultPort(transport)};
        if (portText) {
            const std::optional<int> port = portNumber(*portText);
            if (!port)
                return fail(quoted() + " names the port \"" + std::string(*portText) +
                            "\": a port is a number from 1 to 65535.");
            result.port = *port;
        }
        return {std::move(result), {}};
    }

    ParsedAddress notAHost(std::string_view host) {
        return fail(quoted() + " is not a server address: \"" + std::string(host) +
                    "\" is not a host name.");
    }

    std::string quoted() const { return "\"" + std::string(m_field) + "\""; }
    static ParsedAddress fail(std::string problem) { return {std::nullopt, std::move(problem)}; }

    std::string_view m_field;
};

} // namespace

ParsedAddress parseServerAddress(std::string_view field) {
    return Parser(field).parse();
}

int defaultPort(Transport transport) {
    switch (transport) {
    case Transport::FtpImplicit:
        return 990;
    case Transport::Sftp:
        return 22;
    case Transport::Ftp:
    case Transport::FtpExplicit:
        break;
    }
    return 21;
}

bool isEncrypted(Transport transport) {
    return transport != Transport::Ftp;
}

std::string serverName(const ServerAddress& address) {
    const bool ipv6 = address.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + address.host + "]" : address.host) + " port " +
           std::to_string(address.port);
}

std::string knownHostsName(const ServerAddress& address) {
    if (address.port == 22)
        return address.host;
    return "[" + address.host + "]:" + std::to_string(address.port);
}

} // namespace quenmark
