#pragma once
// Runs the real pagersim binary for a test: its link lives in a fresh
// temporary folder, its stdout and stderr are kept in files there.
#include <sys/types.h>

#include <string>
#include <vector>

class SimProcess {
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts pagersim with `args` plus "--link <dir>/pager" and waits until
    // the link exists. False (with the log in `error`) when it does not come.
    bool Start(const std::vector<std::string>& args, std::string* error = nullptr);
    // The port name clients use: the link's path.
    const std::string& Port() const { return m_link; }
    const std::string& Dir() const { return m_dir; }
    std::string File(const std::string& name) const { return m_dir + "/" + name; }

    // Waits up to `timeoutMs` for the process to end; its exit code, or -1.
    int Wait(int timeoutMs);
    // Ends it (SIGTERM, then SIGKILL) and returns the exit code.
    int Stop();
    std::string Log() const;     // what it wrote to stderr
    std::string Banner() const;  // what it wrote to stdout
    pid_t Pid() const { return m_pid; }

private:
    std::string m_dir;
    std::string m_link;
    pid_t m_pid = -1;
    int m_status = -1;
};

// The pagersim binary of this build tree.
std::string PagerSimPath();
// Starts a program with its stdout and stderr going to files (stdin from
// `inPath`), without waiting for it; its process id, or -1.
pid_t Spawn(std::vector<std::string> argv, const std::string& outPath, const std::string& errPath,
            const std::vector<std::string>& extraEnv, const std::string& inPath = "/dev/null");
// Runs a program to its end; returns its exit code and collects stdout and
// stderr.
int RunProgram(const std::vector<std::string>& argv, std::string* out, std::string* err,
               const std::vector<std::string>& extraEnv = {});
// The same with `input` as what is typed on its standard input.
int RunProgramWithInput(const std::vector<std::string>& argv, const std::string& input,
                        std::string* out, std::string* err,
                        const std::vector<std::string>& extraEnv = {});
std::string ReadText(const std::string& path);
