#include "platform/Profile.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <mutex>
#include <strings.h>
#include <sys/stat.h>
#include <ctime>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

// One line of a profile file as it stands, with its terminator split off.
struct Line {
    std::string text;  // without the line terminator
    std::string eol;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back({bytes.substr(pos), ""});
            break;
        }
        size_t end = nl;
        const bool crlf = end > pos && bytes[end - 1] == '\r';
        if (crlf) --end;
        lines.push_back({bytes.substr(pos, end - pos), crlf ? "\r\n" : "\n"});
        pos = nl + 1;
    }
    return lines;
}

// Section name of a line "[name]", or false when the line opens no section.
bool SectionName(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return false;
    size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// Key and value of a line "key=value"; false for blank lines and comments.
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) {
        key = t;
        value.clear();
    } else {
        key = Trim(t.substr(0, eq));
        value = Trim(t.substr(eq + 1));
    }
    return true;
}

// A file parsed once: for each section (the first of a name holds; a repeated one is not
// read) its keys, the first of a name holding, looked up without regard to case.
struct ParsedProfile {
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::shared_ptr<const ParsedProfile> Parse(const std::string& bytes) {
    auto parsed = std::make_shared<ParsedProfile>();
    std::unordered_set<std::string> seen;
    std::unordered_map<std::string, std::string>* current = nullptr;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        if (nl == std::string::npos) nl = bytes.size();
        const std::string line = bytes.substr(pos, nl - pos);
        pos = nl + 1;
        std::string name;
        if (SectionName(line, name)) {
            const std::string lower = Lower(name);
            current = seen.insert(lower).second ? &parsed->sections[lower] : nullptr;
            continue;
        }
        std::string k, v;
        if (current && KeyValue(line, k, v)) {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            current->emplace(Lower(k), v);
        }
    }
    return parsed;
}

// Parsed files, kept while the file on disk is the same one (same inode, size and change
// times), so a change on disk is still seen at once.
struct CacheEntry {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtime = 0, ctime = 0;
    std::shared_ptr<const ParsedProfile> parsed;
};
std::mutex g_cacheMutex;
std::unordered_map<std::string, CacheEntry> g_cache;

long long Nanos(const struct timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; }

long long RealNanos() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanos(now);
}
long long (*g_nowNanos)() = RealNanos;

std::shared_ptr<const ParsedProfile> Load(const std::string& path) {
    if (ReplaceBatch* batch = ReplaceBatch::Active())
        if (const std::string* staged = batch->Staged(path)) return Parse(*staged);
    const std::string resolved = ResolvePath(path);
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    {
        std::lock_guard<std::mutex> lock(g_cacheMutex);
        auto it = g_cache.find(resolved);
        if (it != g_cache.end() && it->second.dev == st.st_dev && it->second.ino == st.st_ino &&
            it->second.size == st.st_size && it->second.mtime == Nanos(st.st_mtim) &&
            it->second.ctime == Nanos(st.st_ctim))
            return it->second.parsed;
    }
    std::string bytes, error;
    if (!ReadFileSafely(resolved, kProfileFileCap, bytes, error)) return nullptr;
    std::shared_ptr<const ParsedProfile> parsed = Parse(bytes);
    // Only a file that stood still while it was read, and was last changed long enough ago
    // that a change now gets a later time stamp (the file system's clock is coarse), is kept.
    struct stat after;
    const bool settled = g_nowNanos() - Nanos(st.st_mtim) > 100000000LL;
    if (settled && ::stat(resolved.c_str(), &after) == 0 && after.st_ino == st.st_ino && after.st_size == st.st_size &&
        Nanos(after.st_mtim) == Nanos(st.st_mtim) && static_cast<off_t>(bytes.size()) == st.st_size) {
        std::lock_guard<std::mutex> lock(g_cacheMutex);
        if (g_cache.size() >= 256) g_cache.clear();
        g_cache[resolved] = CacheEntry{st.st_dev, st.st_ino, st.st_size, Nanos(st.st_mtim), Nanos(st.st_ctim), parsed};
    }
    return parsed;
}

bool FindValue(const std::string& section, const std::string& key, const std::string& path,
               std::string& value) {
    std::shared_ptr<const ParsedProfile> parsed = Load(path);
    if (!parsed) return false;
    auto s = parsed->sections.find(Lower(section));
    if (s == parsed->sections.end()) return false;
    auto k = s->second.find(Lower(key));
    if (k == s->second.end()) return false;
    value = k->second;
    return true;
}

// A line break or other control character in a written name or value would start a new
// key or section: such writes are refused. A tab is a blank and stays.
bool HoldsControl(const std::string& text) {
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\t') || c == 0x7f) return true;
    return false;
}

bool FileExistsAtAll(const std::string& path) {
    struct stat st;
    return ::lstat(ResolvePath(path).c_str(), &st) == 0;
}

