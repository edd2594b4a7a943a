#include "PtyLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr int kRecoverEveryMs = 250;

void MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B1200);
    ::cfsetospeed(&tio, B1200);
    ::tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

PtyLine::~PtyLine() {
    Close();
}

bool PtyLine::Create(const std::string& link, std::string& error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    m_slavePath = name;
    // Without O_NOCTTY: a session leader without a terminal takes this one
    // as its controlling terminal, so no client (wineserver above all) can.
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_CLOEXEC);
    if (m_slave < 0) {
        error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        return false;
    }
    MakeRaw(m_slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    if (!link.empty()) {
        // Replace atomically, so a client never finds the link missing or
        // half made.
        const std::string tmp = link + ".new";
        ::unlink(tmp.c_str());
        if (::symlink(m_slavePath.c_str(), tmp.c_str()) != 0 ||
            ::rename(tmp.c_str(), link.c_str()) != 0) {
            error = "cannot make the link " + link + ": " + std::strerror(errno);
            ::unlink(tmp.c_str());
            return false;
        }
        m_link = link;
    }
    return true;
}

void PtyLine::HangUp() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_slave = m_master = -1;
}

void PtyLine::Close() {
    HangUp();
    if (!m_link.empty()) {
        // Only our own link: another simulator may have taken the name since.
        char target[512];
        const ssize_t n = ::readlink(m_link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == m_slavePath) {
            ::unlink(m_link.c_str());
        }
        m_link.clear();
    }
}

bool PtyLine::RecoverLine() {
#ifdef TIOCGEXCL
    if (m_slave < 0) return false;
    int held = 0;
    if (::ioctl(m_slave, TIOCGEXCL, &held) != 0 || held == 0) return false;
    // Our own descriptor is a separate open of the terminal, so this lock
    // fails while any client has the port open.
    if (::flock(m_slave, LOCK_EX | LOCK_NB) != 0) return false;
    const bool cleared = ::ioctl(m_slave, TIOCNXCL) == 0;
    ::flock(m_slave, LOCK_UN);
    return cleared;
#else
    return false;
#endif
}

bool PtyLine::ReadByte(std::uint8_t& byte, int timeoutMs) {
    if (m_master < 0) return false;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        int wait = timeoutMs;
        if (timeoutMs >= 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
            wait = static_cast<int>(timeoutMs - spent);
            if (wait <= 0) return false;
        }
        // Look after the line now and then while it is quiet.
        const int slice = wait < 0 || wait > kRecoverEveryMs ? kRecoverEveryMs : wait;
        pollfd p{m_master, POLLIN, 0};
        const int r = ::poll(&p, 1, slice);
        if (r < 0) return false;  // a signal: let the caller look at it
        if (r == 0) {
            RecoverLine();
            if (slice == wait) return false;
            continue;
        }
        const ssize_t n = ::read(m_master, &byte, 1);
        if (n == 1) return true;
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        // EIO: no slave is open at all; cannot happen while we hold one,
        // but never spin on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void PtyLine::Send(const std::uint8_t* data, std::size_t size, bool pace) {
    if (m_master < 0) return;
    using clock = std::chrono::steady_clock;
    // 10 bits a character at 1200 baud.
    const auto charTime = std::chrono::microseconds(8333);
    const auto start = clock::now();
    std::size_t done = 0;
    int stalls = 0;  // a client that reads nothing must not hold us for ever
    while (done < size && stalls < 20) {
        std::size_t chunk = size - done;
        if (pace) {
            std::this_thread::sleep_until(start + charTime * static_cast<long>(done + 1));
            chunk = 1;
        }
        const ssize_t n = ::write(m_master, data + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{m_master, POLLOUT, 0};
            if (::poll(&p, 1, 100) == 0) ++stalls;
            continue;
        }
        return;
    }
}

void PtyLine::WaitDelivered(int timeoutMs) {
    // What the master wrote reaches the client's queue a moment later (the
    // kernel pushes it in the background), so the queue must stay empty for
    // a while before it counts as read.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int emptyChecks = 0;
    while (m_slave >= 0 && emptyChecks < 5 && std::chrono::steady_clock::now() < until) {
        int pending = 0;
        if (::ioctl(m_slave, FIONREAD, &pending) != 0) return;
        emptyChecks = pending > 0 ? 0 : emptyChecks + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
