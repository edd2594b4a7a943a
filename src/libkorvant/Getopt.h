#pragma once

#include <functional>
#include <string>

namespace korvant {

// The state getopt shares with its callers; the DLL binds these to its
// exported optarg, opterr, optind and optopt.
struct GetoptVars {
    char** optarg;
    int* opterr;
    int* optind;
    int* optopt;
    int* position;  // letter within the current word; 1 between words
    // The word the position belongs to: a caller that moves optind or hands
    // in another vector starts at the beginning of the new word. May be null.
    const char** word = nullptr;
};

using GetoptErrorSink = std::function<void(const std::string&)>;

// The classic single-letter option parser. Messages go to the sink when
// opterr is set.
int Getopt(const GetoptVars& vars, int argc, char* const argv[], const char* options,
           const GetoptErrorSink& sink);

}  // namespace korvant
