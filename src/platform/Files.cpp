#include "platform/Files.h"

#include "platform/Paths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
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

bool g_noLocks = false;  // tests: the filesystem gives no locks

// flock, or ENOLCK where the filesystem has no lock service (tests simulate one).
int Flock(int fd, int operation) {
    if (g_noLocks) {
        errno = ENOLCK;
        return -1;
    }
    return ::flock(fd, operation);
}

const char kJournalSuffix[] = ".journal";
const char kKeptSuffix[] = ".kept";
const char kSavingSuffix[] = ".saving";
// This version's journals. Those of the two versions before it have the head "... 1": the
// older of the two made the second names after the journal and put files back without a
// record; the newer recorded the put-back as this one does.
const char kJournalHead[] = "Quorvex replace journal 2";
const char kEarlierJournalHead[] = "Quorvex replace journal 1";
const char kJournalEnd[] = "end";
const char kJournalBack[] = "back ";

thread_local std::string t_lastError;

std::string Reason(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every replace writes under names of its own: "<file>.<token>.saving" for each file and
// "<first>.<token>.journal" for the journal. Programs of earlier versions used the token "",
// "<file>.saving" and "<first>.journal".
std::string NewToken() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::getpid()) + "x" + std::to_string(++counter);
}

std::string TempName(const std::string& target, const std::string& token) {
    return token.empty() ? target + kSavingSuffix : target + "." + token + kSavingSuffix;
}

std::string JournalName(const std::string& first, const std::string& token) {
    return token.empty() ? first + kJournalSuffix : first + "." + token + kJournalSuffix;
}

// The old file a batch keeps (a second name of it) until every file of the batch stands.
std::string KeptName(const std::string& target, const std::string& token) {
    return target + "." + token + kKeptSuffix;
}

