#pragma once
// A tone picker: every tone of one tone set as a radio button labelled with
// its frequency and code, so a tone can be chosen by its code. One picker
// serves "Corvane", one "GE", one "Plectron" and "Fast Plectron"; "User" has
// none.
#include <span>
#include <string>
#include <vector>

#include "codeplug/ToneSets.h"
#include "ui/CDialogModel.h"

class CToneTableDlg : public ui::CDialogModel {
public:
    enum ToneSet : int { kCorvaneSet = 0, kGeSet = 1, kPlectronSet = 2, kToneSets = 3 };
    // Radio buttons, in dialog order.
    enum : int { IDC_FIRST_TONE = 1400 };

    explicit CToneTableDlg(int toneSet);

    // The set whose picker serves a tone system; -1 for "User" and unknown
    // systems.
    static int SetOf(int toneSystem);
    int GetToneSet() const { return m_set; }

    // The tones in dialog order.
    int Count() const { return static_cast<int>(m_tones.size()); }
    double ToneAt(int index) const;  // 0 for an index outside the list
    std::string Label(int index) const;
    static int RadioId(int index) { return IDC_FIRST_TONE + index; }
    // Position of the entry exactly equal to `hz`, -1 when none is.
    int IndexOf(double hz) const;

    // How the dialog groups its buttons: Corvane in eight titled boxes of ten,
    // the others in one untitled frame.
    struct Group {
        std::string title;
        int first;
        int count;
    };
    std::vector<Group> Groups() const;

    // The checked button when the dialog was last closed with OK; -1 for none.
    int Selected() const { return m_selected; }
    // The button checked when the dialog opens (an index outside the list
    // checks none).
    void Select(int index) { m_selected = index >= 0 && index < Count() ? index : -1; }

    void OnInitDialog() override;
    bool OnOK() override;

private:
    int m_set;
    std::span<const ToneSetEntry> m_tones;
    int m_selected = -1;
};
