#include "codeplug/CCodeplug.h"

#include <algorithm>
#include <cstring>
#include <numeric>

using namespace layout;

namespace {

template <std::size_t N>
std::array<Byte, N> CopyOut(const Image& image, std::size_t offset) {
    std::array<Byte, N> out;
    std::memcpy(out.data(), image.data() + offset, N);
    return out;
}

template <std::size_t N>
void CopyIn(Image& image, std::size_t offset, const std::array<Byte, N>& in) {
    std::memcpy(image.data() + offset, in.data(), N);
}

std::size_t ChannelOffset(Channel ch, std::size_t f1, std::size_t f2) {
    return ch == F1 ? f1 : f2;
}

}  // namespace

void CCodeplug::SetImage(const Byte* bytes, std::size_t size) {
    std::memcpy(m_image.data(), bytes, std::min(size, IMAGE_SIZE));
}

CCodeplug::RxRecord CCodeplug::GetRxRecord(Channel ch) const {
    return CopyOut<RCV_FREQ_SIZE>(m_image, ChannelOffset(ch, RCV_FREQ1, RCV_FREQ2));
}

void CCodeplug::SetRxRecord(Channel ch, const RxRecord& rec) {
    CopyIn(m_image, ChannelOffset(ch, RCV_FREQ1, RCV_FREQ2), rec);
}

CCodeplug::ToneTable CCodeplug::GetToneTable(Channel ch) const {
    const std::size_t base = ChannelOffset(ch, TONE_TABLE1, TONE_TABLE2);
    ToneTable table;
    for (std::size_t i = 0; i < TONE_SLOTS; ++i) {
        table[i] =
            static_cast<std::uint16_t>(m_image[base + 2 * i] | (m_image[base + 2 * i + 1] << 8));
    }
    return table;
}

void CCodeplug::SetToneTable(Channel ch, const ToneTable& table) {
    const std::size_t base = ChannelOffset(ch, TONE_TABLE1, TONE_TABLE2);
    for (std::size_t i = 0; i < TONE_SLOTS; ++i) {
        m_image[base + 2 * i] = static_cast<Byte>(table[i] & 0xFF);
        m_image[base + 2 * i + 1] = static_cast<Byte>(table[i] >> 8);
    }
}

CCodeplug::ToneRefs CCodeplug::GetToneRefs(Channel ch) const {
    return CopyOut<TONE_SLOTS>(m_image, ChannelOffset(ch, TONE_REF1, TONE_REF2));
}

void CCodeplug::SetToneRefs(Channel ch, const ToneRefs& refs) {
    CopyIn(m_image, ChannelOffset(ch, TONE_REF1, TONE_REF2), refs);
}

CCodeplug::ModelOptionRecord CCodeplug::GetModelOptionRecord() const {
    return {m_image[OPTION_SEL], m_image[RESET_TIME], m_image[OPTION_FLAGS], m_image[ALERT_TIME],
            m_image[SCAN_BACK]};
}

void CCodeplug::SetModelOptionRecord(const ModelOptionRecord& rec) {
    m_image[OPTION_SEL] = rec[0];
    m_image[RESET_TIME] = rec[1];
    m_image[OPTION_FLAGS] = rec[2];
    m_image[ALERT_TIME] = rec[3];
    m_image[SCAN_BACK] = rec[4];
}

CCodeplug::Switches CCodeplug::GetSwitches() const {
    return CopyOut<SWITCH_COUNT>(m_image, SWITCH_A);
}

void CCodeplug::SetSwitches(const Switches& sw) {
    CopyIn(m_image, SWITCH_A, sw);
}

void CCodeplug::SetToneSystem(int system) {
    m_image[SYSTEM_SEL] = static_cast<Byte>(((system & 0x0F) << 4) | (m_image[SYSTEM_SEL] & 0x0F));
}

void CCodeplug::SetSystemSetting(int value) {
    m_image[SYSTEM_SEL] = static_cast<Byte>((m_image[SYSTEM_SEL] & 0xF8) | (value & 0x07));
}

