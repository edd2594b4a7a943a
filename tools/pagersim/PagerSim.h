#pragma once
// The pager's side of the programming protocol: "r" is answered with the
// 512-byte block and its sum; "w" is followed by bytes 0 to 510 and their
// sum, which the pager stores (keeping its own byte 511) and answers with
// ACK. Fault modes make it misbehave in one chosen way.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PtyLine.h"
#include "codeplug/CCodeplug.h"

enum class SimFault {
    None,
    Silent,     // never answers anything
    Short,      // read answer one byte short (block byte 256 left out)
    Long,       // read answer one byte long (block byte 256 sent twice)
    BadSum,     // read answer with a wrong sum
    Zeros,      // read answer of 512 zeros and a sum of 0
    Refuse,     // answers a write with another byte than ACK
    NoAck,      // never answers a write
    LateAck,    // answers a write with ACK, but late
    HangUp,     // hangs up in the middle of a frame
    Garbage,    // answers with noise
    WrongByte,  // takes a write with ACK but stores one byte wrong
};

// Parses a fault name ("silent", "bad-sum", ...); false when unknown.
bool ParseFault(const std::string& name, SimFault& fault);
const char* FaultName(SimFault fault);
// The names, for help texts.
const char* FaultNames();
// One line per fault: its name and what it does.
std::string FaultHelp();

struct SimOptions {
    SimFault fault = SimFault::None;
    bool faultOnRead = true;   // whether the fault applies to "r" ...
    bool faultOnWrite = true;  // ... and to "w"
    int faultFrom = 1;         // the first exchange (counted from 1) it applies to
    bool pace = false;         // 1200-baud timing of what the pager sends
    int ackDelayMs = 0;        // time the pager takes to store a block
    int lateAckMs = 6500;      // when a late ACK comes, after the frame
    std::uint8_t refuseByte = 0x15;
    int frameGapMs = 1000;            // longest pause inside a write frame
    std::size_t wrongByteAt = 0x09A;  // the byte the wrong-byte fault spoils
    // With a fleet: the pager just written also answers the next read (a
    // verify's read-back) before the next pager takes its place.
    bool readBack = false;
};

class PagerSim {
public:
    using Log = std::function<void(const std::string&)>;
    // What a pager (its place in the fleet, from 0) stored, after each
    // accepted write.
    using Stored = std::function<void(const Image&, std::size_t pager)>;

    PagerSim(PtyLine& line, Image image, SimOptions options, Log log);
    // A fleet: the first pager is in the programmer; after each completed
    // write the next one takes its place, and after the last nothing answers
    // (an empty programmer).
    PagerSim(PtyLine& line, std::vector<Image> fleet, SimOptions options, Log log);

    // Waits up to `timeoutMs` for a command and serves it. Returns true when
    // an exchange ("r" or "w") was served, false on time-out or noise.
    bool ServeOne(int timeoutMs);
    void OnStored(Stored stored) { m_stored = std::move(stored); }
    // Asked during long waits; true ends them early.
    void StopWhen(std::function<bool()> stop) { m_stop = std::move(stop); }
    // Hang-ups leave the line closed; the owner then makes a new one.
    bool LineClosed() const { return m_lineClosed; }
    void LineReopened() { m_lineClosed = false; }

    // What the pager in the programmer holds (the last one once all are done).
    const Image& Held() const { return m_fleet[std::min(m_current, m_fleet.size() - 1)]; }
    const std::vector<Image>& Fleet() const { return m_fleet; }
    // The place of the pager in the programmer; Fleet().size() when empty.
    std::size_t Current() const { return m_current; }
    int Exchanges() const { return m_exchanges; }

private:
    void AnswerRead(bool faulty);
    void TakeWrite(bool faulty);
    void Garbage(std::uint8_t* out, std::size_t size);
    void Hang(const char* what);
    void NextPager();

    PtyLine& m_line;
    std::vector<Image> m_fleet;
    std::size_t m_current = 0;
    bool m_pendingReadBack = false;
    SimOptions m_options;
    Log m_log;
    Stored m_stored;
    std::function<bool()> m_stop;
    int m_exchanges = 0;
    bool m_lineClosed = false;
    std::uint32_t m_noise = 0x2545F491u;
};
