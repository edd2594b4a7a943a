#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "codeplug/CToneCode.h"
#include "codeplug/CodeplugContext.h"
#include "codeplug/ToneSets.h"
#include "editor/ToneRules.h"

namespace {

class ToneRules : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    static void System(int system) { CodeplugContext::Get().toneSystem = system; }
    // What the field shows after typing `text` under the current system.
    static std::string Typed(const char* text) {
        const FieldNumber n = ParseTone(text);
        EXPECT_TRUE(n.ok) << text;
        return FormatTone(NormalizeTone(n.value, 0));
    }
    static ToneFieldValues Fields() { return ToneFieldValues{}; }
    static double Normalized(double hz) { return NormalizeTone(hz, 0); }

    const double r = ToneSpacingThreshold(3);
};

enum Field { C1T1 = 0, C1T2 = 1, C2T1 = 2, C2T2 = 3, C3T1 = 4, C3T2 = 5, G1 = 16, G2 = 17 };

TEST_F(ToneRules, CorvaneClampsAndSnaps) {
    System(TONE_CORVANE);
    EXPECT_EQ(Typed("200"), "288.5");
    EXPECT_EQ(Typed("3000"), "2468.2");
    EXPECT_EQ(Typed("1000"), "1006.9");
    EXPECT_EQ(Typed(""), "");
}

TEST_F(ToneRules, TypedHalfwayValueGoesDownThroughTheToneCode) {
    System(TONE_CORVANE);
    EXPECT_DOUBLE_EQ(SnapTone(TONE_CORVANE, 292.5), 296.5);
    EXPECT_EQ(Typed("292.5"), "288.5");
}

TEST_F(ToneRules, SystemsSnapTheirOwnSets) {
    System(TONE_PLECTRON);
    const std::string plectron = Typed("700");
    System(TONE_FAST_PLECTRON);
    EXPECT_EQ(Typed("700"), plectron);
    EXPECT_EQ(plectron, "701.0");
    EXPECT_STREQ(ToneTableCaption(TONE_FAST_PLECTRON), ToneTableCaption(TONE_PLECTRON));
    EXPECT_STREQ(ToneTableCaption(TONE_USER), "");
    EXPECT_STREQ(ToneTableCaption(7), "");
    System(TONE_GE);
    EXPECT_EQ(Typed("530"), "532.5");
    System(TONE_USER);
    EXPECT_EQ(Typed("1000"), "1000.4");
    EXPECT_EQ(Typed("1015"), "1014.9");
    EXPECT_EQ(Typed("1020"), "1020.1");
}

