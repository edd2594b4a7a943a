#pragma once
// The far end of a real pseudo-terminal, played by the test: it sees every
// byte the port under test sends and answers what the test tells it to.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class PtyPeer {
public:
    PtyPeer() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(m_master);
        ::unlockpt(m_master);
        m_path = ::ptsname(m_master);
        // Held open so the master never sees a hang-up between clients.
        m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
    }
    ~PtyPeer() { HangUp(); }

    const std::string& Path() const { return m_path; }
    // The peer's own descriptor of the terminal (to look at or set its modes).
    int SlaveFd() const { return m_slave; }

    // Bytes received within `timeoutMs` (stops early once `atMost` came).
    std::vector<std::uint8_t> Receive(int timeoutMs, std::size_t atMost = 4096) {
        std::vector<std::uint8_t> got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < atMost) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  until - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) break;
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
            std::uint8_t buf[1024];
            const ssize_t n = ::read(m_master, buf, std::min(sizeof buf, atMost - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }
    void Send(const std::vector<std::uint8_t>& bytes) {
        if (!bytes.empty()) (void)::write(m_master, bytes.data(), bytes.size());
    }
    void HangUp() {
        if (m_slave >= 0) ::close(m_slave);
        if (m_master >= 0) ::close(m_master);
        m_slave = m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

// A 513-byte read answer: 512 bytes and their sum.
inline std::vector<std::uint8_t> BlockWithSum(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out(data);
    unsigned sum = 0;
    for (auto b : data) sum += b;
    out.push_back(static_cast<std::uint8_t>(sum));
    return out;
}

inline long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}
