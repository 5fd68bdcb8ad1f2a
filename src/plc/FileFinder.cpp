#include "plc/FileFinder.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

bool WildcardMatch(const char* name, const char* mask) {
    for (;;) {
        if (*mask == '\0') return *name == '\0';
        if (*mask == '*') {
            while (*mask == '*') ++mask;
            if (*mask == '\0') return true;
            for (const char* n = name; *n; ++n)
                if (WildcardMatch(n, mask)) return true;
            return WildcardMatch("", mask);
        }
        if (*name == '\0') {
            // A trailing ".*" matches a name without an extension.
            return mask[0] == '.' && mask[1] == '*' && mask[2] == '\0';
        }
        if (*mask != '?' && std::toupper(static_cast<unsigned char>(*mask)) !=
                                std::toupper(static_cast<unsigned char>(*name)))
            return false;
        ++mask;
        ++name;
    }
}

struct Times {
    std::time_t created = 0, modified = 0, accessed = 0;
};

Times FileTimes(const std::string& path) {
    Times t;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        t.modified = st.st_mtime;
        t.accessed = st.st_atime;
        t.created = st.st_ctime;  // the nearest this file system keeps
    }
    return t;
}

}  // namespace

bool MatchesFileMask(const std::string& name, const std::string& mask) {
    return WildcardMatch(name.c_str(), mask.c_str());
}

CFileFinder::CFindOpts::CFindOpts() {
    std::time_t now = std::time(nullptr);
    tMinCreated = tMaxCreated = tMinModified = tMaxModified = tMinAccessed = tMaxAccessed = now;
}

CPathName CFileFinder::GetFilePath(int index) const {
    if (index < 0 || index >= GetFileCount()) return CPathName(std::string());
    return CPathName(m_arrResults[static_cast<size_t>(index)]);
}

int CFileFinder::SearchFolder(CFindOpts& options) {
    m_bStopSearch = false;
    options.sBaseFolder = CPathName::AddBackslash(options.sBaseFolder);
    const std::string folder = platform::ResolvePath(options.sBaseFolder);

    // Each real folder is searched once, however many links lead to it.
    if (m_nSearchDepth == 0) m_visitedFolders.clear();
    struct stat folderStat {};
    if (stat(folder.c_str(), &folderStat) == 0) {
        const std::pair<uint64_t, uint64_t> id{folderStat.st_dev, folderStat.st_ino};
        if (std::find(m_visitedFolders.begin(), m_visitedFolders.end(), id) != m_visitedFolders.end())
            return GetFileCount();
        m_visitedFolders.push_back(id);
    }
    struct Depth {
        int& n;
        explicit Depth(int& d) : n(++d) {}
        ~Depth() { --n; }
    } depth(m_nSearchDepth);

    // Entries sorted by name, so that a search gives the same order every time.
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(*it);
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });

    if (options.bSubfolders == 1) {
        for (const fs::directory_entry& e : entries) {
            if (m_bStopSearch) break;
            std::error_code dirEc;
            if (!e.is_directory(dirEc)) continue;
            CFindOpts sub = options;
            sub.sBaseFolder = options.sBaseFolder + e.path().filename().string();
            SearchFolder(sub);
        }
    }

    m_strSearchingFolder = options.sBaseFolder;
    Progress(FF_FOLDER);

    for (const fs::directory_entry& e : entries) {
        if (m_bStopSearch) break;
        const std::string name = e.path().filename().string();
        if (!MatchesFileMask(name, options.sFileMask)) continue;
        const std::string full = e.path().string();
        const unsigned flags = options.dwOptionsFlags;
        bool accepted = true;
        if (accepted && (flags & FIND_ATTRIBUTES))
            accepted = (platform::GetFileAttributes(full) & options.dwFileAttributes) != 0;
        std::error_code sizeEc;
        if (accepted && (flags & FIND_SIZE)) {
            uint64_t size = e.is_regular_file(sizeEc) ? e.file_size(sizeEc) : 0;
            accepted = options.nMinSize <= size && size <= options.nMaxSize;
        }
        Times t = FileTimes(full);
        if (accepted && (flags & FIND_DATEMODIFIED))
            accepted = options.tMinModified <= t.modified && t.modified <= options.tMaxModified;
        if (accepted && (flags & FIND_DATECREATED))
            accepted = options.tMinCreated <= t.created && t.created <= options.tMaxCreated;
        if (accepted && (flags & FIND_DATEACCESSED))
            accepted = options.tMinAccessed <= t.accessed && t.accessed <= options.tMaxAccessed;
        if (accepted && (flags & FIND_TEXT)) accepted = FindTextInFile(full, options.sFindText);

        if (accepted) {
            std::error_code dirEc;
            m_arrResults.push_back(options.sBaseFolder + name + (e.is_directory(dirEc) ? "\\" : ""));
        }
        Progress(accepted ? FF_FOUND : FF_DISCARDED);
    }
    return GetFileCount();
}

bool CFileFinder::FindTextInFile(const std::string& path, const std::string& text) {
    // Only a regular file is searched: a FIFO or device would block or never end.
    if (text.empty() || !platform::FileExists(path)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string wanted;
    for (char c : text) wanted += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t length = wanted.size();
    const size_t window = std::max<size_t>(128, 2 * length);
    std::string carry(length, ' ');
    std::string block(window - length, '\0');
    for (int blocks = 1;; ++blocks) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        size_t got = static_cast<size_t>(in.gcount());
        std::string buffer = carry;
        for (size_t i = 0; i < got; ++i)
            if (block[i] != '\0') buffer += static_cast<char>(std::toupper(static_cast<unsigned char>(block[i])));
        if (buffer.find(wanted) != std::string::npos) return true;
        if (blocks % 10 == 0) Progress(FF_FINDTEXT);
        if (got < block.size()) return false;
        carry = buffer.substr(buffer.size() - std::min(length, buffer.size()));
        if (carry.size() < length) carry.insert(0, length - carry.size(), ' ');
    }
}
