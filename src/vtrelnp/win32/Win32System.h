#pragma once

#include <windows.h>

#include "vtrelnp/System.h"

namespace vtrelnp::win32 {

std::wstring ToWide(const WString& text);
WString FromWide(const wchar_t* text);

// The real system: DOS devices, folders, the event log and the debugger.
class Win32System : public System {
public:
    Win32System();
    ~Win32System() override;

    std::uint32_t LogicalDrives() override;
    long DefineDevice(const WString& device, const WString& rawTarget) override;
    long RemoveDevice(const WString& device, const WString& rawTarget) override;
    long QueryDevice(const WString& device, WString* currentTarget) override;
    long ListDevices(std::size_t capacity, std::vector<WString>* names) override;
    long ListDirectories(const WString& folder, std::vector<WString>* names) override;
    long ComputerName(WString* name) override;
    long AnsiToWide(const std::string& text, WString* out) override;
    std::string WideToAnsi(const WString& text) override;
    std::uint32_t ProcessId() override;
    std::uint32_t ThreadId() override;
    void DebugOutput(const std::string& text) override;
    EventOutcome ReportErrorEvent(std::uint16_t category, std::uint32_t eventId,
                                  const WString& text, unsigned long* error) override;
    bool InSystemLogonSession() override;
    char16_t* LocalCopy(const WString& text) override;
    void LockState() override;
    void UnlockState() override;

private:
    CRITICAL_SECTION lock_;
};

}  // namespace vtrelnp::win32
