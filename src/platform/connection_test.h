#pragma once

#include "core/files/settings_file.h"
#include "platform/server_identity.h"

#include <optional>
#include <string>

namespace quenmark {

// What a test of the FTP account came to, in words for the operator, and the
// server to offer for trust when its certificate or host key is unknown.
struct ConnectionCheck {
    bool ok = false;
    std::string words;
    std::optional<UnknownServer> unknownServer;
};

// Connects with the account of `settings` as they stand (server, user name,
// password, directory): logs in, changes to the directory when one is set,
// and lists it. One attempt, with the upload's limits, inside an FtpLibrary.
ConnectionCheck testConnection(const SiteSettings& settings, const IdentityFiles& identity);

} // namespace quenmark
