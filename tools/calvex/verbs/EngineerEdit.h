#pragma once
// What `calvex set --engineer` and `calvex apply --engineer` add: the engineer
// password and the logon.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "Verb.h"
#include "engineer/EngineerScript.h"

// One line from standard input; without echo when it is a terminal.
inline std::string ReadEngineerPassword() {
    std::string line;
#ifdef _WIN32
    const bool terminal = _isatty(_fileno(stdin)) != 0;
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool quiet = terminal && GetConsoleMode(in, &mode) &&
                       SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
    const bool terminal = isatty(STDIN_FILENO) != 0;
    termios saved{};
    bool quiet = false;
    if (terminal && tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet = tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent) == 0;
    }
#endif
    if (terminal) {
        std::fprintf(stderr, "Engineer password: ");
        std::fflush(stderr);
    }
    if (!std::getline(std::cin, line)) line.clear();
    if (!line.empty() && line.back() == '\r') line.pop_back();
#ifdef _WIN32
    if (quiet) SetConsoleMode(in, mode);
#else
    if (quiet) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
#endif
    if (terminal) std::fprintf(stderr, "\n");
    return line;
}

// The logon. Gives the exit code when the verb stops here (wrong password).
inline std::optional<int> EngineerLogon(const char* verb) {
    if (EngineerScript::Logon(ReadEngineerPassword())) return std::nullopt;
    std::fprintf(stderr, "calvex %s: wrong engineer password: nothing written\n", verb);
    return EXIT_FAILED;
}
