// calvex set and calvex apply, run as a script would run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "CalvexProcess.h"

namespace {

using Json = nlohmann::ordered_json;

class CalvexSet : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"vhf-two-frequency.dat", "uhf-one-frequency.dat"})
            std::filesystem::copy_file(std::string(CALVEX_SOURCE_DIR) + "/samples/" + name,
                                       dir / name);
    }
    std::string Q(const std::string& name) { return "'" + (dir / name).string() + "'"; }
    Json Show(const std::string& name) {
        const CalvexRun r = RunCalvex(dir, "show " + Q(name) + " --json");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Json::parse(r.out);
    }
    std::string Bytes(const std::string& name) { return TempDir::ReadFile(dir / name); }
    TempDir dir;
};

}  // namespace

TEST_F(CalvexSet, ChangesFieldsThroughTheSheetAndShowSeesThem) {
    const CalvexRun r = RunCalvex(
        dir, "set " + Q("vhf-two-frequency.dat") +
                 " toneSystem=GE channels.F1.frequency=152.0125 channels.F1.calls.2.alert='Music 4'"
                 " squelchLevel=4 'switches.SW-D.mode=Selective Call F1' switches.SW-D.ptl=YES");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Show("vhf-two-frequency.dat");
    EXPECT_EQ(j["toneSystem"], "GE");
    EXPECT_EQ(j["channels"][0]["frequency"], "152.0125");
    EXPECT_EQ(j["channels"][0]["calls"][1]["alert"], "Music 4");
    EXPECT_EQ(j["squelchLevel"], 4);
    EXPECT_EQ(j["switches"][3]["mode"], "Selective Call F1");
    EXPECT_EQ(j["switches"][3]["ptl"], "ENABLED");
    EXPECT_EQ(j["switches"][3]["alertType"], "Vibrator");  // push to listen forces it
    // What each field became is listed, the ones other changes moved too.
    EXPECT_NE(r.out.find("toneSystem: Corvane -> GE\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("switches.SW-D.alertType: Tone -> Vibrator\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("byte 0x"), std::string::npos) << r.out;
}

TEST_F(CalvexSet, ATypedToneIsStoredOnTheToneSetAndSaysSo) {
    const CalvexRun r =
        RunCalvex(dir, "set " + Q("vhf-two-frequency.dat") + " channels.F1.calls.3.tone1=466.8");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("channels.F1.calls.3.tone1: 433.7 -> 470.5\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(Show("vhf-two-frequency.dat")["channels"][0]["calls"][2]["tone1"], "470.5");
}

TEST_F(CalvexSet, RefusalsExitOneAndLeaveTheFileByteForByte) {
    const std::string before = Bytes("vhf-two-frequency.dat");
    struct Case {
        std::string args;
        int exit;
        std::string says;
    } cases[] = {
        {"channels.F1.frequency=152.001", 1,
         "Calvex V HXR - Receiver Frequency: Invalid Receiver Frequency"},
        {"channels.F1.calls.1.tone2=349.0", 1, "Tone Frequency Error!"},
        {"serial=136WJA0002", 1, "factory data"},
        {"modelOptions.resetTime=abc", 1, "Calvex V HXR: Please enter a number."},
        {"toneSystem=Motorola", 2, "is not one of"},
        {"no-such-key=1", 2, "unknown key"},
        {"toneSystem", 2, "is not KEY=VALUE"},
    };
    for (const Case& c : cases) {
        const CalvexRun r =
            RunCalvex(dir, "set " + Q("vhf-two-frequency.dat") + " '" + c.args + "'");
        EXPECT_EQ(r.exitCode, c.exit) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(Bytes("vhf-two-frequency.dat"), before) << c.args;
    }
}

TEST_F(CalvexSet, OutWritesElsewhereAndHelpListsTheKeys) {
    const std::string before = Bytes("uhf-one-frequency.dat");
    CalvexRun r = RunCalvex(
        dir, "set " + Q("uhf-one-frequency.dat") + " squelchLevel=1 --out " + Q("new.dat"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Bytes("uhf-one-frequency.dat"), before);
    EXPECT_EQ(Show("new.dat")["squelchLevel"], 1);

    r = RunCalvex(dir, "set " + Q("uhf-one-frequency.dat") + " channels.F2.codingOption=STD");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("one-frequency"), std::string::npos) << r.err;

    r = RunCalvex(dir, "set --help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* key : {"toneSystem", "channels.F1|F2.calls.N.tone1", "squelchLevel",
                            "switches.SW-A|SW-B|SW-C|SW-D.mode", "modelOptions.scanBack"})
        EXPECT_NE(r.out.find(key), std::string::npos) << key;
}

TEST_F(CalvexSet, ShowThenApplyOfTheSameDocumentChangesNoField) {
    const Json before = Show("vhf-two-frequency.dat");
    dir.WriteFile("same.json", before.dump(2));
    CalvexRun r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("same.json") +
                                     " --out " + Q("out.dat"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json after = Show("out.dat");
    after["file"] = before["file"];
    // The sheet repacks the tone tables; every field reads the same.
    EXPECT_EQ(after, before);
}

TEST_F(CalvexSet, ApplyTakesAnEditedPartOfTheDocument) {
    Json edit = Show("vhf-two-frequency.dat");
    edit["channels"][1]["calls"][0]["tone2"] = "832.5";  // F2 Call 1 Tone 2 (R468: Long B follows)
    edit["modelOptions"]["resetTime"] = "9.6SEC.";
    edit["squelchLevel"] = 2;
    dir.WriteFile("edit.json", edit.dump());
    CalvexRun r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("edit.json"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Show("vhf-two-frequency.dat");
    EXPECT_EQ(j["channels"][1]["calls"][0]["tone2"], "832.5");
    EXPECT_EQ(j["channels"][1]["calls"][8]["tone1"], "832.5");  // Group 1 "Long B"
    EXPECT_EQ(j["modelOptions"]["resetTime"], "9.600SEC.");
    EXPECT_EQ(j["squelchLevel"], 2);

    // A factory field that differs is refused; the file stays as it is.
    const std::string kept = Bytes("vhf-two-frequency.dat");
    dir.WriteFile("factory.json", R"({"model": "A03XLT2238AC"})");
    r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("factory.json"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Bytes("vhf-two-frequency.dat"), kept);
    dir.WriteFile("broken.json", "{ not json");
    r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("broken.json"));
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CalvexSet, SaysWhichKeyWasRefusedAndWhatWasLimited) {
    const std::string before = Bytes("vhf-two-frequency.dat");
    CalvexRun r = RunCalvex(dir, "set " + Q("vhf-two-frequency.dat") +
                                     " squelchLevel=2 channels.F1.calls.1.tone2=349.0");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("calvex set: channels.F1.calls.1.tone2: \"349.0\" was refused\n"),
              std::string::npos)
        << r.err;
    r = RunCalvex(dir, "set " + Q("vhf-two-frequency.dat") + " advanced.NO_SUCH=1");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("unknown key 'advanced.NO_SUCH'"), std::string::npos) << r.err;
    // Picking the coding option the channel has changes nothing at all.
    r = RunCalvex(dir,
                  "set " + Q("vhf-two-frequency.dat") + " 'channels.F1.codingOption=R168 (None)'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("nothing changed"), std::string::npos) << r.out;
    EXPECT_EQ(Bytes("vhf-two-frequency.dat"), before);

    // A time out of range is limited, as on the page, and said so.
    r = RunCalvex(dir, "set " + Q("vhf-two-frequency.dat") + " modelOptions.scanBack=0.01");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("Calvex V HXR: Please enter a number between 0.064 and 2.04.\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("modelOptions.scanBack: \"0.01\" is out of range; the page took 0.064"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("modelOptions.scanBack: 1.000SEC. -> 0.064SEC.\n"), std::string::npos);
    // Only the fields that changed are counted: the time and the byte behind it.
    EXPECT_NE(r.out.find("\n2 changes written"), std::string::npos) << r.out;
}

TEST_F(CalvexSet, ApplyTakesWhatTheSheetItselfMakes) {
    // A position switched to Monitor loses duty and push to listen: the
    // document of that says so, and the greyed boxes already show it.
    Json edit = Show("vhf-two-frequency.dat");
    edit["switches"][0]["mode"] = "Monitor F1";
    edit["switches"][0]["onOffDuty"] = "DISABLED";
    edit["switches"][0]["ptl"] = "DISABLED";
    edit["channels"][0]["onOffDuty"] = "Disabled";  // no position gives F1 duty now
    edit["channels"][1]["codingOption"] = "STD";
    edit["channels"][1]["codingOptionValue"] = 3;
    for (int call : {1, 8, 9}) edit["channels"][1]["calls"][call]["tone1"] = nullptr;
    edit["channels"][1]["calls"][1]["tone2"] = nullptr;
    dir.WriteFile("edit.json", edit.dump());
    CalvexRun r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("edit.json"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json now = Show("vhf-two-frequency.dat");
    now["file"] = edit["file"];
    EXPECT_EQ(now, edit);

    // What differs and cannot follow is still refused, with its reason.
    edit["channels"][1]["codingOptionValue"] = 4;
    dir.WriteFile("wrong.json", edit.dump());
    r = RunCalvex(dir, "apply " + Q("vhf-two-frequency.dat") + " " + Q("wrong.json"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("channels.F2.codingOptionValue follows other fields"), std::string::npos)
        << r.err;
}
