// The User Data sheet as a whole: which pages a run shows, what OK writes
// back and what Cancel leaves alone; and scripted editing through the same
// pages, as `calvex set` and `calvex apply` do it.
#include <gtest/gtest.h>

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugDocument.h"
#include "document/CodeplugFields.h"
#include "editor/RuleMessages.h"
#include "editor/pages/CUserData.h"
#include "editor/pages/SheetScript.h"
#include "ui/ScriptedPrompt.h"

namespace {

CCodeplug Sample(const char* name) {
    CodeplugDocument doc;
    const auto r = doc.Open(std::string(CALVEX_SOURCE_DIR) + "/samples/" + name);
    EXPECT_EQ(r.kind, DocumentResult::Kind::Ok) << name;
    return doc.Codeplug();
}

struct F2Bytes {
    CCodeplug::RxRecord rx;
    CCodeplug::ToneTable table;
    CCodeplug::ToneRefs refs;
    CCodeplug::CallBytes calls;
    int coding;
    bool operator==(const F2Bytes&) const = default;
};
F2Bytes F2Of(const CCodeplug& p) {
    return {p.GetRxRecord(F2), p.GetToneTable(F2), p.GetToneRefs(F2), p.GetCallBytes(F2),
            p.GetCodingOption(F2)};
}

class UserDataSheet : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }
    ui::ScriptedPrompt prompt;
    CUserData sheet;
};

}  // namespace

TEST_F(UserDataSheet, OneFrequencyModelShowsFourPagesAndOkLeavesF2Alone) {
    CCodeplug plug = Sample("uhf-one-frequency.dat");
    // Give F2 bytes something to lose.
    CCodeplug::CallBytes calls = plug.GetCallBytes(F2);
    calls.fill(0x05);
    plug.SetCallBytes(F2, calls);
    const F2Bytes before = F2Of(plug);
    sheet.SetPagesPrompt(&prompt);
    std::vector<std::string> captions;
    const int r = sheet.RunUserDataSheet(plug, [&](CUserData& s) {
        s.Begin();
        for (int i = 0; i < s.PageCount(); ++i) captions.push_back(s.Page(i)->Caption());
        for (int i = 0; i < s.PageCount(); ++i) EXPECT_TRUE(s.SetActivePage(i));
        s.ClickFromUser(ui::IDOK);
        return s.PendingEnd();
    });
    EXPECT_EQ(r, ui::IDOK);
    EXPECT_EQ(captions, (std::vector<std::string>{"General", "Channel F1", "Model Options",
                                                  "Function Switches"}));
    EXPECT_EQ(F2Of(plug), before);
    EXPECT_EQ(sheet.PageCount(), 0);  // pages are added for one run only
}

TEST_F(UserDataSheet, CancelAfterEditsLeavesTheImageByteForByte) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    const Image before = plug.GetImage();
    sheet.SetPagesPrompt(&prompt);
    const int r = sheet.RunUserDataSheet(plug, [&](CUserData& s) {
        s.Begin();
        s.general.SetSelectionFromUser(CGeneral::IDC_TONE_SYSTEM, TONE_GE);
        EXPECT_TRUE(s.SetActivePage(1));
        s.channel1.SetSelectionFromUser(s.channel1.CodingOptionId(), 3);  // STD
        s.channel1.ClickFromUser(1344);                                   // Clear All Tones
        s.CancelFromUser();
        return s.PendingEnd();
    });
    EXPECT_EQ(r, ui::IDCANCEL);
    EXPECT_EQ(plug.GetImage(), before);
    // The chosen system stays in force until the next decode, as it always has.
    EXPECT_EQ(CodeplugContext::Get().toneSystem, TONE_GE);
}

