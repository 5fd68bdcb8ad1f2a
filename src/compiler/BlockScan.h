#pragma once
// Slave mode: blocks that lie back to back in the same slave register are chained. For
// every block number the scan finds whether another block's slave range starts exactly
// where this one ends, and which block that is.
#include "model/BlockRows.h"

#include <cstdint>

struct BlockLinks {
    uint32_t linkFlag[kMaxBlocks + 1] = {};     // by block number 1..255
    uint32_t linkedBlock[kMaxBlocks + 1] = {};
    void Clear() { *this = BlockLinks(); }
};

// slaveMode: the newer editor's slave flag; slavePort: the port of the slave driver.
void ScanBlocks(const BlockRows& rows, bool slaveMode, int slavePort, BlockLinks& links);
