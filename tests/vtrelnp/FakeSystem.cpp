#include "vtrelnp/FakeSystem.h"

#include <cstdlib>
#include <cstring>

namespace vtrelnp::testing {

namespace {

WString Upper(WString s) {
    for (char16_t& c : s) {
        c = UpperAscii(c);
    }
    return s;
}

}  // namespace

FakeSystem::~FakeSystem() {
    for (void* p : allocations) {
        std::free(p);
    }
}

long FakeSystem::DefineDevice(const WString& device, const WString& rawTarget) {
    if (globalHeld) {
        globalHeldAtDeviceChange.push_back(globalHeld());
    }
    deviceLog.push_back("define " + Narrow(device) + " " + Narrow(rawTarget));
    if (defineError != 0) {
        return defineError;
    }
    auto& stack = devices[Upper(device)];
    stack.insert(stack.begin(), rawTarget);
    return 0;
}

long FakeSystem::RemoveDevice(const WString& device, const WString& rawTarget) {
    if (globalHeld) {
        globalHeldAtDeviceChange.push_back(globalHeld());
    }
    deviceLog.push_back("remove " + Narrow(device) + " " + Narrow(rawTarget));
    if (removeError != 0) {
        return removeError;
    }
    auto it = devices.find(Upper(device));
    if (it == devices.end()) {
        return kErrFileNotFound;
    }
    for (auto d = it->second.begin(); d != it->second.end(); ++d) {
        if (*d == rawTarget) {  // exact match only
            it->second.erase(d);
            if (it->second.empty()) {
                devices.erase(it);
            }
            return 0;
        }
    }
    return kErrFileNotFound;
}

long FakeSystem::QueryDevice(const WString& device, WString* currentTarget) {
    auto it = devices.find(Upper(device));
    if (it == devices.end()) {
        return kErrFileNotFound;
    }
    *currentTarget = it->second.front();
    return 0;
}

WString FakeSystem::Target(const WString& device) const {
    auto it = devices.find(Upper(device));
    return it == devices.end() ? WString() : it->second.front();
}

long FakeSystem::ListDevices(std::size_t capacity, std::vector<WString>* names) {
    listCapacities.push_back(capacity);
    // The unrelated names are "Global\ObjectNNNNNNNN": 22 characters each.
    std::size_t chars = 1 + extraDeviceNames * 22;
    for (const auto& [name, stack] : devices) {
        chars += name.size() + 1;
    }
    if (chars > capacity) {
        return kErrInsufficientBuffer;
    }
    for (const auto& [name, stack] : devices) {
        names->push_back(name);
    }
    for (std::size_t i = 0; i < extraDeviceNames; ++i) {
        std::string digits = std::to_string(10000000 + i);
        names->push_back(u"Global\\Object" + Widen(digits));
    }
    return 0;
}

long FakeSystem::ListDirectories(const WString& folder, std::vector<WString>* names) {
    auto it = folders.find(Upper(folder));
    if (it == folders.end()) {
        return 3;  // path not found
    }
    *names = {u".", u".."};
    names->insert(names->end(), it->second.begin(), it->second.end());
    return 0;
}

long FakeSystem::ComputerName(WString* name) {
    if (computerError != 0) {
        return computerError;
    }
    *name = computerName;
    return 0;
}

long FakeSystem::AnsiToWide(const std::string& text, WString* out) {
    if (unconvertible.count(text) != 0) {
        return 1113;  // no mapping for the Unicode character
    }
    *out = Widen(text);
    return 0;
}

System::EventOutcome FakeSystem::ReportErrorEvent(std::uint16_t category, std::uint32_t eventId,
                                                  const WString& text, unsigned long* error) {
    if (eventOutcome != EventOutcome::kReported) {
        *error = 5;
        return eventOutcome;
    }
    events.push_back({category, eventId, Narrow(text)});
    return EventOutcome::kReported;
}

char16_t* FakeSystem::LocalCopy(const WString& text) {
    if (allocFails) {
        return nullptr;
    }
    auto* p = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
    std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    allocations.push_back(p);
    return p;
}

std::string FakeSystem::Events() const {
    std::string all;
    for (const Event& e : events) {
        all += e.text + "\n";
    }
    return all;
}

}  // namespace vtrelnp::testing
