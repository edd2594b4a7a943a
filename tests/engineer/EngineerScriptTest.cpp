#include "codeplug/CAdvancedData.h"
#include "codeplug/CModelNumber.h"
#include "codeplug/CSerialNumber.h"
#include "engineer/CEngineerDataDlg.h"
#include "engineer/EngineerFixture.h"
#include "engineer/EngineerScript.h"

namespace {

using Outcome = EngineerScriptResult::Outcome;

class EngineerScriptTest : public EngineerFixture {
protected:
    EngineerScriptResult Run(const std::vector<EngineerChange>& changes) {
        return EngineerScript::Apply(plug, changes);
    }
    Byte At(std::size_t offset) const { return plug.GetImage()[offset]; }
    CModelNumber Model() const {
        CModelNumber m;
        m.Load(plug);
        return m;
    }
    CSerialNumber Serial() const {
        CSerialNumber s;
        s.Load(plug);
        return s;
    }
    double F(Channel ch) const {
        return CRxFrequency::Decode(plug.GetRxRecord(ch), Model().GetBand(), plug.GetIfByte());
    }

    static CCodeplug ValidPlug() {
        // The fixture's block holds T2D 171, which Advanced Engineer Data
        // refuses on every check.
        CCodeplug plug = MakePlug();
        CAdvancedData block;
        block.Load(plug);
        block.SetT2d(10);
        block.Store(plug);
        return plug;
    }