int CCodeplug::GetCodingOption(Channel ch) const {
    const Byte b = m_image[CODING_OPTION];
    return ch == F1 ? (b >> 4) : (b & 0x0F);
}

void CCodeplug::SetCodingOption(Channel ch, int option) {
    Byte& b = m_image[CODING_OPTION];
    if (ch == F1) {
        b = static_cast<Byte>(((option & 0x0F) << 4) | (b & 0x0F));
    } else {
        b = static_cast<Byte>((b & 0xF0) | (option & 0x0F));
    }
}

CCodeplug::CallBytes CCodeplug::GetCallBytes(Channel ch) const {
    return CopyOut<CALLS>(m_image, ChannelOffset(ch, CALL_ALERT1, CALL_ALERT2));
}

void CCodeplug::SetCallBytes(Channel ch, const CallBytes& calls) {
    CopyIn(m_image, ChannelOffset(ch, CALL_ALERT1, CALL_ALERT2), calls);
}

void CCodeplug::SetClockSel(int value) {
    m_image[CLOCK_SEL] = static_cast<Byte>((m_image[CLOCK_SEL] & 0xF0) | (value & 0x0F));
}

std::array<Byte, 2> CCodeplug::GetSquelchPair() const {
    return CopyOut<2>(m_image, SQ_V10_LVL);
}

void CCodeplug::SetSquelchPair(const std::array<Byte, 2>& pair) {
    CopyIn(m_image, SQ_V10_LVL, pair);
}

std::array<Byte, 2> CCodeplug::GetPlugVersion() const {
    return CopyOut<2>(m_image, PLUG_VER);
}

void CCodeplug::SetPlugVersion(const std::array<Byte, 2>& version) {
    CopyIn(m_image, PLUG_VER, version);
}

CCodeplug::Advanced CCodeplug::GetAdvanced() const {
    return CopyOut<ADVANCED_SIZE>(m_image, ADVANCED);
}

void CCodeplug::SetAdvanced(const Advanced& block) {
    CopyIn(m_image, ADVANCED, block);
}

CCodeplug::Quad CCodeplug::GetSerialNumber() const {
    return CopyOut<4>(m_image, SERIAL_NO);
}
void CCodeplug::SetSerialNumber(const Quad& serial) {
    CopyIn(m_image, SERIAL_NO, serial);
}
CCodeplug::Quad CCodeplug::GetModelNumber() const {
    return CopyOut<4>(m_image, MODEL_NO);
}
void CCodeplug::SetModelNumber(const Quad& model) {
    CopyIn(m_image, MODEL_NO, model);
}

Byte CCodeplug::ComputeChecksum(const Image& image) {
    const unsigned sum = std::accumulate(image.begin(), image.begin() + CHECKSUM_SPAN, 0u);
    return static_cast<Byte>(sum & 0xFF);
}

namespace {

// One step of the check code's shift register.
Byte Fold(unsigned nibble, Byte state) {
    unsigned r = (2u * state + nibble) & 0xFF;
    if (r & 0x80) r = (r & 0x7F) ^ (r >> 6);
    return static_cast<Byte>(r);
}

}  // namespace

std::uint16_t CCodeplug::ComputeCheckCode(const Image& image) {
    Byte message[9];
    std::memcpy(message, image.data() + SERIAL_NO, 4);
    std::memcpy(message + 4, image.data() + MODEL_NO, 4);
    message[8] = image[CHECKSUM];
    Byte a = 0, b = 0;
    for (Byte m : message) {
        b = Fold(m >> 4, b);
        a = Fold(m & 0x0F, a);
    }
    const Byte low = static_cast<Byte>(image[a] ^ a);
    return static_cast<std::uint16_t>((b << 8) | low);
}

Image CCodeplug::PrepareForOutput() const {
    Image out = m_image;
    out[CHECKSUM] = ComputeChecksum(out);
    const std::uint16_t code = ComputeCheckCode(out);
    out[CHECK_CODE] = static_cast<Byte>(code >> 8);
    out[CHECK_CODE + 1] = static_cast<Byte>(code & 0xFF);
    return out;
}
