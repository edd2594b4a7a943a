#pragma once
// The simulator's end of the serial line: the master side of a
// pseudo-terminal. The simulator keeps its own descriptor of the slave open
// (and owns it as its controlling terminal when it can), so clients may open
// and close the port as often as they like without the master ever seeing a
// hang-up, and no other process can take the terminal as its own.
#include <cstddef>
#include <cstdint>
#include <string>

class PtyLine {
public:
    ~PtyLine();

    // Opens a new pseudo-terminal in raw mode; `link`, when not empty, is
    // made a symbolic link to the slave (an existing link is replaced).
    bool Create(const std::string& link, std::string& error);
    // Hangs up: both ends are closed, so a client sees the line go away.
    void HangUp();
    // Removes the link and closes everything.
    void Close();

    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& LinkPath() const { return m_link; }

    // Waits up to `timeoutMs` (-1: for ever) for one byte. false on time-out,
    // on a signal or when the line is gone.
    bool ReadByte(std::uint8_t& byte, int timeoutMs);
    // Sends bytes; with `pace` one every 8.33 ms, as 1200 baud would.
    void Send(const std::uint8_t* data, std::size_t size, bool pace);
    // Waits up to `timeoutMs` until the client has read everything sent to
    // it; closing the master earlier would throw the rest away.
    void WaitDelivered(int timeoutMs);

    // Clears an exclusive mode on the terminal that no client holds any
    // more (a client killed before it could clear it): every client of this
    // line locks it while it has it open, so a mode without a lock is stale.
    // true when it cleared one.
    bool RecoverLine();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_link;
};
