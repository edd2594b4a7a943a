#pragma once
// The "User Data" sheet: five page objects that live as long as their owner,
// filled from the codeplug when the sheet opens and written back only when
// it is confirmed.
#include <functional>

#include "editor/pages/CChannel1.h"
#include "editor/pages/CChannel2.h"
#include "editor/pages/CFunctionSwitch.h"
#include "editor/pages/CGeneral.h"
#include "editor/pages/CModelOption.h"
#include "ui/CPropertySheet.h"

class CCodeplug;

class CUserData : public ui::CPropertySheet {
public:
    // Shows the sheet with its pages (modally, on the first page) and gives
    // IDOK or IDCANCEL. The Qt program passes a window, tests and the
    // command line drive the models directly.
    using Runner = std::function<int(CUserData& sheet)>;

    CUserData();

    CGeneral general;
    CChannel1 channel1;
    CChannel2 channel2;
    CModelOption modelOption;
    CFunctionSwitch functionSwitch;

    // Fills the pages from the codeplug, runs the sheet and, on OK, writes
    // every page's records back. Returns IDOK or IDCANCEL.
    int RunUserDataSheet(CCodeplug& plug, const Runner& run);

    // The steps of a run, also used on their own by tests and scripts.
    void FillPages(const CCodeplug& plug);
    void AddPages();
    void WriteBack(CCodeplug& plug) const;
    void ClearAfterRun();

    bool TwoFrequency() const { return m_twoFrequency; }

private:
    bool m_twoFrequency = false;
};
