#include "platform/connection_test.h"

#include "platform/ftp_session.h"

#include <vector>

namespace quenmark {

namespace {

std::string protection(Transport transport) {
    switch (transport) {
    case Transport::Ftp:
        return "not encrypted";
    case Transport::Sftp:
        return "encrypted by SSH";
    case Transport::FtpExplicit:
    case Transport::FtpImplicit:
        break;
    }
    return "encrypted by TLS";
}

} // namespace

ConnectionCheck testConnection(const SiteSettings& settings, const IdentityFiles& identity) {
    const ParsedAddress parsed = parseServerAddress(settings.ftpServer);
    if (!parsed.address)
        return {false, parsed.problem, std::nullopt};
    const std::string name = serverName(*parsed.address);
    FtpSession session(*parsed.address, settings.ftpUser, settings.ftpPassword, identity);
    const FtpReply login = session.logIn();
    if (!login.ok)
        return {false, "Login to " + name + " failed: " + login.text, session.unknownServer()};
    std::string words = "Logged in to " + name + " as " + settings.ftpUser + " (" +
                        protection(parsed.address->transport) + ")";
    if (isFlagSet(settings.useDirectory) && !settings.directory.empty()) {
        const FtpReply changed = session.changeDirectory(settings.directory);
        if (!changed.ok)
            return {false,
                    words + ", but the directory " + settings.directory +
                        " could not be opened: " + changed.text,
                    std::nullopt};
    }
    std::vector<std::string> names;
    const FtpReply listed = session.list(names);
    if (!listed.ok)
        return {false,
                words + ", but " + session.directory() + " could not be listed: " + listed.text,
                std::nullopt};
    return {true,
            words + "; " + session.directory() + " holds " + std::to_string(names.size()) +
                (names.size() == 1 ? " name." : " names."),
            std::nullopt};
}

} // namespace quenmark
