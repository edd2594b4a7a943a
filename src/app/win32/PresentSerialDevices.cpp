// Windows: the COM ports this machine has, named as the device installer
// names their adapters.
#include "app/SerialDevices.h"
#include "link/ComPortInventory.h"

std::vector<SerialDevice> PresentSerialDevices() {
    std::vector<SerialDevice> devices;
    for (auto& port : PresentComPorts(*MakeSystemComPortSource()))
        devices.push_back({std::move(port.name), std::move(port.description)});
    return devices;
}
