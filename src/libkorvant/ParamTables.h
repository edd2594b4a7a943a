#pragma once

#include <cstdint>

#include "libkorvant/Platform.h"

namespace korvant {

struct ProductParam {
    const char* name;  // null for a reserved index
    RegKey root;
    std::uint32_t type;
};

struct DriverParam {
    const char* name;
    std::uint32_t type;
    std::uint32_t defaultNumber;
    const char* defaultText;  // REG_SZ parameters only
};

inline constexpr int kProductParamCount = 63;
inline constexpr int kDriverParamCount = 41;
inline constexpr int kXnSuffixIndex = 21;

// Product parameter by index; null for an index out of range or reserved.
const ProductParam* FindProductParam(int index);
const DriverParam* FindDriverParam(int index);

// Indexes the library itself uses.
enum ProductParamIndex : int {
    kParamServerType = 15,
    kParamPersistentKivs = 19,
    kParamRecentViews = 20,
    kParamRecentViewsMax = 21,
    kParamProductInfoKeys = 6,
};

}  // namespace korvant
