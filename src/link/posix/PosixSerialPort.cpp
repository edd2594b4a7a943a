#include "link/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "link/DeviceNames.h"

namespace {

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

PortError OpenError(int err) {
    switch (err) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return PortError::Missing;
        case EACCES:
        case EPERM:
        case EROFS:
            return PortError::PermissionDenied;
        case EBUSY:
            return PortError::Busy;
        default:
            return PortError::Io;
    }
}

// The descriptor whose terminal this process put in exclusive mode, for the
// signal handler (one port at a time is ever open for a transfer).
std::atomic<int> g_exclusiveFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

extern "C" void ReleaseAndDie(int sig) {
    const int saved = errno;
    const int fd = g_exclusiveFd.exchange(-1);
    if (fd >= 0) (void)::ioctl(fd, TIOCNXCL);
    errno = saved;
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

// True when the terminal is already in exclusive mode (someone else's: a
// fresh descriptor of ours has not set it). Kernels without the query say no.
bool HeldExclusively(int fd) {
#ifdef TIOCGEXCL
    int held = 0;
    return ::ioctl(fd, TIOCGEXCL, &held) == 0 && held != 0;
#else
    (void)fd;
    return false;
#endif
}

}  // namespace

void ReleasePortsOnSignals() {
    for (const int sig : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction sa {};
        sa.sa_handler = ReleaseAndDie;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND;
        ::sigaction(sig, &sa, nullptr);
    }
}

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
    return std::make_unique<PosixSerialPort>();
}

PosixSerialPort::~PosixSerialPort() {
    Close();
}

bool PosixSerialPort::Fail(PortError error, int err) {
    SetError(error, err ? std::strerror(err) : std::string());
    Close();
    return false;
}

bool PosixSerialPort::Open(const std::string& portName) {
    Close();
    SetError(PortError::None);
    m_device = PosixDevicePath(portName);
    if (m_device.empty()) {
        SetError(PortError::Missing, "no device for this port name");
        return false;
    }
    m_fd = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        const int err = errno;
        return Fail(OpenError(err), err);
    }
    // No sharing, as on Windows: a lock that other copies of this program
    // see, and the terminal's exclusive mode that keeps others from opening.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        return Fail(err == EWOULDBLOCK ? PortError::Busy : PortError::Io, err);
    }
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return Fail(PortError::Settings, errno);
    // Only root gets this far into a terminal another program holds
    // exclusively; that program still owns the line, and its mode is not
    // ours to clear.
    if (HeldExclusively(m_fd)) {
        return Fail(PortError::Busy, EBUSY);
    }
    // Known to the signal handler before the mode is set, so that no
    // moment is left in which a signal would leave it behind.
    g_exclusiveFd.store(m_fd);
    if (::ioctl(m_fd, TIOCEXCL) != 0) {
        const int err = errno;
        g_exclusiveFd.store(-1);
        return Fail(PortError::Settings, err);
    }
    m_exclusive = true;

    // 1200 baud, 8N1, binary, no flow control; reads never wait in the
    // driver (VMIN = VTIME = 0), poll does the waiting.
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B1200) != 0 || ::cfsetospeed(&tio, B1200) != 0 ||
        ::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        return Fail(PortError::Settings, errno);
    }
    // DTR and RTS held on. Pseudo-terminals have no modem lines; that is
    // not a reason to refuse them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(m_fd, TIOCMBIS, &lines);
    // A newly opened Windows port starts with empty buffers. A terminal that
    // another process also holds open keeps what arrived before, so discard
    // it here (a late answer from an earlier exchange must not be read as
    // the answer to the next one).
    ::tcflush(m_fd, TCIOFLUSH);
    return true;
}

bool PosixSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    if (m_fd < 0) {
        SetError(PortError::NotOpen);
        return false;
    }
    m_timeouts = timeouts;
    return true;
}

