#include "PagerSim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <thread>
#include <vector>

namespace {

struct FaultEntry {
    SimFault fault;
    const char* name;
    const char* what;  // for the help text
};
constexpr FaultEntry kFaults[] = {
    {SimFault::None, "none", "behave as a good pager (the default)"},
    {SimFault::Silent, "silent", "never answer anything"},
    {SimFault::Short, "short", "answer a read one byte short (block byte 256 left out)"},
    {SimFault::Long, "long", "answer a read one byte long (block byte 256 sent twice)"},
    {SimFault::BadSum, "bad-sum", "answer a read with a wrong sum"},
    {SimFault::Zeros, "zeros", "answer a read with 512 zeros and a sum of 0"},
    {SimFault::Refuse, "refuse",
     "answer a good write with another byte than ACK (--refuse-byte, default 0x15)"},
    {SimFault::NoAck, "no-ack", "take a good write but never answer it"},
    {SimFault::LateAck, "late-ack", "store a write and answer ACK late (--late-ms after the frame)"},
    {SimFault::HangUp, "hangup", "hang up the line in the middle of a read answer or a write frame"},
    {SimFault::Garbage, "garbage", "answer with noise instead of a block or an ACK"},
    {SimFault::WrongByte, "wrong-byte",
     "answer a write with ACK but store one byte flipped (--wrong-at, default 154)"},
};

constexpr std::size_t kBlock = 512;
constexpr std::size_t kDamagedByte = 256;  // the byte the short and long faults touch

std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
    return static_cast<std::uint8_t>(std::accumulate(p, p + n, 0u));
}

std::string Hex(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFF);
    return buf;
}

}  // namespace

bool ParseFault(const std::string& name, SimFault& fault) {
    for (const auto& f : kFaults) {
        if (name == f.name) {
            fault = f.fault;
            return true;
        }
    }
    return false;
}

const char* FaultName(SimFault fault) {
    for (const auto& f : kFaults) {
        if (f.fault == fault) return f.name;
    }
    return "?";
}

const char* FaultNames() {
    static const std::string names = [] {
        std::string text;
        for (const auto& f : kFaults) {
            if (f.fault == SimFault::None) continue;
            if (!text.empty()) text += ", ";
            text += f.name;
        }
        return text;
    }();
    return names.c_str();
}

std::string FaultHelp() {
    std::string text;
    for (const auto& f : kFaults) {
        char line[256];
        std::snprintf(line, sizeof line, "  %-28s%s\n", f.name, f.what);
        text += line;
    }
    return text;
}

PagerSim::PagerSim(PtyLine& line, Image image, SimOptions options, Log log)
    : PagerSim(line, std::vector<Image>{image}, options, std::move(log)) {}

PagerSim::PagerSim(PtyLine& line, std::vector<Image> fleet, SimOptions options, Log log)
    : m_line(line), m_fleet(std::move(fleet)), m_options(options), m_log(std::move(log)) {
    if (m_fleet.empty()) m_fleet.push_back(Image{});
}

void PagerSim::NextPager() {
    m_pendingReadBack = false;
    if (m_fleet.size() < 2 || m_current >= m_fleet.size()) return;
    ++m_current;
    if (m_current < m_fleet.size()) {
        m_log("pager " + std::to_string(m_current + 1) + " of " + std::to_string(m_fleet.size()) +
              " is in the programmer now");
    } else {
        m_log("every pager of the fleet is done; the programmer is empty");
    }
}

bool PagerSim::ServeOne(int timeoutMs) {
    std::uint8_t command = 0;
    if (!m_line.ReadByte(command, timeoutMs)) return false;
    const bool due = m_exchanges + 1 >= m_options.faultFrom;
    const bool readFault = due && m_options.faultOnRead && m_options.fault != SimFault::None;
    const bool writeFault = due && m_options.faultOnWrite && m_options.fault != SimFault::None;
    if ((command == 'r' || command == 'w') && m_current >= m_fleet.size()) {
        ++m_exchanges;
        m_log("#" + std::to_string(m_exchanges) + ": no pager in the programmer, no answer");
        return true;
    }
    if (command == 'r') {
        ++m_exchanges;
        AnswerRead(readFault);
        return true;
    }
    if (command == 'w') {
        ++m_exchanges;
        TakeWrite(writeFault);
        return true;
    }
    m_log("ignored byte " + Hex(command));
    return false;
}

void PagerSim::Garbage(std::uint8_t* out, std::size_t size) {
    // xorshift: the same noise on every run.
    for (std::size_t i = 0; i < size; ++i) {
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        out[i] = static_cast<std::uint8_t>(m_noise >> 7);
    }
}

void PagerSim::Hang(const char* what) {
    m_line.HangUp();
    m_lineClosed = true;
    m_log(std::string(what) + ": hung up the line");
}

