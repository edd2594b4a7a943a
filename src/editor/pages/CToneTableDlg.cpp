#include "editor/pages/CToneTableDlg.h"

#include <cstdio>

#include "codeplug/CodeplugContext.h"
#include "codeplug/NumberText.h"
#include "editor/ToneRules.h"

namespace {

// Corvane groups in dialog order, ten tones each.
const char* const kCorvaneGroups[] = {"Group 1", "Group 2", "Group 3",  "Group 4",
                                      "Group 5", "Group 6", "Group 10", "Group 11"};
constexpr int kCorvaneGroupSize = 10;
// The labels of groups 1 to 6 keep two blanks before the code.
constexpr int kCorvaneWideLabels = 60;

std::span<const ToneSetEntry> TonesOf(int set) {
    switch (set) {
        case CToneTableDlg::kCorvaneSet:
            return CorvaneToneSet();
        case CToneTableDlg::kGeSet:
            return GeToneSet();
        case CToneTableDlg::kPlectronSet:
            return PlectronToneSet();
        default:
            return {};
    }
}

int SystemOf(int set) {
    switch (set) {
        case CToneTableDlg::kCorvaneSet:
            return TONE_CORVANE;
        case CToneTableDlg::kGeSet:
            return TONE_GE;
        case CToneTableDlg::kPlectronSet:
            return TONE_PLECTRON;
        default:
            return -1;
    }
}

}  // namespace

CToneTableDlg::CToneTableDlg(int toneSet)
    : CDialogModel(0, ToneTableCaption(SystemOf(toneSet))),
      m_set(toneSet),
      m_tones(TonesOf(toneSet)) {}

int CToneTableDlg::SetOf(int toneSystem) {
    switch (toneSystem) {
        case TONE_CORVANE:
            return kCorvaneSet;
        case TONE_GE:
            return kGeSet;
        case TONE_PLECTRON:
        case TONE_FAST_PLECTRON:
            return kPlectronSet;
        default:
            return -1;
    }
}

double CToneTableDlg::ToneAt(int index) const {
    return index >= 0 && index < Count() ? m_tones[static_cast<std::size_t>(index)].frequency : 0.0;
}

std::string CToneTableDlg::Label(int index) const {
    if (index < 0 || index >= Count()) return {};
    const ToneSetEntry& e = m_tones[static_cast<std::size_t>(index)];
    const bool wide = m_set == kCorvaneSet && index < kCorvaneWideLabels;
    char code[16];
    std::snprintf(code, sizeof code, "(%03d)", e.code);
    return FormatDouble("%.1f", e.frequency) + (wide ? "  " : " ") + code;
}

int CToneTableDlg::IndexOf(double hz) const {
    for (int i = 0; i < Count(); ++i)
        if (m_tones[static_cast<std::size_t>(i)].frequency == hz) return i;
    return -1;
}

std::vector<CToneTableDlg::Group> CToneTableDlg::Groups() const {
    std::vector<Group> groups;
    if (m_set == kCorvaneSet) {
        int first = 0;
        for (const char* title : kCorvaneGroups) {
            groups.push_back({title, first, kCorvaneGroupSize});
            first += kCorvaneGroupSize;
        }
    } else if (Count() > 0) {
        groups.push_back({"", 0, Count()});
    }
    return groups;
}

void CToneTableDlg::OnInitDialog() {
    for (int i = 0; i < Count(); ++i) {
        SetText(RadioId(i), Label(i));
        SetChecked(RadioId(i), i == m_selected);
    }
}

bool CToneTableDlg::OnOK() {
    m_selected = -1;
    for (int i = 0; i < Count(); ++i) {
        if (Checked(RadioId(i))) {
            m_selected = i;
            break;
        }
    }
    return true;
}
