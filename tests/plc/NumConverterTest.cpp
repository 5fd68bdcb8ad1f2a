#include "plc/IniReader.h"
#include "plc/NumConverter.h"
#include "TestSupport.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(NumConverter, ReadsByNumberSystemCode) {
    CNumConverter c;
    EXPECT_EQ(c.TextToNumber("1A", 1), 26);
    EXPECT_EQ(c.TextToNumber("1a", 1), 26);
    EXPECT_EQ(c.TextToNumber("1A", 0), 20);  // 'A' counts 10 in base 10 as well
    EXPECT_EQ(c.TextToNumber("17", 2), 17);  // octal registers are read as decimal text
    EXPECT_EQ(c.TextToNumber("255", 0), 255);
    EXPECT_EQ(c.TextToNumber("", 0), 0);
    for (int code : {3, 4, 5, -1}) EXPECT_EQ(c.TextToNumber("12", code), 0);
    EXPECT_EQ(c.TextToNumber("1 ", 0), 10 + 32);  // a blank counts its character code
    EXPECT_DOUBLE_EQ(c.TextToDouble("FFFFFFFF", 1), 4294967295.0);
}

TEST(NumConverter, SaturatesInsteadOfOverflowing) {
    CNumConverter c;
    EXPECT_EQ(c.TextToNumber("FFFFFFFF", 1), INT_MAX);
    EXPECT_EQ(c.TextToNumber("9999999999999999999", 0), INT_MAX);
    EXPECT_EQ(c.TextToNumber("2147483647", 0), INT_MAX);
    EXPECT_EQ(c.TextToNumber("2147483646", 0), 2147483646);
}

TEST(IniReader, ReadsIntegersAndTextsWithDefaults) {
    testsupport::TempDir dir;
    CIniReader reader(dir.Write("x.inf", "[ProductList]\r\nProductCount=4\r\nProduct1=" +
                                             std::string(300, 'p') + "\r\n"));
    EXPECT_EQ(reader.ReadInt("ProductList", "ProductCount", 14), 4);
    EXPECT_EQ(reader.ReadInt("ProductList", "Missing", 14), 14);
    EXPECT_EQ(reader.ReadString("ProductList", "Product1", "x").size(), 254u);
    EXPECT_EQ(reader.ReadString("ProductList", "Product2", "Not Found"), "Not Found");
}

}  // namespace
