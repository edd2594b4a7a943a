#include "editor/pages/CodingPattern.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "codeplug/CChannelData.h"

namespace {

using Label = std::pair<int, const char*>;  // row, text
using Share = std::pair<int, int>;          // shared field, source field

CodingPattern Make(std::initializer_list<int> rows, std::initializer_list<Label> labels,
                   std::initializer_list<Share> shared) {
    CodingPattern p;
    p.role.fill(ToneRole::Hidden);
    p.source.fill(-1);
    p.label.fill("");
    for (int row : rows) p.rowUsed[row] = true;
    for (int f = 0; f < kToneFields; ++f)
        if (p.rowUsed[RowOfField(f)]) p.role[f] = ToneRole::Editable;
    for (auto [row, text] : labels) p.label[row] = text;
    for (auto [field, source] : shared) {
        p.role[field] = ToneRole::Shared;
        p.source[field] = source;
    }
    return p;
}

// Fields: Call k Tone 1 = 2(k-1), Call k Tone 2 = 2(k-1)+1, Group g = 15+g.
constexpr int C1T1 = 0, C1T2 = 1, C2T1 = 2, C2T2 = 3, G1 = 16, G2 = 17;
constexpr int kG1Row = 8, kG2Row = 9;

std::vector<CodingPattern> MakeAll() {
    std::vector<CodingPattern> all;
    // "R468"
    all.push_back(Make({0, 1, kG1Row, kG2Row},
                       {{0, "A - B"}, {1, "A - C"}, {kG1Row, "Long B"}, {kG2Row, "Long C"}},
                       {{C2T1, C1T1}, {G1, C1T2}, {G2, C2T2}}));
    // "R130"
    all.push_back(Make({0, 1, kG1Row}, {{0, "A - B"}, {1, "A - C"}, {kG1Row, "Long C"}},
                       {{C2T1, C1T1}, {G1, C2T2}}));
    // "R97"
    all.push_back(Make({0, 1}, {{0, "A - B"}, {1, "A - C"}}, {{C2T1, C1T1}}));
    // "STD"
    all.push_back(Make({0}, {{0, "A - B"}}, {}));
    // "R134"
    all.push_back(Make({0, kG1Row, kG2Row}, {{0, "A - B"}, {kG1Row, "Long B"}, {kG2Row, "Long C"}},
                       {{G1, C1T2}}));
    // "R138"
    all.push_back(Make({0, kG1Row}, {{0, "A - B"}, {kG1Row, "Long B"}}, {{G1, C1T2}}));
    // "R362"
    all.push_back(Make({0, kG1Row}, {{0, "A - B"}, {kG1Row, "Long C"}}, {}));
    // "R177"
    all.push_back(Make({0, 1}, {{0, "A - B"}, {1, "C - B"}}, {{C2T2, C1T2}}));
    // "R60"
    all.push_back(Make({0, 1, kG1Row}, {{0, "A - B"}, {1, "C - B"}, {kG1Row, "Long B"}},
                       {{C2T2, C1T2}, {G1, C1T2}}));
    // "R621"
    all.push_back(Make({0, kG1Row}, {{0, "A - B"}, {kG1Row, "Long A"}}, {{G1, C1T1}}));
    // "R168 (None)"
    all.push_back(Make({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}, {}));
    return all;
}

CodingPattern MakeUnknown() {
    CodingPattern p = Make({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}, {});
    p.role.fill(ToneRole::Locked);
    return p;
}

}  // namespace

const CodingPattern& PatternOf(int codingOption) {
    static const std::vector<CodingPattern> all = MakeAll();
    static const CodingPattern unknown = MakeUnknown();
    static_assert(CChannelData::kCodingOptionCount == 11);
    if (codingOption < 0 || codingOption >= static_cast<int>(all.size())) return unknown;
    return all[static_cast<std::size_t>(codingOption)];
}

ToneFieldMask CopiesOf(const CodingPattern& pattern, int field) {
    ToneFieldMask mask = 0;
    for (int f = 0; f < kToneFields; ++f)
        if (pattern.role[f] == ToneRole::Shared && pattern.source[f] == field) mask |= 1u << f;
    return mask;
}
