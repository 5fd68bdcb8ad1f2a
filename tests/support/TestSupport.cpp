#include "TestSupport.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "quorvex-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_path = tmpl + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
    fs::path p = fs::path(m_path) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
    return p.string();
}

std::string TempDir::Read(const std::string& relative) const {
    std::ifstream in(fs::path(m_path) / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SampleTree::SampleTree() {
    fs::copy(QUORVEX_DIST_DIR, m_dir.Path(), fs::copy_options::recursive);
    platform::SetProgramFolder(m_dir.Path());
}

SampleTree::~SampleTree() { platform::SetProgramFolder(""); }

OtherProgramsLock::OtherProgramsLock(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (m_fd >= 0) ::flock(m_fd, LOCK_EX);
}

OtherProgramsLock::~OtherProgramsLock() {
    if (m_fd >= 0) ::close(m_fd);
}

bool OtherProgramsLock::Free(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

}  // namespace testsupport
