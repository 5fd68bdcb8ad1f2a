// The product-table lookups by DeviceID.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "link/DeviceLink.h"
#include "platform/Paths.h"

namespace {

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("Products/products.inf",
                  "[ProductList]\r\n"
                  "ProductCount=4\r\n"
                  "Product1=QVX-00\r\nDeviceID1=81\r\nProductFirmwareVersion1=V1.03A\r\n"
                  "ProductBlockSize1=256\r\n"
                  "Product2=QVX-T3\r\nDeviceID2=84\r\nProductFirmwareVersion2=V2.0\r\n"
                  "Product3=QVX-S\r\nDeviceID3=83\r\n"
                  "Product4=QVX-00B\r\nDeviceID4=81\r\nProductFirmwareVersion4=V1.09A\r\n"
                  "ProductBlockSize4=512\r\n");
        platform::SetProgramFolder(dir.Path());
    }
    void TearDown() override { platform::SetProgramFolder(""); }

    testsupport::TempDir dir;
    CDeviceLink link;
};

}  // namespace

TEST_F(DeviceLinkTest, FirmwareVersionComparesTheFifthCharacter) {
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1.03A"), 1);
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "X9.93Z"), 1);  // only the digit counts
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1.02A"), 0);  // unit older
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1.04A"), 2);  // unit newer
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1.0?A"), 0);  // a non-digit counts 0
}

TEST_F(DeviceLinkTest, ShortVersionTextsCountAsZeros) {
    EXPECT_EQ(link.GetProductFirmwareVersion(81, ""), 0);
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1."), 0);
    EXPECT_EQ(link.GetProductFirmwareVersion(84, "V2.00"), 1);  // product text "V2.0"
    EXPECT_EQ(link.GetProductFirmwareVersion(84, "V2.01"), 2);
    // Missing key: the default "1"; unknown DeviceID: an empty text.
    EXPECT_EQ(link.GetProductFirmwareVersion(83, "V1.00"), 1);
    EXPECT_EQ(link.GetProductFirmwareVersion(99, "V1.00"), 1);
    EXPECT_EQ(link.GetProductFirmwareVersion(99, "V1.05"), 2);
}

TEST_F(DeviceLinkTest, BlockSizeOfTheFirstMatchingEntry) {
    EXPECT_EQ(link.GetProductBlockSize(81), 256);  // entry 1, not entry 4
    EXPECT_EQ(link.GetProductBlockSize(83), 1);    // key missing: default
    EXPECT_EQ(link.GetProductBlockSize(99), 0);    // no entry: a size every transfer refuses
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(DeviceLinkTest, MissingProductFile) {
    platform::SetProgramFolder(dir.Path() + "nowhere/");
    EXPECT_EQ(link.GetProductBlockSize(81), 0);
    EXPECT_EQ(link.GetProductFirmwareVersion(81, "V1.00"), 1);
}
