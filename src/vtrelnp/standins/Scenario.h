#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vtrelnp/korva_outside.h"

// Stand-ins for the product's outside libraries, for tests and
// demonstration. They answer from a scenario file and log every call.
//
// The scenario file (KORVA_STANDIN_SCENARIO, else korva-standin.txt beside
// the stand-in DLLs) holds one statement per line, '#' starts a comment:
//   view <tag> <host> [workspace]   a registered view (or work-space entry)
//   region <name>                   the default region ("default")
//   server down                     every registry-server call fails
//   fail <function> <status> [arg]  the function returns the status; with
//                                   arg only for that view tag or value
// Statuses are numbers or the names RGY_S_NOT_FOUND, RGY_S_SERVER_DOWN,
// RGY_S_NO_MORE_ENTRIES, CMD_S_START_FAILED, KS_S_INIT_FAILED.
//
// The call log (KORVA_STANDIN_LOG, else korva-standin.log beside the DLLs)
// gets one line per call: "function(arguments) = status".
namespace standin {

inline constexpr korva_status_t kStartFailed = 0x00210001L;
inline constexpr korva_status_t kKsInitFailed = 0x00220001L;

struct View {
    std::string tag;
    std::string host;
    bool workspace = false;
    rgy_uuid_t uuid{};
};

struct Failure {
    std::string function;
    korva_status_t status = 0;
    std::string argument;  // empty: every call
};

struct Scenario {
    std::vector<View> views;
    std::string region = "default";
    bool serverDown = false;
    std::vector<Failure> failures;
    std::uint64_t stamp = 0;  // changes whenever the file does

    // The status a call returns by the scenario (0 when none applies).
    korva_status_t FailureFor(const char* function, const std::string& argument = {}) const;
};

// Read afresh on every call, so an edited file takes effect at once.
Scenario Load();

void Log(const std::string& line);
std::string StatusName(korva_status_t status);
rgy_uuid_t UuidOf(const std::string& tag);

}  // namespace standin

extern "C" {
struct rgy_entry {
    std::string tag;
    std::string host;
    rgy_uuid_t uuid;
};
struct rgy_cursor {
    std::size_t next;
};
struct rgy_timestamp {
    std::uint64_t stamp;
};
}

#define STANDIN_EXPORT extern "C"
