#include "link/DeviceLink.h"

#include <cstdlib>

#include "platform/Paths.h"
#include "platform/Profile.h"

namespace {
const char* const kSection = "ProductList";

std::string ProductsFile() { return platform::GetProgramFolder() + "Products\\products.inf"; }

std::string ReadKey(const std::string& key, const std::string& def) {
    return platform::GetPrivateProfileString(kSection, key, def, 80, ProductsFile());
}

int VersionDigit(const std::string& version) {
    char c = version.size() > 4 ? version[4] : '0';
    return c >= '0' && c <= '9' ? c - '0' : 0;
}
}  // namespace

int CDeviceLink::FindProductEntry(int deviceId) {
    int count = std::atoi(ReadKey("ProductCount", "Corrupt Product file ").c_str());
    for (int n = 1; n <= count; ++n) {
        if (std::atoi(ReadKey("DeviceID" + std::to_string(n), "1").c_str()) == deviceId) return n;
    }
    return 0;
}

int CDeviceLink::GetProductFirmwareVersion(int deviceId, const std::string& unitVersion) {
    int n = FindProductEntry(deviceId);
    std::string product = n ? ReadKey("ProductFirmwareVersion" + std::to_string(n), "1") : "";
    int p = VersionDigit(product);
    int u = VersionDigit(unitVersion);
    if (p == u) return 1;
    return p > u ? 0 : 2;
}

int CDeviceLink::GetProductBlockSize(int deviceId) {
    int n = FindProductEntry(deviceId);
    if (n == 0) return 0;
    return std::atoi(ReadKey("ProductBlockSize" + std::to_string(n), "1").c_str());
}
