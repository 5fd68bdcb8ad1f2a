#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <unistd.h>

using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string file;
    void SetUp() override {
        file = dir.Write("Products/products.inf",
                         "; a comment\r\n"
                         "[ProductList]\r\n"
                         "  ProductCount = 3  \r\n"
                         "Product1=QVX-A\r\n"
                         "Quoted=\"  padded  \"\r\n"
                         "Negative=-42xyz\r\n"
                         "Empty=\r\n"
                         "\r\n"
                         "[Com]\r\n"
                         "Port=2\r\n");
    }
};

TEST_F(ProfileTest, ReadsIgnoringCaseAndTrimmingBlanks) {
    EXPECT_EQ(GetPrivateProfileString("productlist", "PRODUCTCOUNT", "x", 80, file), "3");
    EXPECT_EQ(GetPrivateProfileString("ProductList", "product1", "x", 80, file), "QVX-A");
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Quoted", "x", 80, file), "  padded  ");
    EXPECT_EQ(GetPrivateProfileString("COM", "port", "x", 80, file), "2");
    // A key of another section is not found.
    EXPECT_EQ(GetPrivateProfileString("Com", "Product1", "dflt", 80, file), "dflt");
}

TEST_F(ProfileTest, CutsAtBufferSizeLessOne) {
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Product1", "", 4, file), "QVX");
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Product1", "", 1, file), "");
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Missing", "Corrupt PLC file ", 8, file), "Corrupt");
}

TEST_F(ProfileTest, DefaultsLoseTrailingBlanks) {
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Missing", "Corrupt PLC file ", 80, file),
              "Corrupt PLC file");
    EXPECT_EQ(GetPrivateProfileString("NoSection", "Key", "NA", 80, file), "NA");
    EXPECT_EQ(GetPrivateProfileString("Com", "Port", "NA", 80, dir.Path() + "nofile.inf"), "NA");
}

TEST_F(ProfileTest, IntegersReadTheLeadingSignedNumber) {
    EXPECT_EQ(GetPrivateProfileInt("ProductList", "ProductCount", -1, file), 3);
    EXPECT_EQ(GetPrivateProfileInt("ProductList", "Negative", -1, file), -42);
    EXPECT_EQ(GetPrivateProfileInt("ProductList", "Product1", -1, file), 0);
    EXPECT_EQ(GetPrivateProfileInt("ProductList", "Empty", 14, file), 14);
    EXPECT_EQ(GetPrivateProfileInt("ProductList", "Missing", -1, file), -1);
    EXPECT_EQ(GetPrivateProfileInt("Com", "Port", -1, dir.Path() + "nofile.inf"), -1);
}

TEST_F(ProfileTest, WritesInPlaceAppendedAndInNewSectionsKeepingCrLf) {
    ASSERT_TRUE(WritePrivateProfileString("productlist", "PRODUCT1", "QVX-B", file));
    ASSERT_TRUE(WritePrivateProfileString("ProductList", "Product2", "QVX-C", file));
    ASSERT_TRUE(WritePrivateProfileString("ProjectFile", "Prj1", "C:\\p\\a.prj", file));
    EXPECT_EQ(dir.Read("Products/products.inf"),
              "; a comment\r\n"
              "[ProductList]\r\n"
              "  ProductCount = 3  \r\n"
              "Product1=QVX-B\r\n"
              "Quoted=\"  padded  \"\r\n"
              "Negative=-42xyz\r\n"
              "Empty=\r\n"
              "Product2=QVX-C\r\n"
              "\r\n"
              "[Com]\r\n"
              "Port=2\r\n"
              "\r\n"
              "[ProjectFile]\r\n"
              "Prj1=C:\\p\\a.prj\r\n");
    EXPECT_EQ(GetPrivateProfileString("ProjectFile", "prj1", "", 200, file), "C:\\p\\a.prj");
}

