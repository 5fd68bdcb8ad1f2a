#include "compiler/BlockScan.h"

#include "compiler/BlockAddress.h"
#include "plc/NumConverter.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"

void ScanBlocks(const BlockRows& rows, bool slaveMode, int slavePort, BlockLinks& links) {
    links.Clear();
    if (!slaveMode) return;
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const int port = slavePort == 1 ? 1 : 2;

    struct Range {
        long long start, end;
        int block;
    };
    std::vector<int> registerOf(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        registerOf[i] = t.FindRegisterByPrefix(AddressPrefixPart(rows[i][kColSourceAddr]), port);

    std::vector<bool> grouped(rows.size(), false);
    for (size_t first = 0; first < rows.size(); ++first) {
        if (grouped[first] || registerOf[first] < 0) continue;
        const int reg = registerOf[first];
        const StringArray& radix = port == 1 ? t.g_arrPlc1RegRadix : t.g_arrPlc2RegRadix;
        const int radixCode = platform::Atoi(radix[static_cast<size_t>(reg)]);
        const int code = radixCode == 5 ? 1 : radixCode;  // mixed registers carry hexadecimal digits

        std::vector<Range> group;
        for (size_t i = first; i < rows.size() && group.size() < kMaxBlocks; ++i) {
            if (grouped[i] || registerOf[i] != reg) continue;
            grouped[i] = true;
            const BlockRow& row = rows[i];
            const std::string& address = row[kColSourceAddr];
            std::string wordAddress = address, countText = row[kColWords];
            if (HasUnderscore(address)) {
                countText = AddressNumberText(SplitAtUnderscore(address), row[kColWords]);
                wordAddress = AddressPrefixPart(address);
            }
            std::string number = port == 1 ? t.GetAddressNumberPartCom1(wordAddress, reg)
                                            : t.GetAddressNumberPartCom2(wordAddress, reg);
            long long start = static_cast<long long>(CNumConverter().TextToDouble(number, code));
            long long count = platform::Atoi(countText);
            group.push_back({start, start + count, platform::Atoi(row[kColBlockNo])});
        }
        for (const Range& a : group) {
            if (a.block < 1 || a.block > kMaxBlocks) continue;
            for (const Range& b : group) {
                if (a.end != b.start) continue;
                links.linkFlag[a.block] = 1;
                links.linkedBlock[a.block] = static_cast<uint32_t>(b.block);
            }
        }
    }
}