TEST_F(ToneRules, RangeAndThreshold) {
    EXPECT_TRUE(ToneInRange(0.0));
    EXPECT_TRUE(ToneInRange(280.0));
    EXPECT_TRUE(ToneInRange(3400.0));
    EXPECT_FALSE(ToneInRange(279.9));
    EXPECT_FALSE(ToneInRange(3400.1));
    EXPECT_FALSE(ToneInRange(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_NEAR(ToneSpacingThreshold(3), 0.0155, 1e-12);
    EXPECT_NEAR(ToneSpacingThreshold(0), 0.0035, 1e-12);
    EXPECT_NEAR(ToneSpacingThreshold(15), 0.0635, 1e-12);
}

TEST_F(ToneRules, UserSystemSameCallSpacing) {
    System(TONE_USER);
    const double t1 = Normalized(1000.0);
    EXPECT_FALSE(SameCallSpacingOk(Normalized(1015.0), t1, r));  // 1.42 %
    EXPECT_TRUE(SameCallSpacingOk(Normalized(1020.0), t1, r));   // 1.93 %

    ToneFieldValues fields = Fields();
    fields[C1T1] = t1;
    fields[C1T2] = 0.0;
    const ToneSpacingOutcome refused = ResolveToneSpacing(fields, C1T2, Normalized(1015.0), 0.0, r);
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(refused.value, 0.0);  // the value held before the edit
    const ToneSpacingOutcome taken = ResolveToneSpacing(fields, C1T2, Normalized(1020.0), 0.0, r);
    EXPECT_FALSE(taken.refused);
    EXPECT_EQ(taken.mergedWith, -1);
    EXPECT_EQ(taken.value, Normalized(1020.0));
}

TEST_F(ToneRules, SpacingTestsAreStrict) {
    EXPECT_FALSE(SameCallSpacingOk(2.0, 1.0, 0.5));
    EXPECT_FALSE(CrossCallSpacingOk(2.0, 1.0, 0.5));
    EXPECT_TRUE(SameCallSpacingOk(2.0, 0.99, 0.5));
    EXPECT_FALSE(SameCallSpacingOk(1000.0, 1000.0, r));
}

TEST_F(ToneRules, CorvaneSameToneInOneCallIsRefusedNeighboursPass) {
    System(TONE_CORVANE);
    EXPECT_FALSE(SameCallSpacingOk(1006.9, 1006.9, r));
    EXPECT_TRUE(SameCallSpacingOk(979.9, 1006.9, r));
    EXPECT_TRUE(SameCallSpacingOk(1006.9, 979.9, r));
    EXPECT_TRUE(CrossCallSpacingOk(979.9, 1006.9, r));
}

TEST_F(ToneRules, CloseToneOfAnotherCallIsTakenOver) {
    ToneFieldValues fields = Fields();
    fields[C1T1] = 1500.0;
    fields[C1T2] = 1000.0;
    const ToneSpacingOutcome merged = ResolveToneSpacing(fields, C3T1, 1010.0, 0.0, r);
    EXPECT_FALSE(merged.refused);
    EXPECT_EQ(merged.mergedWith, C1T2);
    EXPECT_EQ(merged.value, 1000.0);
    // Sharing the very tone is allowed and not a merge.
    const ToneSpacingOutcome same = ResolveToneSpacing(fields, C3T1, 1000.04, 0.0, r);
    EXPECT_EQ(same.mergedWith, -1);
    EXPECT_EQ(same.value, 1000.04);
}

TEST_F(ToneRules, FirstTooCloseFieldInPageOrderWins) {
    ToneFieldValues fields = Fields();
    fields[C2T2] = 1005.0;
    fields[G1] = 1002.0;
    fields[C1T1] = 1003.0;
    const ToneSpacingOutcome out = ResolveToneSpacing(fields, G2, 1004.0, 0.0, r);
    EXPECT_EQ(out.mergedWith, C1T1);
    EXPECT_EQ(out.value, 1003.0);
}

TEST_F(ToneRules, SkippedFieldsAreNotComparedWithOtherCalls) {
    // Call 2 Tone 1 and Group 1 hold copies of the changed tone: a small
    // step of the source must not be merged back onto its own old value.
    ToneFieldValues fields = Fields();
    fields[C1T1] = 1000.0;
    fields[C2T1] = 1000.0;
    fields[G1] = 1000.0;
    fields[G2] = 1011.0;
    const ToneFieldMask copies = (1u << C2T1) | (1u << G1);
    const ToneSpacingOutcome free = ResolveToneSpacing(fields, C1T1, 1010.0, 1000.0, r, copies);
    EXPECT_EQ(free.mergedWith, G2);  // a field outside the mask still counts
    EXPECT_EQ(free.value, 1011.0);
    fields[G2] = 0.0;
    const ToneSpacingOutcome kept = ResolveToneSpacing(fields, C1T1, 1010.0, 1000.0, r, copies);
    EXPECT_EQ(kept.mergedWith, -1);
    EXPECT_EQ(kept.value, 1010.0);
    const ToneSpacingOutcome unmasked = ResolveToneSpacing(fields, C1T1, 1010.0, 1000.0, r);
    EXPECT_EQ(unmasked.mergedWith, C2T1);
    // The mask never lifts the same-call test.
    fields[C1T2] = 1009.0;
    EXPECT_TRUE(ResolveToneSpacing(fields, C1T1, 1010.0, 1000.0, r, ~0u).refused);
}

TEST_F(ToneRules, PartnerIsNotMergedAndGroupCallsAreNeverRefused) {
    ToneFieldValues fields = Fields();
    fields[C1T1] = 1000.0;
    // A too-close partner refuses; it is never taken over.
    const ToneSpacingOutcome partner = ResolveToneSpacing(fields, C1T2, 1001.0, 750.0, r);
    EXPECT_TRUE(partner.refused);
    EXPECT_EQ(partner.value, 750.0);
    EXPECT_EQ(partner.mergedWith, -1);
    const ToneSpacingOutcome group = ResolveToneSpacing(fields, G1, 1000.0, 0.0, r);
    EXPECT_FALSE(group.refused);
    EXPECT_EQ(group.value, 1000.0);
    const ToneSpacingOutcome near = ResolveToneSpacing(fields, G1, 1001.0, 0.0, r);
    EXPECT_FALSE(near.refused);
    EXPECT_EQ(near.mergedWith, C1T1);
}

TEST_F(ToneRules, ClearingAFieldAlwaysPasses) {
    ToneFieldValues fields = Fields();
    for (int i = 0; i < kToneFields; ++i) fields[i] = 1000.0 + i;
    for (int f : {C1T1, C2T2, G1}) {
        const ToneSpacingOutcome out = ResolveToneSpacing(fields, f, 0.0, fields[f], r);
        EXPECT_FALSE(out.refused);
        EXPECT_EQ(out.mergedWith, -1);
        EXPECT_EQ(out.value, 0.0);
    }
    EXPECT_TRUE(SameCallSpacingOk(1000.0, 0.0, r));
    EXPECT_TRUE(CrossCallSpacingOk(1000.0, 0.0, r));
}

TEST_F(ToneRules, FieldsMapToRecordSlots) {
    EXPECT_EQ(ToneFieldSlot(C1T1), 0);
    EXPECT_EQ(ToneFieldSlot(C1T2), 12);
    EXPECT_EQ(ToneFieldSlot(15), 19);  // Call 8 Tone 2
    EXPECT_EQ(ToneFieldSlot(14), 7);   // Call 8 Tone 1
    EXPECT_EQ(ToneFieldSlot(G1), 8);
    EXPECT_EQ(ToneFieldSlot(19), 11);
    EXPECT_EQ(ToneFieldSlot(20), -1);
    EXPECT_EQ(ToneFieldSlot(-1), -1);
    EXPECT_EQ(ToneFieldPartner(C2T1), C2T2);
    EXPECT_EQ(ToneFieldPartner(C2T2), C2T1);
    EXPECT_EQ(ToneFieldPartner(G1), -1);
    const ToneSpacingOutcome out = ResolveToneSpacing(Fields(), 42, 1000.0, 5.0, r);
    EXPECT_EQ(out.value, 1000.0);
}

TEST_F(ToneRules, HostileTonesStayDefined) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double t : {nan, std::numeric_limits<double>::infinity(), -1000.0, 1e300}) {
        const double n = NormalizeTone(t, 0);
        EXPECT_FALSE(std::isnan(n)) << t;
        EXPECT_LE(FormatTone(t).size(), kFieldChars);
    }
    EXPECT_FALSE(SameCallSpacingOk(nan, 1000.0, r));
    EXPECT_FALSE(CrossCallSpacingOk(nan, 1000.0, r));
}

}  // namespace
