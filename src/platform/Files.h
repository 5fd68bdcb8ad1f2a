#pragma once
// Reading outside files and replacing files whole.
//
// Every file from outside (definition files, projects, images, bitmaps, firmware) is read
// here: regular files only (a directory, FIFO, device or socket is refused by its type
// before anything is read), at most a cap per kind of file, and a failure comes back as
// false with the system's reason, never as an exception.
//
// Every file the program rewrites is replaced whole: written beside it, flushed, renamed
// over it, the folder flushed. A batch replaces several files as one: all are written
// first and each old file is kept under a second name, then a journal naming them is put
// in place, then the renames, then the journal is removed. A rename that fails records in
// the journal that the files are put back before it puts them back. Whoever next opens or
// saves the first of them finishes what a killed run left (FinishInterruptedReplace): the
// renames, or the putting back once it was recorded.
//
// Two programs may work in one folder at once: every replace writes its files and its
// journal under names of its own ("<file>.<token>.saving", "<first>.<token>.journal") and
// keeps them locked (flock) while it runs, so that another program finishes or removes
// them only once the program that wrote them has ended. A file whose write bits are all
// off, or that this account may not write, is not replaced. A program that has a file
// open holds it (HoldFile): the lock follows the file through this program's replaces.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace platform {

// Caps by kind of file: generous for every real file, small enough that a damaged or
// hostile one cannot take the machine's memory.
constexpr size_t kProfileFileCap = size_t(4) << 20;   // .inf, .ini, tag tables
constexpr size_t kProjectFileCap = size_t(4) << 20;   // .prj and its internal-database images
constexpr size_t kBitmapFileCap = size_t(8) << 20;    // bitmaps shown by the program
constexpr size_t kTransferFileCap = size_t(16) << 20; // firmware, drivers, web pages

// The whole file, when it is a regular file of at most `cap` bytes. Otherwise false and
// `error` says why ("Is a directory", "No such file or directory", "File too large").
bool ReadFileSafely(const std::string& path, size_t cap, std::string& bytes, std::string& error);

// Replaces the file whole (see above). Inside an open ReplaceBatch the bytes are only
// staged and go to disk with the batch. false with the reason on failure; the old file
// is then as it was.
bool ReplaceFileWhole(const std::string& path, const std::string& bytes, std::string& error);

// The fixed name earlier versions wrote a file's replacement under ("<file>.saving").
std::string ReplacementName(const std::string& path);
// The reason of the last replace of this thread that failed.
const std::string& LastReplaceError();
void ClearLastReplaceError();

// A set of files replaced together. While a batch is open, every ReplaceFileWhole (and so
// every WriteFileBytes and profile write) of this thread is staged into it, and reading a
// staged file gives the staged bytes. Nothing reaches the disk before Commit; a batch
// destroyed without Commit leaves every file as it was.
class ReplaceBatch {
public:
    ReplaceBatch();
    ~ReplaceBatch();
    ReplaceBatch(const ReplaceBatch&) = delete;
    ReplaceBatch& operator=(const ReplaceBatch&) = delete;

    void Stage(const std::string& path, const std::string& bytes);
    // When `path` is a symbolic link to a file outside its own folder, the batch replaces
    // the link by a file of its own instead of writing through it. Call before staging it.
    void OwnFileInPlaceOfOutsideLink(const std::string& path);
    // The staged bytes of a file, or nullptr.
    const std::string* Staged(const std::string& path) const;
    bool Empty() const { return m_order.empty(); }
    // Puts every staged file in place; the journal is named after the first file staged.
    // false with the reason when something could not be written: every old file is then
    // as it was and no temporary is left. `error` names the staged file it concerns
    // ("\"<file>\": <reason>"); a journal that cannot be written counts for the first file.
    bool Commit(std::string& error);
    // After a failed Commit: whether it failed at the file `path` names, and the system's
    // reason alone.
    bool FailedAt(const std::string& path) const;
    const std::string& FailureReason() const { return m_failureReason; }
    // Files staged since, dropped: a failed step of a save leaves nothing to commit.
    void Discard();

    static ReplaceBatch* Active();

private:
    std::map<std::string, std::string> m_files;  // resolved path -> bytes
    std::vector<std::string> m_order;
    std::vector<std::string> m_linksReplaced;  // resolved paths replaced as they stand
    ReplaceBatch* m_outer = nullptr;
    std::string m_failedFile, m_failureReason;
    std::string Target(const std::string& path) const;
};

// Finishes what a journal beside `path` names (a save killed between its renames, or while
// it put its files back), then removes leftover replacements of `path` and of the
// companions. Safe to call always.
// Replacements of `path` left by a program that no longer runs are removed.
void FinishInterruptedReplace(const std::string& path, const std::vector<std::string>& companions = {});
void RemoveStaleReplacements(const std::string& path);

// Holding a file while it is open in this program: an exclusive lock that ends with the
// program. HeldElsewhere: another running program holds it; Failed: it cannot be opened
// (error says why, e.g. when it does not exist); HeldUnlocked: kept open, but the
// filesystem gives no locks (ENOLCK), so another program cannot be kept from it.
enum class HoldResult { Held, HeldUnlocked, HeldElsewhere, Failed };
HoldResult HoldFile(const std::string& path, std::string& error);
// A file of the folder named `stem` and then `tailLength` more characters (no slash) that
// another running program holds, other than the files this program holds; empty when none.
std::string FindHeldElsewhere(const std::string& stem, size_t tailLength);
// Lets go of every held file but `keep` (none when it is empty).
void ReleaseHeldFiles(const std::string& keep = "");

// For tests of a full disk: the disk has this many free 4096-byte pages left for what
// this layer writes (each file takes whole pages); a write beyond them fails with "No
// space left on device". A negative value lifts the limit.
void SetFreePagesForTests(long long pages);
// For the kill test: called before every step that changes the disk (each write, flush,
// rename and removal), so that a test can stop the program exactly there.
void SetDiskStepHookForTests(void (*hook)());
// For tests of a filesystem without a lock service: every lock fails with ENOLCK.
void SetNoLocksForTests(bool noLocks);

}  // namespace platform
