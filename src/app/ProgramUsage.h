#pragma once
// What `CalvexVHXR --help` and `--version` print. The manual page is made
// from this text, so it is the one place the options, the data directory,
// the files and the environment are described.
#include <string>

std::string ProgramUsage();
std::string ProgramVersion();

// The answer to --help or --version anywhere among the arguments (before a
// window is made, so it works without a display); "" for a normal start.
std::string EarlyAnswer(int argc, const char* const* argv);
