// The committed sample codeplugs are what the builder produces, open as valid
// codeplugs, and hold what their description promises. Run with
// CALVEX_WRITE_SAMPLES=1 to rewrite samples/ after a deliberate change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "SampleCodeplugs.h"
#include "TempDir.h"
#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CDatFile.h"
#include "document/CodeplugDocument.h"
#include "document/CodeplugFields.h"
#ifdef CALVEX_HAVE_EDITOR
#include "editor/FrequencyRules.h"
#include "editor/ToneRules.h"
#endif
#ifdef CALVEX_HAVE_SHEET
#include "editor/pages/CUserData.h"
#include "ui/ScriptedPrompt.h"
#endif

namespace {

std::filesystem::path SamplePath(const SampleCodeplug& s) {
    return std::filesystem::path(CALVEX_SOURCE_DIR) / "samples" / s.file;
}

class Samples : public ::testing::TestWithParam<SampleCodeplug> {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }
};

TEST_P(Samples, CommittedFileIsWhatTheBuilderWrites) {
    const SampleCodeplug& s = GetParam();
    const CCodeplug plug = BuildSample(s);
    if (std::getenv("CALVEX_WRITE_SAMPLES")) {
        ASSERT_TRUE(CDatFile::Write(SamplePath(s), plug).ok);
    }
    EXPECT_EQ(TempDir::ReadFile(SamplePath(s)), CDatFile::Format(plug.PrepareForOutput()))
        << s.file << " is stale; rebuild with CALVEX_WRITE_SAMPLES=1";
}

TEST_P(Samples, OpensValidAndDecodesAsDescribed) {
    const SampleCodeplug& s = GetParam();
    CodeplugDocument doc;
    const DocumentResult r = doc.Open(SamplePath(s));
    ASSERT_TRUE(r.Ok()) << r.message;
    CPagerData d;
    d.Decode(doc.Codeplug());
    EXPECT_EQ(d.model.GetBand(), s.band);
    EXPECT_EQ(d.model.IsTwoFrequency(), s.twoFrequency);
    EXPECT_EQ(d.GetToneSystem(), s.toneSystem);
    EXPECT_EQ(d.squelch.GetLevel(), 3);
    EXPECT_EQ(d.version.PlugVersionText(), "1.005");
    EXPECT_EQ(d.advanced.GetBandwidth(), 3);
    EXPECT_FALSE(d.model.SubBandText().empty());

    const SampleChannel* channels[] = {&s.f1, &s.f2};
    for (int c = 0; c < 2; ++c) {
        const CChannelData& ch = d.channel[c];
        EXPECT_NEAR(ch.GetFrequency(), channels[c]->mhz, 1e-9);
        EXPECT_EQ(ch.GetCodingOption(), channels[c]->codingOption);
        for (const SampleCall& call : channels[c]->calls) {
            // Every tone comes back as the set tone it was meant to be.
            EXPECT_DOUBLE_EQ(ch.GetTone(call.call), call.tone1) << s.file << " call " << call.call;
            if (call.call < 8) EXPECT_DOUBLE_EQ(ch.GetTone(call.call + 12), call.tone2);
            EXPECT_EQ(ch.GetCallAlert(call.call), call.alert);
            EXPECT_EQ(ch.GetDutyOff(call.call), call.dutyOff);
        }
    }
}

#ifdef CALVEX_HAVE_EDITOR
TEST_P(Samples, FrequenciesAndTonesPassTheEditorRules) {
    const SampleCodeplug& s = GetParam();
    CodeplugDocument doc;
    ASSERT_TRUE(doc.Open(SamplePath(s)).Ok());
    CPagerData d;
    d.Decode(doc.Codeplug());
    const Byte ifSel = d.ifSetting.GetByte();
    for (const SampleChannel* ch : {&s.f1, &s.f2}) {
        if (ch->mhz == 0.0) continue;
        EXPECT_EQ(CheckReceiverFrequency(ch->mhz, ifSel).verdict, FrequencyVerdict::Ok)
            << s.file << " " << ch->mhz;
        const double r = ToneSpacingThreshold(d.advanced.GetBandwidth());
        for (const SampleCall& a : ch->calls) {
            EXPECT_TRUE(SameCallSpacingOk(a.tone1, a.tone2, r));
            for (const SampleCall& b : ch->calls) {
                for (double ta : {a.tone1, a.tone2}) {
                    for (double tb : {b.tone1, b.tone2}) {
                        if (ta != 0.0)
                            EXPECT_TRUE(CrossCallSpacingOk(ta, tb, r)) << ta << " " << tb;
                    }
                }
            }
        }
    }
}
#endif

#ifdef CALVEX_HAVE_SHEET
// A sample shows what a pager holds after the sheet: every page looked at
// and OK pressed leaves every byte as it was, so the first change a user
// makes is the only one listed.
TEST_P(Samples, TheSheetsOkChangesNothing) {
    CodeplugDocument doc;
    ASSERT_TRUE(doc.Open(SamplePath(GetParam())).Ok());
    CCodeplug plug = doc.Codeplug();
    const Image before = plug.GetImage();
    CUserData sheet;
    ui::ScriptedPrompt prompt;
    sheet.SetPagesPrompt(&prompt);
    const int end = sheet.RunUserDataSheet(plug, [](CUserData& s) {
        s.Begin();
        for (int i = 0; i < s.PageCount(); ++i) EXPECT_TRUE(s.SetActivePage(i));
        s.ClickFromUser(ui::IDOK);
        return s.PendingEnd();
    });
    ASSERT_EQ(end, ui::IDOK);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_TRUE(CompareCodeplugs(before, plug.GetImage()).Equal())
        << DiffText(CompareCodeplugs(before, plug.GetImage()));
}
#endif

INSTANTIATE_TEST_SUITE_P(Committed, Samples, ::testing::ValuesIn(SampleCodeplugs()),
                         [](const auto& info) {
                             return info.param.band == 2 ? std::string("Vhf") : std::string("Uhf");
                         });

}  // namespace