std::string Cut(const std::string& s, size_t nSize) {
    if (nSize == 0) return std::string();
    return s.size() > nSize - 1 ? s.substr(0, nSize - 1) : s;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, size_t nSize,
                                    const std::string& path) {
    std::string value;
    if (FindValue(section, key, path, value)) return Cut(value, nSize);
    std::string d = def;
    while (!d.empty() && d.back() == ' ') d.pop_back();
    return Cut(d, nSize);
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int def,
                         const std::string& path) {
    std::string value;
    if (!FindValue(section, key, path, value) || value.empty()) return def;
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    long long n = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    return static_cast<int>(n);
}

namespace {

// Sets the entries of one section as writing them one after the other would: a key the
// section holds is written in place (keeping its spelling), a new one after the section's
// last entry (the section appended when missing). One pass over the lines for them all.
void SetEntries(std::vector<Line>& lines, const std::string& section,
                const std::vector<std::pair<std::string, std::string>>& entries) {
    // New lines take the ending the file already uses; a new file gets CRLF.
    std::string eol = "\r\n";
    for (const Line& l : lines)
        if (!l.eol.empty()) { eol = l.eol; break; }

    long sectionLine = -1, lastEntry = -1;
    std::unordered_map<std::string, std::pair<size_t, std::string>> keys;  // lower key -> line, spelling
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (SectionName(lines[i].text, name)) {
            if (sectionLine >= 0) break;  // end of our section
            if (EqualNoCase(name, section)) {
                sectionLine = static_cast<long>(i);
                lastEntry = sectionLine;
            }
            continue;
        }
        if (sectionLine < 0) continue;
        std::string k, v;
        if (KeyValue(lines[i].text, k, v)) {
            keys.emplace(Lower(k), std::pair{i, k});
            lastEntry = static_cast<long>(i);
        }
    }

    std::vector<Line> added;
    std::unordered_map<std::string, std::pair<size_t, std::string>> addedKeys;  // lower key -> index in added
    for (const auto& [key, value] : entries) {
        const std::string lower = Lower(key);
        if (auto it = keys.find(lower); it != keys.end()) {
            lines[it->second.first].text = it->second.second + "=" + value;
        } else if (auto at = addedKeys.find(lower); at != addedKeys.end()) {
            added[at->second.first].text = at->second.second + "=" + value;
        } else {
            added.push_back(Line{key + "=" + value, eol});
            std::string k, v;  // found again as the file's reader finds it
            if (KeyValue(added.back().text, k, v)) addedKeys.emplace(Lower(k), std::pair{added.size() - 1, k});
        }
    }
    if (added.empty()) return;
    if (sectionLine >= 0) {
        if (lines[lastEntry].eol.empty()) lines[lastEntry].eol = eol;
        lines.insert(lines.begin() + lastEntry + 1, added.begin(), added.end());
    } else {
        if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = eol;
        if (!lines.empty() && !Trim(lines.back().text).empty()) lines.push_back({"", eol});
        lines.push_back({"[" + section + "]", eol});
        lines.insert(lines.end(), added.begin(), added.end());
    }
}

}  // namespace

namespace {
std::mutex g_problemMutex;
std::vector<std::string> g_problems;
}  // namespace

int BoundedCount(int value, int max, const std::string& path, const std::string& key) {
    if (value <= max) return value;
    std::string name = path;
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const std::string text = "The file \"" + name + "\" is damaged: \"" + key + "\" is " + std::to_string(value) +
                             ", more than " + std::to_string(max) + ". Only the first " + std::to_string(max) +
                             " entries are read.";
    std::lock_guard<std::mutex> lock(g_problemMutex);
    if (std::find(g_problems.begin(), g_problems.end(), text) == g_problems.end() && g_problems.size() < 20)
        g_problems.push_back(text);
    return max;
}

std::vector<std::string> TakeFileProblems() {
    std::lock_guard<std::mutex> lock(g_problemMutex);
    std::vector<std::string> problems;
    problems.swap(g_problems);
    return problems;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    return WritePrivateProfileStrings(section, {{key, value}}, path);
}

bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& entries,
                                const std::string& path) {
    ClearLastReplaceError();
    if (HoldsControl(section) || section.find(']') != std::string::npos) return false;
    for (const auto& [key, value] : entries)
        if (HoldsControl(key) || HoldsControl(value) || key.find('=') != std::string::npos ||
            Trim(key).empty() || Trim(key)[0] == '[' || Trim(key)[0] == ';')
            return false;
    std::string bytes, error;
    bool exists = ReadFileSafely(path, kProfileFileCap, bytes, error);
    // A file that is there but cannot be read is not replaced by one holding only this key.
    if (!exists && FileExistsAtAll(path)) return false;
    std::vector<Line> lines = exists ? SplitLines(bytes) : std::vector<Line>();
    SetEntries(lines, section, entries);
    std::string out;
    for (const Line& l : lines) out += l.text + l.eol;
    if (exists && out == bytes) return true;  // nothing changes: the file is not touched
    return ReplaceFileWhole(path, out, error);
}

void SetProfileClockForTests(long long (*nowNanos)()) { g_nowNanos = nowNanos ? nowNanos : RealNanos; }

}  // namespace platform