TEST_F(UserDataSheet, OkWritesTheToneSystemAndTheChannelEdits) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    sheet.SetPagesPrompt(&prompt);
    const int r = sheet.RunUserDataSheet(plug, [&](CUserData& s) {
        s.Begin();
        s.general.SetSelectionFromUser(CGeneral::IDC_TONE_SYSTEM, TONE_GE);
        EXPECT_TRUE(s.SetActivePage(1));
        s.channel1.SetSelectionFromUser(s.channel1.CodingOptionId(), 3);  // STD
        s.ClickFromUser(ui::IDOK);
        return s.PendingEnd();
    });
    ASSERT_EQ(r, ui::IDOK);
    EXPECT_EQ(plug.GetToneSystem(), TONE_GE);
    EXPECT_EQ(plug.GetCodingOption(F1), 3);
    CPagerData d;
    d.Decode(plug);
    // STD keeps call 1 only; the other calls' tones are gone.
    EXPECT_NE(d.channel[0].GetTone(0), 0.0);
    EXPECT_EQ(d.channel[0].GetTone(1), 0.0);
    EXPECT_EQ(d.channel[0].GetTone(8), 0.0);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(UserDataSheet, GeneralPageShowsTheIdentityReadOnly) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    sheet.RunUserDataSheet(plug, [&](CUserData& s) {
        s.Begin();
        EXPECT_EQ(s.general.Text(CGeneral::IDC_MODEL), "A03XLT9239AC");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_SERIAL), "136WJA0001");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_XTAL), "3.579545");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_IF), "21.4");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_INJECTION), "Low");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_PLUG_VERSION), "1.005");
        EXPECT_EQ(s.general.Text(CGeneral::IDC_PAGER_VERSION), "0.00");
        EXPECT_EQ(s.general.Selection(CGeneral::IDC_TONE_SYSTEM), TONE_CORVANE);
        return ui::IDCANCEL;
    });
    // Cleared after the run.
    EXPECT_EQ(sheet.general.Text(CGeneral::IDC_PLUG_VERSION), "");
}

// ---- scripted edits ----

namespace {
struct Refusal {
    const char* why;
    std::vector<SheetChange> changes;
    SheetScriptResult::Outcome outcome;
    const char* message;  // expected box text, or a piece of the error
};
}  // namespace

TEST_F(UserDataSheet, ScriptRefusalsLeaveTheCodeplugUntouched) {
    const std::vector<Refusal> cases = {
        {"off raster",
         {{"channels.F1.frequency", "152.001"}},
         SheetScriptResult::Outcome::Refused,
         rule_text::kInvalidReceiverFrequency},
        {"same tone twice in a call",
         {{"channels.F1.calls.1.tone2", "349.0"}},
         SheetScriptResult::Outcome::Refused,
         rule_text::kToneSpacingError},
        {"factory field",
         {{"serial", "136WJA0002"}},
         SheetScriptResult::Outcome::Refused,
         "factory data"},
        {"derived field",
         {{"channels.F1.calls.1.alertValue", "3"}},
         SheetScriptResult::Outcome::Refused,
         "follows other fields"},
        {"shared field under R468",
         {{"channels.F2.calls.2.tone1", "600.9"}},
         SheetScriptResult::Outcome::Refused,
         "cannot be changed now"},
        {"page order: coding option first, then call 2 is gone",
         {{"channels.F1.calls.2.tone1", "600.9"}, {"channels.F1.codingOption", "STD"}},
         SheetScriptResult::Outcome::Refused,
         "not shown"},
        {"unknown key",
         {{"channels.F3.frequency", "1"}},
         SheetScriptResult::Outcome::BadInput,
         "unknown key"},
        {"not a list entry",
         {{"toneSystem", "Motorola"}},
         SheetScriptResult::Outcome::BadInput,
         "is not one of"},
        {"later refusal undoes earlier changes",
         {{"toneSystem", "GE"}, {"squelchLevel", "5"}, {"channels.F1.frequency", "abc"}},
         SheetScriptResult::Outcome::Refused,
         rule_text::kInvalidReceiverFrequency},
    };
    for (const Refusal& c : cases) {
        CodeplugContext::Get().Reset();
        CCodeplug plug = Sample("vhf-two-frequency.dat");
        const Image before = plug.GetImage();
        const SheetScriptResult r = SheetScript::Apply(plug, c.changes);
        EXPECT_EQ(r.outcome, c.outcome) << c.why;
        EXPECT_EQ(plug.GetImage(), before) << c.why;
        bool found = r.error.find(c.message) != std::string::npos;
        for (const SheetMessage& m : r.messages) found = found || m.text == c.message;
        EXPECT_TRUE(found) << c.why << ": " << r.error;
    }
}

