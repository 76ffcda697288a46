#include "platform/ftp_session.h"

#include "core/model/text_file.h"
#include "core/publish/upload_limits.h"

#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <curl/curl.h>

namespace quenmark {

namespace {

// Upload source: a byte buffer handed to libcurl piece by piece.
struct Upload {
    std::string_view rest;
};

std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const std::size_t n = std::min(size * count, upload->rest.size());
    std::memcpy(buffer, upload->rest.data(), n);
    upload->rest.remove_prefix(n);
    return n;
}

// libcurl hands every server answer line to the header callback.
std::size_t collectReply(char* data, std::size_t size, std::size_t count, void* user) {
    auto* replies = static_cast<std::vector<std::string>*>(user);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    if (!line.empty())
        replies->push_back(std::move(line));
    return size * count;
}

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// libcurl's ASCII upload turns every LF into CR LF itself, so lines that
// already end CR LF must reach it ending LF, or CR CR LF goes over the wire.
std::string withLfLineEnds(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            out += bytes[i];
    return out;
}

// A name in an SFTP quote command, in double quotes.
std::string quotedName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

int replyCode(const std::string& line) {
    if (line.size() < 3 || !std::all_of(line.begin(), line.begin() + 3,
                                        [](unsigned char c) { return std::isdigit(c); }))
        return 0;
    return std::stoi(line.substr(0, 3));
}

Failure failureOf(CURLcode code, int reply) {
    if (reply >= 400 && reply < 500)
        return Failure::Passing;
    if (reply >= 500)
        return Failure::Lasting;
    switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_GOT_NOTHING:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return Failure::Unreachable;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSH:
    case CURLE_FTP_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_PORT_FAILED:
        return Failure::Passing;
    default:
        return Failure::Lasting;
    }
}

std::string keyFromBase64(const char* text) {
    return QByteArray::fromBase64(QByteArray(text)).toStdString();
}

// The SSH host key the server showed and what libcurl found for it in known_hosts.
struct HostKeySeen {
    bool seen = false;
    curl_khmatch match = CURLKHMATCH_MISSING;
    std::string key; // wire bytes
};

int checkHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                 void* user) {
    auto* seen = static_cast<HostKeySeen*>(user);
    seen->seen = true;
    seen->match = match;
    seen->key = found->len ? std::string(found->key, found->len) : keyFromBase64(found->key);
    return match == CURLKHMATCH_OK ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
}

// The user's usual key, for an SFTP login without a password.
std::optional<std::filesystem::path> userKey() {
    const char* home = std::getenv("HOME");
    if (home == nullptr)
        return std::nullopt;
    for (const char* name : {"id_ed25519", "id_rsa"}) {
        const std::filesystem::path key = std::filesystem::path(home) / ".ssh" / name;
        if (fileExists(key))
            return key;
    }
    return std::nullopt;
}

} // namespace

struct FtpSession::Handle {
    CURLM* multi = nullptr;
    CURL* curl = nullptr;
    curl_slist* quotes = nullptr;
    std::vector<std::string> replies;
    std::string body;
    char error[CURL_ERROR_SIZE] = {};
    HostKeySeen hostKey;
    // Set when the session cannot even try: what the login then reports.
    std::string setUpProblem;
    ~Handle() {
        if (curl)
            curl_easy_cleanup(curl);
        if (multi)
            curl_multi_cleanup(multi);
        curl_slist_free_all(quotes);
    }
};

namespace {

// The longest libcurl is left waiting for a socket or a timer of its own.
// libcurl 7.88 sometimes answers a passive-mode reply without starting the
// data connection or setting a timer for it, and then only a wait of a whole
// second wakes it: an upload over TLS took four times as long as plain FTP.
constexpr int kLongestWaitMilliseconds = 10;

// One transfer, as curl_easy_perform would do it, but never asleep for long;
// the connections stay in the multi handle's cache for the next transfer.
CURLcode performTransfer(CURLM* multi, CURL* curl) {
    if (curl_multi_add_handle(multi, curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        if (running == 0)
            break;
        long timeout = -1;
        curl_multi_timeout(multi, &timeout);
        const int wait = timeout < 0 || timeout > kLongestWaitMilliseconds
                             ? kLongestWaitMilliseconds
                             : static_cast<int>(timeout);
        curl_multi_poll(multi, nullptr, 0, wait, nullptr);
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == curl)
            result = message->data.result;
    curl_multi_remove_handle(multi, curl);
    return result;
}

} // namespace

namespace {

// TLS: the system's certificate store plus the operator's trusted.pem. Every
// data connection builds its store anew, and the system's bundle file is read
// whole each time (an upload over TLS took twice as long as plain FTP), so
// the system's hashed folder of the same certificates is used where there is
// one: OpenSSL looks a certificate up there only when it needs it.
void addTrustedCertificates(CURL* curl, const std::filesystem::path& trustedPem) {
    const std::optional<std::string> trusted =
        readFileBytes(trustedPem, trustedPem.filename().string());
    char* systemFolder = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CAPATH, &systemFolder);
    std::error_code ec;
    if (systemFolder != nullptr && std::filesystem::is_directory(systemFolder, ec)) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, trusted ? trustedPem.c_str() : nullptr);
        return;
    }
    if (!trusted)
        return;
    char* systemStore = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CAINFO, &systemStore);
    std::string certificates;
    if (systemStore != nullptr)
        certificates = readFileBytes(systemStore).value_or("");
    certificates += "\n" + *trusted;
    curl_blob blob{certificates.data(), certificates.size(), CURL_BLOB_COPY};
    curl_easy_setopt(curl, CURLOPT_CAINFO_BLOB, &blob);
}

} // namespace

