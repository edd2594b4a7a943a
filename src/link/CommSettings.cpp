// The communication settings of CCommPort: the port list, the delay list and
// the settings file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "link/CCommPort.h"
#include "link/SettingsFile.h"

namespace {

struct DelayEntry {
    const char* label;
    int ms;
};
constexpr DelayEntry kDelays[CCommPort::kDelayCount] = {
    {"2 Seconds", 2000}, {"3 Seconds (Default)", 3000}, {"4 Seconds", 4000}, {"5 Seconds", 5000}};

}  // namespace

std::string CCommPort::PortListEntry(int index) {
    if (index < 0 || index >= kPortCount) return {};
    return "COM" + std::to_string(index + 1);
}

const char* CCommPort::DelayListLabel(int index) {
    return index >= 0 && index < kDelayCount ? kDelays[index].label : "";
}

int CCommPort::DelayListValue(int index) {
    return index >= 0 && index < kDelayCount ? kDelays[index].ms : kDefaultDelay;
}

int CCommPort::FindPortIndex(const std::string& name) {
    for (int i = 0; i < kPortCount; ++i) {
        if (PortListEntry(i) == name) return i;
    }
    return 0;
}

void CCommPort::SelectPort(int index) {
    if (index < 0 || index >= kPortCount) index = 0;
    m_portName = PortListEntry(index);
}

void CCommPort::SetDelayIndex(int index) {
    switch (index) {
        case 0:
            m_delay = 2000;
            break;
        case 2:
            m_delay = 4000;
            break;
        case 3:
            m_delay = 5000;
            break;
        default:
            m_delay = 3000;
            break;
    }
}

std::string CCommPort::GetDelayLabel() const {
    m_delayLabel = kDelays[1].label;
    for (const auto& d : kDelays) {
        if (d.ms == m_delay) m_delayLabel = d.label;
    }
    return m_delayLabel;
}

void CCommPort::LoadSettings() {
    m_portName = kDefaultPort;
    m_storedPortName = kDefaultPort;
    m_delay = kDefaultDelay;
    m_storedDelay = kDefaultDelay;
    if (m_settingsPath.empty()) return;
    std::error_code ec;
    // Only a regular file: a fifo or device named like the file must not
    // leave the program waiting at start.
    if (!std::filesystem::is_regular_file(m_settingsPath, ec)) return;
    std::ifstream in(m_settingsPath, std::ios::binary);
    if (!in) return;
    CommSettings s{m_portName, m_delay};
    ReadSettings(in, s);
    m_portName = s.portName;
    m_storedPortName = s.portName;
    m_delay = s.delay;
    m_storedDelay = s.delay;
}

bool CCommPort::SettingsChanged() const {
    const std::string port = PortNameUnstorable(m_portName).empty() ? m_portName : m_storedPortName;
    return port != m_storedPortName || m_delay != m_storedDelay;
}

bool CCommPort::SaveSettings() {
    m_saveError.clear();
    if (m_settingsPath.empty()) {
        m_saveError = "no installation folder is known";
        return false;
    }
    std::error_code ec;
#ifndef _WIN32
    // The per-user folder may not exist before the first save.
    std::filesystem::create_directories(std::filesystem::path(m_settingsPath).parent_path(), ec);
#else
    // lib\ of a program folder that no installer made; never a whole
    // installation folder that is gone.
    std::filesystem::create_directory(std::filesystem::path(m_settingsPath).parent_path(), ec);
#endif
    const std::string port = PortNameUnstorable(m_portName).empty() ? m_portName : m_storedPortName;
    const std::string text = FormatSettings({port, m_delay}, SettingsLineEnd());
    std::FILE* f = std::fopen(m_settingsPath.c_str(), "wb");
    if (!f) {
        m_saveError = std::strerror(errno);
        return false;
    }
    errno = 0;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) {
        m_saveError = errno ? std::strerror(errno) : "it was not written in full";
        return false;
    }
    m_storedPortName = port;
    m_storedDelay = m_delay;
    return true;
}
