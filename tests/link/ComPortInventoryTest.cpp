// Which COM ports System Setup marks as present, from what the two places
// Windows keeps them in say (a fake of both).
#include <gtest/gtest.h>

#include "link/ComPortInventory.h"

namespace {

class FakeSource : public ComPortSource {
public:
    std::vector<std::string> announced;
    std::vector<Installed> installed;
    std::vector<std::string> AnnouncedPorts() const override { return announced; }
    std::vector<Installed> InstalledPorts() const override { return installed; }
};

std::vector<std::string> Lines(const std::vector<PresentPort>& ports) {
    std::vector<std::string> out;
    for (const auto& p : ports) out.push_back(p.name + "|" + p.description);
    return out;
}

TEST(ComPortInventory, NamesEachPortOnceInNumberOrderWithTheAdaptersName) {
    FakeSource source;
    // A driver announces its port before the installer has a name for it, an
    // adapter appears in both places, a built-in port only in the map.
    source.announced = {"COM12", "COM3", "COM1"};
    source.installed = {
        {"COM3", "Prolific USB-to-Serial Comm Port (COM3)", "Prolific USB-to-Serial Comm Port"},
        {"COM10", "USB Serial Port (COM10)", "USB Serial Port"},
        {"COM2", "", "Communications Port"},
    };
    EXPECT_EQ(Lines(PresentComPorts(source)),
              (std::vector<std::string>{"COM1|Serial port", "COM2|Communications Port",
                                        "COM3|Prolific USB-to-Serial Comm Port",
                                        "COM10|USB Serial Port", "COM12|Serial port"}));
}

TEST(ComPortInventory, LeavesOutWhatIsNoComPort) {
    FakeSource source;
    source.announced = {"", "COM0", "COM257", "CNCA0", "COMX", "COM 4", "  com7  "};
    source.installed = {{"LPT1", "Printer Port (LPT1)", "Printer Port"},
                        {"", "Unnamed (COM9)", ""},
                        {"com256", "Bluetooth Link (COM256)", ""}};
    EXPECT_EQ(Lines(PresentComPorts(source)),
              (std::vector<std::string>{"COM7|Serial port", "COM256|Bluetooth Link"}));
}

TEST(ComPortInventory, AFriendlyNameKeepsBracketsThatAreNotItsPort) {
    FakeSource source;
    source.installed = {{"COM4", "Silicon Labs CP210x (USB to UART) (com4)", ""},
                        {"COM5", "Arduino Uno (COM6)", ""},
                        {"COM5", "Second device claiming COM5", ""}};
    EXPECT_EQ(Lines(PresentComPorts(source)),
              (std::vector<std::string>{"COM4|Silicon Labs CP210x (USB to UART)",
                                        "COM5|Arduino Uno (COM6)"}));
}

TEST(ComPortInventory, NothingFoundIsAnEmptyList) {
    FakeSource source;
    EXPECT_TRUE(PresentComPorts(source).empty());
}

}  // namespace
