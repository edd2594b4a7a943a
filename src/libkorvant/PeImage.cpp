#include "libkorvant/PeImage.h"

namespace korvant {

namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

int PeSubsystem(const std::uint8_t* image, std::size_t size) {
    if (image == nullptr || size < 0x40 || image[0] != 'M' || image[1] != 'Z') {
        return -1;
    }
    const std::uint32_t pe = Read32(image + 0x3C);
    // Signature (4) + file header (20) + subsystem offset 68 in either optional header.
    if (pe > size || size - pe < 4 + 20 + 70) {
        return -1;
    }
    if (image[pe] != 'P' || image[pe + 1] != 'E' || image[pe + 2] != 0 || image[pe + 3] != 0) {
        return -1;
    }
    const std::uint8_t* optional = image + pe + 24;
    const unsigned magic = optional[0] | (optional[1] << 8);
    if (magic != 0x10B && magic != 0x20B) {
        return -1;
    }
    return optional[68] | (optional[69] << 8);
}

}  // namespace korvant
