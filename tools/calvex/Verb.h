#pragma once
// The verbs of the calvex command line. Each verb lives in its own file
// under verbs/ and registers itself with a static CalvexVerb object.
#include <string>
#include <vector>

// Exit codes shared by every verb.
enum CalvexExit { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

struct CalvexVerbInfo {
    const char* name;
    const char* summary;
    // args[0] is the verb's own name; returns the process exit code.
    int (*run)(const std::vector<std::string>& args);
};

// What `calvex version` and `calvex --version` print.
void PrintCalvexVersion();

class CalvexVerb {
public:
    explicit CalvexVerb(CalvexVerbInfo info);
    static const std::vector<CalvexVerbInfo>& All();
};
