#pragma once

#include <array>

namespace quenmark {

// How long the FTP client waits, whatever the transport: to connect and log
// in, and for a byte or an answer once connected; every attempt keeps both. A
// transfer that failed for a passing reason is tried again on a new
// connection after each pause, so at most four attempts in all.
struct UploadLimits {
    int connectSeconds = 30;
    int silenceSeconds = 60;
    std::array<int, 3> retryPauseSeconds = {1, 2, 4};

    // The longest a server that accepts the connection and then says nothing
    // holds the upload: every attempt waits out the connect limit, and after
    // the last one the upload ends.
    constexpr int silentServerSeconds() const {
        int seconds = connectSeconds;
        for (int pause : retryPauseSeconds)
            seconds += pause + connectSeconds;
        return seconds;
    }
};

static_assert(UploadLimits{}.silentServerSeconds() <= 180,
              "a silent server ends the upload within three minutes");

} // namespace quenmark
