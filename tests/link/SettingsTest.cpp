// Communication settings: the file's word-by-word reading, its exact text,
// the port and delay lists and where the file lies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/CCommPort.h"
#include "link/ProductDir.h"
#include "link/SettingsFile.h"

namespace {

CommSettings Read(const std::string& text) {
    std::istringstream in(text);
    CommSettings s;
    ReadSettings(in, s);
    return s;
}

TEST(SettingsFile, ReadsBothLines) {
    const CommSettings s = Read("CommPort = COM12\nUSBDelay = 5000");
    EXPECT_EQ(s.portName, "COM12");
    EXPECT_EQ(s.delay, 5000);
    // Any whitespace separates words; CR LF files read the same.
    const CommSettings crlf = Read("CommPort = COM3\r\nUSBDelay = 2000");
    EXPECT_EQ(crlf.portName, "COM3");
    EXPECT_EQ(crlf.delay, 2000);
}

TEST(SettingsFile, WordsInAnotherOrderKeepTheDefaults) {
    const CommSettings s = Read("USBDelay = 5000\nCommPort = COM3\n");
    EXPECT_EQ(s.portName, "COM1");
    EXPECT_EQ(s.delay, 3000);
}

TEST(SettingsFile, PortWithoutBlanksIsOneWordButTheDelayIsStillRead) {
    const CommSettings s = Read("CommPort=COM3\nUSBDelay = 4000");
    EXPECT_EQ(s.portName, "COM1");
    EXPECT_EQ(s.delay, 4000);
}

TEST(SettingsFile, ValuesAreNotValidated) {
    const CommSettings s = Read("CommPort = /dev/ttyUSB0\nUSBDelay = 1234");
    EXPECT_EQ(s.portName, "/dev/ttyUSB0");
    EXPECT_EQ(s.delay, 1234);
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay = -50").delay, -50);
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay = 2500ms").delay, 2500);
}

TEST(SettingsFile, UnreadableDelayKeepsItsDefault) {
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay = soon").delay, 3000);
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay = 99999999999999999999").delay, 3000);
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay =").delay, 3000);
    EXPECT_EQ(Read("CommPort = COM2\nUSBDelay = -").delay, 3000);
}

TEST(SettingsFile, OverLongWordsAreCut) {
    const std::string longName(10000, 'X');
    const CommSettings s = Read("CommPort = " + longName + "\nUSBDelay = 2000");
    EXPECT_EQ(s.portName, std::string(kMaxSettingsWord, 'X'));
    // The rest of the cut word is not taken for the next word.
    EXPECT_EQ(s.delay, 2000);
}

TEST(SettingsFile, AnyContentReadsWithoutHarm) {
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 7919) & 0xFF);
    for (const std::string& text :
         {std::string(), std::string("CommPort"), std::string("CommPort ="), noise,
          std::string("CommPort = \0\0\0 USBDelay = 7", 28), std::string("CommPort = = = ="),
          noise + noise}) {
        const CommSettings s = Read(text);
        EXPECT_LE(s.portName.size(), kMaxSettingsWord);
    }
}

TEST(SettingsFile, TextIsTwoLinesWithoutFinalLineEnd) {
    EXPECT_EQ(FormatSettings({"COM3", 3000}, "\n"), "CommPort = COM3\nUSBDelay = 3000");
    EXPECT_EQ(FormatSettings({"COM10", 5000}, "\r\n"), "CommPort = COM10\r\nUSBDelay = 5000");
}