void PagerSim::AnswerRead(bool faulty) {
    const std::string tag = "#" + std::to_string(m_exchanges) + " read";
    const SimFault fault = faulty ? m_options.fault : SimFault::None;
    const Image& image = m_fleet[m_current];
    std::vector<std::uint8_t> frame(image.begin(), image.end());
    frame.push_back(Sum(image.data(), kBlock));

    switch (fault) {
        case SimFault::Silent:
            m_log(tag + ": silent");
            return;
        case SimFault::Short:
            frame.erase(frame.begin() + kDamagedByte);
            break;
        case SimFault::Long:
            frame.insert(frame.begin() + kDamagedByte, frame[kDamagedByte]);
            break;
        case SimFault::BadSum:
            frame.back() = static_cast<std::uint8_t>(frame.back() + 1);
            break;
        case SimFault::Zeros:
            std::fill(frame.begin(), frame.end(), 0);
            break;
        case SimFault::Garbage:
            Garbage(frame.data(), frame.size());
            if (Sum(frame.data(), kBlock) == frame.back()) frame.back() ^= 0x5A;
            break;
        case SimFault::HangUp:
            m_line.Send(frame.data(), frame.size() / 2, m_options.pace);
            Hang(tag.c_str());
            return;
        default:
            break;
    }
    m_line.Send(frame.data(), frame.size(), m_options.pace);
    std::string note = tag + ": sent " + std::to_string(frame.size()) + " bytes, sum " +
                       Hex(frame.back()) + ", firmware " + Hex(image[kBlock - 1]);
    if (fault != SimFault::None) note += " (fault " + std::string(FaultName(fault)) + ")";
    m_log(note);
    if (m_pendingReadBack) NextPager();
}

void PagerSim::TakeWrite(bool faulty) {
    const std::string tag = "#" + std::to_string(m_exchanges) + " write";
    const SimFault fault = faulty ? m_options.fault : SimFault::None;
    std::uint8_t frame[kBlock + 1];
    frame[0] = 'w';
    std::size_t got = 1;
    const std::size_t hangAt = fault == SimFault::HangUp ? 256 : kBlock + 1;
    while (got < kBlock + 1 && got < hangAt) {
        if (!m_line.ReadByte(frame[got], m_options.frameGapMs)) break;
        ++got;
    }
    if (fault == SimFault::HangUp && got == hangAt) return Hang(tag.c_str());
    if (got < kBlock + 1) {
        m_log(tag + ": frame ended after " + std::to_string(got) + " bytes; no answer");
        return;
    }
    if (Sum(frame + 1, kBlock - 1) != frame[kBlock]) {
        const std::uint8_t nak = 0x15;
        m_line.Send(&nak, 1, m_options.pace);
        m_log(tag + ": frame sum wrong (" + Hex(frame[kBlock]) + "), answered " + Hex(nak));
        return;
    }
    switch (fault) {
        case SimFault::Silent:
            m_log(tag + ": frame good, silent");
            return;
        case SimFault::NoAck:
            m_log(tag + ": frame good, not answered (fault no-ack)");
            return;
        case SimFault::Refuse:
            m_line.Send(&m_options.refuseByte, 1, m_options.pace);
            m_log(tag + ": frame good, refused with " + Hex(m_options.refuseByte));
            return;
        case SimFault::Garbage: {
            std::uint8_t noise[3];
            Garbage(noise, sizeof noise);
            if (noise[0] == 0x06) noise[0] = 0x07;
            m_line.Send(noise, sizeof noise, m_options.pace);
            m_log(tag + ": frame good, answered noise");
            return;
        }
        default:
            break;
    }
    // Bytes 0 to 510 as sent; byte 511 (the firmware version) stays.
    Image& image = m_fleet[m_current];
    std::memcpy(image.data(), frame + 1, kBlock - 1);
    if (fault == SimFault::WrongByte && m_options.wrongByteAt < kBlock - 1) {
        image[m_options.wrongByteAt] ^= 0x01;
        m_log(tag + ": stored byte " + std::to_string(m_options.wrongByteAt) +
              " wrong (fault wrong-byte)");
    }
    if (m_stored) m_stored(image, m_current);
    int wait = fault == SimFault::LateAck ? m_options.lateAckMs : m_options.ackDelayMs;
    // In short steps, so that a stop request is not held up.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait);
    while (std::chrono::steady_clock::now() < until && !(m_stop && m_stop())) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(20), until - std::chrono::steady_clock::now()));
    }
    const std::uint8_t ack = 0x06;
    m_line.Send(&ack, 1, m_options.pace);
    m_log(tag + ": stored 511 bytes, answered ACK" +
          (fault == SimFault::LateAck ? " after " + std::to_string(wait) + " ms" : ""));
    // The write is done: the technician takes the pager out (after its
    // read-back, when one is expected) and puts the next one in.
    if (m_options.readBack && m_fleet.size() > 1)
        m_pendingReadBack = true;
    else
        NextPager();
}
