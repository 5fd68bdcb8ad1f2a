#include "plc/DefinitionFiles.h"
#include "platform/Paths.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class DefinitionFiles : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    void SetUp() override { platform::SetProgramFolder(dir.Path()); }
    void TearDown() override { platform::SetProgramFolder(""); }
};

TEST_F(DefinitionFiles, AMissingTreeGivesTheDefaults) {
    EXPECT_EQ(deffiles::ReadProductCount(), 0);
    EXPECT_EQ(deffiles::ReadProductName(1), "1");
    EXPECT_EQ(deffiles::ReadProductValue("DeviceID", 1), "1");
    EXPECT_EQ(deffiles::ReadRecentProjectCount(), -1);
    EXPECT_EQ(deffiles::ReadRecentProject(1), "Corrupt Data file");
    EXPECT_EQ(deffiles::ReadProductsComPort(), -1);
    EXPECT_EQ(deffiles::ReadProductStatus("QVX-1"), "NA");
    EXPECT_FALSE(deffiles::IsNewGeneration("QVX-1"));
    EXPECT_EQ(deffiles::ReadToolTip("QVX-1"), "1");
    EXPECT_EQ(deffiles::ReadAboutText("CompanyName"), "Information Not Available");
    EXPECT_EQ(deffiles::ReadPlcListCount(), 0);
    EXPECT_TRUE(deffiles::ReadProtocols("QVX-1", 1).empty());
    EXPECT_EQ(deffiles::ReadDataComPort("QVX-1"), -1);
    EXPECT_EQ(deffiles::ReadDataProjectVersion("QVX-1"), -1);
    EXPECT_EQ(deffiles::ReadMacAddressShow("QVX-1"), -1);
    EXPECT_TRUE(deffiles::ReadCanDrivers("QVX-1").empty());
    EXPECT_EQ(deffiles::ReadPgnEntry("QVX-1", "0xFEF1"), "Corrupt file");
    EXPECT_EQ(deffiles::FindProductEntry("QVX-1"), 0);
}

TEST_F(DefinitionFiles, ProductListStatusAndRecentProjects) {
    dir.Write("Products/products.inf",
              "[ProductList]\r\nProductCount=3\r\n"
              "Product1=QVX-1\r\nDeviceID1=81\r\nProduct1DSize=256\r\n"
              "Product2=QVX-2\r\nDeviceID2=94\r\n"
              "Product3=QVX-1\r\nDeviceID3=83\r\n"
              "[ProjectFile]\r\nProjectCount=1\r\nprj1=C:\\Q\\QVX-1\\Projects\\a.prj\r\n"
              "[Com]\r\nPort=4\r\n");
    dir.Write("Products/ProductStatus.inf", "[QVX-1]\r\nStatus=New\r\n[QVX-2]\r\nStatus=new\r\n");
    EXPECT_EQ(deffiles::ReadProductCount(), 3);
    EXPECT_EQ(deffiles::FindProductEntry("QVX-1"), 3);  // a later equal name wins
    EXPECT_EQ(deffiles::FindProductEntryByDeviceId(94), 2);
    EXPECT_EQ(deffiles::FindProductEntryByDeviceId(7), 0);
    EXPECT_EQ(deffiles::ReadProductDSize(1), "256");
    EXPECT_EQ(deffiles::ReadProductDSize(2), "1");
    EXPECT_EQ(deffiles::ReadRecentProject(1), "C:\\Q\\QVX-1\\Projects\\a.prj");  // "prj1" is "Prj1"
    EXPECT_EQ(deffiles::ReadProductsComPort(), 4);
    EXPECT_TRUE(deffiles::IsNewGeneration("QVX-1"));
    EXPECT_FALSE(deffiles::IsNewGeneration("QVX-2"));  // the comparison is exact
}

TEST_F(DefinitionFiles, ProtocolListsCanDriversAndParameterGroups) {
    dir.Write("QVX-1/Data/data.inf",
              "[PlcCom1]\r\nPlcCount=2\r\nPlc1=Alpha Master\r\nPlc2=Nameless\r\n"
              "[Alpha Master]\r\nPlcNo=131\r\n"
              "[PlcCom2]\r\nPlcCount=1\r\nPlc1=Beta\r\n[Beta]\r\nPlcNo=167\r\n"
              "[Com]\r\nPort=2\r\n[ProjectFile]\r\nProjectVersion=4\r\n[MAC Address]\r\nShow=1\r\n");
    dir.Write("QVX-1/Plc/CANDrivers.inf", "[CANDrivers]\r\nPlcCount=2\r\nPlc1=167\r\nPlc2=170\r\n");
    dir.Write("QVX-1/Plc/PGNLength.inf", "[PGN Info]\r\n0xFEF1=Cruise,6,8\r\n");
    auto com1 = deffiles::ReadProtocols("QVX-1", 1);
    ASSERT_EQ(com1.size(), 2u);
    EXPECT_EQ(com1[0].name, "Alpha Master");
    EXPECT_EQ(com1[0].plcNo, "131");
    EXPECT_EQ(com1[1].plcNo, "Corrupt PLC file");  // its section lacks "PlcNo"
    EXPECT_EQ(deffiles::ReadProtocols("QVX-1", 2)[0].plcNo, "167");
    EXPECT_EQ(deffiles::ReadDataComPort("QVX-1"), 2);
    EXPECT_EQ(deffiles::ReadDataProjectVersion("QVX-1"), 4);
    EXPECT_EQ(deffiles::ReadMacAddressShow("QVX-1"), 1);
    EXPECT_TRUE(deffiles::IsCanDriver("QVX-1", "167"));
    EXPECT_FALSE(deffiles::IsCanDriver("QVX-1", "131"));
    EXPECT_EQ(deffiles::ReadPgnEntry("QVX-1", "0xfef1"), "Cruise,6,8");
    EXPECT_TRUE(platform::FileExists(deffiles::DataInf("qvx-1")));
    EXPECT_EQ(deffiles::PlcDefinitionFile("QVX-1", "131"), dir.Path() + "QVX-1\\Plc\\13100_004.inf");
}

}  // namespace
