#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "vtrelnp/System.h"

namespace vtrelnp::testing {

// The system as the provider sees it, in memory: DOS devices with stacked
// definitions and exact-match removal, folders, computer name, the
// debugger and the event log.
class FakeSystem : public System {
public:
    struct Event {
        std::uint16_t category;
        std::uint32_t id;
        std::string text;
    };

    std::uint32_t LogicalDrives() override { return physicalDrives; }
    long DefineDevice(const WString& device, const WString& rawTarget) override;
    long RemoveDevice(const WString& device, const WString& rawTarget) override;
    long QueryDevice(const WString& device, WString* currentTarget) override;
    long ListDevices(std::size_t capacity, std::vector<WString>* names) override;
    long ListDirectories(const WString& folder, std::vector<WString>* names) override;
    long ComputerName(WString* name) override;
    long AnsiToWide(const std::string& text, WString* out) override;
    std::string WideToAnsi(const WString& text) override { return Narrow(text); }
    std::uint32_t ProcessId() override { return 42; }
    std::uint32_t ThreadId() override { return 7; }
    void DebugOutput(const std::string& text) override { debug.push_back(text); }
    EventOutcome ReportErrorEvent(std::uint16_t category, std::uint32_t eventId,
                                  const WString& text, unsigned long* error) override;
    bool InSystemLogonSession() override { return systemSession; }
    char16_t* LocalCopy(const WString& text) override;
    void LockState() override { stateLock.lock(); }
    void UnlockState() override { stateLock.unlock(); }

    // The current target of a device, or "" when it is not defined.
    WString Target(const WString& device) const;
    std::string Events() const;  // every event text, one per line

    std::map<WString, std::vector<WString>>
        devices;  // upper-case name -> definitions, newest first
    std::map<WString, std::vector<WString>> folders;
    std::uint32_t physicalDrives = 1u << 2;  // C:
    long defineError = 0;
    long removeError = 0;
    WString computerName = u"BUILDHOST";
    long computerError = 0;
    std::set<std::string> unconvertible;  // ANSI texts that do not convert
    bool systemSession = false;
    bool allocFails = false;
    EventOutcome eventOutcome = EventOutcome::kReported;
    std::size_t extraDeviceNames = 0;  // unrelated names that fill the list
    std::vector<std::size_t> listCapacities;
    std::vector<std::string> debug;
    std::vector<Event> events;
    std::vector<std::string> deviceLog;  // "define Q: ..." / "remove Q: ..." in order
    std::function<bool()> globalHeld;    // whether the caller holds the global section
    std::vector<bool> globalHeldAtDeviceChange;
    std::vector<void*> allocations;
    std::recursive_mutex stateLock;

    ~FakeSystem() override;
};

}  // namespace vtrelnp::testing
