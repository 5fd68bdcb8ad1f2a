#include "compiler/CompileBlock.h"

#include "compiler/BlockAddress.h"
#include "plc/BlockEditorHost.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"

int CompileBlock(const BlockRow& row, int rowIndex, bool slaveMode) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::string cell[kBlockListColumns];
    for (int c = kColWords; c <= kColRepeatCycle; ++c) cell[c] = platform::TrimRight(row[static_cast<size_t>(c)]);

    int missing = CPlcRegisterTables::CompareAddressArgs(cell[1], cell[2], cell[3], cell[4], cell[5], cell[6],
                                                         cell[7], cell[8]);
    if (missing > 0) {
        ShowNewInfoText(platform::Format("Error while compiling block %d. The block is incomplete. ", rowIndex + 1));
        return 1 + missing;
    }
    if (cell[kColSourcePlc] == cell[kColDestPlc]) {
        ShowNewInfoText(platform::Format("Error while compiling block %d. Same PLCs are selected on both ends.", rowIndex + 1));
        return 1;
    }
    // A block read from a file is judged as the image reads it: every cell as it stands,
    // held to the rule of its cell editor, so that what passes is sent as the cell shows it.
    // The PLC lists hold the two PLC names; the image takes the side from the name.
    for (int c : {kColSourcePlc, kColDestPlc}) {
        if (const std::string message = t.BlockPlcCellMessage(row[size_t(c)]); !message.empty()) {
            ShowNewInfoText(platform::Format("Error while compiling block %d. ", rowIndex + 1) + message);
            return 1;
        }
    }
    for (int c : {kColWords, kColSourceId, kColDestId, kColRepeatCycle, kColControlBit}) {
        if (const std::string message = t.NumberCellMessage(c, row[size_t(c)], true, slaveMode); !message.empty()) {
            ShowNewInfoText(platform::Format("Error while compiling block %d. ", rowIndex + 1) + message);
            return 1;
        }
    }

    int kind[2];
    bool bit[2];
    for (int side = 0; side < 2; ++side) {
        const std::string& plc = row[size_t(side == 0 ? kColSourcePlc : kColDestPlc)];
        const std::string& address = row[size_t(side == 0 ? kColSourceAddr : kColDestAddr)];
        const int port = plc == t.g_strPLC1Name ? 1 : 2;
        bit[side] = HasUnderscore(address) == 1;
        // The characters the edit keeps first: a blank or tab around an address is no
        // part of any register's name.
        CPlcRegisterTables::BitFault bitFault = CPlcRegisterTables::kBitTaken;
        const auto fault = t.CheckBlockAddress(address, port, true, &bitFault);
        // A bit address is looked up by its word address; an unknown register is an
        // invalid prefix either way.
        if (fault != CPlcRegisterTables::kAddressCharacters &&
            t.FindRegisterByPrefix(bit[side] ? AddressPrefixPart(address) : address, port) == -1) {
            ShowNewInfoText("Invalid Prefix");
            return 1;
        }
        // Held to what the cell check takes: the characters the edit keeps, the register's
        // ranges, and a bit only where one can be carried.
        if (fault != CPlcRegisterTables::kAddressTaken) {
            ShowNewInfoText(CPlcRegisterTables::BlockAddressFaultText(rowIndex, address, fault, bitFault));
            return 1;
        }
        kind[side] = t.GetRegisterKind(address, port);
    }
    const int source = kind[0], destination = kind[1];
    const bool sourceBit = bit[0], destinationBit = bit[1];

    if (!slaveMode) {
        if (destination == 2) {
            ShowNewInfoText("Destination address can not be read only coil type. Please select read-write coil type.");
            return 1;
        }
        if (destination == 3) {
            ShowNewInfoText("Destination address can not be read only register type. Please select read-write register type.");
            return 1;
        }
    }

    const bool sourceCoil = source == 0 || source == 2;
    const bool sourceWord = source == 1 || source == 3 || source == 4;
    const bool destinationCoil = destination == 0 || destination == 2;
    if (sourceCoil && (destination == 1 || destination == 3 || destination == 4) && !destinationBit) {
        ShowNewInfoText("Can not copy a coil to a register.");
        return 1;
    }
    if (sourceWord) {
        if (destinationCoil && !sourceBit) {
            ShowNewInfoText("Can not copy a register to a coil.");
            return 1;
        }
        if ((destination == 1 || destination == 4) && sourceBit != destinationBit) {
            ShowNewInfoText("Source Address and Destination Address should be Bit Addressable.");
            return 1;
        }
    }
    return 0;
}
