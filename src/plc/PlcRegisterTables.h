#pragma once
// The register tables of the two selected PLC definition files, the PLCs' identities and
// advance-setting items, and every operation on PLC addresses: lookup by prefix,
// validation, register keys, formatting, stepping, range texts and address parts.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

using StringArray = std::vector<std::string>;

class CPlcRegisterTables {
public:
    CPlcRegisterTables() = default;
    virtual ~CPlcRegisterTables() = default;

    // Loading (the caller has emptied the tables and set the file and section first).
    int LoadPlcFileCom1();
    int LoadPlcFileCom2();
    // The block word limit after both loads: the smaller NoOfWord, or in slave mode
    // 65535 for the COM2 driver "135" and 255 otherwise.
    void SetBlockWordLimit(bool slaveMode);

    // Lookup and validation.
    int FindRegisterByPrefix(const std::string& text, int port) const;
    int SelectAmongSamePrefix(const std::string& text, int port) const;
    int ValidateAddressCom1(std::string text, int index) const;
    int ValidateAddressCom2(const std::string& text, int index) const;
    int GetRegisterIndexForPort(const std::string& text, int group, int port) const;
    static int IsAllDigits(const std::string& text);
    // The older block list's cell check of the current cell (g_nBlockEditRow/Col).
    int ValidateBlockEntry(const std::string& cellText) const;
    // The newer block list's cell check of the current cell (g_nNewBlockEditRow/Col).
    int ValidateNewBlockEntry(const std::string& cellText) const;
    static int IsBitSuffixOutOfRange(const std::string& text);
    // Why the "_" and bit of an address can not be taken on a port, or kBitTaken (also for
    // an address without "_"): the bit is 0 to 15 in decimal digits, on a word register,
    // and no address carries a bit while COM2 has a CAN driver.
    enum BitFault { kBitTaken = 0, kBitValue, kBitOnCoil, kBitWithCan };
    BitFault CheckAddressBit(const std::string& address, int port) const;
    // 1 while the COM2 driver is one of the product's CAN drivers (the address dialog then
    // offers a bit on neither port).
    int Com2HasCanDriver() const;
    // Why an address kept in a block (read from a project file) would not have been taken by
    // its generation's cell check: kAddressTaken, or the fault. Only the newer generation
    // takes a bit.
    enum AddressFault { kAddressTaken = 0, kAddressCharacters, kAddressPrefix, kAddressRange, kAddressBit };
    AddressFault CheckBlockAddress(const std::string& address, int port, bool newer, BitFault* bit = nullptr) const;
    // True when the address has more ':' or '/' parts than register `index` of the port has
    // (the bit after '_' aside): such a part would be dropped or run into another part.
    bool HasPartsBeyondRegister(const std::string& address, int port, int index) const;
    // The cell checks' message for a number cell (# Words/Bits, the IDs, Repeat Cycle and,
    // in the newer list, Control Bit) of either generation, or empty when the text is taken.
    std::string NumberCellMessage(int column, const std::string& text, bool newer, bool slave) const;
    // The block checks' message for a PLC cell that is not one of the two PLC names its
    // list offers (as the image reads it, such a cell would move the block to the other
    // side), or empty when it names one.
    std::string BlockPlcCellMessage(const std::string& plc) const;
    // The block checks' text for such a fault of block row (0-based).
    static std::string BlockAddressFaultText(int row, const std::string& address, AddressFault fault, BitFault bit);
    // Parameter groups of the CAN layout: the length field of the group of a COM2
    // address, and its direction text.
    static std::string ReadPgnLength(const std::string& address);
    static std::string PgnDirectionText(const std::string& address);
    // The older block list's check of a whole block before it is saved, copied or sent;
    // 0 when it compiles.
    int CompileCheckBlock(int row) const;
    // How many of the eight texts are empty.
    static int CompareAddressArgs(const std::string& a1, const std::string& a2, const std::string& a3,
                                  const std::string& a4, const std::string& a5, const std::string& a6,
                                  const std::string& a7, const std::string& a8);

    // Register keys, kinds and formatting.
    std::string ParseAddressCom1(const std::string& text) const;
    std::string ParseAddressCom2(const std::string& text) const;
    int GetRegisterKind(const std::string& text, int port) const;
    int IsCoilAddress(const std::string& text, int port) const;
    std::string FormatAddressCom1(const std::string& number, const std::string& second,
                                  const std::string& third, int index) const;
    std::string FormatAddressCom2(const std::string& number, const std::string& second,
                                  const std::string& third, int index) const;

    // Stepping, range texts, address parts, zero fill and the project reset.
    static std::string IncrementAddressText(const std::string& text, int code);
    static std::string DecrementAddressText(const std::string& text, int code);
    std::string GetRegisterRangeTextCom1(int index) const;
    std::string GetRegisterRangeTextCom2(int index) const;
    std::string GetAddressNumberPartCom1(const std::string& text, int index) const;
    std::string GetAddressColonPartCom1(const std::string& text, int index) const;
    std::string GetAddressSlashPartCom1(const std::string& text, int index) const;
    std::string GetAddressNumberPartCom2(const std::string& text, int index) const;
    std::string GetAddressColonPartCom2(const std::string& text, int index) const;
    std::string GetAddressSlashPartCom2(const std::string& text, int index) const;
    static std::string FitStringToWidth(const std::string& text, unsigned width);
    void ResetProject();

