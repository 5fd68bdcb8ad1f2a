#pragma once
// The check of one transfer block of the newer block list before it is added, copied,
// saved or downloaded. The first fault goes to the block editor's info window.
#include "model/BlockRows.h"

// 0 when the block passes; 1 + the number of empty fields for an incomplete block; 1 for
// every other fault. rowIndex is the 0-based position reported as block rowIndex + 1.
int CompileBlock(const BlockRow& row, int rowIndex, bool slaveMode);
