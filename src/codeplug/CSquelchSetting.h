#pragma once
// Squelch level 1 to 5 as a pair of thresholds (SQ_V10_LVL, SQ_V4_LVL).
#include <array>

#include "codeplug/CCodeplug.h"

class CSquelchSetting {
public:
    using Pair = std::array<Byte, 2>;
    static constexpr int kLevels = 5;

    void Load(const CCodeplug& plug) { m_pair = plug.GetSquelchPair(); }
    void Store(CCodeplug& plug) const { plug.SetSquelchPair(m_pair); }

    const Pair& GetPair() const { return m_pair; }
    void SetPair(const Pair& pair) { m_pair = pair; }

    // 1 to 5 for a pair of the table, 0 for any other pair.
    int GetLevel() const;
    // Levels 1 to 5 store their pair, 0 leaves the bytes as they are; other
    // values are refused.
    bool SetLevel(int level);

    static Pair LevelPair(int level);  // level 1 to 5; {0, 0} otherwise

private:
    Pair m_pair{};
};