TEST_F(ProfileTest, WritesKeepLfFilesAndCreateMissingFiles) {
    std::string lf = dir.Write("lf.inf", "[A]\nx=1");
    ASSERT_TRUE(WritePrivateProfileString("A", "y", "2", lf));
    EXPECT_EQ(dir.Read("lf.inf"), "[A]\nx=1\ny=2\n");

    std::string fresh = dir.Path() + "Data/new.inf";
    platform::MakeDirectories(dir.Path() + "Data");
    ASSERT_TRUE(WritePrivateProfileString("Com", "Port", "3", fresh));
    EXPECT_EQ(dir.Read("Data/new.inf"), "[Com]\r\nPort=3\r\n");
    EXPECT_EQ(GetPrivateProfileInt("Com", "Port", -1, fresh), 3);

    EXPECT_FALSE(WritePrivateProfileString("A", "b", "c", dir.Path() + "no/such/folder/x.inf"));
}

TEST_F(ProfileTest, PathsWithBackslashesAndOtherCaseAreFound) {
    std::string windowsStyle = dir.Path() + "PRODUCTS\\Products.INF";
    EXPECT_EQ(GetPrivateProfileString("ProductList", "Product1", "", 80, windowsStyle), "QVX-A");
    EXPECT_TRUE(platform::FileExists(windowsStyle));
    EXPECT_FALSE(platform::FileExists(dir.Path() + "Products\\missing.inf"));
    // A write through such a path changes the existing file, not a second one.
    ASSERT_TRUE(WritePrivateProfileString("Com", "Port", "5", windowsStyle));
    EXPECT_EQ(GetPrivateProfileInt("Com", "Port", -1, file), 5);
}

TEST_F(ProfileTest, ALinuxNameWithABackslashIsUsedAsWritten) {
    // Saved, read back and found as the one file of that name in its folder.
    const std::string name = dir.Path() + "line\\4.prj";
    ASSERT_TRUE(platform::WriteFileBytes(name, "x"));
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(name, bytes));
    EXPECT_EQ(bytes, "x");
    EXPECT_EQ(platform::ResolvePath(name), name);
    EXPECT_FALSE(platform::DirectoryExists(dir.Path() + "line"));
    // Where the part before the backslash is a folder, the path is one the system built.
    EXPECT_EQ(platform::ResolvePath(dir.Path() + "products\\products.inf"), file);
}

TEST(ProgramFolder, FollowsTheOverrideAndEndsInSlash) {
    platform::SetProgramFolder("/tmp/tree");
    EXPECT_EQ(platform::GetProgramFolder(), "/tmp/tree/");
    platform::SetProgramFolder("");
    EXPECT_FALSE(platform::GetProgramFolder().empty());
    EXPECT_EQ(platform::GetProgramFolder().back(), '/');
}

}  // namespace

