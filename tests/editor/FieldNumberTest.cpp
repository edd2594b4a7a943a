#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "codeplug/CommaLocale.h"
#include "editor/FieldNumber.h"
#include "editor/FrequencyRules.h"
#include "editor/ToneRules.h"

namespace {

TEST(FieldSyntax, BlankFieldsAreZeroAndValid) {
    for (const char* text : {"", " ", "        ", "\t  "}) {
        const FieldNumber n = ParseFrequency(text);
        EXPECT_TRUE(n.ok) << '"' << text << '"';
        EXPECT_EQ(n.value, 0.0);
    }
}

TEST(FieldSyntax, OnlyTheFirstEightCharactersCount) {
    EXPECT_EQ(ParseFrequency("453.0125x").value, 453.0125);
    EXPECT_TRUE(ParseFrequency("453.0125x").ok);
    // The ninth character would have been the only invalid one.
    EXPECT_TRUE(ParseTone("   1000.0!").ok);
    EXPECT_EQ(ParseTone("   1000.0!").value, 1000.0);
    // A blank within the eight characters hides everything after it.
    EXPECT_EQ(ParseFrequency(" 45 zz").value, 45.0);
    EXPECT_TRUE(ParseFrequency(" 45 zz").ok);
}

TEST(FieldSyntax, RefusesAnyOtherCharacterBeforeTheFirstBlank) {
    for (const char* text : {"45a", "-45", "+45", "4.5e2", "1,5", "x", "45\n", "\xC3\xA9"}) {
        EXPECT_FALSE(ParseFrequency(text).ok) << text;
        EXPECT_FALSE(ParseTone(text).ok) << text;
    }
    EXPECT_FALSE(ParseFrequency(std::string("4\0" "5", 3)).ok);
}

TEST(FieldSyntax, SecondPointEndsTheNumber) {
    EXPECT_TRUE(ParseFrequency("45.0.1").ok);
    EXPECT_EQ(ParseFrequency("45.0.1").value, 45.0);
    EXPECT_EQ(ParseFrequency(".").value, 0.0);
    EXPECT_EQ(ParseFrequency("..5").value, 0.0);
    EXPECT_EQ(ParseFrequency(".5").value, 0.5);
    EXPECT_EQ(ParseFrequency("12.").value, 12.0);
}

TEST(FieldSyntax, ValueIsTheCorrectlyRoundedDecimal) {
    for (const char* text : {"406.0125", "150.0025", "33.00001", "0.1", "99999999", "1014.9"}) {
        EXPECT_EQ(ParseFrequency(text).value, std::stod(text)) << text;
    }
}

TEST(FieldSyntax, AnyTextGivesADefinedAnswer) {
    const std::string alphabet = std::string("0123456789.  \t-+eEx,\xff\x80") + '\0';
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 14, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        const FieldNumber n = ParseFrequency(text);
        const FieldNumber cut = ParseFrequency(text.substr(0, kFieldChars));
        ASSERT_EQ(n.ok, cut.ok) << text;  // nothing past the eighth character counts
        ASSERT_EQ(n.value, cut.value) << text;
        if (!n.ok) continue;
        ASSERT_TRUE(std::isfinite(n.value) && n.value >= 0.0 && n.value < 1e8) << text;
        const FrequencyCheck check = CheckReceiverFrequency(text, 0x24);
        ASSERT_NE(check.verdict, FrequencyVerdict::Invalid) << text;
        ASSERT_LE(FormatTone(n.value).size(), kFieldChars);
    }
}

TEST(FieldText, ZeroIsEmptyOthersPrintedAndCut) {
    EXPECT_EQ(FormatFrequency(0.0), "");
    EXPECT_EQ(FormatFrequency(406.0125), "406.0125");
    EXPECT_EQ(FormatFrequency(45.0), "45.0000");
    EXPECT_EQ(FormatFrequency(1234.56789), "1234.567");
    EXPECT_EQ(FormatTone(0.0), "");
    EXPECT_EQ(FormatTone(1000.43), "1000.4");
    EXPECT_EQ(FormatTone(123456789.0), "12345678");
    EXPECT_LE(FormatTone(-1e300).size(), kFieldChars);
}

TEST(FieldText, DecimalPointDoesNotFollowTheLocale) {
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(FormatFrequency(406.0125), "406.0125");
    EXPECT_EQ(RangeMessage(142.4, 151.5975),
              "Please enter a number between 142.4 and 151.5975.");
}

TEST(RangeMessage, FrameworkWordingWithShortestLimits) {
    EXPECT_EQ(ToneRangeMessage(), "Please enter a number between 280 and 3400.");
    EXPECT_EQ(RangeMessage(405.3, 414.6875),
              "Please enter a number between 405.3 and 414.6875.");
}

}  // namespace
