#pragma once
// What a coding option does to the calls of a channel page: which calls it
// uses, the call/sequence labels it shows, and which tone fields are typed
// into and which only mirror another field (a tone two calls share).
#include <array>
#include <cstdint>

#include "editor/ToneRules.h"

enum class ToneRole : std::uint8_t {
    Hidden,    // call not used by the option
    Editable,  // typed into (and picked)
    Shared,    // shows and stores its source field's tone, never typed into
    Locked,    // shown as stored, never changed: an option the list does not offer
};

struct CodingPattern {
    static constexpr int kRows = 12;  // calls 1-8, group calls 1-4
    std::array<ToneRole, kToneFields> role{};
    std::array<int, kToneFields> source{};  // field a Shared field mirrors, else -1
    std::array<bool, kRows> rowUsed{};
    std::array<const char*, kRows> label{};  // C/S label of a row, "" for none
};

// The pattern of a stored coding option. Values outside the list (11 to 15
// fit the nibble) show every row as stored and let nothing be typed, so that
// no slot is changed behind the user's back.
const CodingPattern& PatternOf(int codingOption);

// The fields the copy rules overwrite after `field` changed, in page order.
ToneFieldMask CopiesOf(const CodingPattern& pattern, int field);

// Row of a tone field: calls 1-8 are rows 0-7, group calls rows 8-11.
inline int RowOfField(int field) {
    return field < 16 ? field / 2 : 8 + (field - 16);
}