FtpSession::FtpSession(ServerAddress address, std::string user, std::string password,
                       IdentityFiles identity, UploadLimits limits)
    : m_handle(std::make_unique<Handle>()), m_address(std::move(address)),
      m_identity(std::move(identity)), m_limits(limits) {
    m_handle->multi = curl_multi_init();
    CURL* curl = m_handle->multi ? curl_easy_init() : nullptr;
    m_handle->curl = curl;
    if (!curl)
        return;
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &m_handle->replies);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &m_handle->body);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_handle->error);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A server that stops answering must not hold the upload for ever.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_limits.connectSeconds));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(m_limits.silenceSeconds));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(m_limits.silenceSeconds));

    if (m_address.transport == Transport::Sftp) {
        curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, m_identity.knownHosts.c_str());
        curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, checkHostKey);
        curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, &m_handle->hostKey);
        if (password.empty()) {
            const auto key = userKey();
            if (!key) {
                m_handle->setUpProblem = "No password is set and no key was found "
                                         "(~/.ssh/id_ed25519 or ~/.ssh/id_rsa).";
                return;
            }
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, CURLSSH_AUTH_PUBLICKEY);
            curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key->c_str());
        } else {
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                             CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD);
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
        }
        return;
    }
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    if (!isEncrypted(m_address.transport))
        return;
    // Never clear text: without TLS the login is not even tried.
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    // Servers that want each data connection to resume the login's TLS session
    // (the default of ProFTPD and vsftpd) refuse libcurl's from the second or
    // third transfer on under TLS 1.3, whose session tickets replace the login's
    // session in libcurl's cache; under TLS 1.2 the login's session is resumed.
    curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                     static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                         static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
    try {
        addTrustedCertificates(curl, m_identity.trustedCertificates);
    } catch (const FileError& error) {
        m_handle->setUpProblem = error.what();
    }
}

FtpSession::~FtpSession() = default;

FtpSession::RemotePath FtpSession::resolve(std::string_view name) const {
    RemotePath path = m_directory;
    if (name.starts_with('/')) {
        path = RemotePath{true, {}};
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string_view::npos)
            end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") {
            if (!path.parts.empty() && path.parts.back() != "..")
                path.parts.pop_back();
            else if (!path.absolute)
                path.parts.emplace_back(part);
        } else if (!part.empty() && part != ".") {
            path.parts.emplace_back(part);
        }
        start = end + 1;
    }
    return path;
}

std::string FtpSession::urlFor(const RemotePath& path, bool directory) const {
    static constexpr const char* kSchemes[] = {"ftp", "ftp", "ftps", "sftp"};
    const bool ipv6 = m_address.host.find(':') != std::string::npos;
    std::string url = std::string(kSchemes[static_cast<int>(m_address.transport)]) + "://" +
                      (ipv6 ? "[" + m_address.host + "]" : m_address.host) + ":" +
                      std::to_string(m_address.port) + "/";
    const bool sftp = m_address.transport == Transport::Sftp;
    // FTP: a path after the first "/" is relative to the login directory, "%2F"
    // makes it absolute. SFTP: paths are absolute, "~/" is the login directory.
    if (path.absolute && !sftp)
        url += "%2F";
    else if (!path.absolute && sftp)
        url += "~";
    const bool separate = path.absolute || sftp;
    for (std::size_t i = 0; i < path.parts.size(); ++i) {
        if (i > 0 || separate)
            url += "/";
        url += percentEncoded(path.parts[i]);
    }
    if (directory && (separate || !path.parts.empty()))
        url += "/";
    return url;
}

