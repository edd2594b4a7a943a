#pragma once
// "Channel F2".
#include "codeplug/CodeplugContext.h"
#include "editor/pages/CChannelPage.h"

class CChannel2 : public CChannelPage {
public:
    enum : int { IDD = 109, IDC_FREQUENCY = 1050, IDC_CODING_OPTION = 1051, IDC_DUTY = 1053 };
    CChannel2()
        : CChannelPage(IDD, "Channel F2", "F2:", IDC_FREQUENCY, IDC_CODING_OPTION, IDC_DUTY) {}

protected:
    bool DutyAvailable() const override { return CodeplugContext::Get().dutyF2; }
};
