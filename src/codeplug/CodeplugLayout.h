#pragma once
// Byte offsets of the pager's 512-byte memory image. This is the pager's own
// hardware layout and must not change.
#include <cstddef>

namespace layout {

inline constexpr std::size_t IMAGE_SIZE = 512;

inline constexpr std::size_t RCV_FREQ1 = 0x000;  // 8 bytes
inline constexpr std::size_t RCV_FREQ2 = 0x008;  // 8 bytes
inline constexpr std::size_t RCV_FREQ_SIZE = 8;
inline constexpr std::size_t TONE_TABLE1 = 0x018;  // 20 little-endian words
inline constexpr std::size_t TONE_TABLE2 = 0x040;
inline constexpr std::size_t TONE_SLOTS = 20;
inline constexpr std::size_t TONE_REF1 = 0x068;  // 20 bytes
inline constexpr std::size_t TONE_REF2 = 0x07C;
inline constexpr std::size_t OPTION_SEL = 0x090;
inline constexpr std::size_t RESET_TIME = 0x091;
inline constexpr std::size_t OPTION_FLAGS = 0x092;
inline constexpr std::size_t SWITCH_A = 0x093;  // SWITCH_A .. SWITCH_D
inline constexpr std::size_t SWITCH_COUNT = 4;
inline constexpr std::size_t ALERT_TIME = 0x097;
inline constexpr std::size_t SYSTEM_SEL = 0x098;
inline constexpr std::size_t CODING_OPTION = 0x099;
inline constexpr std::size_t CALL_ALERT1 = 0x09A;  // 12 bytes
inline constexpr std::size_t CALL_ALERT2 = 0x0A6;
inline constexpr std::size_t CALLS = 12;
inline constexpr std::size_t ADVANCED = 0x0B2;  // 32 bytes
inline constexpr std::size_t ADVANCED_SIZE = 32;
inline constexpr std::size_t SCAN_BACK = 0x0B2;
inline constexpr std::size_t IF_SEL = 0x0B3;
inline constexpr std::size_t CLOCK_SEL = 0x0B5;
inline constexpr std::size_t BANDWIDTH = 0x0B6;  // bits 5-2
inline constexpr std::size_t SQ_V10_LVL = 0x0CC;
inline constexpr std::size_t SQ_V4_LVL = 0x0CD;
inline constexpr std::size_t PLUG_VER = 0x0CF;  // integer part, then thousandths
inline constexpr std::size_t SERIAL_NO = 0x0F8;  // 4 bytes
inline constexpr std::size_t MODEL_NO = 0x0FC;   // 4 bytes
inline constexpr std::size_t CHECKSUM = 0x1ED;
inline constexpr std::size_t CHECK_CODE = 0x1EE;  // high byte first
inline constexpr std::size_t PAGER_FIRMWARE = 0x1FF;

// Number of leading bytes covered by CHECKSUM (0x000 to 0x1EC).
inline constexpr std::size_t CHECKSUM_SPAN = CHECKSUM;

}  // namespace layout
