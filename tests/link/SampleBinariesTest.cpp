// The firmware and driver images of the sample tree: every product has firmware to send,
// every driver a PLC file names is there with room for both setup records, and a firmware
// image crosses the link to the simulated unit intact in the product's block size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LinkTestSupport.h"
#include "link/UnitLink.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

namespace {

const std::string kDist = QUORVEX_DIST_DIR "/";

struct Product {
    std::string name;
    int blockSize;
};

std::vector<Product> Products() {
    std::string file = kDist + "Products/products.inf";
    std::vector<Product> out;
    int count = platform::GetPrivateProfileInt("ProductList", "ProductCount", 0, file);
    for (int n = 1; n <= count; ++n) {
        std::string key = "Product" + std::to_string(n);
        std::string name = platform::GetPrivateProfileString("ProductList", key, "", 260, file);
        int dsize = platform::GetPrivateProfileInt("ProductList", key + "DSize", 1, file);
        if (platform::DirectoryExists(kDist + name)) out.push_back({name, dsize});
    }
    return out;
}

long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long>(in.tellg()) : -1;
}

}  // namespace

TEST(SampleBinaries, EveryProductHasFirmwareAndEveryNamedDriver) {
    auto products = Products();
    ASSERT_FALSE(products.empty());
    for (const Product& p : products) {
        std::string folder = kDist + p.name + "/";
        int firmware = 0;
        for (const std::string& f : platform::ListDirectory(folder + "Firmware")) {
            if (f.size() < 4 || f.substr(f.size() - 4) != ".abs") continue;
            ++firmware;
            EXPECT_GT(FileSize(folder + "Firmware/" + f), 64 * 1024) << p.name << " " << f;
        }
        EXPECT_GE(firmware, 1) << p.name;

        for (const std::string& plc : platform::ListDirectory(folder + "Plc")) {
            if (plc.find("00_004.inf") == std::string::npos) continue;
            for (const char* key : {"Com1PlcFilename", "Com2PlcFilename"}) {
                std::string driver = platform::GetPrivateProfileString(
                    "Plc Info", key, "Corrupt PLC file ", 80, folder + "Plc/" + plc);
                std::string path = platform::ResolvePath(folder + "Drivers\\" + driver);
                EXPECT_GE(FileSize(path), 32768 + 32) << p.name << " " << plc << " " << driver;
            }
        }
    }
}

using SampleFirmwareOnPty = UnitFixture;

TEST_F(SampleFirmwareOnPty, FirmwareArrivesWholeInTheProductsBlockSize) {
    Product product{};
    for (const Product& p : Products())
        if (p.name == "QVX-S7") product = p;
    ASSERT_EQ(product.name, "QVX-S7");
    ASSERT_GT(product.blockSize, 0);
    std::string path = kDist + "QVX-S7/Firmware/FW0340.abs";
    std::string image;
    ASSERT_TRUE(platform::ReadFileBytes(path, image));

    CUnitLink link(port);
    ASSERT_EQ(link.SendCommandWaitEcho(0x12), AnswerResult::Expected);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(link.SendFileBlocks(in, 0, product.blockSize, 1), 0);
    Settle();

    auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_TRUE(streams[0].checksOk);
    EXPECT_TRUE(streams[0].completed);
    size_t blocks = (image.size() + product.blockSize - 1) / product.blockSize;
    EXPECT_EQ(streams[0].blockLengths.size(), blocks);
    std::string received(streams[0].data.begin(), streams[0].data.end());
    EXPECT_EQ(received.substr(0, image.size()), image);
    EXPECT_EQ(received.substr(image.size()), std::string(received.size() - image.size(), '\xFF'));
    EXPECT_TRUE(reporter.messages.empty());
}
