#pragma once
// Typed reading of one profile file.
#include <string>

class CIniReader {
public:
    explicit CIniReader(const std::string& path);
    virtual ~CIniReader() = default;

    int ReadInt(const std::string& section, const std::string& key, int def) const;
    // The value (at most 254 characters), or the default when missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;

private:
    std::string m_path;
};
