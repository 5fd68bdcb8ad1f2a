#pragma once
// Recursive search of a folder for files whose names match a wildcard mask and pass
// optional filters on attributes, size, dates and contents.
#include "plc/PathName.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

class CFileFinder {
public:
    // Filter flags of the search options.
    static constexpr unsigned FIND_SIZE = 1;
    static constexpr unsigned FIND_DATEMODIFIED = 2;
    static constexpr unsigned FIND_DATECREATED = 4;
    static constexpr unsigned FIND_DATEACCESSED = 8;
    static constexpr unsigned FIND_ATTRIBUTES = 16;
    static constexpr unsigned FIND_TEXT = 32;

    // Progress events: a file accepted, a file passed over, a folder begun, a block of a
    // contents search read (every tenth).
    static constexpr int FF_FOUND = 0;
    static constexpr int FF_DISCARDED = 1;
    static constexpr int FF_FOLDER = 2;
    static constexpr int FF_FINDTEXT = 3;
    using ProgressFn = void (*)(CFileFinder* finder, int event, void* user);

    struct CFindOpts {
        CFindOpts();
        std::string sBaseFolder;
        std::string sFileMask = "*.*";
        std::string sFindText;
        int bSubfolders = 0;
        unsigned dwOptionsFlags = 0;
        uint64_t nMinSize = 0, nMaxSize = 0;
        std::time_t tMinCreated, tMaxCreated, tMinModified, tMaxModified, tMinAccessed, tMaxAccessed;
        unsigned dwFileAttributes = 0;
    };

    CFileFinder() = default;
    virtual ~CFileFinder() = default;

    void SetProgressTarget(ProgressFn fn, void* user) {
        m_pfnProgress = fn;
        m_pUser = user;
    }
    // Appends the matches below the base folder (subfolders first, depth first); returns
    // the number of paths in the result list.
    int SearchFolder(CFindOpts& options);
    int GetFileCount() const { return static_cast<int>(m_arrResults.size()); }
    CPathName GetFilePath(int index) const;
    void RemoveAll() { m_arrResults.clear(); }
    const std::string& GetSearchingFolder() const { return m_strSearchingFolder; }
    // Ends the search in progress (from a progress function).
    void StopSearch() { m_bStopSearch = true; }

private:
    bool FindTextInFile(const std::string& path, const std::string& text);
    void Progress(int event) {
        if (m_pfnProgress) m_pfnProgress(this, event, m_pUser);
    }

    std::vector<std::string> m_arrResults;
    // The real folders (device and inode) of the search in progress: a link back to one
    // of them is not followed again.
    std::vector<std::pair<uint64_t, uint64_t>> m_visitedFolders;
    int m_nSearchDepth = 0;
    bool m_bStopSearch = false;
    ProgressFn m_pfnProgress = nullptr;
    void* m_pUser = nullptr;
    std::string m_strSearchingFolder;
};

// Windows wildcard match of a file name ('*' and '?', without regard to case; "*.*" also
// matches names without a dot).
bool MatchesFileMask(const std::string& name, const std::string& mask);
