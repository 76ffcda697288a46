#pragma once

#include "core/main_folder.h"
#include "core/publish/server_address.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// The main folder's trusted.pem and known_hosts.
struct IdentityFiles {
    std::filesystem::path trustedCertificates;
    std::filesystem::path knownHosts;
};
IdentityFiles identityFilesOf(const std::filesystem::path& mainFolder);

// A server that showed a certificate or host key that is not trusted: what the
// operator needs to decide, and what trusting it records.
struct UnknownServer {
    ServerAddress address;
    std::string fingerprint; // "SHA256:..." for a host key, "AB:CD:..." for a certificate
    bool changed = false;    // known_hosts holds another key for this server
    std::string record;      // the PEM certificate, or the known_hosts line
    std::string reason;      // why the connection failed, in the library's words
};

// The SHA-256 fingerprint of a PEM certificate as "AB:CD:..."; empty when the
// text holds no certificate.
std::string certificateFingerprint(std::string_view pem);
// The fingerprint of every certificate of a PEM file.
std::vector<std::string> certificateFingerprints(std::string_view pemFile);

// An SSH host key given as its wire bytes: OpenSSH's "SHA256:..." fingerprint,
// and the known_hosts line that trusts it for `address`.
std::string hostKeyFingerprint(std::string_view keyBytes);
std::string knownHostsLine(const ServerAddress& address, std::string_view keyBytes);

// What the operator is told about an unknown server: its name and its
// fingerprint (the facts), then how to trust it.
std::string unknownServerFacts(const UnknownServer& server);
std::string unknownServerText(const UnknownServer& server);

// Adds the server's certificate to trusted.pem or its host key to known_hosts,
// whole-file replaced so that a failure leaves the old file. Throws FileError.
void trustServer(const IdentityFiles& files, const UnknownServer& server);

} // namespace quenmark
