#pragma once
// What became of an exchange or a transfer, in more detail than the result
// message: the desktop program only shows success or failure, the command
// line tells the user why.
#include <cstddef>
#include <string>

enum class LinkFault {
    None,
    PortMissing,       // no such port or device
    PermissionDenied,  // the device exists but may not be opened by this user
    PortBusy,          // another program holds the port
    PortSettings,      // the port refused the line settings
    Timeouts,          // the time-outs could not be set
    LineError,         // a read or write call failed, or the frame did not go out
    HangUp,            // the line went away during the exchange
    NoAnswer,          // nothing came back
    WrongLength,       // the block did not have exactly 513 bytes
    BadSum,            // the block's sum did not match
    ZeroBlock,         // the block held only zeros
    IdentityMismatch,  // the pager has another model number or codeplug version
    Refused,           // the pager answered the write with another byte than ACK
    NoAck,             // the pager did not answer the write
    BackupFailed,      // the pager's contents could not be saved; nothing was written
};

struct TransferOutcome {
    int message = 0;  // the WM_PAGER_* result posted, 0 for a single exchange
    LinkFault fault = LinkFault::None;
    std::string port;    // the port name the user chose ("COM37", a device path)
    std::string device;  // what was opened for it ("/dev/ttyS36")
    std::string system;  // the system's error text, when there was one
    // Bytes received for the block (513 expected; 514 stands for "more").
    std::size_t received = 0;
    int answer = -1;  // the pager's answer to a write, -1 when none came
    // The file that keeps what the pager held before the write ("" when no
    // backup was made); with BackupFailed, the reason is in `system`.
    std::string backup;

    bool Ok() const { return fault == LinkFault::None; }
};

// Said after an engineer-mode write, which skips the identity read and so
// keeps nothing of what the pager held.
inline constexpr char kEngineerWriteNoBackup[] = "engineer write: no backup of the pager was made";

// The port as the user knows it, with the device it opened when that reads
// differently: "COM37 (/dev/ttyS36)"; "the port" when neither is known.
std::string PortAndDevice(const TransferOutcome& outcome);

// One line for the user, e.g. "the pager did not answer".
std::string DescribeFault(const TransferOutcome& outcome);

// The same in a few words, for a status bar: what went wrong without the
// advice and the system's text ("/dev/ttyS2 does not exist").
std::string SummarizeFault(const TransferOutcome& outcome);