    // VHF split B, site W, year code 8 ("J"), half-month 3 ("D"), unit 1234,
    // version 3.007.
    CCodeplug plug = ValidPlug();
};

TEST_F(EngineerScriptTest, LogonTakesOnlyTheExactPassword) {
    EXPECT_TRUE(EngineerScript::Logon("Quorin"));
    EXPECT_TRUE(CodeplugContext::Get().engineer);
    for (const char* wrong : {"quorin", "Quorin ", "", "Quori"}) {
        EXPECT_FALSE(EngineerScript::Logon(wrong)) << wrong;
        EXPECT_FALSE(CodeplugContext::Get().engineer) << wrong;
    }
}

TEST_F(EngineerScriptTest, SerialAndVersionGoThroughTheirBoxesAndSurviveOk) {
    const auto r = Run({{"serial", "136WJDA123"}, {"codeplugVersion", "42"}});
    ASSERT_EQ(r.outcome, Outcome::Changed) << r.error;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(Serial().GetUnitNumber(), 10123);
    EXPECT_EQ(Serial().GetYear(), 8);
    EXPECT_EQ(At(0x0CF), 42);
    EXPECT_EQ(At(0x0D0), 7);  // the companion byte stays
    // The version as `show` prints it, its thousandths unchanged.
    ASSERT_EQ(Run({{"codeplugVersion", "43.007"}}).outcome, Outcome::Changed);
    EXPECT_EQ(At(0x0CF), 43);
    // Another build year and half-month are picked from their lists.
    ASSERT_EQ(Run({{"serial", "136WSZ0000"}}).outcome, Outcome::Changed);
    EXPECT_EQ(Serial().GetYear(), 0);     // "S - 2016"
    EXPECT_EQ(Serial().GetPeriod(), 23);  // "Z - 2nd Dec."
    EXPECT_EQ(Serial().GetUnitNumber(), 0);
    EXPECT_EQ(Serial().GetSite(), 2);
}

TEST_F(EngineerScriptTest, ARefusedEntryStopsTheRunAndLeavesTheCodeplug) {
    const Image before = plug.GetImage();
    struct Case {
        std::vector<EngineerChange> changes;
        Outcome outcome;
        std::string says;
    } cases[] = {
        // The dialogs' own boxes.
        {{{"codeplugVersion", "42"}, {"serial", "136WJDI000"}},
         Outcome::Refused,
         CEngineerDataDlg::kBadUnit},
        {{{"codeplugVersion", "256"}}, Outcome::Refused, "0 and 255"},
        {{{"advanced.SCAN_BACK", "7"}}, Outcome::Refused, "8 and 255"},
        {{{"advanced.T1D.value", "128"}}, Outcome::Refused, "1 and 127"},
        // What no control can do.
        {{{"codeplugVersion", "42.008"}}, Outcome::Refused, "thousandths stay .007"},
        {{{"serial", "136BJD1234"}}, Outcome::Refused, "only Bresmar"},
        {{{"model", "A03XLT2239AC"}}, Outcome::Refused, "not offered"},
        {{{"injection", "High"}}, Outcome::Refused, "no control"},
        {{{"advanced.PLUG_VER.value", "9"}}, Outcome::Refused, "set codeplugVersion instead"},
        {{{"subBandIndex", "3"}, {"band", "3"}}, Outcome::Refused, "not offered for band"},
        // Values no list or field takes.
        {{{"band", "1"}}, Outcome::BadInput, "is not a band"},
        {{{"subBand", "Q"}}, Outcome::BadInput, "is not one of"},
        {{{"model", "A03XLT9239"}}, Outcome::BadInput, "is not a model number"},
        {{{"serial", "136WJO1234"}}, Outcome::BadInput, "is not a serial number"},
        {{{"advanced.NO_SUCH", "1"}}, Outcome::BadInput, "unknown key"},
    };
    for (const Case& c : cases) {
        const auto r = Run(c.changes);
        EXPECT_EQ(r.outcome, c.outcome) << c.changes[0].key;
        std::string all = r.error;
        for (const auto& m : r.messages) all += "|" + m.text;
        EXPECT_NE(all.find(c.says), std::string::npos) << c.changes[0].key << ": " << all;
        EXPECT_EQ(plug.GetImage(), before) << c.changes[0].key;
    }
}

TEST_F(EngineerScriptTest, BandGoesBeforeSplitWhateverTheOrderGiven) {
    const auto r = Run({{"subBand", "C"}, {"band", "0"}});
    ASSERT_EQ(r.outcome, Outcome::Changed) << r.error;
    EXPECT_EQ(Model().GetBand(), 0);
    EXPECT_EQ(Model().GetSubBand(), 2);
    EXPECT_EQ(Model().GetModulation(), 5);  // "7 - NSV" with LOW
    EXPECT_EQ(plug.GetIfByte(), 0x10);      // LOW band change: IF 0, injection high, sub-code 0
    EXPECT_DOUBLE_EQ(F(F1), 43.125);
    EXPECT_DOUBLE_EQ(F(F2), 44.995);
    EXPECT_EQ(At(0x0B3), 0x10);  // the block carries the IF byte
}

TEST_F(EngineerScriptTest, AListKeyIsPickedEvenWhenItsListShowsTheValue) {
    // The parts of a model number that hold their value are not picked: the
    // band is the same, so the split and the frequencies stay.
    ASSERT_EQ(Run({{"model", Model().ModelText()}}).outcome, Outcome::Changed);
    EXPECT_EQ(Model().GetSubBand(), 1);
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    // In a document a list that shows the value is satisfied as it is.
    ui::script::Options document;
    document.document = true;
    ASSERT_EQ(EngineerScript::Apply(plug, {{"band", "2"}, {"subBandIndex", "1"}}, document).outcome,
              Outcome::Changed);
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    // Named on its own, the list is picked as a user picks it: VHF again
    // resets the split and both frequencies.
    ASSERT_EQ(Run({{"band", "2"}}).outcome, Outcome::Changed);
    EXPECT_EQ(Model().GetSubBand(), 0);
    EXPECT_DOUBLE_EQ(F(F1), 147.0125);
    EXPECT_DOUBLE_EQ(F(F2), 150.9975);
    // The split picked again gives its defaults back after "38 - One Freq".
    ASSERT_EQ(Run({{"twoFrequency", "false"}}).outcome, Outcome::Changed);
    EXPECT_DOUBLE_EQ(F(F2), 0.0);
    ASSERT_EQ(Run({{"subBand", "A"}}).outcome, Outcome::Changed);
    EXPECT_DOUBLE_EQ(F(F2), 150.9975);
    // LOW: the band change gives IF sub-code 0; the IF list's one entry,
    // picked, gives sub-code 1.
    ASSERT_EQ(Run({{"band", "0"}}).outcome, Outcome::Changed);
    EXPECT_EQ(plug.GetIfByte(), 0x10);
    ASSERT_EQ(Run({{"if", "14.575"}}).outcome, Outcome::Changed);
    EXPECT_EQ(plug.GetIfByte(), 0x11);
    // The crystal shown picked again sets the crystal index (SP 1 shows
    // "3.578545" without changing it).
    ASSERT_EQ(Run({{"model", "A01XLT7239AC_SP01"}}).outcome, Outcome::Changed);
    EXPECT_NE(At(0x0B5) & 0x0F, 1);
    ASSERT_EQ(Run({{"crystal", "3.578545"}}).outcome, Outcome::Changed);
    EXPECT_EQ(At(0x0B5) & 0x0F, 1);
}

TEST_F(EngineerScriptTest, ModelPartsArePickedAndTheSpWarningOnlyWarns) {
    const auto r = Run({{"model", "A03XLT7238BA_SP01"}});
    ASSERT_EQ(r.outcome, Outcome::Changed) << r.error;
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].caption, "SP warning");
    EXPECT_FALSE(r.messages[0].refusal);
    EXPECT_EQ(Model().ModelText(), "A03XLT7238BA_SP01");
    EXPECT_DOUBLE_EQ(F(F2), 0.0);  // "38 - One Freq"
    EXPECT_DOUBLE_EQ(F(F1), 154.9875);
    // The crystal pick sets SP as well.
    ASSERT_EQ(Run({{"crystal", "3.579545"}}).outcome, Outcome::Changed);
    EXPECT_EQ(Model().GetSp(), 0);
    EXPECT_EQ(At(0x0B5) & 0x0F, 0);
    ASSERT_EQ(Run({{"twoFrequency", "true"}}).outcome, Outcome::Changed);
    EXPECT_DOUBLE_EQ(F(F2), 158.9975);  // split B's default
}