    // Number of register types of a port (the length of its tables).
    int RegisterCount(int port) const;
    static bool IsMarker(const std::string& field);

    // Register tables, in declaration order.
    StringArray g_arrPlc1RegPrefix, g_arrPlc1RegMin, g_arrPlc1RegMax;
    StringArray g_arrPlc2RegPrefix, g_arrPlc2RegColonMin, g_arrPlc2RegColonMax;
    StringArray g_arrPlc1RegColonMin, g_arrPlc1RegColonMax;
    StringArray g_arrPlc2RegMin, g_arrPlc2RegMax;
    StringArray g_arrPlc1RegSlashMin, g_arrPlc1RegSlashMax;
    StringArray g_arrPlc2RegSlashMin, g_arrPlc2RegSlashMax;
    StringArray g_arrPlc1RegName, g_arrPlc2RegName;
    StringArray g_arrPlc1RegRadix, g_arrPlc1RegKind;
    StringArray g_arrPlc2RegRadix, g_arrPlc2RegKind;

    int g_nPlc1NoOfByte = 0, g_nPlc2NoOfByte = 0;
    std::string g_strPcComPort;

    std::string g_strPLC1Name, g_strPlc1Inf, g_strPlc1Section;
    int g_nPlc1RegWidth = 0;
    std::string g_strPLC1Id, g_strPlc1ModelNo, g_strPlc1DriverId;

    std::string g_strPLC2Name, g_strPlc2Inf, g_strPlc2Section;
    int g_nPlc2RegWidth = 0;
    std::string g_strPLC2Id, g_strPlc2ModelNo, g_strPlc2DriverId;

    int g_anSpecialDataMin1[4] = {}, g_anSpecialDataMax1[4] = {}, g_anPlc1SpecialValue[4] = {};
    StringArray g_arrPlc1SpName, g_arrPlc1SpDefault;
    int g_anSpecialDataMin2[4] = {}, g_anSpecialDataMax2[4] = {}, g_anPlc2SpecialValue[4] = {};
    StringArray g_arrPlc2SpName, g_arrPlc2SpDefault;

    int g_nBlockWordLimit = 0;
    int g_nPlc2NoOfWord = 0, g_nPlc1NoOfWord = 0;

private:
    // The ten tables and the register width of one port, so that the twin operations
    // share one body.
    struct PortTables {
        StringArray& name;
        StringArray& kind;
        StringArray& radix;
        StringArray& prefix;
        StringArray& min;
        StringArray& max;
        StringArray& colonMin;
        StringArray& colonMax;
        StringArray& slashMin;
        StringArray& slashMax;
        const int& regWidth;
    };
    PortTables Port(int port);
    const PortTables Port(int port) const;

    struct AddressParts {
        std::string number, colon, slash;
    };
    AddressParts SplitAddress(std::string text, int port, int index, bool trimRight) const;
    int ValidateAddress(std::string text, int port, int index) const;
    std::string ParseAddress(const std::string& text, int port) const;
    std::string FormatAddress(const std::string& number, const std::string& second,
                              const std::string& third, int index, int port) const;
    std::string RangeText(int index, int port) const;
    void LoadPlcFile(int port);
    // The word address the ranges of a register see (suffix letter and bit cut), or -1
    // when its suffix letter is not allowed there.
    int PrepareForRanges(std::string& text, int port, int index) const;

    // Registers sharing one prefix, in table order, with what the lookups need of each,
    // so that a lookup costs the same for the first register as for the last.
    struct PrefixGroup {
        std::vector<int> members;
        int firstCoil = -1, firstRegister = -1;  // the first of each kind group
        std::vector<int> lo, hi;                   // number ranges, per member
        std::vector<int> subsetOf;                 // per member
        // Members alike in the suffix letters they allow and in their number system, with
        // the first member whose number range covers each stretch between the range ends.
        struct Subset {
            std::vector<int> positions;
            std::vector<int64_t> bounds;
            std::vector<int> first;
        };
        std::vector<Subset> subsets;
    };
    struct LookupIndex {
        bool built = false;
        const void* data[7] = {};
        size_t size[7] = {};
        size_t longest = 0;
        std::unordered_map<std::string, int> byPrefix;
        std::vector<PrefixGroup> groups;
    };
    // Built again after a load or a reset, and never copied with the tables.
    struct LookupCache {
        LookupIndex port[2];
        LookupCache() = default;
        LookupCache(const LookupCache&) {}
        LookupCache& operator=(const LookupCache&) {
            port[0] = port[1] = LookupIndex();
            return *this;
        }
    };
    mutable LookupCache m_lookup;
    const LookupIndex& Lookup(int port) const;
    const PrefixGroup* LongestGroup(const std::string& text, const LookupIndex& index) const;
    int FirstAccepting(const std::string& text, int port, const PrefixGroup& group) const;
};

extern CPlcRegisterTables g_PlcRegisterTables;
