#include "platform/Paths.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {
std::string g_programFolderOverride;

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// A Linux file name may hold backslashes: a path is taken as written when it exists so, or
// when its last name holds a backslash before which no folder of that name exists (a path
// the system built starts its backslash part with a folder of the program tree).
bool IsLiteralName(const std::string& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) return true;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t backslash = name.find('\\');
    if (backslash == 0 || name.back() == '\\' || !fs::is_directory(folder, ec)) return false;
    const std::string first = name.substr(0, backslash);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (strcasecmp(it->path().filename().c_str(), first.c_str()) == 0) return false;
    return true;
}
}  // namespace

std::string GetProgramFolder() {
    if (!g_programFolderOverride.empty()) return g_programFolderOverride;
    if (const char* home = std::getenv("QUORVEX_HOME"); home && *home)
        return WithTrailingSlash(home);
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return WithTrailingSlash(exe.parent_path().string());
}

void SetProgramFolder(const std::string& folder) {
    g_programFolderOverride = folder.empty() ? std::string() : WithTrailingSlash(folder);
}

std::string ResolvePath(const std::string& path) {
    if (path.find('\\') != std::string::npos && IsLiteralName(path)) return path;
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.empty()) return p;

    std::error_code ec;
    if (fs::exists(p, ec)) return p;

    // Walk component by component from the root (or the current folder).
    std::string result;
    size_t pos = 0;
    if (p[0] == '/') {
        result = "/";
        pos = 1;
    }
    bool missing = false;  // once a component is missing, the rest is kept as written
    while (pos <= p.size()) {
        size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        std::string comp = p.substr(pos, next - pos);
        pos = next + 1;
        if (comp.empty()) {
            if (next == p.size()) break;
            continue;
        }
        std::string folder = result.empty() ? std::string(".") : result;
        std::string candidate = result + comp;
        if (!missing && comp != "." && comp != ".." && !fs::exists(candidate, ec)) {
            bool found = false;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                std::string name = it->path().filename().string();
                if (strcasecmp(name.c_str(), comp.c_str()) == 0) {
                    candidate = result + name;
                    found = true;
                    break;
                }
            }
            if (!found) missing = true;
        }
        result = candidate;
        if (next < p.size()) result += '/';
    }
    return result;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(path), ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(ResolvePath(path), ec);
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(ResolvePath(path), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool MakeDirectories(const std::string& path) {
    std::error_code ec;
    std::string p = ResolvePath(path);
    fs::create_directories(p, ec);
    return fs::is_directory(p, ec);
}

bool ReadFileBytes(const std::string& path, std::string& bytes, size_t cap) {
    std::string error;
    return ReadFileSafely(path, cap, bytes, error);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::string error;
    return ReplaceFileWhole(path, bytes, error);
}

}  // namespace platform

namespace platform {

unsigned GetFileAttributes(const std::string& path) {
    std::string p = ResolvePath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    std::error_code ec;
    fs::file_status st = fs::status(p, ec);
    if (ec || !fs::exists(st)) return 0;
    unsigned attributes = fs::is_directory(st) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    std::string name = fs::path(p).filename().string();
    if (!name.empty() && name[0] == '.') attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (access(p.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

}  // namespace platform
