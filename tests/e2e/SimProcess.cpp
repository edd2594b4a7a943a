#include "e2e/SimProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

pid_t Spawn(std::vector<std::string> argv, const std::string& outPath, const std::string& errPath,
            const std::vector<std::string>& extraEnv, const std::string& inPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const auto& e : extraEnv) env.push_back(e);
    auto args = Pointers(argv);
    auto envp = Pointers(env);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string PagerSimPath() {
    if (const char* env = std::getenv("CALVEX_PAGERSIM"); env && *env) return env;
    return std::string(CALVEX_BINARY_DIR) + "/tools/pagersim/pagersim";
}

SimProcess::SimProcess() {
    char tmpl[] = "/tmp/calvex-sim-XXXXXX";
    if (char* d = ::mkdtemp(tmpl)) m_dir = d;
    m_link = m_dir + "/pager";
}

SimProcess::~SimProcess() {
    Stop();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

bool SimProcess::Start(const std::vector<std::string>& args, std::string* error) {
    std::vector<std::string> argv{PagerSimPath(), "--link", m_link};
    argv.insert(argv.end(), args.begin(), args.end());
    m_pid = Spawn(argv, File("stdout"), File("stderr"), {});
    if (m_pid < 0) {
        if (error) *error = "cannot start " + argv[0];
        return false;
    }
    for (int i = 0; i < 500; ++i) {
        struct stat st {};
        if (::lstat(m_link.c_str(), &st) == 0) return true;
        if (Wait(10) != -1) break;
    }
    if (error) *error = "pagersim did not come up: " + Log();
    return false;
}

int SimProcess::Wait(int timeoutMs) {
    if (m_pid < 0) return m_status;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_pid = -1;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_status;
        }
        if (std::chrono::steady_clock::now() >= until) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int SimProcess::Stop() {
    if (m_pid < 0) return m_status;
    ::kill(m_pid, SIGTERM);
    if (Wait(3000) == -1) {
        ::kill(m_pid, SIGKILL);
        Wait(3000);
    }
    return m_status;
}

std::string SimProcess::Log() const {
    return ReadText(File("stderr"));
}
std::string SimProcess::Banner() const {
    return ReadText(File("stdout"));
}

int RunProgram(const std::vector<std::string>& argv, std::string* out, std::string* err,
               const std::vector<std::string>& extraEnv) {
    return RunProgramWithInput(argv, "", out, err, extraEnv);
}

int RunProgramWithInput(const std::vector<std::string>& argv, const std::string& input,
                        std::string* out, std::string* err,
                        const std::vector<std::string>& extraEnv) {
    char tmpl[] = "/tmp/calvex-run-XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    if (!dir) return -1;
    const std::string o = std::string(dir) + "/out", e = std::string(dir) + "/err";
    const std::string i = std::string(dir) + "/in";
    std::ofstream(i, std::ios::binary) << input;
    const pid_t pid = Spawn(argv, o, e, extraEnv, i);
    int status = 0;
    int rc = -1;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        rc = WEXITSTATUS(status);
    }
    if (out) *out = ReadText(o);
    if (err) *err = ReadText(e);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return rc;
}
