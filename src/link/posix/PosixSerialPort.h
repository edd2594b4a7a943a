#pragma once
// Serial port through termios. The descriptor is non-blocking and every wait
// goes through poll, so the Windows time-out rules hold to the millisecond
// and a silent or vanished line can never block a caller for good.
#include "link/SerialPort.h"

class PosixSerialPort : public SerialPort {
public:
    ~PosixSerialPort() override;

    bool Open(const std::string& portName) override;
    bool SetTimeouts(const PortTimeouts& timeouts) override;
    bool Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override;
    bool Read(std::uint8_t* data, std::size_t size, std::size_t& received) override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    void Pause(int ms) override;

private:
    bool Fail(PortError error, int err);
    // Waits until the driver has put the written bytes on the line.
    void Drain(long long deadlineMs);

    int m_fd = -1;
    bool m_exclusive = false;  // this port set the terminal's exclusive mode
    PortTimeouts m_timeouts{};
};
