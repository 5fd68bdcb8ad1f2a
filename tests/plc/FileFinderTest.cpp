#include "plc/FileFinder.h"
#include "plc/PathName.h"
#include "platform/Paths.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(PathName, SplitsWindowsAndRelativePaths) {
    CPathName p("C:\\Web Pages\\index.htm");
    EXPECT_EQ(p.Drive(), "C:");
    EXPECT_EQ(p.Directory(), "\\Web Pages\\");
    EXPECT_EQ(p.GetPart(), "index");
    EXPECT_EQ(p.Extension(), "htm");
    EXPECT_EQ(p.GetFullPath(), "C:\\Web Pages\\index.htm");
    EXPECT_FALSE(p.IsRelative());
    EXPECT_EQ(CPathName("\"C:\\Web Pages\\index.htm\"").GetFullPath(), "C:\\Web Pages\\index.htm");
    CPathName r("web/pages/a.css");
    EXPECT_EQ(r.Directory(), "web\\pages\\");
    EXPECT_TRUE(r.IsRelative());
    EXPECT_EQ(CPathName("\\data\\README").GetFullPath(), "\\data\\README");
    EXPECT_EQ(CPathName::AddBackslash("C:\\Data\\"), "C:\\Data\\");
    EXPECT_EQ(CPathName::AddBackslash(""), "");
    EXPECT_EQ(CPathName::AddBackslash("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(CPathName::AddBackslash("/tmp", true), "/tmp/");
}

TEST(PathName, SizesAndLongFormOfRealFiles) {
    testsupport::TempDir dir;
    std::string file = dir.Write("Web Pages/Index.HTM", "hello");
    uint64_t size = 99;
    CPathName p(file);
    EXPECT_TRUE(p.GetFileSize(size));
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(p.GetLongPath(), file);
    CPathName missing(dir.Path() + "nothere.htm");
    EXPECT_FALSE(missing.GetFileSize(size));
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(missing.GetLongPath(), "");
}

TEST(FileFinder, MasksAndTheOrderOfSubfolders) {
    EXPECT_TRUE(MatchesFileMask("index.HTML", "*.html"));
    EXPECT_TRUE(MatchesFileMask("README", "*.*"));
    EXPECT_FALSE(MatchesFileMask("a.png", "*.html"));
    EXPECT_TRUE(MatchesFileMask("a1.png", "a?.png"));

    testsupport::TempDir dir;
    dir.Write("web/index.html", "x");
    dir.Write("web/sub/page.html", "y");
    dir.Write("web/logo.png", "z");
    CFileFinder finder;
    std::vector<int> events;
    finder.SetProgressTarget([](CFileFinder*, int e, void* u) { static_cast<std::vector<int>*>(u)->push_back(e); },
                             &events);
    CFileFinder::CFindOpts opts;
    opts.sBaseFolder = dir.Path() + "web";
    opts.sFileMask = "*.html";
    opts.bSubfolders = 1;
    EXPECT_EQ(finder.SearchFolder(opts), 2);
    EXPECT_EQ(opts.sBaseFolder, dir.Path() + "web\\");
    EXPECT_EQ(finder.GetFilePath(0).GetPart(), "page");  // the subfolder's page first
    EXPECT_EQ(finder.GetFilePath(1).GetPart(), "index");
    EXPECT_EQ(finder.GetFilePath(2).GetFullPath(), "");
    EXPECT_EQ(events, (std::vector<int>{2, 0, 2, 0}));
    // A second search appends.
    EXPECT_EQ(finder.SearchFolder(opts), 4);
    finder.RemoveAll();
    EXPECT_EQ(finder.GetFileCount(), 0);
}

TEST(FileFinder, ALinkBackUpTheTreeIsNotFollowedAgain) {
    testsupport::TempDir dir;
    dir.Write("web/index.html", "x");
    dir.Write("web/sub/page.html", "y");
    ASSERT_EQ(symlink("..", (dir.Path() + "web/sub/up").c_str()), 0);
    CFileFinder finder;
    CFileFinder::CFindOpts opts;
    opts.sBaseFolder = dir.Path() + "web";
    opts.sFileMask = "*.html";
    opts.bSubfolders = 1;
    EXPECT_EQ(finder.SearchFolder(opts), 2);
}

TEST(FileFinder, SizeAttributeAndContentFilters) {
    testsupport::TempDir dir;
    dir.Write("empty.txt", "");
    dir.Write("upper.txt", "xABCx");
    dir.Write("zero.txt", std::string("ab\0c", 4));
    // The text across the boundary of the first read block (126 bytes after the carry).
    dir.Write("boundary.txt", std::string(124, '-') + "abc" + std::string(50, '-'));
    dir.Write("none.txt", "a b c");
    mkdir((dir.Path() + "folder").c_str(), 0755);

    auto search = [&](unsigned flags, auto set) {
        CFileFinder finder;
        CFileFinder::CFindOpts opts;
        opts.sBaseFolder = dir.Path();
        opts.dwOptionsFlags = flags;
        set(opts);
        finder.SearchFolder(opts);
        std::vector<std::string> names;
        for (int i = 0; i < finder.GetFileCount(); ++i) {
            CPathName p = finder.GetFilePath(i);
            names.push_back(p.GetPart());
        }
        return names;
    };
    // A folder's length is 0 as well; its path ends in '\', so it has no name part.
    EXPECT_EQ(search(CFileFinder::FIND_SIZE, [](auto&) {}), (std::vector<std::string>{"empty", ""}));
    EXPECT_EQ(search(CFileFinder::FIND_TEXT, [](auto& o) { o.sFindText = "abc"; }),
              (std::vector<std::string>{"boundary", "upper", "zero"}));
    EXPECT_TRUE(search(CFileFinder::FIND_TEXT, [](auto& o) { o.sFindText = ""; }).empty());
    auto archived = search(CFileFinder::FIND_ATTRIBUTES,
                           [](auto& o) { o.dwFileAttributes = platform::FILE_ATTRIBUTE_ARCHIVE; });
    EXPECT_EQ(archived.size(), 5u);  // the files, not the folder
    auto all = search(0, [](auto&) {});
    EXPECT_EQ(all.size(), 6u);
}

}  // namespace