// SFTP quote commands name whole paths; FTP ones are relative to the directory
// of the request, which is the current one.
std::string FtpSession::quotePath(std::string_view name) const {
    if (m_address.transport != Transport::Sftp)
        return std::string(name);
    std::string path = m_directory.absolute ? "" : "/~";
    for (const std::string& part : m_directory.parts)
        path += "/" + part;
    return quotedName(path + "/" + std::string(name));
}

FtpReply FtpSession::perform(const std::string& url) {
    CURL* curl = m_handle->curl;
    if (!curl)
        return {false, "The FTP library could not be started.", Failure::Lasting};
    if (!m_handle->setUpProblem.empty())
        return {false, m_handle->setUpProblem, Failure::Lasting};
    m_handle->replies.clear();
    m_handle->body.clear();
    m_handle->error[0] = '\0';
    m_handle->hostKey = HostKeySeen{};
    // No command starts after the upload's deadline, nor runs past it.
    const std::optional<std::chrono::milliseconds> left = m_limits.timeLeft();
    if (left && left->count() == 0)
        return {false, kOutOfTimeText, Failure::OutOfTime};
    if (left)
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(left->count()));
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    const CURLcode code = performTransfer(m_handle->multi, curl);
    if (code == CURLE_OPERATION_TIMEDOUT && m_limits.timeLeft() &&
        m_limits.timeLeft()->count() == 0)
        return {false, kOutOfTimeText, Failure::OutOfTime};
    const std::string last = m_handle->replies.empty() ? "" : m_handle->replies.back();
    if (code == CURLE_OK)
        return {true, last, Failure::None};
    std::string reason = m_handle->error[0] ? m_handle->error : curl_easy_strerror(code);
    const int reply = replyCode(last);
    // The server's own words say most, when it said anything.
    if (reply >= 400)
        reason = last + " (" + reason + ")";
    if (code == CURLE_USE_SSL_FAILED)
        reason = "The server does not offer TLS (" + reason +
                 "); nothing was sent in clear text. Use ftp:// only if the server cannot be "
                 "reached otherwise.";
    m_unknownServer.reset();
    if (code == CURLE_PEER_FAILED_VERIFICATION) {
        findUnknownServer(reason);
        reason = m_unknownServer ? unknownServerText(*m_unknownServer)
                                 : "The identity of " + serverName(m_address) +
                                       " could not be checked: " + reason;
    }
    return {false, reason, failureOf(code, reply)};
}

