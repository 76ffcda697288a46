#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

namespace quenmark {

// How long the FTP client waits, whatever the transport: to connect and log
// in, and for a byte or an answer once connected; every attempt keeps both. A
// transfer that failed for a passing reason is tried again on a new
// connection after each pause, so at most four attempts in all.
struct UploadLimits {
    int connectSeconds = 30;
    int silenceSeconds = 60;
    std::array<int, 3> retryPauseSeconds = {1, 2, 4};
    // When set, the upload as a whole ends by then: no command starts after
    // it, none runs past it, and no pause for another attempt reaches it.
    std::optional<std::chrono::steady_clock::time_point> deadline;

    // What is left before the deadline, never below zero; nullopt without one.
    std::optional<std::chrono::milliseconds> timeLeft() const {
        if (!deadline)
            return std::nullopt;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            *deadline - std::chrono::steady_clock::now());
        return std::max(left, std::chrono::milliseconds(0));
    }

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
