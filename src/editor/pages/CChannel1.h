#pragma once
// "Channel F1".
#include "codeplug/CodeplugContext.h"
#include "editor/pages/CChannelPage.h"

class CChannel1 : public CChannelPage {
public:
    enum : int { IDD = 108, IDC_FREQUENCY = 1004, IDC_CODING_OPTION = 1013, IDC_DUTY = 1014 };
    CChannel1()
        : CChannelPage(IDD, "Channel F1", "F1:", IDC_FREQUENCY, IDC_CODING_OPTION, IDC_DUTY) {}

protected:
    bool DutyAvailable() const override { return CodeplugContext::Get().dutyF1; }
};
