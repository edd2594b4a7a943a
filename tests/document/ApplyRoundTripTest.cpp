// A codeplug edited on the User Data sheet, described as `calvex show --json`
// describes it and applied to the codeplug it came from as `calvex apply`
// applies a document, gives the edited codeplug back byte for byte, but for
// one thing no document can say: which of two tone codes that show the same
// tone a slot holds (a tone typed onto the tone it already showed under a
// new tone system takes the set's own code; one left alone keeps its old
// code).
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "SampleCodeplugs.h"
#include "codeplug/CChannelData.h"
#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"
#include "document/CodeplugEdits.h"

namespace {

const char* const kToneSystems[] = {"Corvane", "GE", "Plectron", "User", "Fast Plectron"};
const char* const kCoding[] = {"R468", "R130", "R97", "STD",  "R134",       "R138",
                               "R362", "R177", "R60", "R621", "R168 (None)"};
const char* const kAlerts[] = {"Standard", "Continuous", "Music 1", "Music 4", "Music 8"};
const char* const kModes[] = {"Monitor F1",        "Monitor F2",       "Selective Call F1",
                              "Selective Call F2", "Probability Scan", "Priority Scan F1",
                              "Silent Scan"};
const char* const kOptionLists[] = {"voiceMemo", "fixedAlert", "callReminder", "priorityAlert",
                                    "privacy"};
const char* const kSvTimes[] = {"15 Sec", "30 Sec", "60 Sec", "120 Sec", "Dynamic"};
const char* const kResets[] = {"Automatic", "Delayed N", "Revert", "Manual", "Timeout", "Revert N"};
const char* const kSwitchAlerts[] = {"Tone", "Vibrate", "Tone & Vibrate"};
const char* const kPositions[] = {"SW-A", "SW-B", "SW-C", "SW-D"};

// Random changes a user could make on the sheet; some the sheet refuses.
class Edits {
public:
    explicit Edits(unsigned seed) : m_rng(seed) {}

    std::vector<SheetChange> Make(const CCodeplug& plug) {
        CPagerData d;
        d.Decode(plug);
        std::vector<SheetChange> out;
        const int count = Int(1, 6);
        for (int i = 0; i < count; ++i) out.push_back(One(d));
        return out;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    template <typename T, std::size_t N>
    const char* Pick(T (&list)[N]) {
        return list[static_cast<std::size_t>(Int(0, static_cast<int>(N) - 1))];
    }
    static std::string Num(const char* format, double v) {
        char text[32];
        std::snprintf(text, sizeof text, format, v);
        return text;
    }
    // A time in seconds, now and then outside its range (the page limits it).
    std::string Time(double lo, double hi) {
        if (Int(0, 9) == 0) return Num("%.3f", Int(0, 1) ? lo / 2 : hi * 2);
        return Num("%.3f", std::uniform_real_distribution<double>(lo, hi)(m_rng));
    }

    SheetChange One(const CPagerData& d) {
        const std::string ch =
            std::string("channels.") + (d.model.IsTwoFrequency() && Int(0, 1) ? "F2" : "F1");
        const int which = ch.back() == '1' ? 0 : 1;
        switch (Int(0, 11)) {
            case 0:
                return {"toneSystem", Pick(kToneSystems)};
            case 1: {
                // A step or two from where the channel is, on its raster.
                const double step = d.model.GetBand() == 3   ? 0.0125
                                    : d.model.GetBand() == 2 ? 0.0025
                                                             : 0.005;
                const double f = d.channel[which].GetFrequency();
                return {ch + ".frequency", Num("%.4f", f + step * Int(-40, 40))};
            }
            case 2:
                return {ch + ".codingOption", Pick(kCoding)};
            case 3:
            case 4:
            case 5: {
                const int call = Int(1, 12);
                const bool second = call <= 8 && Int(0, 1);
                const std::string key =
                    ch + ".calls." + std::to_string(call) + (second ? ".tone2" : ".tone1");
                if (Int(0, 7) == 0) return {key, ""};
                return {key,
                        Num("%.1f", std::uniform_real_distribution<double>(285.0, 3300.0)(m_rng))};
            }
            case 6: {
                const std::string call = ch + ".calls." + std::to_string(Int(1, 12));
                return Int(0, 1) ? SheetChange{call + ".alert", Pick(kAlerts)}
                                 : SheetChange{call + ".duty", Int(0, 1) ? "ON" : "OFF"};
            }
            case 7:
                switch (Int(0, 3)) {
                    case 0:
                        return {std::string("modelOptions.") + Pick(kOptionLists),
                                Int(0, 1) ? "ON" : "OFF"};
                    case 1:
                        return {"modelOptions.svFunction", Pick(kSvTimes)};
                    case 2:
                        return {"modelOptions.alertDuration", Int(0, 1) ? "FIXED" : "STD"};
                    default:
                        return {"modelOptions.resetFunction", Pick(kResets)};
                }
            case 8:
                switch (Int(0, 3)) {
                    case 0:
                        return {"modelOptions.scanBack", Time(0.064, 2.04)};
                    case 1:
                        return {"modelOptions.alertTime", Time(0.48, 122.4)};
                    case 2:
                        return {"modelOptions.resetTime", Time(0.48, 122.4)};
                    default:
                        return {"squelchLevel", std::to_string(Int(1, 5))};
                }
            case 9:
            case 10: {
                const std::string sw = std::string("switches.") + Pick(kPositions);
                switch (Int(0, 4)) {
                    case 0:
                        return {sw + ".mode", d.model.IsTwoFrequency() ? Pick(kModes)
                                              : Int(0, 1)              ? "Monitor F1"
                                                                       : "Selective Call F1"};
                    case 1:
                        return {sw + ".alertType", Pick(kSwitchAlerts)};
                    case 2:
                        return {sw + ".wideBand", Int(0, 1) ? "YES" : "NO"};
                    case 3:
                        return {sw + ".onOffDuty", Int(0, 1) ? "YES" : "NO"};
                    default:
                        return {sw + ".ptl", Int(0, 1) ? "YES" : "NO"};
                }
            }
            default:
                return {ch + ".calls." + std::to_string(Int(1, 8)) + ".tone1",
                        Num("%.1f", std::uniform_real_distribution<double>(300.0, 1200.0)(m_rng))};
        }
    }

    std::mt19937 m_rng;
};

std::string Describe(const std::vector<SheetChange>& changes) {
    std::string s;
    for (const SheetChange& c : changes) s += "  " + c.key + "=" + c.value + "\n";
    return s;
}

// Edits the codeplug until a set of random changes is taken (the sheet
// refuses some); false when none was.
bool EditOnce(CCodeplug& plug, Edits& edits, std::vector<SheetChange>* made = nullptr) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        CCodeplug work = plug;
        const std::vector<SheetChange> changes = edits.Make(work);
        if (EditCodeplug(work, changes).outcome != CodeplugEditResult::Outcome::Changed) continue;
        plug = work;
        if (made) *made = changes;
        return true;
    }
    return false;
}

