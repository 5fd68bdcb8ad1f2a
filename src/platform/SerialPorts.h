#pragma once
// The machine's serial devices in the order the port names COM1, COM2, ... take them:
// the built-in ports that exist (/dev/ttyS<n> with a port behind it), then the USB
// adapters (/dev/ttyUSB*, /dev/ttyACM*) by their stable names under /dev/serial/by-id,
// so that an adapter keeps its COM name while the same adapters are plugged in.
#include <string>
#include <vector>

namespace platform {

// devRoot and sysRoot stand for /dev and /sys (tests give a folder of fake devices).
std::vector<std::string> MachineSerialDevices(const std::string& devRoot = "/dev",
                                              const std::string& sysRoot = "/sys");

// The group that owns a device the user may not open, and a text that tells the person
// how to get the rights; empty when the device is not there.
std::string SerialAccessHint(const std::string& devicePath);

}  // namespace platform
