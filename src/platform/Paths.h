#pragma once
// Paths as the system builds them (backslashes, from the program folder) resolved on this
// machine: '\' becomes '/', and a component that is not found as written is matched
// against its folder's entries without regard to case, since definition trees come from
// Windows.
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// The folder of the program, with a trailing '/': QUORVEX_HOME when set, else the
// folder of the running executable.
std::string GetProgramFolder();

// Tests point the program at a tree of their own; an empty text returns to the default.
void SetProgramFolder(const std::string& folder);

// The path with '\' turned into '/' and each existing component found without regard
// to case. Components that do not exist stay as written, so the result can be used to
// create a file. A file name of this system that holds a '\' (one that exists so, or whose
// part before its first '\' names no folder) is used as written.
std::string ResolvePath(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Names (not paths) of the entries of a folder, sorted; empty when it does not exist.
std::vector<std::string> ListDirectory(const std::string& path);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

// Whole file as bytes; false when it cannot be read, is not a regular file or is larger
// than the cap (see Files.h for the reason and the caps by kind).
bool ReadFileBytes(const std::string& path, std::string& bytes, size_t cap = size_t(16) << 20);
// Replaces the whole file (see ReplaceFileWhole in Files.h); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace platform

namespace platform {

// File attribute bits as the system's definition files and finders know them.
constexpr unsigned FILE_ATTRIBUTE_READONLY = 0x01;
constexpr unsigned FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr unsigned FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr unsigned FILE_ATTRIBUTE_ARCHIVE = 0x20;

// The attributes of a file here: a folder is a directory; a file is an archive file (it
// has content to be copied); a name that starts with '.' is hidden; read-only when it
// cannot be written. 0 when it does not exist.
unsigned GetFileAttributes(const std::string& path);

}  // namespace platform
