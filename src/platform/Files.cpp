#include "platform/Files.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

thread_local ReplaceBatch* t_activeBatch = nullptr;
long long g_writeBudget = -1;  // bytes the disk still takes; negative: no limit
constexpr long long kPage = 4096;
void (*g_stepHook)() = nullptr;

void Step() {
    if (g_stepHook) g_stepHook();
}

int Rename(const std::string& from, const std::string& to) {
    Step();
    return std::rename(from.c_str(), to.c_str());
}

int Unlink(const std::string& path) {
    Step();
    return ::unlink(path.c_str());
}

const char kJournalSuffix[] = ".journal";
const char kJournalHead[] = "Quorvex replace journal 1";
const char kJournalEnd[] = "end";

std::string Reason(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes a folder, so that a rename in it is on the disk.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    Step();
    ::fsync(fd);
    ::close(fd);
}

bool WriteAll(int fd, const std::string& bytes, std::string& error) {
    size_t done = 0;
    while (done < bytes.size()) {
        size_t chunk = bytes.size() - done;
        if (g_writeBudget >= 0) {
            if (g_writeBudget == 0) {
                error = Reason(ENOSPC);
                return false;
            }
            chunk = std::min<size_t>(chunk, static_cast<size_t>(g_writeBudget));
        }
        Step();
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = Reason(errno);
            return false;
        }
        if (g_writeBudget >= 0) g_writeBudget -= n;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes and flushes the replacement of `target` (its name from ReplacementName); the
// target itself is not touched. The replacement takes the target's permissions.
bool WriteReplacement(const std::string& target, const std::string& bytes, std::string& error) {
    const std::string temp = ReplacementName(target);
    mode_t mode = 0666;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    Step();
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    if (!WriteAll(fd, bytes, error) || (Step(), ::fsync(fd)) != 0) {
        if (error.empty()) error = Reason(errno);
        ::close(fd);
        Unlink(temp);
        return false;
    }
    if (::close(fd) != 0) {
        error = Reason(errno);
        Unlink(temp);
        return false;
    }
    if (g_writeBudget > 0)  // the rest of the file's last page is taken too
        g_writeBudget = std::max(0LL, g_writeBudget - (kPage - static_cast<long long>(bytes.size()) % kPage) % kPage);
    return true;
}

// The file a path names: a link is followed, so that the file it points to is replaced
// and the link stays.
std::string RealTarget(const std::string& resolved) {
    struct stat st;
    if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return resolved;
    char* real = ::realpath(resolved.c_str(), nullptr);
    if (!real) return resolved;
    std::string target = real;
    std::free(real);
    return target;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back(text.substr(pos, nl - pos));
        pos = nl + 1;
    }
    return lines;
}

}  // namespace

