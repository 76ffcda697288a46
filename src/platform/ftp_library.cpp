#include "platform/ftp_library.h"

#include <curl/curl.h>

namespace quenmark {

FtpLibrary::FtpLibrary() : m_started(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}

FtpLibrary::~FtpLibrary() {
    if (m_started)
        curl_global_cleanup();
}

} // namespace quenmark
