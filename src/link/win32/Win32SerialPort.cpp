#include "link/win32/Win32SerialPort.h"

#include <cstdio>

#include "link/DeviceNames.h"

namespace {

std::string SystemText(DWORD code) {
    char buf[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buf, sizeof buf, nullptr);
    std::string text(buf, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) {
        text.pop_back();
    }
    if (text.empty()) {
        std::snprintf(buf, sizeof buf, "system error %lu", static_cast<unsigned long>(code));
        text = buf;
    }
    return text;
}

PortError OpenError(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return PortError::Missing;
        // A COM port that another program holds answers "access denied".
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return PortError::Busy;
        default:
            return PortError::Io;
    }
}

}  // namespace

void ReleasePortsOnSignals() {}

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
    return std::make_unique<Win32SerialPort>();
}

Win32SerialPort::~Win32SerialPort() {
    Close();
}

bool Win32SerialPort::Fail(PortError error) {
    SetError(error, SystemText(GetLastError()));
    Close();
    return false;
}

bool Win32SerialPort::Open(const std::string& portName) {
    Close();
    SetError(PortError::None);
    m_device = Win32DeviceName(portName);
    m_handle = CreateFileA(m_device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        SetError(OpenError(code), SystemText(code));
        return false;
    }
    m_dcb.DCBlength = 28;
    if (!GetCommState(m_handle, &m_dcb)) return Fail(PortError::Settings);
    m_dcb.BaudRate = 1200;
    m_dcb.fBinary = 1;
    m_dcb.fParity = 1;
    m_dcb.fOutxCtsFlow = 0;
    m_dcb.fOutxDsrFlow = 0;
    m_dcb.fDtrControl = DTR_CONTROL_ENABLE;
    m_dcb.fDsrSensitivity = 0;
    m_dcb.fTXContinueOnXoff = 1;
    m_dcb.fOutX = 0;
    m_dcb.fInX = 0;
    m_dcb.fErrorChar = 0;
    m_dcb.fNull = 0;
    m_dcb.fRtsControl = RTS_CONTROL_ENABLE;
    m_dcb.fAbortOnError = 0;
    m_dcb.ByteSize = 8;
    m_dcb.Parity = NOPARITY;
    m_dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(m_handle, &m_dcb)) return Fail(PortError::Settings);
    return true;
}

bool Win32SerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    if (!IsOpen()) {
        SetError(PortError::NotOpen);
        return false;
    }
    COMMTIMEOUTS t{};
    if (!GetCommTimeouts(m_handle, &t)) {
        SetError(PortError::Timeouts, SystemText(GetLastError()));
        return false;
    }
    t.ReadIntervalTimeout = timeouts.readInterval;
    t.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    t.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    t.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    t.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    if (!SetCommTimeouts(m_handle, &t)) {
        SetError(PortError::Timeouts, SystemText(GetLastError()));
        return false;
    }
    return true;
}

bool Win32SerialPort::Write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (!IsOpen()) {
        SetError(PortError::NotOpen);
        return false;
    }
    DWORD n = 0;
    if (!WriteFile(m_handle, data, static_cast<DWORD>(size), &n, nullptr)) {
        SetError(PortError::Io, SystemText(GetLastError()));
        return false;
    }
    written = n;
    return true;
}

bool Win32SerialPort::Read(std::uint8_t* data, std::size_t size, std::size_t& received) {
    received = 0;
    if (!IsOpen()) {
        SetError(PortError::NotOpen);
        return false;
    }
    DWORD n = 0;
    if (!ReadFile(m_handle, data, static_cast<DWORD>(size), &n, nullptr)) {
        SetError(PortError::Io, SystemText(GetLastError()));
        return false;
    }
    received = n;
    return true;
}

void Win32SerialPort::Close() {
    if (m_handle == INVALID_HANDLE_VALUE) return;
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

void Win32SerialPort::Pause(int ms) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
}
