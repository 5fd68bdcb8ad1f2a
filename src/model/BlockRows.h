#pragma once
// The transfer blocks of both generations: the cell texts of each row of a block list, in
// list order. The open project's rows are kept here, once: the project readers fill them,
// the block views show them and write their edits into them, and the writers, the
// compiler and the transfers read them.
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

// The ten cells of one row of the older block list, as the list shows them.
constexpr int kOlderBlockColumns = 10;
using OlderBlockRow = std::array<std::string, kOlderBlockColumns>;
using OlderBlockRows = std::vector<OlderBlockRow>;

// Columns of the older block list.
enum OlderBlockColumn {
    kOlderColBlockNo = 0,
    kOlderColWords = 1,
    kOlderColSourcePlc = 2,
    kOlderColSourceId = 3,
    kOlderColSourceAddr = 4,
    kOlderColDestPlc = 5,
    kOlderColDestId = 6,
    kOlderColDestAddr = 7,
    kOlderColRepeat = 8,
    kOlderColComment = 9,
};

// The open project's blocks: the newer block list's rows and the older one's.
extern BlockRows g_BlockListRows;
extern OlderBlockRows g_OlderBlockListRows;
