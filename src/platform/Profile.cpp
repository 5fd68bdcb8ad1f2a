#include "platform/Profile.h"

#include "platform/Paths.h"

#include <cctype>
#include <climits>
#include <strings.h>
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

bool FindValue(const std::string& section, const std::string& key, const std::string& path,
               std::string& value) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    bool inSection = false;
    for (const Line& l : SplitLines(bytes)) {
        std::string name;
        if (SectionName(l.text, name)) {
            // The first section of the name holds; a repeated one is not read.
            if (inSection) return false;
            inSection = EqualNoCase(name, section);
            continue;
        }
        std::string k, v;
        if (inSection && KeyValue(l.text, k, v) && EqualNoCase(k, key)) {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            value = v;
            return true;
        }
    }
    return false;
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

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    std::string bytes;
    bool exists = ReadFileBytes(path, bytes);
    std::vector<Line> lines = exists ? SplitLines(bytes) : std::vector<Line>();

    // New lines take the ending the file already uses; a new file gets CRLF.
    std::string eol = "\r\n";
    for (const Line& l : lines)
        if (!l.eol.empty()) { eol = l.eol; break; }

    const std::string entry = key + "=" + value;
    long sectionLine = -1, lastEntry = -1;
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
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
            if (EqualNoCase(k, key)) {
                lines[i].text = k + "=" + value;  // the key keeps its spelling
                done = true;
            } else {
                lastEntry = static_cast<long>(i);
            }
        }
    }

    if (!done) {
        if (sectionLine >= 0) {
            if (lines[lastEntry].eol.empty()) lines[lastEntry].eol = eol;
            lines.insert(lines.begin() + lastEntry + 1, Line{entry, eol});
        } else {
            if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = eol;
            if (!lines.empty() && !Trim(lines.back().text).empty()) lines.push_back({"", eol});
            lines.push_back({"[" + section + "]", eol});
            lines.push_back({entry, eol});
        }
    }

    std::string out;
    for (const Line& l : lines) out += l.text + l.eol;
    return WriteFileBytes(path, out);
}

}  // namespace platform
