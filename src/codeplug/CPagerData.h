#pragma once
// The decoded records of one codeplug. Decode reads them from the image and
// refreshes CodeplugContext; Encode writes them back.
#include "codeplug/CAdvancedData.h"
#include "codeplug/CChannelData.h"
#include "codeplug/CCodeplug.h"
#include "codeplug/CIfSetting.h"
#include "codeplug/CModelNumber.h"
#include "codeplug/CModelOptions.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/CSquelchSetting.h"
#include "codeplug/CSwitchSettings.h"
#include "codeplug/CVersionInfo.h"

class CPagerData {
public:
    CModelNumber model;
    CVersionInfo version;
    CSerialNumber serial;
    CIfSetting ifSetting;
    CModelOptions options;
    CSquelchSetting squelch;
    CSwitchSettings switches;
    CChannelData channel[2];  // F1, F2
    CAdvancedData advanced;

    // Fills every record from the codeplug and sets the CodeplugContext
    // band, sub-band, crystal, frequencies, two-frequency flag and tone system.
    void Decode(const CCodeplug& plug);
    // Writes every record back. The advanced block goes first so that the
    // records sharing its bytes (SCAN_BACK, IF_SEL, squelch pair, PLUG_VER)
    // carry their own edits. Bytes no record covers are left as they are.
    void Encode(CCodeplug& plug) const;

    // SYSTEM_SEL: tone system (bits 7-4) and the 3-bit setting (bits 2-0);
    // bit 3 is carried as it is.
    int GetToneSystem() const { return m_systemSel >> 4; }
    bool SetToneSystem(int system);  // 0 to 15 (five have names)
    int GetSystemSetting() const { return m_systemSel & 0x07; }
    bool SetSystemSetting(int value);  // 0 to 7
    std::string ToneSystemText() const { return ToneSystemText(GetToneSystem()); }
    // "Corvane", "GE", "Plectron", "User", "Fast Plectron"; empty beyond.
    static std::string ToneSystemText(int system);
    // The stored voice chip that SYSTEM_SEL bits 2-0 name: "ISD5116" for 0,
    // "?" for a code without a chip.
    std::string StoredVoiceText() const { return StoredVoiceText(GetSystemSetting()); }
    static std::string StoredVoiceText(int code);

    CChannelData& ChannelData(Channel ch) { return channel[ch == F2 ? 1 : 0]; }
    const CChannelData& ChannelData(Channel ch) const { return channel[ch == F2 ? 1 : 0]; }

private:
    Byte m_systemSel = 0;
};
