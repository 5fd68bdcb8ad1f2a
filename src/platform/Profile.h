#pragma once
// Profile (.inf / .ini) files with the semantics the system relies on from Windows:
// section and key names matched without regard to case, blanks around names and values
// trimmed, a value in matching quotes unquoted, a value cut to the buffer size less one,
// the default (its trailing blanks removed) when the file, section or key is missing.
// Nothing is cached: every call reads the file again, so a change on disk is seen at once.
#include <string>

namespace platform {

// Value of [section] key, cut to nSize - 1 characters; the default when missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, size_t nSize,
                                    const std::string& path);

// Leading signed decimal value of [section] key (0 when it has no digits); the default
// when the file, section or key is missing or the value is empty.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int def,
                         const std::string& path);

// Writes key=value: in place where the key stands, appended to its section, or in a new
// section at the end; a missing file is created. The file's line endings are kept.
// Returns false when the file cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);

}  // namespace platform