// The entries of a folder that are `base` + "." + token + suffix (token without dots) or
// `base` + suffix; the token of each.
std::vector<std::pair<std::string, std::string>> OwnNames(const std::string& base, const char* suffix) {
    std::vector<std::pair<std::string, std::string>> found;
    const std::string folder = FolderOf(base), name = NameOf(base), tail = suffix;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (dirent* entry = ::readdir(dir)) {
        const std::string e = entry->d_name;
        if (e.size() < name.size() + tail.size() || e.compare(0, name.size(), name) != 0 ||
            e.compare(e.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        std::string middle = e.substr(name.size(), e.size() - name.size() - tail.size());
        if (middle.empty()) {
            found.emplace_back(folder + "/" + e, "");
        } else if (middle.size() > 1 && middle[0] == '.' && middle.find('.', 1) == std::string::npos) {
            found.emplace_back(folder + "/" + e, middle.substr(1));
        }
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

// A file another program still works with is locked by it (flock). Opens and locks
// `name` when no living program does; -1 when one does or the file is gone or not a
// regular file. The descriptor keeps the lock until it is closed.
// Without locks (ENOLCK) the token tells: a file of a program of this machine that still
// runs is left to it.
bool OwnerRuns(const std::string& token) {
    const long pid = std::atol(token.c_str());
    if (pid <= 0 || pid == ::getpid()) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

int LockIfOwnerless(const std::string& name, const std::string& token) {
    int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st, now;
    bool locked = Flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (!locked && errno == ENOLCK) locked = !OwnerRuns(token);
    if (!locked || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::lstat(name.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
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

// Creates `name` (which must not exist yet), locks it as this program's own, writes and
// flushes it. The descriptor comes back open: the lock tells every other program that the
// file is in use until it is closed.
bool WriteOwnedFile(const std::string& name, mode_t mode, const std::string& bytes, int& fd, std::string& error) {
    Step();
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    // A program that cleaned up in the moment between the creation and the lock took the
    // file away: the write fails rather than going to a file no one finds.
    // Without a lock service the file is written unlocked: the token names its program.
    struct stat st, now;
    if ((Flock(fd, LOCK_EX) != 0 && errno != ENOLCK) || ::fstat(fd, &st) != 0) {
        error = Reason(errno);
        ::close(fd);
        fd = -1;
        Unlink(name);
        return false;
    }
    if (st.st_nlink == 0 || ::lstat(name.c_str(), &now) != 0 || now.st_ino != st.st_ino) {
        error = Reason(ENOENT);
        ::close(fd);
        fd = -1;
        return false;
    }
    if (!WriteAll(fd, bytes, error) || (Step(), ::fsync(fd)) != 0) {
        if (error.empty()) error = Reason(errno);
        ::close(fd);
        fd = -1;
        Unlink(name);
        return false;
    }
    if (g_writeBudget > 0)  // the rest of the file's last page is taken too
        g_writeBudget = std::max(0LL, g_writeBudget - (kPage - static_cast<long long>(bytes.size()) % kPage) % kPage);
    return true;
}

// A file whose write bits are all off, or that this account may not write, is not
// replaced: the rename would need only a writable folder, and would pass over the file's
// protection (for root too).
bool CheckWritable(const std::string& target, std::string& error) {
    struct stat st;
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return true;
    if ((st.st_mode & 0222) == 0) {
        error = Reason(EACCES);
        return false;
    }
    if (::access(target.c_str(), W_OK) == 0) return true;
    error = Reason(errno);  // e.g. "Read-only file system"
    return false;
}

// Whether the rename of a replacement over `target` can succeed: the file is writable,
// no folder stands in its place, and in a shared folder with the sticky bit another
// user's file is not ours to replace.
bool CheckReplaceable(const std::string& target, std::string& error) {
    struct stat st, folder;
    if (::lstat(target.c_str(), &st) != 0) return true;
    if (S_ISDIR(st.st_mode)) {
        error = Reason(EISDIR);
        return false;
    }
    // A link in the file's place is replaced itself (the file it points to is not written).
    if (!S_ISLNK(st.st_mode) && !CheckWritable(target, error)) return false;
    const uid_t me = ::geteuid();
    if (me != 0 && ::stat(FolderOf(target).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
        st.st_uid != me && folder.st_uid != me) {
        error = Reason(EPERM);
        return false;
    }
    return true;
}

// The replacement of `target` written under `token`, open and locked in fd; the target
// itself is not touched. The replacement takes the target's permissions.
bool WriteReplacement(const std::string& target, const std::string& token, const std::string& bytes, int& fd,
                      std::string& error) {
    mode_t mode = 0666;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;
    return WriteOwnedFile(TempName(target, token), mode, bytes, fd, error);
}

// Files this program holds (HoldFile): resolved path -> the locked descriptor.
std::map<std::string, int>& HeldFiles() {
    static std::map<std::string, int> held;
    return held;
}

// Held files that could not be locked (a filesystem without locks).
std::set<std::string>& UnlockedHeld() {
    static std::set<std::string> unlocked;
    return unlocked;
}

// After `temp` was renamed over `target`: a held target keeps its lock on the new file,
// else the replacement's lock ends.
void AfterRename(const std::string& target, int fd) {
    auto it = HeldFiles().find(target);
    if (it == HeldFiles().end()) {
        ::close(fd);
        return;
    }
    ::close(it->second);
    it->second = fd;
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

// Keeps the old file `target` under the second name `keptName` (its name in `kept`), or
// nothing when there is no old file. Where the filesystem has no second names, a copy is
// kept instead; false with the reason when not even that can be written.
bool KeepOldFile(const std::string& target, const std::string& keptName, std::string& kept, std::string& reason) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) return true;
    Step();
    if (::link(target.c_str(), keptName.c_str()) != 0) {
        if (S_ISLNK(st.st_mode)) {
            std::string to(4096, '\0');
            const ssize_t n = ::readlink(target.c_str(), to.data(), to.size());
            Step();
            if (n < 0 || ::symlink(to.substr(0, static_cast<size_t>(n)).c_str(), keptName.c_str()) != 0) {
                reason = Reason(errno);
                return false;
            }
        } else {
            std::string bytes;
            int fd = -1;
            if (!ReadFileSafely(target, size_t(64) << 20, bytes, reason) ||
                !WriteOwnedFile(keptName, st.st_mode & 07777, bytes, fd, reason))
                return false;
            ::close(fd);
        }
    }
    kept = keptName;
    return true;
}

// Marks in the journal that the batch's files are being put back: "back " and, for each
// file, 1 when its old file has a second name to come back from, 0 when it is new with
// the batch (and so goes), 2 when it is to be left as it stands (a journal of an earlier
// version, whose files without a second name may be old files already put back). Flushed before the first file goes back. A journal that
// cannot take the record stays one to be finished forward (as before the record).
void AppendPutBackRecord(int journalFd, const std::string& flags) {
    const std::string record = std::string(kJournalBack) + flags + "\n";
    struct stat st;
    if (::fstat(journalFd, &st) != 0) return;
    Step();
    if (::write(journalFd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
        // Not recorded whole: the journal is taken back to what it was.
        if (::ftruncate(journalFd, st.st_size) == 0) ::fsync(journalFd);
        return;
    }
    Step();
    ::fsync(journalFd);
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

std::string ReplacementName(const std::string& path) { return TempName(path, ""); }

const std::string& LastReplaceError() { return t_lastError; }
void ClearLastReplaceError() { t_lastError.clear(); }

bool ReplaceFileWhole(const std::string& path, const std::string& bytes, std::string& error) {
    error.clear();
    if (ReplaceBatch* batch = ReplaceBatch::Active()) {
        batch->Stage(path, bytes);
        return true;
    }
    const std::string target = RealTarget(ResolvePath(path));
    RemoveStaleReplacements(target);
    int fd = -1;
    const std::string token = NewToken();
    if (!CheckWritable(target, error) || !WriteReplacement(target, token, bytes, fd, error)) {
        t_lastError = error;
        return false;
    }
    const std::string temp = TempName(target, token);
    if (Rename(temp, target) != 0) {
        error = t_lastError = Reason(errno);
        Unlink(temp);
        ::close(fd);
        return false;
    }
    AfterRename(target, fd);
    SyncFolder(FolderOf(target));
    return true;
}

// ---------------------------------------------------------------------------------------

ReplaceBatch::ReplaceBatch() : m_outer(t_activeBatch) { t_activeBatch = this; }

ReplaceBatch::~ReplaceBatch() {
    if (t_activeBatch == this) t_activeBatch = m_outer;
}

ReplaceBatch* ReplaceBatch::Active() { return t_activeBatch; }

std::string ReplaceBatch::Target(const std::string& path) const {
    const std::string resolved = ResolvePath(path);
    if (std::find(m_linksReplaced.begin(), m_linksReplaced.end(), resolved) != m_linksReplaced.end()) return resolved;
    return RealTarget(resolved);
}

void ReplaceBatch::OwnFileInPlaceOfOutsideLink(const std::string& path) {
    const std::string resolved = ResolvePath(path);
    const std::string real = RealTarget(resolved);
    struct stat st;
    if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return;
    // The folder of the link, as the system names it (itself perhaps reached through links).
    char* folder = ::realpath(FolderOf(resolved).c_str(), nullptr);
    const std::string own = folder ? folder : FolderOf(resolved);
    std::free(folder);
    if (real != resolved && FolderOf(real) == own) return;  // a link within the folder stays one
    m_linksReplaced.push_back(resolved);
}

void ReplaceBatch::Stage(const std::string& path, const std::string& bytes) {
    const std::string target = Target(path);
    if (m_files.find(target) == m_files.end()) m_order.push_back(target);
    m_files[target] = bytes;
}

const std::string* ReplaceBatch::Staged(const std::string& path) const {
    auto it = m_files.find(Target(path));
    return it == m_files.end() ? nullptr : &it->second;
}

void ReplaceBatch::Discard() {
    m_files.clear();
    m_order.clear();
    m_linksReplaced.clear();
}

bool ReplaceBatch::Commit(std::string& error) {
    error.clear();
    m_failedFile.clear();
    m_failureReason.clear();
    // A failure names the file of the batch it concerns (never a name of the replace's own).
    auto fail = [&](const std::string& target, const std::string& reason) {
        m_failedFile = target;
        m_failureReason = reason;
        error = "\"" + target + "\": " + reason;
        return false;
    };
    // Committing writes for real: a batch is not staged into itself.
    if (t_activeBatch == this) t_activeBatch = m_outer;
    if (m_order.empty()) return true;
    const std::string& first = m_order.front();
    for (const std::string& target : m_order)
        if (target.find('\n') != std::string::npos)  // the journal holds one name a line
            return fail(target, "the name holds a line break");
    FinishInterruptedReplace(first, m_order);
    for (const std::string& target : m_order) {
        std::string reason;
        if (!CheckReplaceable(target, reason)) return fail(target, reason);
    }

    // Every name below belongs to this replace alone, and stays locked while it runs.
    const std::string token = NewToken();
    std::vector<int> fds;
    // Each old file is kept under a second name until every file of the batch stands, so
    // that a rename that fails puts back those already done.
    std::vector<std::string> kept(m_order.size());
    auto closeAll = [&] {
        for (int fd : fds)
            if (fd >= 0) ::close(fd);
    };
    auto undo = [&] {
        for (size_t i = 0; i < fds.size(); ++i) Unlink(TempName(m_order[i], token));
        for (const std::string& name : kept)
            if (!name.empty()) Unlink(name);
        closeAll();
    };
    for (const std::string& target : m_order) {
        std::string reason;
        int fd = -1;
        if (!WriteReplacement(target, token, m_files[target], fd, reason)) {
            undo();
            return fail(target, reason);
        }
        fds.push_back(fd);
    }
    // The second names are made before the journal: a journal found on the disk always has
    // every old file of its batch beside it.
    for (size_t i = 0; i < m_order.size() && m_order.size() > 1; ++i) {
        std::string reason;
        if (!KeepOldFile(m_order[i], KeptName(m_order[i], token), kept[i], reason)) {
            undo();
            return fail(m_order[i], reason);
        }
    }
    const std::string journal = JournalName(first, token);
    int journalFd = -1;
    if (m_order.size() > 1) {
        std::string text = std::string(kJournalHead) + "\n";
        for (const std::string& target : m_order) text += target + "\n";
        text += std::string(kJournalEnd) + "\n";
        std::string reason;
        if (!WriteOwnedFile(journal, 0666, text, journalFd, reason)) {
            undo();
            return fail(first, reason);  // the journal is the batch's: its first file is named
        }
        SyncFolder(FolderOf(journal));
    }
    std::vector<std::string> folders;
    for (const std::string& target : m_order)
        if (std::find(folders.begin(), folders.end(), FolderOf(target)) == folders.end()) folders.push_back(FolderOf(target));
    // From here the new files are on the disk and named by the journal.
    for (size_t i = 0; i < m_order.size(); ++i) {
        const std::string& target = m_order[i];
        if (Rename(TempName(target, token), target) == 0) continue;
        fail(target, Reason(errno));
        // The put-back is recorded in the journal before the first file goes back: a kill
        // from here on is put back by the next program too, never finished forward.
        if (journalFd >= 0) {
            std::string flags;
            for (const std::string& name : kept) flags += name.empty() ? '0' : '1';
            AppendPutBackRecord(journalFd, flags);
        }
        // Put back what was already renamed, newest first.
        for (size_t j = i; j-- > 0;) {
            if (!kept[j].empty()) {
                Rename(kept[j], m_order[j]);
                kept[j].clear();
            } else {
                Unlink(m_order[j]);  // new with this batch
            }
        }
        for (const std::string& folder : folders) SyncFolder(folder);
        if (journalFd >= 0) {
            Unlink(journal);
            ::close(journalFd);
        }
        // Without the journal what is left is only removed.
        for (size_t j = i; j < m_order.size(); ++j) Unlink(TempName(m_order[j], token));
        for (const std::string& name : kept)
            if (!name.empty()) Unlink(name);
        closeAll();
        return false;
    }
    // Every file stands: a held file's lock follows it to its new version.
    for (size_t i = 0; i < m_order.size(); ++i) {
        AfterRename(m_order[i], fds[i]);
        fds[i] = -1;
    }
    for (const std::string& folder : folders) SyncFolder(folder);
    // The journal's removal need not reach the disk: found again, it names no replacement
    // left and is only removed (and the old files kept beside it with it).
    if (journalFd >= 0) {
        Unlink(journal);
        ::close(journalFd);
    }
    for (const std::string& name : kept)
        if (!name.empty()) Unlink(name);
    Discard();
    return true;
}

bool ReplaceBatch::FailedAt(const std::string& path) const { return !m_failedFile.empty() && Target(path) == m_failedFile; }

void RemoveStaleReplacements(const std::string& path) {
    for (const auto& [temp, token] : OwnNames(ResolvePath(path), kSavingSuffix)) {
        int fd = LockIfOwnerless(temp, token);
        if (fd < 0) continue;
        Unlink(temp);
        ::close(fd);
    }
}

namespace {

// Finishes the batch a journal left by a program that no longer runs names. A journal is
// put in place whole, after every file it names was written and every old file kept: one
// cut short was never acted on. Until a put-back is recorded, each replacement still
// standing is renamed over its file; once one is (or when a replacement can no longer be
// renamed over its file, a folder in its place), every old file comes back from its
// second name and a file new with the batch goes. Only files beside the journal are
// touched: a journal cannot name others. False when an old file could not come back (its
// place taken): the journal and the second names then stay for the next try.
bool FinishJournal(const std::string& journal, const std::string& token, const std::string& text) {
    const std::vector<std::string> lines = Lines(text);
    const auto end = std::find(lines.begin(), lines.end(), std::string(kJournalEnd));
    if (lines.empty() || end == lines.end()) return true;
    const bool earlier = lines.front() == kEarlierJournalHead;
    if (lines.front() != kJournalHead && !earlier) return true;
    const std::vector<std::string> files(lines.begin() + 1, end);
    struct stat st;
    auto exists = [&st](const std::string& name) { return ::lstat(name.c_str(), &st) == 0; };
    auto beside = [&](const std::string& file) { return FolderOf(file) == FolderOf(journal); };
    auto replaced = [&](const std::string& file) { return beside(file) && exists(TempName(file, token)); };
    auto kept = [&](const std::string& file) { return beside(file) && exists(KeptName(file, token)); };
    bool back = end + 1 != lines.end();
    if (back && token.empty()) return true;  // the oldest versions wrote no more after the end: not theirs
    std::string flags = back && end[1].rfind(kJournalBack, 0) == 0 ? end[1].substr(sizeof kJournalBack - 1) : "";
    // A record cut short was written before anything went back: every old file still has
    // its second name.
    if (back && (flags.size() != files.size() || flags.find_first_not_of("012") != std::string::npos)) flags.clear();
    // A journal of the version that put files back without a record: a file whose
    // replacement is gone and that has no second name, before one whose replacement and
    // second name both stand, was put back already (its second name went with it). A batch
    // rolled forward has a second name for every old file it renamed over.
    bool keepAsIs = earlier && !back && !token.empty();
    if (keepAsIs) {
        bool putBack = false;
        for (size_t i = 0; i < files.size() && !putBack; ++i)
            if (beside(files[i]) && !replaced(files[i]) && !kept(files[i]))
                for (size_t j = i + 1; j < files.size() && !putBack; ++j) putBack = replaced(files[j]) && kept(files[j]);
        back = putBack;
    }
    // Journals of the oldest versions kept no old files: those are only finished forward.
    for (const std::string& file : files) {
        std::string reason;
        if (!back && !token.empty() && replaced(file) && !CheckReplaceable(file, reason)) back = true;
    }
    if (back && flags.empty()) {
        // Recorded first, as the program that wrote it would have: a kill while this puts
        // back is put back again by the next. Where the journal does not say which files
        // are new with the batch, those without a second name stay as they are.
        for (const std::string& name : files) flags += kept(name) ? '1' : keepAsIs ? '2' : '0';
        const int fd = ::open(journal.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            AppendPutBackRecord(fd, flags);
            ::close(fd);
        }
    }
    bool finished = true;
    if (!back) {
        for (const std::string& file : files) {
            const std::string temp = TempName(file, token);
            if (beside(file) && exists(temp) && S_ISREG(st.st_mode)) Rename(temp, file);
        }
    } else {
        for (size_t i = 0; i < files.size(); ++i) {
            if (!beside(files[i])) continue;
            const std::string keptName = KeptName(files[i], token);
            if (flags[i] == '1') {
                if (exists(keptName) && Rename(keptName, files[i]) != 0) finished = false;
            } else if (flags[i] == '0' && !replaced(files[i]) && exists(files[i]) &&
                       (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) {
                Unlink(files[i]);  // renamed in, new with the batch
            }
        }
    }
    for (const std::string& file : files)
        if (beside(file)) SyncFolder(FolderOf(file));
    return finished;
}

}  // namespace

void FinishInterruptedReplace(const std::string& path, const std::vector<std::string>& companions) {
    const std::string first = ResolvePath(path);
    struct stat st;
    // A journal is finished only when the program that wrote it no longer runs.
    for (const auto& [journal, token] : OwnNames(first, kJournalSuffix)) {
        int fd = LockIfOwnerless(journal, token);
        if (fd < 0) continue;
        std::string text, error;
        if (ReadFileSafely(journal, 64 * 1024, text, error) && !FinishJournal(journal, token, text)) {
            ::close(fd);  // an old file's place is taken: it comes back with a later open or save
            continue;
        }
        Unlink(journal);
        ::close(fd);
        SyncFolder(FolderOf(journal));
    }
    // Without a journal a replacement is a write that never got its rename.
    RemoveStaleReplacements(first + kJournalSuffix);
    RemoveStaleReplacements(first);
    for (const std::string& companion : companions) RemoveStaleReplacements(companion);
    // An old file kept by a batch goes once its journal is gone (the batch ended, or its
    // journal was finished above).
    std::vector<std::string> files = companions;
    files.insert(files.begin(), first);
    for (const std::string& file : files)
        for (const auto& [kept, token] : OwnNames(ResolvePath(file), kKeptSuffix))
            if (!token.empty() && ::lstat(JournalName(first, token).c_str(), &st) != 0) Unlink(kept);
}

HoldResult HoldFile(const std::string& path, std::string& error) {
    error.clear();
    const std::string target = RealTarget(ResolvePath(path));
    if (HeldFiles().count(target)) return UnlockedHeld().count(target) ? HoldResult::HeldUnlocked : HoldResult::Held;
    // The name may be replaced between the open and the lock: the lock counts only when
    // it was taken on the file the name still gives.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = Reason(errno);
            return HoldResult::Failed;
        }
        struct stat st, now;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            error = "Not a regular file";
            ::close(fd);
            return HoldResult::Failed;
        }
        bool unlocked = false;
        if (Flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            // A filesystem without a lock service: the file is kept open all the same, but
            // another program cannot be kept from it.
            if (e == ENOLCK) {
                unlocked = true;
            } else {
                ::close(fd);
                if (e == EWOULDBLOCK) return HoldResult::HeldElsewhere;
                error = Reason(e);
                return HoldResult::Failed;
            }
        }
        if (::stat(target.c_str(), &now) == 0 && now.st_ino == st.st_ino && now.st_dev == st.st_dev) {
            HeldFiles()[target] = fd;
            if (unlocked) UnlockedHeld().insert(target);
            return unlocked ? HoldResult::HeldUnlocked : HoldResult::Held;
        }
        ::close(fd);
    }
    error = Reason(EAGAIN);
    return HoldResult::Failed;
}

std::string FindHeldElsewhere(const std::string& stem, size_t tailLength) {
    const std::string resolved = ResolvePath(stem);
    const std::string folder = FolderOf(resolved + "x"), name = NameOf(resolved + "x");
    const std::string prefix = name.substr(0, name.size() - 1);
    std::vector<std::string> candidates;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            const std::string e = entry->d_name;
            if (e.size() == prefix.size() + tailLength && e.compare(0, prefix.size(), prefix) == 0)
                candidates.push_back(folder + "/" + e);
        }
        ::closedir(dir);
    }
    std::sort(candidates.begin(), candidates.end());
    for (const std::string& candidate : candidates) {
        if (HeldFiles().count(RealTarget(candidate))) continue;
        // A shared lock is refused only while another program holds the file.
        int fd = ::open(candidate.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat st;
        const bool held = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && Flock(fd, LOCK_SH | LOCK_NB) != 0 &&
                          errno == EWOULDBLOCK;
        ::close(fd);
        if (held) return candidate;
    }
    return std::string();
}

void ReleaseHeldFiles(const std::string& keep) {
    const std::string kept = keep.empty() ? std::string() : RealTarget(ResolvePath(keep));
    for (auto it = HeldFiles().begin(); it != HeldFiles().end();) {
        if (it->first == kept) {
            ++it;
            continue;
        }
        ::close(it->second);
        UnlockedHeld().erase(it->first);
        it = HeldFiles().erase(it);
    }
}

void SetFreePagesForTests(long long pages) { g_writeBudget = pages < 0 ? -1 : pages * kPage; }

void SetDiskStepHookForTests(void (*hook)()) { g_stepHook = hook; }

void SetNoLocksForTests(bool noLocks) { g_noLocks = noLocks; }

}  // namespace platform
