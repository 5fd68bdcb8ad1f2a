// Profile files come from other machines and from people: any bytes must read and write
// without a crash, and a key written must read back.
#include "platform/Profile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/quorvex-fuzz-profile-" + std::to_string(getpid()) + ".inf";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    // Section and key names taken from the input itself, so that lookups hit.
    std::string section = "Plc Info", key = "Plc Name";
    size_t open = bytes.find('['), close = bytes.find(']');
    if (open != std::string::npos && close != std::string::npos && close > open)
        section = bytes.substr(open + 1, close - open - 1);
    size_t eq = bytes.find('=');
    if (eq != std::string::npos) {
        size_t start = bytes.rfind('\n', eq);
        key = bytes.substr(start == std::string::npos ? 0 : start + 1, eq - (start == std::string::npos ? 0 : start + 1));
    }
    for (size_t n : {size_t(0), size_t(1), size_t(10), size_t(80)})
        (void)platform::GetPrivateProfileString(section, key, "Corrupt PLC file ", n, path);
    (void)platform::GetPrivateProfileInt(section, key, -1, path);
    if (platform::WritePrivateProfileString("Fuzz Section", "Fuzz Key", "value 1", path)) {
        std::string back = platform::GetPrivateProfileString("Fuzz Section", "Fuzz Key", "", 80, path);
        if (back != "value 1") __builtin_trap();
    }
    return 0;
}
