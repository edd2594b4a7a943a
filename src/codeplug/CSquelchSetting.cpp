#include "codeplug/CSquelchSetting.h"

namespace {
constexpr CSquelchSetting::Pair kLevelPairs[CSquelchSetting::kLevels] = {
    {0x15, 0x2E}, {0x17, 0x30}, {0x19, 0x32}, {0x1B, 0x34}, {0x1D, 0x36}};
}

int CSquelchSetting::GetLevel() const {
    for (int i = 0; i < kLevels; ++i) {
        if (kLevelPairs[i] == m_pair) return i + 1;
    }
    return 0;
}

bool CSquelchSetting::SetLevel(int level) {
    if (level < 0 || level > kLevels) return false;
    if (level > 0) m_pair = kLevelPairs[level - 1];
    return true;
}

CSquelchSetting::Pair CSquelchSetting::LevelPair(int level) {
    if (level < 1 || level > kLevels) return {0, 0};
    return kLevelPairs[level - 1];
}