// After a failed identity check: what the server showed. An SSH host key was
// seen by the key check; a certificate is fetched again without checking it,
// with an anonymous login, so the account's password never goes to a server
// that has not proved who it is.
void FtpSession::findUnknownServer(const std::string& reason) {
    if (m_address.transport == Transport::Sftp) {
        const HostKeySeen& seen = m_handle->hostKey;
        if (!seen.seen || seen.match == CURLKHMATCH_OK)
            return;
        m_unknownServer = UnknownServer{m_address, hostKeyFingerprint(seen.key),
                                        seen.match == CURLKHMATCH_MISMATCH,
                                        knownHostsLine(m_address, seen.key), reason};
        return;
    }
    const std::optional<std::chrono::milliseconds> left = m_limits.timeLeft();
    CURL* probe = left && left->count() == 0 ? nullptr : curl_easy_init();
    if (!probe)
        return;
    if (left)
        curl_easy_setopt(probe, CURLOPT_TIMEOUT_MS, static_cast<long>(left->count()));
    std::vector<std::string> replies;
    curl_easy_setopt(probe, CURLOPT_URL, urlFor({}, true).c_str());
    curl_easy_setopt(probe, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(probe, CURLOPT_HEADERFUNCTION, collectReply);
    curl_easy_setopt(probe, CURLOPT_HEADERDATA, &replies);
    curl_easy_setopt(probe, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(probe, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_limits.connectSeconds));
    curl_easy_setopt(probe, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(m_limits.silenceSeconds));
    curl_easy_setopt(probe, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(probe, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(probe, CURLOPT_CERTINFO, 1L);
    curl_easy_perform(probe);
    curl_certinfo* chain = nullptr;
    std::string pem;
    if (curl_easy_getinfo(probe, CURLINFO_CERTINFO, &chain) == CURLE_OK && chain != nullptr &&
        chain->num_of_certs > 0)
        for (curl_slist* field = chain->certinfo[0]; field != nullptr; field = field->next)
            if (std::strncmp(field->data, "Cert:", 5) == 0)
                pem = field->data + 5;
    curl_easy_cleanup(probe);
    const std::string fingerprint = certificateFingerprint(pem);
    if (fingerprint.empty())
        return;
    // A certificate the operator trusts already fails for another reason (its
    // name, its dates): that reason is the message.
    const std::vector<std::string> trusted = certificateFingerprints(
        readFileBytes(m_identity.trustedCertificates).value_or(std::string()));
    if (std::find(trusted.begin(), trusted.end(), fingerprint) != trusted.end())
        return;
    m_unknownServer = UnknownServer{m_address, fingerprint, false, pem, reason};
}

void FtpSession::setQuotes(const std::vector<std::string>& commands) {
    curl_slist_free_all(m_handle->quotes);
    m_handle->quotes = nullptr;
    for (const std::string& command : commands)
        m_handle->quotes = curl_slist_append(m_handle->quotes, command.c_str());
    curl_easy_setopt(m_handle->curl, CURLOPT_POSTQUOTE, m_handle->quotes);
}

// Commands run in the current directory, after nothing is transferred.
FtpReply FtpSession::runQuotes(const std::vector<std::string>& commands) {
    CURL* curl = m_handle->curl;
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        setQuotes(commands);
    }
    FtpReply reply = perform(urlFor(m_directory, true));
    if (curl)
        setQuotes({});
    return reply;
}

FtpReply FtpSession::logIn() {
    CURL* curl = m_handle->curl;
    if (curl)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    FtpReply reply = perform(urlFor(m_directory, true));
    if (reply.ok) {
        reply.text = isEncrypted(m_address.transport) ? "Logged in." : "Logged in, not encrypted.";
        for (const std::string& line : m_handle->replies)
            if (line.starts_with("230"))
                reply.text = line;
    }
    return reply;
}

FtpReply FtpSession::changeDirectory(std::string_view name) {
    const RemotePath target = resolve(name);
    CURL* curl = m_handle->curl;
    // FTP changes into it; SFTP has no current directory, so it is listed.
    if (curl)
        curl_easy_setopt(curl, CURLOPT_NOBODY, m_address.transport == Transport::Sftp ? 0L : 1L);
    FtpReply reply = perform(urlFor(target, true));
    if (reply.ok) {
        m_directory = target;
        reply.text = "Remote directory now " + directory() + ".";
    }
    return reply;
}

FtpReply FtpSession::list(std::vector<std::string>& names) {
    CURL* curl = m_handle->curl;
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    }
    FtpReply reply = perform(urlFor(m_directory, true));
    if (curl)
        curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
    names.clear();
    if (reply.ok)
        for (std::string& line : splitLines(m_handle->body))
            if (!line.empty() && line != "." && line != "..")
                names.push_back(std::move(line));
    return reply;
}

FtpReply FtpSession::put(std::string_view bytes, std::string_view remoteName, TransferMode mode) {
    CURL* curl = m_handle->curl;
    const bool text = mode == TransferMode::Ascii;
    const std::string converted = text ? withLfLineEnds(bytes) : "";
    Upload upload{text ? std::string_view(converted) : bytes};
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
        curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
        curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT,
                         text && m_address.transport != Transport::Sftp ? 1L : 0L);
    }
    FtpReply reply = perform(urlFor(resolve(remoteName), false));
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    }
    return reply;
}

FtpReply FtpSession::rename(std::string_view from, std::string_view to) {
    if (m_address.transport == Transport::Sftp)
        return runQuotes({"rename " + quotePath(from) + " " + quotePath(to)});
    return runQuotes({"RNFR " + std::string(from), "RNTO " + std::string(to)});
}

// "*" before a quote command: its failure (here: no such file) does not count.
FtpReply FtpSession::deleteAndRename(std::string_view from, std::string_view to) {
    if (m_address.transport == Transport::Sftp)
        return runQuotes(
            {"*rm " + quotePath(to), "rename " + quotePath(from) + " " + quotePath(to)});
    return runQuotes(
        {"*DELE " + std::string(to), "RNFR " + std::string(from), "RNTO " + std::string(to)});
}

FtpReply FtpSession::remove(std::string_view name) {
    if (m_address.transport == Transport::Sftp)
        return runQuotes({"rm " + quotePath(name)});
    return runQuotes({"DELE " + std::string(name)});
}

FtpReply FtpSession::removeIfPresent(std::string_view name) {
    if (m_address.transport == Transport::Sftp)
        return runQuotes({"*rm " + quotePath(name)});
    return runQuotes({"*DELE " + std::string(name)});
}

std::string FtpSession::directory() const {
    std::string text = m_directory.absolute ? "/" : "";
    for (std::size_t i = 0; i < m_directory.parts.size(); ++i)
        text += (i > 0 ? "/" : "") + m_directory.parts[i];
    return text.empty() ? "the login directory" : text;
}

} // namespace quenmark
