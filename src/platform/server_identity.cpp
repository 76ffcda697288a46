#include "platform/server_identity.h"

#include "core/model/atomic_file.h"
#include "core/model/text_file.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace quenmark {

namespace {

constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
constexpr std::string_view kEnd = "-----END CERTIFICATE-----";

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The type name an SSH key's wire form starts with ("ssh-ed25519"), after its
// four-byte length.
std::string keyTypeName(std::string_view key) {
    if (key.size() < 4)
        return {};
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i)
        length = length * 256 + static_cast<unsigned char>(key[static_cast<std::size_t>(i)]);
    if (length > key.size() - 4)
        return {};
    return std::string(key.substr(4, length));
}

// Adds a block to a file of the given name, keeping what it holds. These two
// files are read by other tools too (ssh, openssl), so their lines end LF.
void appendBlock(const std::filesystem::path& file, const std::string& block) {
    const std::string shownName = file.filename().string();
    std::string text = readFileBytes(file, shownName).value_or("");
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    replaceFile(file, text + block, Durability::Synced);
}

} // namespace

IdentityFiles identityFilesOf(const std::filesystem::path& mainFolder) {
    return {mainFolder / kTrustedCertificatesFile, mainFolder / kKnownHostsFile};
}

std::string certificateFingerprint(std::string_view pem) {
    const std::size_t begin = pem.find(kBegin);
    const std::size_t end = pem.find(kEnd);
    if (begin == std::string_view::npos || end == std::string_view::npos || end < begin)
        return {};
    const QByteArray body = bytesOf(pem.substr(begin + kBegin.size(), end - begin - kBegin.size()));
    const QByteArray der = QByteArray::fromBase64(body.simplified().replace(' ', ""));
    if (der.isEmpty())
        return {};
    return sha256(der).toHex(':').toUpper().toStdString();
}

std::vector<std::string> certificateFingerprints(std::string_view pemFile) {
    std::vector<std::string> result;
    for (std::size_t at = pemFile.find(kBegin); at != std::string_view::npos;
         at = pemFile.find(kBegin, at + kBegin.size())) {
        std::string fingerprint = certificateFingerprint(pemFile.substr(at));
        if (!fingerprint.empty())
            result.push_back(std::move(fingerprint));
    }
    return result;
}

std::string hostKeyFingerprint(std::string_view keyBytes) {
    const QByteArray base64 =
        sha256(bytesOf(keyBytes))
            .toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals);
    return "SHA256:" + base64.toStdString();
}

std::string knownHostsLine(const ServerAddress& address, std::string_view keyBytes) {
    return knownHostsName(address) + " " + keyTypeName(keyBytes) + " " +
           bytesOf(keyBytes).toBase64().toStdString() + "\n";
}

std::string unknownServerFacts(const UnknownServer& server) {
    const std::string name = serverName(server.address);
    if (server.changed)
        return "The host key of " + name +
               " is not the one known_hosts holds for it: another machine may be answering in "
               "its place. Its SHA-256 fingerprint is now " +
               server.fingerprint + ".";
    const std::string what =
        server.address.transport == Transport::Sftp
            ? "The host key of " + name + " is not in known_hosts"
            : "The certificate of " + name + " is not trusted (" + server.reason + ")";
    return what + ". Its SHA-256 fingerprint is " + server.fingerprint + ".";
}

std::string unknownServerText(const UnknownServer& server) {
    if (server.changed)
        return unknownServerFacts(server) +
               " If the server's key was changed on purpose, remove its line from known_hosts in "
               "the main folder, then run \"quenmark-updater trust\" there.";
    return unknownServerFacts(server) +
           " If that is your server's, trust it: run \"quenmark-updater trust\" in the main "
           "folder, or press Test connection in the Settings window.";
}

void trustServer(const IdentityFiles& files, const UnknownServer& server) {
    if (server.address.transport == Transport::Sftp) {
        appendBlock(files.knownHosts, server.record);
        return;
    }
    std::string block = "# " + serverName(server.address) + ", SHA-256 " + server.fingerprint +
                        "\n" + server.record;
    if (!block.ends_with('\n'))
        block += '\n';
    appendBlock(files.trustedCertificates, block);
}

} // namespace quenmark
