#pragma once
// The record of a fleet run: a CSV file with one line per attempt (a pager
// connected and read, written or not), appended and flushed to disk before
// the next pager is asked for, so a crash or a pulled cable loses nothing.
// A run that is started again with the same log skips what it has done.
#include <string>
#include <vector>

struct FleetLogEntry {
    std::string time;    // "2026-12-07 14:30:00", local time
    std::string row;     // the roster row, "" when no row was picked
    std::string serial;  // the pager's serial number, "" when none was read
    std::string label;
    std::string values;  // "key=value; ..." as written
    std::string result;  // kWritten, kFailed or kNotWritten
    std::string backup;  // the file that keeps what the pager held
    std::string verify;  // "passed", "failed: ...", "not asked", "" when not written
    std::string detail;  // why it failed or was not written

    static constexpr const char* kWritten = "written";
    static constexpr const char* kFailed = "failed";
    static constexpr const char* kNotWritten = "not written";
    bool Written() const { return result == kWritten; }
};

class FleetLog {
public:
    // Opens a log: an existing one is read (its entries are what earlier runs
    // did), a missing or empty one is started with its header. False, with
    // the reason in Error(), when the file is something else or cannot be
    // written.
    bool Open(const std::string& path);
    // Adds one line and closes the file again; false (and Error()) when the
    // line could not be written.
    bool Append(const FleetLogEntry& entry);

    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    const std::vector<FleetLogEntry>& Entries() const { return m_entries; }

    static std::vector<std::string> Header();
    // The current local time as the log writes it.
    static std::string Now();

private:
    std::string m_path;
    std::string m_error;
    std::vector<FleetLogEntry> m_entries;
};
