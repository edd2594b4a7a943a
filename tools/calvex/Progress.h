#pragma once
// A progress line for the transfer verbs, drawn only when stderr is a
// terminal and filled by time as the program's status dialog is.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

class TransferProgress {
public:
    // `fullMs`: the time after which the bar is full (the dialog's 100 ticks).
    TransferProgress(std::string what, int fullMs) : m_what(std::move(what)), m_fullMs(fullMs) {
#ifdef _WIN32
        m_enabled = _isatty(_fileno(stderr)) != 0;
#else
        m_enabled = isatty(fileno(stderr)) != 0;
#endif
    }
    ~TransferProgress() {
        if (m_enabled && m_drawn) std::fprintf(stderr, "\n");
    }

    void Update(int elapsedMs) {
        if (!m_enabled) return;
        constexpr int kWidth = 30;
        const int filled = elapsedMs >= m_fullMs ? kWidth : elapsedMs * kWidth / m_fullMs;
        std::fprintf(stderr, "\r%s [%.*s%*s] %4.1f s", m_what.c_str(), filled,
                     "##############################", kWidth - filled, "", elapsedMs / 1000.0);
        std::fflush(stderr);
        m_drawn = true;
    }

private:
    std::string m_what;
    int m_fullMs;
    bool m_enabled = false;
    bool m_drawn = false;
};
