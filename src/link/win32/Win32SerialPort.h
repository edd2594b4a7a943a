#pragma once
// Serial port through the Win32 communication calls: CreateFileA without
// sharing, GetCommState/SetCommState, GetCommTimeouts/SetCommTimeouts,
// synchronous ReadFile/WriteFile, CloseHandle and Sleep.
#include <windows.h>

#include "link/SerialPort.h"

class Win32SerialPort : public SerialPort {
public:
    ~Win32SerialPort() override;

    bool Open(const std::string& portName) override;
    bool SetTimeouts(const PortTimeouts& timeouts) override;
    bool Write(const std::uint8_t* data, std::size_t size, std::size_t& written) override;
    bool Read(std::uint8_t* data, std::size_t size, std::size_t& received) override;
    void Close() override;
    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }
    void Pause(int ms) override;

private:
    bool Fail(PortError error);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    DCB m_dcb{};
};