TEST_F(UserDataSheet, ScriptChangesGoThroughThePagesRules) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    const SheetScriptResult r = SheetScript::Apply(
        plug, {{"modelOptions.scanBack", "0.6"},
               {"switches.SW-D.mode", "Silent Scan"},
               {"squelchLevel", "5"},
               {"channels.F1.calls.5.tone1", "1000"},  // snapped onto the Corvane set
               {"channels.F1.frequency", "152.0125"},
               {"toneSystem", "Corvane"}});
    ASSERT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    // The scan time warning informs; the change is taken.
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "Scan Warning");
    EXPECT_FALSE(r.messages[0].refusal);

    CPagerData d;
    d.Decode(plug);
    EXPECT_NEAR(d.channel[0].GetFrequency(), 152.0125, 1e-6);
    EXPECT_NEAR(d.channel[0].GetTone(4), 1006.9, 0.05);
    EXPECT_EQ(d.squelch.GetLevel(), 5);
    EXPECT_EQ(d.switches.GetMode(3), 6);
    EXPECT_NEAR(d.options.ScanBackSeconds(), 0.6, 1e-9);
}

TEST_F(UserDataSheet, ScriptCannotReachChannelF2OfAOneFrequencyModel) {
    CCodeplug plug = Sample("uhf-one-frequency.dat");
    const Image before = plug.GetImage();
    const auto r = SheetScript::Apply(plug, {{"channels.F2.codingOption", "STD"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_NE(r.error.find("one-frequency"), std::string::npos);
    EXPECT_EQ(plug.GetImage(), before);
}

TEST_F(UserDataSheet, CodingOptionTheListDoesNotOfferSurvivesOpenAndOk) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    plug.SetCodingOption(F1, 12);
    CChannelData before;
    before.Load(plug, F1);
    sheet.SetPagesPrompt(&prompt);
    const int r = sheet.RunUserDataSheet(plug, [&](CUserData& s) {
        s.Begin();
        for (int i = 0; i < s.PageCount(); ++i) EXPECT_TRUE(s.SetActivePage(i));
        s.ClickFromUser(ui::IDOK);
        return s.PendingEnd();
    });
    ASSERT_EQ(r, ui::IDOK);
    EXPECT_EQ(plug.GetCodingOption(F1), 12);
    CChannelData after;
    after.Load(plug, F1);
    for (int slot = 0; slot < CChannelData::kSlots; ++slot)
        EXPECT_EQ(after.GetSlotCode(slot), before.GetSlotCode(slot)) << slot;
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(UserDataSheet, ScriptComesBackForFieldsALaterPageTurnsOn) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    // No position in "Priority Scan F1": the scan time is not shown.
    ASSERT_EQ(SheetScript::Apply(plug, {{"switches.SW-C.mode", "Monitor F1"}}).outcome,
              SheetScriptResult::Outcome::Changed);
    CodeplugContext::Get().Reset();
    const Image before = plug.GetImage();
    // F2 duty is unused until a switch position gives it ON/OFF duty.
    const auto alone = SheetScript::Apply(plug, {{"channels.F2.calls.1.duty", "OFF"}});
    EXPECT_EQ(alone.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_NE(alone.error.find("disabled"), std::string::npos) << alone.error;
    EXPECT_EQ(plug.GetImage(), before);

    // Given with the switch change that turns it on, the field is set after it.
    const auto r = SheetScript::Apply(plug, {{"modelOptions.scanBack", "0.6"},
                                             {"channels.F2.calls.1.duty", "OFF"},
                                             {"switches.SW-B.mode", "Priority Scan F1"},
                                             {"switches.SW-D.mode", "Selective Call F2"},
                                             {"switches.SW-D.onOffDuty", "YES"}});
    ASSERT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "Scan Warning");
    CPagerData d;
    d.Decode(plug);
    EXPECT_EQ(d.options.GetScanBack(), 75);
    EXPECT_TRUE(d.channel[1].GetDutyOff(0));
    EXPECT_EQ(d.switches.GetMode(1), 5);

    // A field that stays off is still refused, and nothing is written.
    const Image kept = plug.GetImage();
    const auto still = SheetScript::Apply(plug, {{"channels.F1.calls.5.tone1", "600.9"},
                                                 {"channels.F1.codingOption", "STD"},
                                                 {"squelchLevel", "2"}});
    EXPECT_EQ(still.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_NE(still.error.find("not shown"), std::string::npos) << still.error;
    EXPECT_EQ(plug.GetImage(), kept);
}

// ---- what a refusal names, and documents ----

namespace {

// The description's value of a field, as calvex apply compares it.
std::optional<std::string> Described(const CCodeplug& plug, const std::string& key) {
    for (const FieldEntry& e : FlattenFields(DescribeCodeplug(plug)))
        if (e.name == key) return EditText(e.value);
    return std::nullopt;
}

ui::script::Options Compared(bool document = false) {
    ui::script::Options o;
    o.document = document;
    o.fieldValue = Described;
    return o;
}

}  // namespace

TEST_F(UserDataSheet, ARefusalNamesItsKeyAndAStoredValueNobodyAskedFor) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    auto r =
        SheetScript::Apply(plug, {{"squelchLevel", "2"}, {"channels.F1.calls.1.tone2", "349.0"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_EQ(r.refusal.key, "channels.F1.calls.1.tone2");
    EXPECT_EQ(r.refusal.value, "349.0");
    EXPECT_TRUE(r.refusal.asked);
    EXPECT_NE(r.error.find("channels.F1.calls.1.tone2: \"349.0\" was refused"), std::string::npos)
        << r.error;

    // F1 holds a frequency out of its split's range (as a pager can): a
    // change of another field on that page draws the range message about it.
    CChannelData f1;
    f1.Load(plug, F1);
    f1.SetFrequency(140.0, f1.GetIfByte());
    f1.Store(plug, F1);
    const Image before = plug.GetImage();
    r = SheetScript::Apply(plug, {{"channels.F1.calls.1.alert", "Music 2"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages[0].text, "Please enter a number between 150.4 and 159.5975.");
    EXPECT_EQ(r.refusal.key, "channels.F1.frequency");
    EXPECT_EQ(r.refusal.value, "140.0000");
    EXPECT_FALSE(r.refusal.asked);
    EXPECT_NE(r.error.find("channels.F1.frequency holds \"140.0000\""), std::string::npos)
        << r.error;
    EXPECT_EQ(plug.GetImage(), before);
}

TEST_F(UserDataSheet, UnknownAdvancedKeysAreUnknown) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    EXPECT_EQ(SheetScript::Apply(plug, {{"advanced.NO_SUCH", "1"}}).outcome,
              SheetScriptResult::Outcome::BadInput);
    EXPECT_EQ(SheetScript::Apply(plug, {{"advanced.T1D.value", "1"}}).outcome,
              SheetScriptResult::Outcome::Refused);
    EXPECT_EQ(SheetScript::Classify("advanced.GOOD/BAD RADIO"), SheetKeyKind::Factory);
}

TEST_F(UserDataSheet, PickingTheCodingOptionShownKeepsTheTonesOfUnusedCalls) {
    // F1 of the sample uses all calls; STD stored over them keeps their slots.
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    plug.SetCodingOption(F1, 3);
    const Image before = plug.GetImage();
    const auto r = SheetScript::Apply(plug, {{"channels.F1.codingOption", "STD"}});
    ASSERT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    EXPECT_EQ(plug.GetImage(), before);
    CChannelData f1;
    f1.Load(plug, F1);
    EXPECT_NE(f1.GetSlotCode(2), 0);  // Call 3 Tone 1, not used by "STD"
}

TEST_F(UserDataSheet, ATimeOutOfRangeIsLimitedAsOnThePage) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    const auto r = SheetScript::Apply(
        plug, {{"modelOptions.scanBack", "0.01"}, {"modelOptions.resetTime", "1e12SEC."}});
    ASSERT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "Please enter a number between 0.064 and 2.04.");
    EXPECT_FALSE(r.messages[0].refusal);
    ASSERT_EQ(r.notes.size(), 2u);
    EXPECT_EQ(r.notes[0], "modelOptions.scanBack: \"0.01\" is out of range; the page took 0.064");
    EXPECT_EQ(r.notes[1],
              "modelOptions.resetTime: \"1e12SEC.\" is out of range; the page took 122.4");
    CPagerData d;
    d.Decode(plug);
    EXPECT_EQ(d.options.GetScanBack(), 8);
    EXPECT_EQ(d.options.GetResetTime(), 255);
    // Not a number at all: the time stays, and the change is refused.
    EXPECT_EQ(SheetScript::Apply(plug, {{"modelOptions.scanBack", "abc"}}).outcome,
              SheetScriptResult::Outcome::Refused);
}

TEST_F(UserDataSheet, TheFieldReadsWhatWasTypedLeadingBlanksIncluded) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    // Only eight characters count: " 152.007" is off the raster.
    const auto r = SheetScript::Apply(plug, {{"channels.F1.frequency", " 152.0075"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages[0].text, rule_text::kInvalidReceiverFrequency);
    EXPECT_EQ(SheetScript::Apply(plug, {{"channels.F1.frequency", "152.0125 "}}).outcome,
              SheetScriptResult::Outcome::Changed);
}

TEST_F(UserDataSheet, AFieldThatAlreadyHoldsTheValueIsSatisfied) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    const Image before = plug.GetImage();
    // SW-A's list is greyed by push to listen and shows "Vibrator".
    auto r = SheetScript::Apply(plug, {{"switches.SW-A.alertType", "Vibrator"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    r = SheetScript::Apply(plug, {{"switches.SW-A.alertType", "Tone"}});
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_NE(r.error.find("disabled"), std::string::npos) << r.error;
    EXPECT_EQ(plug.GetImage(), before);

    // Fields that follow others: compared after the run when a description
    // is at hand, refused otherwise.
    EXPECT_EQ(SheetScript::Apply(plug, {{"channels.F1.codingOptionValue", "10"}}).outcome,
              SheetScriptResult::Outcome::Refused);
    r = SheetScript::Apply(plug,
                           {{"channels.F1.codingOption", "STD"},
                            {"channels.F1.codingOptionValue", "3"},
                            {"channels.F1.calls.2.alertValue", "1"},
                            {"channels.F1.onOffDuty", "Enabled"},
                            {"advanced.SCAN_BACK.value", "125"}},
                           Compared());
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    EXPECT_EQ(plug.GetCodingOption(F1), 3);
    const Image kept = plug.GetImage();
    r = SheetScript::Apply(plug, {{"channels.F1.codingOptionValue", "4"}}, Compared());
    EXPECT_EQ(r.outcome, SheetScriptResult::Outcome::Refused);
    EXPECT_EQ(r.refusal.key, "channels.F1.codingOptionValue");
    EXPECT_NE(r.error.find("it holds \"3\""), std::string::npos) << r.error;
    r = SheetScript::Apply(plug, {{"advanced.SCAN_BACK.value", "64"}}, Compared());
    EXPECT_NE(r.error.find("factory data"), std::string::npos) << r.error;
    EXPECT_EQ(plug.GetImage(), kept);
}

TEST_F(UserDataSheet, ADocumentTakesWhatEarlierChangesAlreadyShow) {
    CCodeplug plug = Sample("vhf-two-frequency.dat");
    // F2 "R468": Long B (Group 1) follows Call 1 Tone 2 and cannot be typed.
    const std::vector<SheetChange> doc = {{"channels.F2.calls.1.tone2", "707.3"},
                                          {"channels.F2.calls.9.tone1", "707.3"},
                                          // A position made Monitor loses duty and PTL.
                                          {"switches.SW-A.mode", "Monitor F1"},
                                          {"switches.SW-A.ptl", "DISABLED"},
                                          {"switches.SW-A.onOffDuty", "DISABLED"}};
    const auto r = SheetScript::Apply(plug, doc, Compared(true));
    ASSERT_EQ(r.outcome, SheetScriptResult::Outcome::Changed) << r.error;
    for (const SheetChange& c : doc) EXPECT_EQ(Described(plug, c.key), c.value) << c.key;
    // What differs and cannot be reached is still refused.
    const auto still =
        SheetScript::Apply(plug, {{"channels.F2.calls.9.tone1", "832.5"}}, Compared(true));
    EXPECT_EQ(still.outcome, SheetScriptResult::Outcome::Refused);
}
