// The starting address of a derived row: the row's number written into the address of
// the lowest entry, row by row of the rule's table.
#include "compiler/IdbDerivation.h"

#include <gtest/gtest.h>

namespace {

TEST(RowStartAddress, SixCharactersAfterTheColon) {
    const std::string t = "F07:012/03";  // ':' at 3, '/' at 7
    EXPECT_EQ(FormatRowStartAddress(5, t, 1), "F07:012/05");
    EXPECT_EQ(FormatRowStartAddress(15, t, 1), "F07:012/15");
    EXPECT_EQ(FormatRowStartAddress(315, t, 1), "F07:013/15");
    EXPECT_EQ(FormatRowStartAddress(2315, t, 1), "F07:023/15");
    EXPECT_EQ(FormatRowStartAddress(12315, t, 1), "F07:123/15");
    EXPECT_EQ(FormatRowStartAddress(812315, t, 1), "F08:123/15");
    EXPECT_EQ(FormatRowStartAddress(1812315, t, 1), "F18:123/15");
    EXPECT_EQ(FormatRowStartAddress(21812315, t, 1), "F21:812/315");
    // A longer prefix is kept whole; the separators move with it.
    EXPECT_EQ(FormatRowStartAddress(1812315, "NB7:012/03", 2), "NB18:123/15");
}

TEST(RowStartAddress, ThreeCharactersAfterTheColon) {
    const std::string t = "N7:012";
    EXPECT_EQ(FormatRowStartAddress(5, t, 1), "N7:005");
    EXPECT_EQ(FormatRowStartAddress(15, t, 1), "N7:015");
    EXPECT_EQ(FormatRowStartAddress(115, t, 1), "N7:115");
    EXPECT_EQ(FormatRowStartAddress(7115, t, 1), "N7:115");
    EXPECT_EQ(FormatRowStartAddress(17115, t, 1), "N17:115");
    EXPECT_EQ(FormatRowStartAddress(217115, t, 1), "N217:115");
}

TEST(RowStartAddress, OtherColonPartsAndNoColon) {
    // Two characters after the colon: the number part stays, the colon part takes the
    // number's last digits.
    EXPECT_EQ(FormatRowStartAddress(12, "W0012:0F", 1), "W0012:12");
    EXPECT_EQ(FormatRowStartAddress(0x1213F, "W0012:0F", 1, true), "W0012:3F");
    // No colon: the number replaces the template's last digits; a timer letter stays last.
    EXPECT_EQ(FormatRowStartAddress(7, "N100", 1), "N107");
    EXPECT_EQ(FormatRowStartAddress(7, "T005A", 1), "T007A");
    EXPECT_EQ(FormatRowStartAddress(7, "C005P", 1), "C007P");
    EXPECT_EQ(FormatRowStartAddress(0x1AB, "H00A", 1, true), "H1AB");
    EXPECT_EQ(FormatRowStartAddress(12345, "N100", 1), "N12345");
}

}  // namespace