TEST(PortList, IndexAndSelection) {
    EXPECT_EQ(CCommPort::FindPortIndex("COM1"), 0);
    EXPECT_EQ(CCommPort::FindPortIndex("COM10"), 9);
    EXPECT_EQ(CCommPort::FindPortIndex("COM64"), 63);
    // Compared exactly; unknown names give 0.
    EXPECT_EQ(CCommPort::FindPortIndex("com10"), 0);
    EXPECT_EQ(CCommPort::FindPortIndex("COM65"), 0);
    EXPECT_EQ(CCommPort::FindPortIndex("/dev/ttyUSB0"), 0);

    CCommPort port("");
    port.SelectPort(9);
    EXPECT_EQ(port.PortName(), "COM10");
    port.SelectPort(63);
    EXPECT_EQ(port.PortName(), "COM64");
    port.SelectPort(64);
    EXPECT_EQ(port.PortName(), "COM1");
    port.SelectPort(-1);
    EXPECT_EQ(port.PortName(), "COM1");
}

TEST(DelayList, IndexesAndLabels) {
    CCommPort port("");
    const int expected[] = {2000, 3000, 4000, 5000, 3000, 3000};
    const int indexes[] = {0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 6; ++i) {
        port.SetDelayIndex(indexes[i]);
        EXPECT_EQ(port.Delay(), expected[i]) << "index " << indexes[i];
    }
    port.SetDelay(5000);
    EXPECT_EQ(port.GetDelayLabel(), "5 Seconds");
    // A delay not in the list shows the default's label and stays as it is.
    port.SetDelay(1234);
    EXPECT_EQ(port.GetDelayLabel(), "3 Seconds (Default)");
    EXPECT_EQ(port.Delay(), 1234);
    port.SetDelay(2000);
    EXPECT_EQ(port.GetDelayLabel(), "2 Seconds");
}

TEST(DelayList, DialogOkWithoutAChangeKeepsAListedDelay) {
    // The dialog shows the label, selects its index and sets that index.
    CCommPort port("");
    for (int ms : {2000, 3000, 4000, 5000}) {
        port.SetDelay(ms);
        const std::string label = port.GetDelayLabel();
        int index = -1;
        for (int i = 0; i < CCommPort::kDelayCount; ++i) {
            if (label == CCommPort::DelayListLabel(i)) index = i;
        }
        port.SetDelayIndex(index);
        EXPECT_EQ(port.Delay(), ms);
    }
}

class SettingsDir : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/calvex-settings-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
        ::unsetenv("CALVEX_PRODUCT_DIR");
    }
    std::string m_dir;
};

TEST_F(SettingsDir, SavedOnDestructionAndLoadedOnConstruction) {
    const std::string path = m_dir + "/lib/CalvexV.ini";
    {
        CCommPort port(path, true);
        EXPECT_EQ(port.PortName(), "COM1");
        EXPECT_EQ(port.Delay(), 3000);
        port.SelectPort(CCommPort::FindPortIndex("COM10"));
        port.SetDelayIndex(3);
    }
    // The folder was made on the first save.
    ASSERT_TRUE(std::filesystem::exists(path));
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "CommPort = COM10\nUSBDelay = 5000");

    CCommPort again(path);
    EXPECT_EQ(again.PortName(), "COM10");
    EXPECT_EQ(again.Delay(), 5000);
}

TEST_F(SettingsDir, PortNameTheFileCannotKeepIsNeverWritten) {
    // Written, "/tmp/my pager" would come back as "/tmp/my" with the delay
    // lost behind "pager"; the file keeps the port it named before instead.
    const std::string path = m_dir + "/lib/CalvexV.ini";
    {
        CCommPort port(path, true);
        port.SetPortName("/dev/ttyUSB0");
    }
    for (const std::string& bad :
         std::vector<std::string>{"/tmp/my pager", "/dev/tab\tname", std::string(300, 'x')}) {
        SCOPED_TRACE(bad);
        EXPECT_NE(PortNameUnstorable(bad), "");
        {
            CCommPort port(path);
            port.SetPortName(bad);
            port.SetDelay(4000);
            ASSERT_TRUE(port.SaveSettings());
        }
        CCommPort again(path);
        EXPECT_EQ(again.PortName(), "/dev/ttyUSB0");
        EXPECT_EQ(again.Delay(), 4000);
    }
    EXPECT_EQ(PortNameUnstorable("/tmp/my pager"),
              "The port name \"/tmp/my pager\" contains a blank, which the settings file "
              "cannot keep. Choose a name without blanks (for example /dev/ttyUSB0 or a link to "
              "it).");
    EXPECT_EQ(PortNameUnstorable("COM7"), "");
    EXPECT_EQ(PortNameUnstorable(std::string(255, 'x')), "");
}

