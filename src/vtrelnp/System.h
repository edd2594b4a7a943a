#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vtrelnp/Text.h"

namespace vtrelnp {

// Win32 error codes the provider produces or reacts to.
inline constexpr long kOk = 0;
inline constexpr long kErrFileNotFound = 2;
inline constexpr long kErrNotSupported = 50;
inline constexpr long kErrUnexpectedNetError = 59;
inline constexpr long kErrBadDevType = 66;
inline constexpr long kErrBadNetName = 67;
inline constexpr long kErrAlreadyAssigned = 85;
inline constexpr long kErrInsufficientBuffer = 122;
inline constexpr long kErrInvalidLevel = 124;
inline constexpr long kErrMoreData = 234;
inline constexpr long kErrNoMoreItems = 259;
inline constexpr long kErrInvalidAddress = 487;  // a null pointer where one is needed
inline constexpr long kErrBadDevice = 1200;      // a local name that is no drive
inline constexpr long kErrNotContainer = 1207;
inline constexpr long kErrNoNetwork = 1222;
inline constexpr long kErrNotConnected = 2250;
inline constexpr long kErrDeviceInUse = 2404;

// The system services the provider's logic needs. The Win32 implementation
// lives in win32/; tests use an in-memory fake.
class System {
public:
    enum class EventOutcome { kReported, kOpenFailed, kReportFailed };

    virtual ~System() = default;

    // DOS devices. Targets are raw object paths ("\Device\dlfs",
    // "\??\M:\t1" for a substitution); removal matches the target exactly.
    virtual std::uint32_t LogicalDrives() = 0;
    virtual long DefineDevice(const WString& device, const WString& rawTarget) = 0;
    virtual long RemoveDevice(const WString& device, const WString& rawTarget) = 0;
    virtual long QueryDevice(const WString& device, WString* currentTarget) = 0;
    // Every DOS device name, fetched into a buffer of `capacity` characters;
    // 122 when the names do not fit.
    virtual long ListDevices(std::size_t capacity, std::vector<WString>* names) = 0;
    // Names of the directories in a folder ("." and ".." included).
    virtual long ListDirectories(const WString& folder, std::vector<WString>* names) = 0;

    virtual long ComputerName(WString* name) = 0;
    // ANSI code page text to UTF-16; a Win32 error when it does not convert.
    virtual long AnsiToWide(const std::string& text, WString* out) = 0;
    virtual std::string WideToAnsi(const WString& text) = 0;

    virtual std::uint32_t ProcessId() = 0;
    virtual std::uint32_t ThreadId() = 0;
    virtual void DebugOutput(const std::string& text) = 0;
    // An error event from source "Vantrel" with the calling user's SID.
    virtual EventOutcome ReportErrorEvent(std::uint16_t category, std::uint32_t eventId,
                                          const WString& text, unsigned long* error) = 0;

    // True when the calling process runs in the system logon session (999).
    virtual bool InSystemLogonSession() = 0;
    // A copy in memory from the local allocator (the router frees it).
    virtual char16_t* LocalCopy(const WString& text) = 0;

    // The library's own lock for its flags and caches.
    virtual void LockState() = 0;
    virtual void UnlockState() = 0;
};

class StateLock {
public:
    explicit StateLock(System& system) : system_(system) { system_.LockState(); }
    ~StateLock() { system_.UnlockState(); }
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;

private:
    System& system_;
};

}  // namespace vtrelnp
