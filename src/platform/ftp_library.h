#pragma once

namespace quenmark {

// libcurl's global state, started for the life of the object: every FtpSession
// lives inside one.
class FtpLibrary {
public:
    FtpLibrary();
    ~FtpLibrary();
    FtpLibrary(const FtpLibrary&) = delete;
    FtpLibrary& operator=(const FtpLibrary&) = delete;

    bool started() const { return m_started; }

private:
    bool m_started = false;
};

} // namespace quenmark
