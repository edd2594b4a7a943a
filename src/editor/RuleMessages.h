#pragma once
// Texts and captions of the receiver frequency and tone rules, byte for byte
// as the user sees them.

namespace rule_text {

inline constexpr char kInvalidReceiverFrequency[] = "Invalid Receiver Frequency";
inline constexpr char kSpurFrequency[] = "Spur Frequency!";
inline constexpr char kReceiverFrequencyCaption[] = "Calvex V HXR - Receiver Frequency";
inline constexpr char kOutOfBandWarning[] =
    "OUT_OF_BAND Frequency Warning:\n\nYou have programmed a RCV FREQ outside of the Corvane "
    "recommended \noperation range. This will result in degraded page sense performance. "
    "\nCorvane is unable to guarantee operational and performance characteristics \nwhile "
    "this condition exists.";

inline constexpr char kInvalidToneFrequency[] = "Invalid Tone Frequency";
inline constexpr char kToneFrequencyCaption[] = "Calvex V HXR - Tone Frequency";
// Names 1.55 % whatever the channel's threshold is.
inline constexpr char kToneSpacingError[] =
    "Tone Frequency Error!\n\nPlease check the tone spacing rule. \n 1. Two tones in the same "
    "call address should not be the same. \n 2. Any two tones should be separated by minimum "
    "of 1.55%. \n\nThe original tone frequency is restored.";

}  // namespace rule_text