TEST_F(SettingsDir, MissingOrUnusableFileKeepsDefaults) {
    CCommPort missing(m_dir + "/nothing/CalvexV.ini");
    EXPECT_EQ(missing.PortName(), "COM1");
    EXPECT_EQ(missing.Delay(), 3000);
    // A folder in the file's place neither loads nor saves.
    std::filesystem::create_directories(m_dir + "/dir.ini");
    CCommPort folder(m_dir + "/dir.ini");
    EXPECT_EQ(folder.PortName(), "COM1");
    EXPECT_FALSE(folder.SaveSettings());
    // No path at all: nothing is ever written.
    CCommPort none("");
    EXPECT_FALSE(none.SaveSettings());
}

TEST_F(SettingsDir, KnowsWhetherAFailedSaveLosesAChange) {
    const std::string path = m_dir + "/lib/CalvexV.ini";
    {
        std::filesystem::create_directories(m_dir + "/lib");
        std::ofstream(path) << "CommPort = COM4\nUSBDelay = 2000";
    }
    CCommPort port(path);
    EXPECT_FALSE(port.SettingsChanged());
    port.SetDelayIndex(3);
    EXPECT_TRUE(port.SettingsChanged());
    port.SetDelayIndex(0);  // back to what the file says
    EXPECT_FALSE(port.SettingsChanged());
    // A port the file cannot keep is never written, so it changes nothing.
    port.SetPortName("/tmp/my pager");
    EXPECT_FALSE(port.SettingsChanged());
    port.SelectPort(9);
    EXPECT_TRUE(port.SettingsChanged());
    ASSERT_TRUE(port.SaveSettings());
    EXPECT_EQ(port.SaveError(), "");
    EXPECT_FALSE(port.SettingsChanged());

    // The file's folder turned into a file: the save fails with the reason,
    // and the change stays unsaved.
    std::filesystem::remove_all(m_dir + "/lib");
    std::ofstream(m_dir + "/lib") << "in the way";
    port.SetDelayIndex(2);
    EXPECT_FALSE(port.SaveSettings());
    EXPECT_NE(port.SaveError(), "");
    EXPECT_TRUE(port.SettingsChanged());

    CCommPort nowhere("");
    nowhere.SelectPort(4);
    EXPECT_FALSE(nowhere.SaveSettings());
    EXPECT_EQ(nowhere.SaveError(), "no installation folder is known");
    EXPECT_TRUE(nowhere.SettingsChanged());
}

TEST_F(SettingsDir, ProductDirFromTheEnvironmentGetsItsSeparator) {
    ::setenv("CALVEX_PRODUCT_DIR", m_dir.c_str(), 1);  // no final "/"
    EXPECT_EQ(ProductDir(), m_dir + "/");
    EXPECT_EQ(DefaultSettingsPath(), m_dir + "/lib/CalvexV.ini");
    {
        CCommPort program;  // loads and, when destroyed, saves there
        program.SetPortName("COM7");
    }
    CCommPort reloaded(DefaultSettingsPath());
    EXPECT_EQ(reloaded.PortName(), "COM7");
}

TEST(ProductDirEnv, FallsBackToTheUserDataFolder) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::unsetenv("CALVEX_PRODUCT_DIR");
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(ProductDir(), "/srv/data/CalvexVHXR/");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/tech", 1);
    EXPECT_EQ(ProductDir(), "/home/tech/.local/share/CalvexVHXR/");
    EXPECT_EQ(SettingsPathIn(ProductDir()), "/home/tech/.local/share/CalvexVHXR/lib/CalvexV.ini");
    ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
