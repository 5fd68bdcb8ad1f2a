#pragma once
// Shared helpers of the tests: temporary folders and a private copy of the sample tree.
#include <string>

namespace testsupport {

// A fresh empty folder under the system's temporary folder, removed when it goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }  // with a trailing '/'
    // Writes a file below the folder (folders created), returns its full path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;

private:
    std::string m_path;
};

// A copy of dist/ in a temporary folder, made the program folder while it lives.
class SampleTree {
public:
    SampleTree();
    ~SampleTree();
    const std::string& Path() const { return m_dir.Path(); }
    std::string Write(const std::string& relative, const std::string& bytes) const {
        return m_dir.Write(relative, bytes);
    }
    std::string Read(const std::string& relative) const { return m_dir.Read(relative); }

private:
    TempDir m_dir;
};

// Another running program's lock on a file, as that program takes it (flock on an open
// file of its own); taken in the constructor, let go in the destructor.
class OtherProgramsLock {
public:
    explicit OtherProgramsLock(const std::string& path);
    ~OtherProgramsLock();
    OtherProgramsLock(const OtherProgramsLock&) = delete;
    OtherProgramsLock& operator=(const OtherProgramsLock&) = delete;
    // Whether another program could take the file's lock now (no one else holds it).
    static bool Free(const std::string& path);

private:
    int m_fd;
};

}  // namespace testsupport
