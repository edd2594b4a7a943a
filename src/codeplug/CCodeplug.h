#pragma once
// The pager's 512-byte codeplug image with PAGER_VERSION and DATA_VALID kept
// beside it. Get copies out of the image, set copies in; nothing is validated
// here, ranges are the editors' business.
#include <array>
#include <cstdint>

#include "codeplug/CodeplugLayout.h"

using Byte = std::uint8_t;
using Image = std::array<Byte, layout::IMAGE_SIZE>;

enum Channel { F1 = 0, F2 = 1 };

class CCodeplug {
public:
    using RxRecord = std::array<Byte, layout::RCV_FREQ_SIZE>;
    using ToneTable = std::array<std::uint16_t, layout::TONE_SLOTS>;
    using ToneRefs = std::array<Byte, layout::TONE_SLOTS>;
    using CallBytes = std::array<Byte, layout::CALLS>;
    using Switches = std::array<Byte, layout::SWITCH_COUNT>;
    using ModelOptionRecord = std::array<Byte, 5>;  // 0x090, 0x091, 0x092, 0x097, 0x0B2
    using Advanced = std::array<Byte, layout::ADVANCED_SIZE>;
    using Quad = std::array<Byte, 4>;

    const Image& GetImage() const { return m_image; }
    void SetImage(const Image& image) { m_image = image; }
    // Copies min(size, 512) bytes into the image; the rest is left as it is.
    void SetImage(const Byte* bytes, std::size_t size);

    RxRecord GetRxRecord(Channel ch) const;
    void SetRxRecord(Channel ch, const RxRecord& rec);

    ToneTable GetToneTable(Channel ch) const;
    void SetToneTable(Channel ch, const ToneTable& table);

    ToneRefs GetToneRefs(Channel ch) const;
    void SetToneRefs(Channel ch, const ToneRefs& refs);

    ModelOptionRecord GetModelOptionRecord() const;
    void SetModelOptionRecord(const ModelOptionRecord& rec);

    Switches GetSwitches() const;
    void SetSwitches(const Switches& sw);

    int GetToneSystem() const { return m_image[layout::SYSTEM_SEL] >> 4; }
    void SetToneSystem(int system);
    int GetSystemSetting() const { return m_image[layout::SYSTEM_SEL] & 0x07; }
    void SetSystemSetting(int value);

    int GetCodingOption(Channel ch) const;
    void SetCodingOption(Channel ch, int option);

    CallBytes GetCallBytes(Channel ch) const;
    void SetCallBytes(Channel ch, const CallBytes& calls);

    Byte GetIfByte() const { return m_image[layout::IF_SEL]; }
    void SetIfByte(Byte value) { m_image[layout::IF_SEL] = value; }

    int GetClockSel() const { return m_image[layout::CLOCK_SEL] & 0x0F; }
    void SetClockSel(int value);

    int GetBandwidth() const { return (m_image[layout::BANDWIDTH] >> 2) & 0x0F; }

    std::array<Byte, 2> GetSquelchPair() const;
    void SetSquelchPair(const std::array<Byte, 2>& pair);

    std::array<Byte, 2> GetPlugVersion() const;
    void SetPlugVersion(const std::array<Byte, 2>& version);

    Advanced GetAdvanced() const;
    void SetAdvanced(const Advanced& block);

    Quad GetSerialNumber() const;
    void SetSerialNumber(const Quad& serial);
    Quad GetModelNumber() const;
    void SetModelNumber(const Quad& model);

    Byte GetPagerVersion() const { return m_pagerVersion; }
    void SetPagerVersion(Byte version) { m_pagerVersion = version; }
    Byte GetDataValid() const { return m_dataValid; }
    void SetDataValid(Byte valid) { m_dataValid = valid; }

    // A copy of the image with CHECKSUM and CHECK_CODE filled in, as it goes
    // out to a file or a pager. The image itself is not changed.
    Image PrepareForOutput() const;

    // Sum modulo 256 of bytes 0x000-0x1EC.
    static Byte ComputeChecksum(const Image& image);
    // The 16-bit check code over serial number, model number and checksum;
    // `image` must already hold its CHECKSUM.
    static std::uint16_t ComputeCheckCode(const Image& image);

private:
    Image m_image{};
    Byte m_pagerVersion = 0;
    Byte m_dataValid = 0;
};
