#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace quenmark {

// A server of test_servers.py ("ftp ROOT PASSWORD ...", "proftpd DIR
// PASSWORD", "sshd DIR"), on 127.0.0.1, for the life of the object; ended by
// its process id. port() is 0 when it did not start. Debian's own python3 has
// pyftpdlib; another one earlier on PATH may not.
class TestServer {
public:
    TestServer(const std::string& arguments, const std::string& log) {
        const std::string command =
            "/usr/bin/python3 '" QUENMARK_TEST_SERVERS "' " + arguments + " 2>>'" + log + "'";
        m_pipe = ::popen(command.c_str(), "r");
        if (m_pipe == nullptr || std::fscanf(m_pipe, "%d %d", &m_port, &m_pid) != 2)
            m_port = m_pid = 0;
    }
    ~TestServer() {
        if (m_pid != 0)
            ::kill(static_cast<pid_t>(m_pid), SIGTERM);
        if (m_pipe != nullptr)
            ::pclose(m_pipe);
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;
    int port() const { return m_port; }

private:
    std::FILE* m_pipe = nullptr;
    int m_port = 0, m_pid = 0;
};

} // namespace quenmark
