#include "app/RecentProjects.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class Recent : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    void SetUp() override { platform::SetProgramFolder(dir.Path()); }
    void TearDown() override { platform::SetProgramFolder(""); }
    void List(const std::string& projectFile) { dir.Write("Products/products.inf", "[ProductList]\r\nProductCount=0\r\n" + projectFile); }
};

TEST_F(Recent, AnEntryMovesToTheTop) {
    List("[ProjectFile]\r\nProjectCount=4\r\nPrj1=a\r\nPrj2=b\r\nPrj3=c\r\nPrj4=d\r\n");
    EXPECT_EQ(UpdateRecentProjectList("c", ReadRecentProjectCount()), 4);
    EXPECT_EQ(ReadRecentProjects(), (std::vector<std::string>{"c", "a", "b", "d"}));
    EXPECT_EQ(UpdateRecentProjectList("c", 4), 4);
    EXPECT_EQ(ReadRecentProjects(), (std::vector<std::string>{"c", "a", "b", "d"}));
}

TEST_F(Recent, AFifthProjectDropsTheOldest) {
    List("[ProjectFile]\r\nProjectCount=4\r\nPrj1=a\r\nPrj2=b\r\nPrj3=c\r\nPrj4=d\r\n");
    EXPECT_EQ(UpdateRecentProjectList("e", 4), 4);
    EXPECT_EQ(ReadRecentProjects(), (std::vector<std::string>{"e", "a", "b", "c"}));
}

TEST_F(Recent, ANewListGrowsAndACorruptCountIsClamped) {
    List("");
    EXPECT_EQ(ReadRecentProjectCount(), 0);
    const std::string longPath = "/projects/" + std::string(400, 'x') + ".prj";
    EXPECT_EQ(UpdateRecentProjectList(longPath, ReadRecentProjectCount()), 1);
    EXPECT_EQ(UpdateRecentProjectList("/p/b.prj", 1), 2);
    EXPECT_EQ(ReadRecentProjects(), (std::vector<std::string>{"/p/b.prj", longPath}));

    List("[ProjectFile]\r\nProjectCount=97\r\nPrj1=a\r\n");
    EXPECT_EQ(ReadRecentProjectCount(), 4);
    List("[ProjectFile]\r\nProjectCount=-3\r\n");
    EXPECT_EQ(UpdateRecentProjectList("z", ReadRecentProjectCount()), 1);
    EXPECT_EQ(platform::GetPrivateProfileInt("ProjectFile", "ProjectCount", -1, dir.Path() + "Products/products.inf"), 1);
}

}  // namespace
