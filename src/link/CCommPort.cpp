#include "link/CCommPort.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <numeric>

#include "link/ProductDir.h"

namespace {

// Each request of n bytes may take 10 n + 1000 ms. The write exchange's
// single-byte read also ends 20 ms after a byte when more were asked for.
constexpr PortTimeouts kReadTimeouts{0, 10, 1000, 10, 1000};
constexpr PortTimeouts kWriteTimeouts{20, 10, 1000, 10, 1000};
// After a full block, a further byte within two character times (8.3 ms
// each at 1200 baud) means the pager sent more than a block.
constexpr PortTimeouts kTrailTimeouts{0, 0, 20, 10, 1000};

LinkFault FaultOf(PortError error) {
    switch (error) {
        case PortError::None:
            return LinkFault::None;
        case PortError::Missing:
            return LinkFault::PortMissing;
        case PortError::PermissionDenied:
            return LinkFault::PermissionDenied;
        case PortError::Busy:
            return LinkFault::PortBusy;
        case PortError::Settings:
            return LinkFault::PortSettings;
        case PortError::Timeouts:
            return LinkFault::Timeouts;
        case PortError::HangUp:
            return LinkFault::HangUp;
        case PortError::Io:
        case PortError::NotOpen:
            return LinkFault::LineError;
    }
    return LinkFault::LineError;
}

std::uint8_t Sum(const std::uint8_t* bytes, std::size_t n) {
    return static_cast<std::uint8_t>(std::accumulate(bytes, bytes + n, 0u));
}

}  // namespace

CCommPort::CCommPort() : CCommPort(DefaultSettingsPath(), true) {}

CCommPort::CCommPort(std::string settingsPath, bool saveOnDestroy, std::unique_ptr<SerialPort> port)
    : m_port(port ? std::move(port) : MakeSystemSerialPort()),
      m_settingsPath(std::move(settingsPath)),
      m_saveOnDestroy(saveOnDestroy) {
    LoadSettings();
}

CCommPort::~CCommPort() {
    m_port->Close();
    if (m_saveOnDestroy) SaveSettings();
}

void CCommPort::NoteOpenFailure() {
    m_last.fault = FaultOf(m_port->LastError());
    m_last.system = m_port->LastSystemError();
}

bool CCommPort::Open() {
    m_last = TransferOutcome{};
    const bool ok = m_port->Open(m_portName);
    m_last.port = m_portName;
    m_last.device = m_port->DeviceName();
    if (!ok) NoteOpenFailure();
    return ok;
}

bool CCommPort::FailExchange(LinkFault fault) {
    m_last.fault = fault;
    if (m_last.system.empty()) m_last.system = m_port->LastSystemError();
    m_port->Close();
    return false;
}

bool CCommPort::ReadImage(Byte* block) {
    m_last.fault = LinkFault::None;
    m_last.received = 0;
    m_last.answer = -1;
    if (!m_port->SetTimeouts(kReadTimeouts)) return FailExchange(LinkFault::Timeouts);

    // The caller's block carries the command, then goes back to zero so a
    // silent line leaves it all zero.
    std::size_t n = 0;
    block[0] = 'r';
    const bool sent = m_port->Write(block, 1, n);
    block[0] = 0;
    if (!sent) return FailExchange(FaultOf(m_port->LastError()));

    std::size_t got = 0;
    if (!m_port->Read(block, kBlockSize, got)) {
        m_last.received = got;
        return FailExchange(FaultOf(m_port->LastError()));
    }
    m_last.received = got;

    const bool allZero = std::all_of(block, block + kImageSize, [](Byte b) { return b == 0; });
    const bool sumOk = Sum(block, kImageSize) == block[kImageSize];
    // The byte count is checked too: a block that lost a byte on the way can
    // still match its sum by chance, and would load shifted data.
    if (got == 0) return FailExchange(LinkFault::NoAnswer);
    if (got != kBlockSize) return FailExchange(LinkFault::WrongLength);
    if (!sumOk) return FailExchange(LinkFault::BadSum);
    if (allZero) return FailExchange(LinkFault::ZeroBlock);

    // More than a block is as wrong as less: the frame was not the pager's.
    Byte extra = 0;
    std::size_t more = 0;
    if (m_port->SetTimeouts(kTrailTimeouts) && m_port->Read(&extra, 1, more) && more > 0) {
        m_last.received = kBlockSize + 1;
        return FailExchange(LinkFault::WrongLength);
    }
    m_port->Close();
    return true;
}

bool CCommPort::WriteImage(Byte* image) {
    m_last.fault = LinkFault::None;
    m_last.received = 0;
    m_last.answer = -1;
    if (!m_port->SetTimeouts(kWriteTimeouts)) return FailExchange(LinkFault::Timeouts);

    // "w", image bytes 0 to 510, their sum. Byte 511 is the pager's own.
    Byte frame[kBlockSize];
    frame[0] = 'w';
    std::memcpy(frame + 1, image, kImageSize - 1);
    frame[kBlockSize - 1] = Sum(frame + 1, kImageSize - 1);
    // So that a missing answer can never read as ACK.
    image[0] = 'w';

    std::size_t sent = 0;
    if (!m_port->Write(frame, kBlockSize, sent)) return FailExchange(FaultOf(m_port->LastError()));
    if (sent != kBlockSize) {
        m_last.system = "only " + std::to_string(sent) + " of 513 bytes went out";
        return FailExchange(LinkFault::LineError);
    }

    SettleWait();

    std::size_t got = 0;
    if (!m_port->Read(image, 1, got)) return FailExchange(FaultOf(m_port->LastError()));
    m_last.received = got;
    m_last.answer = got ? image[0] : -1;
    m_port->Close();
    return true;
}

void CCommPort::SettleWait() {
    // A negative delay from the settings file means no wait, not ~49 days.
    // The wait goes in short steps so that EndWaits cuts it short; the clock
    // keeps the steps from adding up to more than the delay.
    using clock = std::chrono::steady_clock;
    const int delay = std::clamp(m_delay, 0, kMaxDelay);
    const auto end = clock::now() + std::chrono::milliseconds(delay);
    long long left = delay;
    while (left > 0 && !m_endWaits) {
        const int step = static_cast<int>(std::min<long long>(left, 50));
        m_port->Pause(step);
        const long long byClock =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count();
        left = std::min(left - step, byClock);
    }
}