bool PosixSerialPort::Write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (m_fd < 0) {
        SetError(PortError::NotOpen);
        return false;
    }
    const long long deadline =
        NowMs() +
        static_cast<long long>(m_timeouts.writeTotalMultiplier) * static_cast<long long>(size) +
        m_timeouts.writeTotalConstant;
    while (written < size) {
        const long long left = deadline - NowMs();
        if (left <= 0) break;
        pollfd p{m_fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0) {
            if (errno == EINTR) continue;
            SetError(PortError::Io, std::strerror(errno));
            return false;
        }
        if (r == 0) break;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            SetError(PortError::HangUp, "the line was hung up");
            return false;
        }
        const ssize_t n = ::write(m_fd, data + written, size - written);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            SetError(errno == EIO ? PortError::HangUp : PortError::Io, std::strerror(errno));
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    Drain(deadline);
    return true;
}

void PosixSerialPort::Drain(long long deadlineMs) {
    // A Windows write returns once the bytes are on the line; write() here
    // returns once the driver has them. Wait for the output queue to empty
    // (a pseudo-terminal reports it empty at once) so that whatever is timed
    // after a write, the settle delay above all, starts when the pager has
    // the frame.
    bool queuedAny = false;
    for (;;) {
        int queued = 0;
        if (::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) break;
        queuedAny = true;
        const long long left = deadlineMs - NowMs();
        if (left <= 0) return;
        // 10 bits a character at 1200 baud: about 8.3 ms each.
        const long long wait = std::min<long long>(left, std::max(1, queued * 25 / 3));
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    // The last character leaves the transmitter within one character time.
    // tcdrain would wait for it without any limit on an adapter that never
    // reports empty, so ask the line status where the driver has it and
    // otherwise wait that one character time after a queue that was not
    // empty (a pseudo-terminal has no transmitter), never past the deadline.
#ifdef TIOCSERGETLSR
    for (;;) {
        unsigned int lsr = 0;
        if (::ioctl(m_fd, TIOCSERGETLSR, &lsr) != 0) break;  // not a UART driver
        if (lsr & TIOCSER_TEMT) return;
        const long long left = deadlineMs - NowMs();
        if (left <= 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 2)));
    }
#endif
    const long long left = deadlineMs - NowMs();
    if (queuedAny && left > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 9)));
}

bool PosixSerialPort::Read(std::uint8_t* data, std::size_t size, std::size_t& received) {
    received = 0;
    if (m_fd < 0) {
        SetError(PortError::NotOpen);
        return false;
    }
    const auto& t = m_timeouts;
    const bool totalUsed = t.readTotalMultiplier != 0 || t.readTotalConstant != 0;
    const long long deadline =
        NowMs() + static_cast<long long>(t.readTotalMultiplier) * static_cast<long long>(size) +
        t.readTotalConstant;
    while (received < size) {
        long long wait = -1;
        if (totalUsed) {
            wait = deadline - NowMs();
            if (wait <= 0) break;
        }
        if (t.readInterval != 0 && received > 0) {
            wait = wait < 0 ? t.readInterval : std::min<long long>(wait, t.readInterval);
        }
        pollfd p{m_fd, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(wait));
        if (r < 0) {
            if (errno == EINTR) continue;
            SetError(PortError::Io, std::strerror(errno));
            return false;
        }
        if (r == 0) {
            // The interval ran out (a gap after the first byte) or the total.
            break;
        }
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(m_fd, data + received, size - received);
            if (n > 0) {
                received += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (n == 0 && !(p.revents & POLLHUP)) continue;
            SetError(PortError::HangUp, n == 0 ? "the line was hung up" : std::strerror(errno));
            return false;
        }
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            SetError(PortError::HangUp, "the line was hung up");
            return false;
        }
    }
    return true;
}

void PosixSerialPort::Close() {
    if (m_fd < 0) return;
    // The exclusive mode belongs to the terminal, not to this descriptor:
    // clear it only when this port set it, never when an open that found the
    // port held elsewhere (root passes the exclusive mode) gives up.
    if (m_exclusive) {
        (void)::ioctl(m_fd, TIOCNXCL);
        int expected = m_fd;
        g_exclusiveFd.compare_exchange_strong(expected, -1);
    }
    m_exclusive = false;
    ::close(m_fd);
    m_fd = -1;
}

void PosixSerialPort::Pause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
