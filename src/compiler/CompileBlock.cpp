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
    // The numbers of a block read from a file that the image carries in one byte are held
    // to the cell check's rules too, so that none is sent cut to a byte. (The word count
    // goes in two bytes.)
    for (int c : {kColSourceId, kColDestId, kColRepeatCycle, kColControlBit}) {
        const std::string text = c == kColControlBit ? platform::TrimRight(row[size_t(c)]) : cell[c];
        if (const std::string message = t.NumberCellMessage(c, text, true, slaveMode); !message.empty()) {
            ShowNewInfoText(platform::Format("Error while compiling block %d. ", rowIndex + 1) + message);
            return 1;
        }
    }

    int kind[2];
    bool bit[2];
    for (int side = 0; side < 2; ++side) {
        const std::string& plc = cell[side == 0 ? kColSourcePlc : kColDestPlc];
        const std::string address = platform::Trim(cell[side == 0 ? kColSourceAddr : kColDestAddr]);
        const int port = plc == t.g_strPLC1Name ? 1 : 2;
        bit[side] = HasUnderscore(address) == 1;
        // A bit address is looked up by its word address; an unknown register is an
        // invalid prefix either way.
        if (t.FindRegisterByPrefix(bit[side] ? AddressPrefixPart(address) : address, port) == -1) {
            ShowNewInfoText("Invalid Prefix");
            return 1;
        }
        // A block read from a file is held to what the cell check takes: the characters the
        // edit keeps, the register's ranges, and a bit only where one can be carried.
        CPlcRegisterTables::BitFault bitFault = CPlcRegisterTables::kBitTaken;
        if (const auto fault = t.CheckBlockAddress(address, port, true, &bitFault); fault != CPlcRegisterTables::kAddressTaken) {
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
