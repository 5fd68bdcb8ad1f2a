#include "platform/SerialPorts.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    return names;
}

// The number after a prefix ("ttyUSB12" -> 12), -1 when the name is not of that kind.
int NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    int n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100000) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// A built-in port has hardware behind it when the kernel reports a port type other than
// 0 (none); without that report the device node's existence decides.
bool BuiltInPortExists(const std::string& devRoot, const std::string& sysRoot, int n) {
    const std::string name = "ttyS" + std::to_string(n);
    if (!Exists(devRoot + "/" + name)) return false;
    std::ifstream type(sysRoot + "/class/tty/" + name + "/type");
    int kind = 0;
    if (type >> kind) return kind != 0;
    return !Exists(sysRoot + "/class/tty/" + name);
}

}  // namespace

std::vector<std::string> MachineSerialDevices(const std::string& devRoot, const std::string& sysRoot) {
    std::vector<std::string> devices;
    for (int n = 0; n < 32; ++n)
        if (BuiltInPortExists(devRoot, sysRoot, n)) devices.push_back(devRoot + "/ttyS" + std::to_string(n));

    // The adapters: by their stable names where the system gives them, in name order.
    std::vector<std::string> adapters;
    std::vector<std::string> named;  // the devices the stable names point at
    const std::string byId = devRoot + "/serial/by-id";
    std::vector<std::string> ids = Entries(byId);
    std::sort(ids.begin(), ids.end());
    for (const std::string& id : ids) {
        const std::string link = byId + "/" + id;
        char target[4096];
        const ssize_t len = ::readlink(link.c_str(), target, sizeof target - 1);
        if (len <= 0) continue;
        target[len] = '\0';
        const std::string base = std::string(target).substr(std::string(target).find_last_of('/') + 1);
        if (NumberAfter(base, "ttyUSB") < 0 && NumberAfter(base, "ttyACM") < 0) continue;
        if (!Exists(devRoot + "/" + base)) continue;  // the link of an adapter that is gone
        adapters.push_back(link);
        named.push_back(base);
    }
    // Adapters without a stable name, by kind and number.
    std::vector<std::pair<int, std::string>> rest;
    for (const std::string& name : Entries(devRoot)) {
        const int usb = NumberAfter(name, "ttyUSB"), acm = NumberAfter(name, "ttyACM");
        if (usb < 0 && acm < 0) continue;
        if (std::find(named.begin(), named.end(), name) != named.end()) continue;
        rest.emplace_back(usb >= 0 ? usb : 100000 + acm, devRoot + "/" + name);
    }
    std::sort(rest.begin(), rest.end());
    for (const auto& r : rest) adapters.push_back(r.second);
    devices.insert(devices.end(), adapters.begin(), adapters.end());
    return devices;
}

std::string SerialAccessHint(const std::string& devicePath) {
    struct stat st {};
    if (::stat(devicePath.c_str(), &st) != 0) return std::string();
    std::string group = std::to_string(st.st_gid);
    if (const struct group* g = ::getgrgid(st.st_gid)) group = g->gr_name;
    const char* user = std::getenv("USER");
    return "You have no rights to use " + devicePath + ": it belongs to the group \"" + group +
           "\" and your user is not a member of it.\nAsk the administrator to add you (sudo usermod -aG " +
           group + " " + (user && *user ? user : "<user>") + "), then log in again.";
}

}  // namespace platform
