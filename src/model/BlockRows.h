#pragma once
// The transfer blocks as the compiler reads them: the cell texts of each row of the newer
// block list, in list order. The block view hands its rows over in this form.
#include <array>
#include <string>
#include <vector>

// Columns of the newer block list (master heading / slave heading).
enum BlockColumn {
    kColBlockNo = 0,      // "Block No."
    kColWords = 1,        // "# Words/Bits"
    kColSourcePlc = 2,    // "Source PLC" / "Slave Port"
    kColSourceId = 3,     // "Source ID"
    kColSourceAddr = 4,   // "Source Address" / "Slave Address"
    kColDestPlc = 5,      // "Destination PLC" / "Target PLC"
    kColDestId = 6,       // "Destination ID" / "Target ID"
    kColDestAddr = 7,     // "Destination Address" / "Target Address"
    kColRepeatCycle = 8,  // "Repeat Cycle"
    kColControlBit = 9,   // "Control Bit"
    kColComment = 10,     // "Comment"
    kBlockListColumns = 11
};

using BlockRow = std::array<std::string, kBlockListColumns>;
using BlockRows = std::vector<BlockRow>;

constexpr int kMaxBlocks = 255;
