#pragma once
// Runs the calvex command line as a user would, capturing both streams.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "TempDir.h"

struct CalvexRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `args` is passed to the shell as written (quote paths yourself).
inline CalvexRun RunCalvex(const TempDir& dir, const std::string& args) {
    const auto out = dir / "stdout";
    const auto err = dir / "stderr";
    const std::string cmd = std::string("'") + CALVEX_EXE + "' " + args + " >'" + out.string() +
                            "' 2>'" + err.string() + "'";
    const int status = std::system(cmd.c_str());
    CalvexRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = TempDir::ReadFile(out);
    r.err = TempDir::ReadFile(err);
    return r;
}