bool ReadFileSafely(const std::string& path, size_t cap, std::string& bytes, std::string& error) {
    bytes.clear();
    error.clear();
    if (ReplaceBatch* batch = ReplaceBatch::Active())
        if (const std::string* staged = batch->Staged(path)) {
            bytes = *staged;
            return true;
        }
    const std::string resolved = ResolvePath(path);
    // Refused by type before it is opened: opening a FIFO would wait for a writer.
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0) {
        error = Reason(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = Reason(EISDIR);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "Not a regular file";
        return false;
    }
    int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    // Checked again on what was opened: the name may have been replaced in between.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "Not a regular file";
        ::close(fd);
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > cap) {
        error = Reason(EFBIG);
        ::close(fd);
        return false;
    }
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = Reason(errno);
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<size_t>(n) > cap) {  // grew while read
            error = Reason(EFBIG);
            ::close(fd);
            bytes.clear();
            return false;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

std::string ReplacementName(const std::string& path) { return path + ".saving"; }

bool ReplaceFileWhole(const std::string& path, const std::string& bytes, std::string& error) {
    error.clear();
    if (ReplaceBatch* batch = ReplaceBatch::Active()) {
        batch->Stage(path, bytes);
        return true;
    }
    const std::string target = RealTarget(ResolvePath(path));
    if (!WriteReplacement(target, bytes, error)) return false;
    const std::string temp = ReplacementName(target);
    if (Rename(temp, target) != 0) {
        error = Reason(errno);
        Unlink(temp);
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

// ---------------------------------------------------------------------------------------

ReplaceBatch::ReplaceBatch() : m_outer(t_activeBatch) { t_activeBatch = this; }

ReplaceBatch::~ReplaceBatch() {
    if (t_activeBatch == this) t_activeBatch = m_outer;
}

ReplaceBatch* ReplaceBatch::Active() { return t_activeBatch; }

void ReplaceBatch::Stage(const std::string& path, const std::string& bytes) {
    const std::string target = RealTarget(ResolvePath(path));
    if (m_files.find(target) == m_files.end()) m_order.push_back(target);
    m_files[target] = bytes;
}

const std::string* ReplaceBatch::Staged(const std::string& path) const {
    auto it = m_files.find(RealTarget(ResolvePath(path)));
    return it == m_files.end() ? nullptr : &it->second;
}

void ReplaceBatch::Discard() {
    m_files.clear();
    m_order.clear();
}

bool ReplaceBatch::Commit(std::string& error) {
    error.clear();
    // Committing writes for real: a batch is not staged into itself.
    if (t_activeBatch == this) t_activeBatch = m_outer;
    if (m_order.empty()) return true;
    const std::string& first = m_order.front();
    for (const std::string& target : m_order)
        if (target.find('\n') != std::string::npos) {  // the journal holds one name a line
            error = "\"" + target + "\": the name holds a line break";
            return false;
        }
    FinishInterruptedReplace(first, m_order);

    std::vector<std::string> written;
    auto undo = [&] {
        for (const std::string& target : written) Unlink(ReplacementName(target));
    };
    for (const std::string& target : m_order) {
        std::string reason;
        if (!WriteReplacement(target, m_files[target], reason)) {
            error = "\"" + target + "\": " + reason;
            undo();
            return false;
        }
        written.push_back(target);
    }
    const std::string journal = first + kJournalSuffix;
    if (m_order.size() > 1) {
        std::string text = std::string(kJournalHead) + "\n";
        for (const std::string& target : m_order) text += target + "\n";
        text += std::string(kJournalEnd) + "\n";
        std::string reason;
        if (!WriteReplacement(journal, text, reason)) {
            error = "\"" + journal + "\": " + reason;
            undo();
            return false;
        }
        if (Rename(ReplacementName(journal), journal) != 0) {
            error = "\"" + journal + "\": " + Reason(errno);
            Unlink(ReplacementName(journal));
            undo();
            return false;
        }
        SyncFolder(FolderOf(journal));
    }
    // From here the new files are on the disk and named by the journal: a rename that
    // fails now is finished by the next open or save.
    for (const std::string& target : m_order) {
        if (Rename(ReplacementName(target), target) != 0) {
            error = "\"" + target + "\": " + Reason(errno);
            return false;
        }
    }
    std::vector<std::string> folders;
    for (const std::string& target : m_order)
        if (std::find(folders.begin(), folders.end(), FolderOf(target)) == folders.end()) folders.push_back(FolderOf(target));
    for (const std::string& folder : folders) SyncFolder(folder);
    // The journal's removal need not reach the disk: found again, it names no replacement
    // left and is only removed.
    if (m_order.size() > 1) Unlink(journal);
    Discard();
    return true;
}

void FinishInterruptedReplace(const std::string& path, const std::vector<std::string>& companions) {
    const std::string first = ResolvePath(path);
    const std::string journal = first + kJournalSuffix;
    std::string text, error;
    struct stat st;
    if (::lstat(journal.c_str(), &st) == 0) {
        if (ReadFileSafely(journal, 64 * 1024, text, error)) {
            const std::vector<std::string> lines = Lines(text);
            const bool complete = lines.size() >= 2 && lines.front() == kJournalHead && lines.back() == kJournalEnd;
            // A journal is put in place whole, after every file it names was written:
            // each replacement still standing is renamed over its file.
            // Only files beside the journal are touched: a journal cannot name others.
            for (size_t i = 1; complete && i + 1 < lines.size(); ++i) {
                const std::string temp = ReplacementName(lines[i]);
                if (FolderOf(lines[i]) == FolderOf(journal) && ::lstat(temp.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    Rename(temp, lines[i]);
            }
            for (size_t i = 1; complete && i + 1 < lines.size(); ++i) SyncFolder(FolderOf(lines[i]));
        }
        Unlink(journal);
        SyncFolder(FolderOf(journal));
    }
    // Without a journal a replacement is a write that never got its rename.
    auto removeLeftover = [&](const std::string& target) {
        const std::string temp = ReplacementName(target);
        if (::lstat(temp.c_str(), &st) == 0 && S_ISREG(st.st_mode)) Unlink(temp);
    };
    removeLeftover(journal);
    removeLeftover(first);
    for (const std::string& companion : companions) removeLeftover(ResolvePath(companion));
}

void SetFreePagesForTests(long long pages) { g_writeBudget = pages < 0 ? -1 : pages * kPage; }

void SetDiskStepHookForTests(void (*hook)()) { g_stepHook = hook; }

}  // namespace platform
