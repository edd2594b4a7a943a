#pragma once
// Test helper: LC_NUMERIC switched to a locale with a decimal comma while in
// scope, as a desktop program taking its locale from the environment runs.
#include <clocale>
#include <string>

class CommaLocale {
public:
    CommaLocale() : m_saved(std::setlocale(LC_NUMERIC, nullptr)) {
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "German", "de-DE"}) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
                m_active = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, m_saved.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }
    bool Active() const { return m_active; }

private:
    std::string m_saved;
    bool m_active = false;
};