TEST_F(EngineerScriptTest, AdvancedFieldsGoThroughTheirBoxesAndTheVersionStillWins) {
    const auto r = Run({{"advanced.SQ_ON", "15"},
                        {"advanced.SQ_OFF.value", "15"},
                        {"advanced.GOOD/BAD_RATIO", "54"},
                        {"advanced.GOOD/BAD RADIO2.value", "170"},
                        {"codeplugVersion", "9"}});
    ASSERT_EQ(r.outcome, Outcome::Changed) << r.error;
    EXPECT_EQ(At(0x0CE), 0xFF);
    EXPECT_EQ(At(0x0C2), 54);
    EXPECT_EQ(At(0x0C3), 170);
    EXPECT_EQ(At(0x0CF), 9);

    // Every box is checked when one is left: a stored value out of its range
    // must be mended along with the change, as in the dialog.
    plug = MakePlug();
    const Image before = plug.GetImage();
    const auto refused = Run({{"advanced.SQ_ON", "15"}});
    EXPECT_EQ(refused.outcome, Outcome::Refused);
    ASSERT_FALSE(refused.messages.empty());
    EXPECT_EQ(refused.messages[0].text, "Please enter an integer between 1 and 127.");
    EXPECT_EQ(plug.GetImage(), before);
    // The refusal names the box whose stored value drew it, not the change.
    EXPECT_EQ(refused.refusal.key, "advanced.T2D");
    EXPECT_EQ(refused.refusal.value, "171");
    EXPECT_FALSE(refused.refusal.asked);
    EXPECT_NE(refused.error.find("advanced.T2D holds \"171\""), std::string::npos) << refused.error;
    // A value typed and refused is named with the key that gave it.
    plug = ValidPlug();
    const auto typed = Run({{"advanced.SQ_ON", "3"}, {"advanced.T1D.value", "128"}});
    EXPECT_EQ(typed.refusal.key, "advanced.T1D.value");
    EXPECT_EQ(typed.refusal.value, "128");
    EXPECT_TRUE(typed.refusal.asked);
    EXPECT_NE(typed.error.find("advanced.T1D.value: \"128\" was refused"), std::string::npos)
        << typed.error;
    plug = MakePlug();
    ASSERT_EQ(Run({{"advanced.T2D", "68"}, {"advanced.SQ_ON", "15"}}).outcome, Outcome::Changed);
    EXPECT_EQ(At(0x0BE), 68);
}

TEST_F(EngineerScriptTest, StoredVoiceIcIsPickedFromItsListKeepingTheToneSystem) {
    const Byte before = At(0x098);
    ASSERT_NE(before & 0x07, 0);  // the sample's chip code has no name
    EXPECT_EQ(Run({{"storedVoiceIc", "ISD9999"}}).outcome, Outcome::BadInput);
    EXPECT_EQ(At(0x098), before);
    const auto r = Run({{"storedVoiceIc", "isd5116"}});
    ASSERT_EQ(r.outcome, Outcome::Changed) << r.error;
    EXPECT_EQ(At(0x098), before & 0xF8);
}

TEST_F(EngineerScriptTest, HandlesTheFactoryKeysOnly) {
    for (const char* key :
         {"model", "serial", "codeplugVersion", "storedVoiceIc", "injection", "advanced.T1D",
          "advanced.T1D.value", "advanced.GOOD/BAD RADIO.range", "advanced.PLUG_VER_MINOR"})
        EXPECT_TRUE(EngineerScript::Handles(key)) << key;
    for (const char* key : {"toneSystem", "channels.F1.frequency", "squelchLevel", "advanced",
                            "advanced.NO_SUCH", "modelOptions.scanBack"})
        EXPECT_FALSE(EngineerScript::Handles(key)) << key;
}

}  // namespace
