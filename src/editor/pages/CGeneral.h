#pragma once
// "General": the pager's identity, read-only, and the tone system list. A new
// tone system takes effect at once for every later tone decode; it reaches
// the codeplug only when the sheet is confirmed.
#include <string>

#include "codeplug/CIfSetting.h"
#include "codeplug/CModelNumber.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/CVersionInfo.h"
#include "ui/CPropertyPage.h"

class CGeneral : public ui::CPropertyPage {
public:
    enum : int {
        IDD = 107,
        IDC_MODEL = 1000,
        IDC_SERIAL = 1001,
        IDC_BAND_SPLIT = 1185,
        IDC_XTAL = 1183,
        IDC_IF = 1186,
        IDC_INJECTION = 1082,
        IDC_PLUG_VERSION = 1007,
        IDC_PAGER_VERSION = 1008,
        IDC_TONE_SYSTEM = 1009,
    };

    CGeneral();

    // Copies taken when the sheet opens; never written back.
    CModelNumber model;
    CSerialNumber serial;
    CIfSetting ifSetting;
    CVersionInfo version;

    // Fills the texts from the copies and the current tone system.
    void Fill();
    // After the run: the version fields are emptied.
    void ClearDisplay();

    void OnSelChangeToneSystem();

    const std::string& ModelText() const { return m_model; }
    int ToneSystemSelection() const { return m_toneSystem; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    std::string m_model, m_serial, m_bandSplit, m_xtal, m_if, m_injection, m_plugVersion,
        m_pagerVersion;
    int m_toneSystem = -1;
};
