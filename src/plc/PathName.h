#pragma once
// One file-system path split into drive, directory, name and extension, with its full and
// long forms and the size of the file it names.
#include <cstdint>
#include <string>
#include <vector>

class CPathName {
public:
    CPathName() = default;
    explicit CPathName(const std::string& path);
    virtual ~CPathName() = default;
    CPathName(const CPathName&) = default;
    CPathName& operator=(const CPathName&) = default;

    // Drive + directory + name, and "." + extension when there is one.
    const std::string& GetFullPath();
    // The long (canonical) form of the full path; empty when the file does not exist.
    std::string GetLongPath() const;
    const std::string& GetPart() const { return m_strFileName; }
    // True when the file could be opened; the size is 0 otherwise.
    bool GetFileSize(uint64_t& size);
    // The text with '\' (or '/') appended unless it is empty or already ends in a separator.
    static std::string AddBackslash(const std::string& text, bool forwardSlash = false);

    const std::string& Drive() const { return m_strDrive; }
    const std::string& Directory() const { return m_strDirectory; }
    const std::string& Extension() const { return m_strExtension; }
    bool IsRelative() const { return m_bRelative != 0; }

private:
    std::string m_strText;
    std::string m_strDrive;
    std::string m_strDirectory;  // '\' separators, trailing '\'
    std::string m_strFileName;   // without extension
    std::string m_strExtension;  // without its dot
    int m_bRelative = 0;
    uint64_t m_nFileSize = 0;
    std::string m_strFullPath;
};
