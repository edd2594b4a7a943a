// The COM ports this machine has, as the device installer and the serial
// device map of the registry tell them.
#include <gtest/gtest.h>

#include <string>

#include "link/ComPortInventory.h"
#include "link/WinTestPorts.h"

namespace {

std::string Find(const std::vector<PresentPort>& ports, const std::string& name) {
    for (const auto& p : ports)
        if (p.name == name) return p.description;
    return "(absent)";
}

TEST(WinComPorts, AdaptersAndAnnouncedPortsAreFoundAndGoneWhenRemoved) {
    auto system = MakeSystemComPortSource();
    {
        InstalledAdapter adapter("Calvex Test Adapter (COM57)", "COM57");
        ASSERT_TRUE(adapter.ok) << GetLastError();
        AnnouncedPort announced("\\Device\\CalvexTest58", "COM58");
        ASSERT_TRUE(announced.ok);
        const auto ports = PresentComPorts(*system);
        EXPECT_EQ(Find(ports, "COM57"), "Calvex Test Adapter");
        EXPECT_EQ(Find(ports, "COM58"), "Serial port");
        // Number order, whatever else this machine has.
        for (std::size_t i = 1; i < ports.size(); ++i)
            EXPECT_LT(std::stoi(ports[i - 1].name.substr(3)), std::stoi(ports[i].name.substr(3)));
    }
    const auto after = PresentComPorts(*system);
    EXPECT_EQ(Find(after, "COM57"), "(absent)");
    EXPECT_EQ(Find(after, "COM58"), "(absent)");
}

}  // namespace
