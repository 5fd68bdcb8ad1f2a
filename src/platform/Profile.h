#pragma once
// Profile (.inf / .ini) files with the semantics the system relies on from Windows:
// section and key names matched without regard to case, blanks around names and values
// trimmed, a value in matching quotes unquoted, a value cut to the buffer size less one,
// the default (its trailing blanks removed) when the file, section or key is missing.
// A file is parsed once and its keys looked up from the parsed form; the parsed form is
// kept only while the file on disk is unchanged, so a change on disk is seen at once.
#include <string>
#include <utility>
#include <vector>

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
// section at the end; a missing file is created. The file's line endings are kept and the
// file is replaced whole. Returns false when the file cannot be read or written, or when
// the section, key or value holds a line break or other control character (it would add
// keys or sections of its own).
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);
// Counts that bound a loop over numbered keys ("ProductCount", "RegisterCount", ...) are
// checked against the most the format allows before anything is looped over.
constexpr int kMaxListCount = 1000;
// A count given as text (read with GetPrivateProfileString and its default): its leading
// number, bounded to at most `max`. A value above it is noted as a problem of the file
// (see TakeFileProblems) and `max` is returned.
int BoundedCount(int value, int max, const std::string& path, const std::string& key);
// The problems noted since the last call, each once, for the caller to show.
std::vector<std::string> TakeFileProblems();

// Several keys of a section in one replace of the file (a list is never left half written).
bool WritePrivateProfileStrings(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& entries,
                                const std::string& path);

// For tests and fuzz targets: the clock (nanoseconds of the real-time clock) by which a
// parsed file counts as settled, so kept, 100 ms after its last change. A target whose
// files change only through this program may run it ahead; null restores the real one.
void SetProfileClockForTests(long long (*nowNanos)());

}  // namespace platform
