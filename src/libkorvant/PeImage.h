#pragma once

#include <cstddef>
#include <cstdint>

namespace korvant {

inline constexpr int kSubsystemWindowsGui = 2;
inline constexpr int kSubsystemWindowsCui = 3;

// The subsystem field of a PE image's optional header, or -1 when the bytes
// are not a PE image.
int PeSubsystem(const std::uint8_t* image, std::size_t size);

}  // namespace korvant
