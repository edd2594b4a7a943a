#pragma once
// The port interface CCommPort talks to. The Win32 backend makes the
// classic communication calls; the POSIX backend gives the same line and the
// same time-out rules with termios and poll.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The five time-out fields of a Windows serial port, in milliseconds. A read
// of n bytes ends after ReadTotalMultiplier * n + ReadTotalConstant, or once
// the gap between two received bytes exceeds ReadInterval (0: not used).
struct PortTimeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

// Why a port call failed, as precisely as the system says.
enum class PortError {
    None,
    Missing,           // no such device
    PermissionDenied,  // the device exists but this user may not open it
    Busy,              // held open by another program
    Settings,          // the device refused the line settings (or is no serial port)
    Timeouts,          // the time-outs could not be set
    Io,                // a read or write call failed
    HangUp,            // the line went away while in use
    NotOpen,           // called without an open port
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the port by its name and sets the line: 1200 baud, 8 data bits,
    // no parity, 1 stop bit, no flow control, DTR and RTS on. On failure the
    // port is left closed.
    virtual bool Open(const std::string& portName) = 0;
    virtual bool SetTimeouts(const PortTimeouts& timeouts) = 0;
    // Sends up to `size` bytes within the write time-out; `written` tells
    // how many went out. Returns false only when the call itself failed.
    virtual bool Write(const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
    // Receives up to `size` bytes within the read time-outs; `received`
    // tells how many came. Returns false only when the call itself failed.
    virtual bool Read(std::uint8_t* data, std::size_t size, std::size_t& received) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Blocks the calling thread for `ms` milliseconds.
    virtual void Pause(int ms) = 0;

    // Details of the last failure.
    PortError LastError() const { return m_error; }
    const std::string& LastSystemError() const { return m_systemError; }
    // The device the last Open went to (a path, or a Windows device name).
    const std::string& DeviceName() const { return m_device; }

protected:
    void SetError(PortError error, std::string systemText = {}) {
        m_error = error;
        m_systemError = std::move(systemText);
    }
    std::string m_device;

private:
    PortError m_error = PortError::None;
    std::string m_systemError;
};

// The backend of this platform.
std::unique_ptr<SerialPort> MakeSystemSerialPort();

// Makes SIGINT and SIGTERM give back the line before the process ends: a
// terminal's exclusive mode outlives the process that set it while anyone
// else (a simulator, a getty) holds the terminal open, and would keep every
// later open out. The handler clears only a mode this process set, then ends
// the process by the signal's default action. Nothing to do on Windows.
void ReleasePortsOnSignals();
