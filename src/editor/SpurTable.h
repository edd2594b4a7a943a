#pragma once
// Frequencies the pager's synthesizer must not be set to, per band split
// and crystal variant.

// True when f (MHz) lies within 0.0001 MHz of a listed spur of the split, or
// strictly inside one of its spur ranges. The list is chosen by band, split
// code and crystal index (some splits list other spurs for crystal index 1).
bool IsSpur(double f, int band, int split, int crystal);

// As above, for the band, split and crystal index of CodeplugContext.
bool IsSpur(double f);
