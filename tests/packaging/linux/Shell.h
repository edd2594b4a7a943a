#pragma once
// Runs a shell command line and gives back its exit code and output.
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

struct ShellRun {
    int exitCode = -1;
    std::string out;  // standard output (and standard error with 2>&1 in the line)
};

inline ShellRun Shell(const std::string& command) {
    ShellRun r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = ::pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

inline std::string Quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The entries of a "Heading:" section of a help text: the first word of each
// line indented by two blanks, up to the next line at column 0.
inline std::vector<std::string> SectionEntries(const std::string& help, const std::string& heading) {
    std::vector<std::string> entries;
    bool in = false;
    for (const std::string& line : Lines(help)) {
        if (line == heading + ":") {
            in = true;
        } else if (!line.empty() && line[0] != ' ') {
            in = false;
        } else if (in && line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ') {
            entries.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return entries;
}
