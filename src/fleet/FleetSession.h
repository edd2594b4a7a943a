#pragma once
// Programming a fleet of pagers from one template and a roster: the one model
// behind `calvex fleet` and the program's Program Fleet window.
//
// Load checks the roster against the template before any pager is touched.
// OpenLog reads what earlier runs did. Each ProgramNext then takes the pager
// in the programmer: reads it, picks its row (by serial number, or the next
// row not yet done when the roster has no serial column), writes the
// template with that row's values (the write backs up what the pager held),
// reads it back when asked, and records the attempt in the log.
#include <functional>
#include <string>
#include <vector>

#include "codeplug/CCodeplug.h"
#include "fleet/FleetLink.h"
#include "fleet/FleetLog.h"
#include "fleet/Roster.h"

enum class FleetRowState { Waiting, Written, Verified, Failed, Skipped };

struct FleetRow {
    RosterRow roster;
    FleetRowState state = FleetRowState::Waiting;
    std::string note;    // Failed: why; Skipped: when it was done
    std::string serial;  // the pager it went to
    // "waiting", "written", "verified", "failed: why", "skipped: done ..."
    std::string StateText() const;
    bool Done() const;
};

struct FleetAttempt {
    enum class Outcome {
        Written,     // written (and verified when asked)
        Failed,      // the write or its verify failed; the row stays to do
        NotWritten,  // the pager was read but is not for this roster now
        NoPager,     // no pager could be read
        AllDone,     // nothing left to do: no pager was read
    } outcome = Outcome::NoPager;
    int row = -1;  // index into Rows(), -1 when none was picked
    std::string serial;
    std::string message;  // one line for the technician
    std::string backup;
    // Verify: the fields that differ (written -> read back).
    std::vector<std::string> differences;
    bool logFailed = false;  // the attempt could not be recorded (see LogError)
};

class FleetSession {
public:
    // What the run is doing, for a display: the row index (-1 before a row is
    // picked) and a short text. Called on the thread that runs ProgramNext.
    using Progress = std::function<void(int row, const std::string& what)>;

    // Reads the roster and checks it against the template. False when it
    // is refused; Problems() then lists every reason.
    bool Load(const CCodeplug& templ, const std::string& rosterPath);
    // The same with the roster's text.
    bool LoadText(const CCodeplug& templ, std::string_view rosterText);
    const std::vector<std::string>& Problems() const { return m_problems; }
    const std::vector<std::string>& Notes() const { return m_notes; }
    const Roster& GetRoster() const { return m_roster; }

    // Opens the log (started when missing); rows it records as done are
    // skipped. False, with the reason, when the log cannot be kept.
    bool OpenLog(const std::string& path, std::string& error);
    const std::string& LogPath() const { return m_log.Path(); }
    const std::string& LogError() const { return m_log.Error(); }
    // "crew.csv" -> "crew-log.csv", beside it.
    static std::string DefaultLogPath(const std::string& rosterPath);

    const std::vector<FleetRow>& Rows() const { return m_rows; }
    int RowsDone() const;
    bool AllDone() const { return RowsDone() == static_cast<int>(m_rows.size()); }

    // Programs the pager in the programmer (see above). Not to be called
    // before Load and OpenLog succeeded.
    FleetAttempt ProgramNext(FleetLink& link, bool verify, const Progress& progress = {});

private:
    bool Check(const CCodeplug& templ);
    // The row for a pager, or -1 with the reason in `why`.
    int PickRow(const std::string& serial, std::string& why) const;
    const FleetLogEntry* WrittenEntry(const std::string& serial) const;
    bool DoneInLog(const FleetRow& row, std::string* when) const;
    FleetAttempt Record(FleetAttempt attempt, FleetLogEntry entry);

    CCodeplug m_template;
    Roster m_roster;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_notes;
    std::vector<CCodeplug> m_codeplugs;
    std::vector<FleetRow> m_rows;
    FleetLog m_log;
};
