#include "platform/ftp_session.h"

#include <algorithm>
#include <cctype>
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

std::size_t discard(char*, std::size_t size, std::size_t count, void*) {
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

} // namespace

struct FtpSession::Handle {
    CURL* curl = nullptr;
    std::vector<std::string> replies;
    char error[CURL_ERROR_SIZE] = {};
    ~Handle() {
        if (curl)
            curl_easy_cleanup(curl);
    }
};

FtpSession::FtpSession(std::string host, int port, std::string user, std::string password)
    : m_handle(std::make_unique<Handle>()), m_host(std::move(host)), m_port(port) {
    CURL* curl = curl_easy_init();
    m_handle->curl = curl;
    if (!curl)
        return;
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &m_handle->replies);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_handle->error);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A server that stops answering must not hold the upload for ever.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
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
    const bool ipv6 = m_host.find(':') != std::string::npos;
    std::string url =
        "ftp://" + (ipv6 ? "[" + m_host + "]" : m_host) + ":" + std::to_string(m_port) + "/";
    if (path.absolute)
        url += "%2F";
    for (std::size_t i = 0; i < path.parts.size(); ++i) {
        if (i > 0 || path.absolute)
            url += "/";
        url += percentEncoded(path.parts[i]);
    }
    if (directory && (path.absolute || !path.parts.empty()))
        url += "/";
    return url;
}

FtpReply FtpSession::perform(const std::string& url) {
    CURL* curl = m_handle->curl;
    if (!curl)
        return {false, "The FTP library could not be started."};
    m_handle->replies.clear();
    m_handle->error[0] = '\0';
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    const CURLcode code = curl_easy_perform(curl);
    const std::string last = m_handle->replies.empty() ? "" : m_handle->replies.back();
    if (code == CURLE_OK)
        return {true, last};
    std::string reason = m_handle->error[0] ? m_handle->error : curl_easy_strerror(code);
    // The server's own words say most, when it said anything.
    if (!last.empty() && (last[0] == '4' || last[0] == '5'))
        reason = last + " (" + reason + ")";
    return {false, reason};
}

FtpReply FtpSession::logIn() {
    CURL* curl = m_handle->curl;
    if (curl)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    FtpReply reply = perform(urlFor(m_directory, true));
    if (reply.ok) {
        for (const std::string& line : m_handle->replies)
            if (line.starts_with("230"))
                reply.text = line;
    }
    return reply;
}

FtpReply FtpSession::changeDirectory(std::string_view name) {
    const RemotePath target = resolve(name);
    CURL* curl = m_handle->curl;
    if (curl)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    FtpReply reply = perform(urlFor(target, true));
    if (reply.ok) {
        m_directory = target;
        reply.text = "Remote directory now " + directory() + ".";
    }
    return reply;
}

FtpReply FtpSession::put(std::string_view bytes, std::string_view remoteName, TransferMode mode) {
    CURL* curl = m_handle->curl;
    const std::string converted = mode == TransferMode::Ascii ? withLfLineEnds(bytes) : "";
    Upload upload{mode == TransferMode::Ascii ? std::string_view(converted) : bytes};
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
        curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
        curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, mode == TransferMode::Ascii ? 1L : 0L);
    }
    FtpReply reply = perform(urlFor(resolve(remoteName), false));
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    }
    return reply;
}

std::string FtpSession::directory() const {
    std::string text = m_directory.absolute ? "/" : "";
    for (std::size_t i = 0; i < m_directory.parts.size(); ++i)
        text += (i > 0 ? "/" : "") + m_directory.parts[i];
    return text.empty() ? "the login directory" : text;
}

} // namespace quenmark