namespace {

// A line break or other control character in a name or value would add keys or sections:
// the write is refused and the file stays as it was. Several keys go in one replace.
TEST_F(ProfileTest, ControlCharactersAreRefusedAndSeveralKeysAreOneWrite) {
    const std::string before = dir.Read("Products/products.inf");
    for (const std::string& bad : {std::string("a\r\n[Com]\r\nPort=9"), std::string("a\nb"), std::string("a\x1b"),
                                   std::string(1, '\0')}) {
        EXPECT_FALSE(WritePrivateProfileString("ProjectFile", "Prj1", bad, file));
        EXPECT_FALSE(WritePrivateProfileString("ProjectFile", bad, "x", file));
        EXPECT_FALSE(WritePrivateProfileString(bad, "Prj1", "x", file));
    }
    EXPECT_EQ(dir.Read("Products/products.inf"), before);
    EXPECT_TRUE(platform::WritePrivateProfileStrings("ProjectFile", {{"ProjectCount", "2"}, {"Prj1", "a\tb.prj"}, {"Prj2", "c.prj"}}, file));
    EXPECT_EQ(dir.Read("Products/products.inf"), before + "\r\n[ProjectFile]\r\nProjectCount=2\r\nPrj1=a\tb.prj\r\nPrj2=c.prj\r\n");
    // A file that is there but cannot be read is not replaced by one holding the key alone.
    const std::string folder = dir.Path() + "folder.inf";
    platform::MakeDirectories(folder);
    EXPECT_FALSE(WritePrivateProfileString("A", "b", "c", folder));
    EXPECT_TRUE(platform::DirectoryExists(folder));
}

// Outside files: regular files only, refused by type before they are opened (a FIFO
// would block), a size cap, and the system's reason instead of an exception.
TEST_F(ProfileTest, OnlyRegularFilesWithinTheirCapAreRead) {
    std::string bytes, error;
    EXPECT_TRUE(platform::ReadFileSafely(file, 1000, bytes, error));
    EXPECT_EQ(bytes, dir.Read("Products/products.inf"));
    EXPECT_FALSE(platform::ReadFileSafely(file, 10, bytes, error));
    EXPECT_EQ(error, "File too large");
    EXPECT_FALSE(platform::ReadFileSafely(dir.Path() + "Products", 1000, bytes, error));
    EXPECT_EQ(error, "Is a directory");
    const std::string fifo = dir.Path() + "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(platform::ReadFileSafely(fifo, 1000, bytes, error));
    EXPECT_EQ(error, "Not a regular file");
    EXPECT_FALSE(platform::ReadFileSafely("/dev/zero", 1000, bytes, error));
    EXPECT_FALSE(platform::ReadFileSafely(dir.Path() + "none", 1000, bytes, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(bytes.empty());
    // A profile of the wrong kind reads as missing: the defaults come.
    EXPECT_EQ(GetPrivateProfileInt("A", "b", 7, fifo), 7);
    EXPECT_EQ(GetPrivateProfileInt("A", "b", 7, "/dev/zero"), 7);
}

// Files replaced together: nothing reaches the disk before the commit, reading a staged
// file gives the staged bytes, and a batch dropped without a commit leaves all as it was.
TEST_F(ProfileTest, ABatchReplacesItsFilesTogetherOrNotAtAll) {
    const std::string a = dir.Write("p/a.prj", "old a"), b = dir.Write("p/b.hex", "old b");
    {
        platform::ReplaceBatch batch;
        EXPECT_TRUE(platform::WriteFileBytes(a, "new a"));
        EXPECT_TRUE(WritePrivateProfileString("S", "k", "v", b));
        std::string staged;
        EXPECT_TRUE(platform::ReadFileBytes(b, staged));
        EXPECT_EQ(staged, "old b\r\n\r\n[S]\r\nk=v\r\n");
        EXPECT_EQ(dir.Read("p/a.prj"), "old a");
    }
    EXPECT_EQ(dir.Read("p/a.prj"), "old a");
    EXPECT_EQ(dir.Read("p/b.hex"), "old b");
    platform::ReplaceBatch batch;
    platform::WriteFileBytes(a, "new a");
    platform::WriteFileBytes(b, "new b");
    std::string error;
    ASSERT_TRUE(batch.Commit(error)) << error;
    EXPECT_EQ(dir.Read("p/a.prj"), "new a");
    EXPECT_EQ(dir.Read("p/b.hex"), "new b");
    EXPECT_EQ(platform::ListDirectory(dir.Path() + "p"), (std::vector<std::string>{"a.prj", "b.hex"}));
    // A link stays a link: the file it points to is replaced.
    const std::string link = dir.Path() + "p/link.hex";
    ASSERT_EQ(symlink(b.c_str(), link.c_str()), 0);
    EXPECT_TRUE(platform::WriteFileBytes(link, "through the link"));
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.Read("p/b.hex"), "through the link");
}

// A rename that fails after others went through puts those back: a failed batch leaves
// every old file as it was, and no second name or journal behind. (Here a folder takes
// the second file's place between the checks and the renames.)
std::string g_raceTarget;
void FolderInPlaceAtTheFirstRename() {
    struct stat st;
    if (g_raceTarget.empty() || lstat((g_raceTarget.substr(0, g_raceTarget.rfind('/')) + "/a.prj").c_str(), &st) != 0 ||
        st.st_size != 5 + 2)  // "new a": the first rename went through
        return;
    unlink(g_raceTarget.c_str());
    mkdir(g_raceTarget.c_str(), 0755);
    g_raceTarget.clear();
}

TEST_F(ProfileTest, AFailedRenamePutsBackTheFilesAlreadyRenamed) {
    const std::string a = dir.Write("p/a.prj", "old a"), b = dir.Write("p/b.hex", "old b");
    const std::string c = dir.Path() + "p/c.hex";  // new with this batch
    std::string error;
    {
        platform::ReplaceBatch batch;
        platform::WriteFileBytes(a, "new a!!");
        platform::WriteFileBytes(c, "new c");
        platform::WriteFileBytes(b, "new b");
        g_raceTarget = b;
        platform::SetDiskStepHookForTests(&FolderInPlaceAtTheFirstRename);
        EXPECT_FALSE(batch.Commit(error));
        platform::SetDiskStepHookForTests(nullptr);
    }
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_EQ(dir.Read("p/a.prj"), "old a");
    EXPECT_EQ(platform::ListDirectory(dir.Path() + "p"), (std::vector<std::string>{"a.prj", "b.hex"}));
    // A folder already in place is refused before any file is renamed.
    platform::ReplaceBatch batch;
    platform::WriteFileBytes(a, "new a!!");
    platform::WriteFileBytes(b, "new b");
    EXPECT_FALSE(batch.Commit(error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_EQ(dir.Read("p/a.prj"), "old a");
}

// A program killed at any step of that putting back (or at the failing rename) leaves
// what the next program finishes to one whole version: every old file, or every new one.
// The folder is put in b.hex's place with the old b.hex set aside; the next program comes
// with the folder still there, or after it was taken away again.
int g_killAt = -1, g_stepsSince = -1;
void FolderInPlaceThenKill() {
    if (g_stepsSince < 0) {
        FolderInPlaceAtTheFirstRename();
        if (!g_raceTarget.empty()) return;
        g_stepsSince = 0;
    }
    if (g_stepsSince++ == g_killAt) _exit(9);
}

TEST_F(ProfileTest, AKillWhileFilesArePutBackLeavesOneVersion) {
    const std::string a = dir.Path() + "p/a.prj", b = dir.Path() + "p/b.hex", c = dir.Path() + "p/c.hex";
    const std::string aside = dir.Path() + "aside";
    for (int kill = 0, ended = 0; !ended; ++kill)
        for (bool folderStays : {false, true}) {
            SCOPED_TRACE(testing::Message() << "kill at " << kill << (folderStays ? ", the folder stays" : ""));
            dir.Write("p/a.prj", "old a");
            dir.Write("p/b.hex", "old b");
            const pid_t child = fork();
            if (child == 0) {
                if (link(b.c_str(), aside.c_str()) != 0) _exit(3);  // the folder's owner keeps b
                platform::ReplaceBatch batch;
                platform::WriteFileBytes(a, "new a!!");
                platform::WriteFileBytes(c, "new c");
                platform::WriteFileBytes(b, "new b");
                g_raceTarget = b;
                g_killAt = kill;
                platform::SetDiskStepHookForTests(&FolderInPlaceThenKill);
                std::string error;
                _exit(batch.Commit(error) ? 1 : 0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            ASSERT_NE(WEXITSTATUS(status), 1);
            ended = WEXITSTATUS(status) == 0;  // the commit ended before the kill: every step was tried
            if (folderStays) platform::FinishInterruptedReplace(a, {c, b});
            rmdir(b.c_str());
            ASSERT_EQ(rename(aside.c_str(), b.c_str()), 0);
            platform::FinishInterruptedReplace(a, {c, b});
            const std::vector<std::string> files = {dir.Read("p/a.prj"), dir.Read("p/b.hex")};
            const bool old = files == std::vector<std::string>{"old a", "old b"} && !platform::FileExists(c);
            const bool now = files == std::vector<std::string>{"new a!!", "new b"} && dir.Read("p/c.hex") == "new c";
            EXPECT_TRUE(old || now) << files[0] << " / " << files[1] << " / " << platform::FileExists(c);
            EXPECT_EQ(platform::ListDirectory(dir.Path() + "p").size(), now ? 3u : 2u);
            unlink(c.c_str());
        }
}

// A file on a read-only filesystem is refused with the system's own reason. The child
// mounts a filesystem of its own (in a namespace of its own) and makes it read-only.
TEST_F(ProfileTest, AReadOnlyFilesystemIsNamedAsSuch) {
    const std::string folder = dir.Path() + "ro";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const pid_t child = fork();
    if (child == 0) {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0)
            _exit(77);
        const std::string file = folder + "/a.inf";
        std::ofstream(file) << "old";
        if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) _exit(77);
        std::string error;
        const bool refused = !platform::ReplaceFileWhole(file, "new", error) && error == "Read-only file system";
        platform::ReplaceBatch batch;
        platform::WriteFileBytes(file, "new");
        platform::WriteFileBytes(folder + "/b.hex", "new");
        const bool batchRefused = !batch.Commit(error) && error.find("Read-only file system") != std::string::npos;
        if (!refused || !batchRefused) fprintf(stderr, "child: %s\n", error.c_str());
        _exit(refused && batchRefused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no namespace of its own for a read-only filesystem";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// What another running program writes is its own: its replacement and its journal stay
// until it has ended; then the next replace finishes the journal and drops the rest.
TEST_F(ProfileTest, ReplacementsOfARunningProgramAreLeftToIt) {
    const std::string a = dir.Write("p/a.prj", "old a"), b = dir.Write("p/b.hex", "old b");
    const std::string live = dir.Write("p/b.hex.77x1.saving", "live b");
    const std::string liveA = dir.Write("p/a.prj.77x1.saving", "live a");
    const std::string journal = dir.Write("p/a.prj.77x1.journal", "Quorvex replace journal 1\n" + a + "\n" + b + "\nend\n");
    {
        testsupport::OtherProgramsLock owner1(live), owner2(liveA), owner3(journal);
        platform::ReplaceBatch batch;
        platform::WriteFileBytes(a, "new a");
        platform::WriteFileBytes(b, "new b");
        std::string error;
        ASSERT_TRUE(batch.Commit(error)) << error;
        EXPECT_EQ(dir.Read("p/b.hex.77x1.saving"), "live b");
        EXPECT_EQ(dir.Read("p/a.prj.77x1.journal").substr(0, 7), "Quorvex");
    }
    platform::FinishInterruptedReplace(a, {b});
    EXPECT_EQ(dir.Read("p/a.prj"), "live a");
    EXPECT_EQ(dir.Read("p/b.hex"), "live b");
    EXPECT_EQ(platform::ListDirectory(dir.Path() + "p"), (std::vector<std::string>{"a.prj", "b.hex"}));
}

// A file without write bits is not replaced (for root too), and a leftover of a killed
// replace (the fixed name of earlier versions or a name of its own) goes with the next one.
TEST_F(ProfileTest, AWriteProtectedFileIsKeptAndLeftoversGo) {
    dir.Write("Products/products.inf.saving", "killed");
    dir.Write("Products/products.inf.12x3.saving", "killed too");
    EXPECT_TRUE(WritePrivateProfileString("Com", "Port", "3", file));
    EXPECT_EQ(platform::ListDirectory(dir.Path() + "Products"), (std::vector<std::string>{"products.inf"}));
    const std::string before = dir.Read("Products/products.inf");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(WritePrivateProfileString("Com", "Port", "4", file));
    EXPECT_EQ(platform::LastReplaceError(), "Permission denied");
    EXPECT_EQ(dir.Read("Products/products.inf"), before);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    platform::ReplaceBatch batch;
    platform::WriteFileBytes(dir.Path() + "Products/other.hex", "x");
    platform::WriteFileBytes(file, "y");
    std::string error;
    EXPECT_FALSE(batch.Commit(error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos);
    EXPECT_EQ(platform::ListDirectory(dir.Path() + "Products"), (std::vector<std::string>{"products.inf"}));
}

}  // namespace