bool InToneTables(std::size_t at) {
    using namespace layout;
    return (at >= TONE_TABLE1 && at < TONE_TABLE2 + 40) || (at >= TONE_REF1 && at < TONE_REF2 + 20);
}

// Nothing differs but the codes of slots that show the same tone (the
// packing of the tone tables follows the codes).
bool OnlyCodesThatShowTheSameTone(const CCodeplug& a, const CCodeplug& b) {
    for (std::size_t at = 0; at < a.GetImage().size(); ++at)
        if (!InToneTables(at) && a.GetImage()[at] != b.GetImage()[at]) return false;
    for (Channel ch : {F1, F2}) {
        CChannelData x, y;
        x.Load(a, ch);
        y.Load(b, ch);
        for (int slot = 0; slot < CChannelData::kSlots; ++slot)
            if (x.ToneText(slot) != y.ToneText(slot)) return false;
        for (int call = 0; call < CChannelData::kCalls; ++call)
            if (x.GetDutyOff(call) != y.GetDutyOff(call)) return false;
    }
    return true;
}

TEST(ApplyRoundTrip, ADocumentOfASheetEditAppliesBackToTheSameBytes) {
    Edits edits(20240521u);
    int checked = 0, unseen = 0;
    for (int round = 0; round < 240; ++round) {
        CodeplugContext::Get().Reset();
        const SampleCodeplug& sample = SampleCodeplugs()[static_cast<std::size_t>(round % 2)];
        // The codeplug it starts from: a sample the sheet has already edited.
        CCodeplug original = BuildSample(sample);
        for (int i = round % 3; i > 0; --i) EditOnce(original, edits);
        CCodeplug edited = original;
        std::vector<SheetChange> made;
        if (!EditOnce(edited, edits, &made)) continue;

        const FieldJson document = DescribeCodeplug(edited);
        CCodeplug applied = original;
        const std::vector<SheetChange> asked = DocumentChanges(document, applied);
        const CodeplugEditResult r = EditCodeplug(applied, asked, {false, true});
        ASSERT_EQ(r.outcome, CodeplugEditResult::Outcome::Changed)
            << "round " << round << ": " << r.error << "\nsheet edit:\n"
            << Describe(made) << "document asks:\n"
            << Describe(asked);
        const CodeplugDiff left = CompareCodeplugs(edited.GetImage(), applied.GetImage());
        if (!left.Equal()) {
            CodeplugContext::Get().toneSystem = edited.GetToneSystem();
            ASSERT_TRUE(OnlyCodesThatShowTheSameTone(edited, applied))
                << "round " << round << ":\n"
                << DiffText(left) << "sheet edit:\n"
                << Describe(made) << "document asks:\n"
                << Describe(asked);
            ++unseen;
        }
        ++checked;
    }
    EXPECT_GT(checked, 200);
    // Codes the document cannot tell apart come only from a tone system
    // change or from codes of an earlier one: a few rounds at most.
    EXPECT_LT(unseen, checked / 10);
}

TEST(ApplyRoundTrip, AnUneditedDocumentAsksForNothing) {
    for (const SampleCodeplug& s : SampleCodeplugs()) {
        const CCodeplug plug = BuildSample(s);
        EXPECT_TRUE(DocumentChanges(DescribeCodeplug(plug), plug).empty()) << s.file;
    }
}

}  // namespace
