#include "ui/DataExchange.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "codeplug/NumberText.h"
#include "ui/CDialogModel.h"

namespace ui {

std::string RangeMessage(double lo, double hi) {
    return "Please enter a number between " + FormatDouble("%.15g", lo) + " and " +
           FormatDouble("%.15g", hi) + ".";
}

std::string IntRangeMessage(long long lo, long long hi) {
    return "Please enter an integer between " + std::to_string(lo) + " and " + std::to_string(hi) +
           ".";
}

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Checks the shape by hand so that strtod's extras (inf, nan, hex) never get
// in, then converts with a "." decimal point whatever the locale.
bool NumberShape(const std::string& text, std::string& out, bool allowFraction) {
    std::size_t i = 0, n = text.size();
    while (i < n && Blank(text[i])) ++i;
    std::size_t end = n;
    while (end > i && Blank(text[end - 1])) --end;
    if (i == end) return false;
    std::string s = text.substr(i, end - i);
    std::size_t p = 0;
    if (s[p] == '+' || s[p] == '-') ++p;
    bool digits = false, dot = false;
    for (; p < s.size(); ++p) {
        char c = s[p];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && allowFraction && !dot) {
            dot = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (p < s.size() && allowFraction && (s[p] == 'e' || s[p] == 'E')) {
        ++p;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
        bool expDigits = false;
        while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
            expDigits = true;
            ++p;
        }
        if (!expDigits) return false;
    }
    if (p != s.size()) return false;
    out = s;
    return true;
}

}  // namespace

bool ParseFrameworkDouble(const std::string& text, double& value) {
    std::string s;
    if (!NumberShape(text, s, true)) return false;
    // from_chars ignores the locale and takes no leading "+".
    const char* first = s.data() + (s[0] == '+' ? 1 : 0);
    double v = 0;
    auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseFrameworkInt(const std::string& text, int& value) {
    std::string s;
    if (!NumberShape(text, s, false)) return false;
    errno = 0;
    long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

DataExchange::DataExchange(CDialogModel& dialog, bool saveAndValidate)
    : m_dialog(dialog), m_save(saveAndValidate) {}

bool DataExchange::Skip(int id) {
    if (m_failed) return true;
    m_lastId = id;
    return false;
}

void DataExchange::Text(int id, std::string& value) {
    if (Skip(id)) return;
    if (m_save)
        value = m_dialog.Text(id);
    else
        m_dialog.SetText(id, value);
}

void DataExchange::Number(int id, double& value) {
    if (Skip(id)) return;
    if (!m_save) {
        m_dialog.SetText(id, FormatDouble("%.15g", value));
        return;
    }
    double v = 0;
    if (!ParseFrameworkDouble(m_dialog.Text(id), v)) {
        Fail(id, kEnterNumber);
        return;
    }
    value = v;
}

void DataExchange::Number(int id, int& value) {
    if (Skip(id)) return;
    if (!m_save) {
        m_dialog.SetText(id, std::to_string(value));
        return;
    }
    int v = 0;
    if (!ParseFrameworkInt(m_dialog.Text(id), v)) {
        Fail(id, kEnterInteger);
        return;
    }
    value = v;
}

void DataExchange::ComboText(int id, std::string& value) {
    if (Skip(id)) return;
    if (m_save) {
        value = m_dialog.Text(id);
        return;
    }
    if (m_dialog.SelectString(id, value) < 0) {
        m_dialog.SetSelection(id, -1);
        m_dialog.SetText(id, value);
    }
}

void DataExchange::ComboIndex(int id, int& index) {
    if (Skip(id)) return;
    if (m_save)
        index = m_dialog.Selection(id);
    else
        m_dialog.SetSelection(id, index);
}

void DataExchange::Check(int id, int& value) {
    if (Skip(id)) return;
    if (m_save)
        value = m_dialog.Checked(id) ? 1 : 0;
    else
        m_dialog.SetChecked(id, value != 0);
}

void DataExchange::Slider(int id, int& position) {
    if (Skip(id)) return;
    if (m_save)
        position = m_dialog.Control(id).position;
    else
        m_dialog.SetPosition(id, position);
}

void DataExchange::MinMax(double value, double lo, double hi) {
    if (!m_save || m_failed) return;
    if (!(value >= lo && value <= hi)) Fail(m_lastId, RangeMessage(lo, hi));
}

void DataExchange::MinMax(int value, int lo, int hi) {
    if (!m_save || m_failed) return;
    if (value < lo || value > hi) Fail(m_lastId, IntRangeMessage(lo, hi));
}

void DataExchange::Fail(int id, const std::string& text, const std::string& caption,
                        PromptIcon icon) {
    if (m_failed) return;
    m_failed = true;
    m_failedId = id;
    if (Prompt* p = m_dialog.GetPrompt()) p->Ask(text, caption, icon, PromptButtons::Ok);
    m_dialog.RequestFocus(id);
}

}  // namespace ui
