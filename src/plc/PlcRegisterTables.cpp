#include "plc/PlcRegisterTables.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/NumConverter.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <algorithm>

using platform::Atoi;

CPlcRegisterTables g_PlcRegisterTables;

namespace {

const char kCorruptPlcFile[] = "Corrupt PLC file ";

bool Leads(const std::string& prefix, const std::string& text) {
    // A register without a prefix (a record that was missing) never matches.
    return !prefix.empty() && text.size() >= prefix.size() &&
           text.compare(0, prefix.size(), prefix) == 0;
}

bool InRange(const StringArray& table, int index) {
    return index >= 0 && static_cast<size_t>(index) < table.size();
}

// Characters a number part may hold in a number system: decimal, hexadecimal, octal.
bool DigitsBelongTo(const std::string& part, int code) {
    for (char ch : part) {
        unsigned char c = static_cast<unsigned char>(ch);
        bool ok;
        switch (code) {
        case 0: ok = c >= '0' && c <= '9'; break;
        case 1: ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); break;
        case 2: ok = c >= '0' && c <= '7'; break;
        default: ok = true; break;
        }
        if (!ok) return false;
    }
    return true;
}

std::string StripLeadingZeros(const std::string& s) {
    size_t i = s.find_first_not_of('0');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string RemoveTrailing(std::string s, char c) {
    while (!s.empty() && s.back() == c) s.pop_back();
    return s;
}

std::string RemoveTrailingBlanks(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    return s;
}

// Position of the timer/counter suffix letter: the character in front of the first '_',
// or the last character. npos when there is none.
size_t SuffixPosition(const std::string& text) {
    if (text.empty()) return std::string::npos;
    size_t underscore = text.find('_');
    if (underscore == std::string::npos) return text.size() - 1;
    return underscore == 0 ? std::string::npos : underscore - 1;
}

}  // namespace

bool CPlcRegisterTables::IsMarker(const std::string& field) {
    return field == "**" || field == "A*" || field == "P*";
}

CPlcRegisterTables::PortTables CPlcRegisterTables::Port(int port) {
    if (port == 1)
        return {g_arrPlc1RegName, g_arrPlc1RegKind, g_arrPlc1RegRadix, g_arrPlc1RegPrefix,
                g_arrPlc1RegMin, g_arrPlc1RegMax, g_arrPlc1RegColonMin, g_arrPlc1RegColonMax,
                g_arrPlc1RegSlashMin, g_arrPlc1RegSlashMax, g_nPlc1RegWidth};
    return {g_arrPlc2RegName, g_arrPlc2RegKind, g_arrPlc2RegRadix, g_arrPlc2RegPrefix,
            g_arrPlc2RegMin, g_arrPlc2RegMax, g_arrPlc2RegColonMin, g_arrPlc2RegColonMax,
            g_arrPlc2RegSlashMin, g_arrPlc2RegSlashMax, g_nPlc2RegWidth};
}

const CPlcRegisterTables::PortTables CPlcRegisterTables::Port(int port) const {
    return const_cast<CPlcRegisterTables*>(this)->Port(port);
}

int CPlcRegisterTables::RegisterCount(int port) const {
    return static_cast<int>(Port(port).prefix.size());
}

// ---------------------------------------------------------------------------------------
// Loading

void CPlcRegisterTables::LoadPlcFile(int port) {
    const bool com1 = port == 1;
    const std::string& file = com1 ? g_strPlc1Inf : g_strPlc2Inf;
    const std::string& section = com1 ? g_strPlc1Section : g_strPlc2Section;
    PortTables t = Port(port);

    const int count = platform::BoundedCount(platform::GetPrivateProfileInt(section, "RegisterCount", -1, file),
                                             platform::kMaxListCount, file, "RegisterCount");
    (com1 ? g_nPlc1RegWidth : g_nPlc2RegWidth) =
        platform::GetPrivateProfileInt(section, "RegisterWidth", -1, file);

    // Coils first, then registers, each group in file order: register indices depend on it.
    StringArray* tables[10] = {&t.name, &t.kind, &t.radix, &t.prefix, &t.min,
                               &t.max, &t.colonMin, &t.colonMax, &t.slashMin, &t.slashMax};
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 1; n <= count; ++n) {
            std::string record = platform::GetPrivateProfileString(
                section, "Register" + std::to_string(n), kCorruptPlcFile, 100, file);
            std::vector<std::string> fields = platform::Split(record, ',');
            int kind = Atoi(platform::Field(fields, 1));
            bool coil = kind == 0 || kind == 2;
            bool reg = kind == 1 || kind == 3 || kind == 4;
            if ((pass == 0 && !coil) || (pass == 1 && !reg)) continue;
            for (size_t f = 0; f < 10; ++f)
                tables[f]->push_back(platform::TrimLeft(platform::Field(fields, f)));
        }
    }

    std::string& name = com1 ? g_strPLC1Name : g_strPLC2Name;
    std::string& id = com1 ? g_strPLC1Id : g_strPLC2Id;
    std::string& driverId = com1 ? g_strPlc1DriverId : g_strPlc2DriverId;
    std::string& modelNo = com1 ? g_strPlc1ModelNo : g_strPlc2ModelNo;
    name = platform::GetPrivateProfileString("Plc Info", "Plc Name", kCorruptPlcFile, 80, file);
    id = platform::GetPrivateProfileString("Plc Info", "Plc Code", kCorruptPlcFile, 80, file);
    driverId = id;
    modelNo = platform::GetPrivateProfileString(section, "ModelNo", kCorruptPlcFile, 80, file);

    // Default serial parameters: baud, data bits, parity letter, stop bits.
    std::vector<std::string> param = platform::Split(
        platform::GetPrivateProfileString("Plc Info", "Parameter", kCorruptPlcFile, 80, file), ',');
    auto storeParameters = [&](int row) {
        int* s = g_ProjectSettings.g_anPortSettings[row];
        s[kPortBaud] = Atoi(platform::Field(param, 0));
        s[kPortDataBits] = Atoi(platform::Field(param, 1));
        std::string parity = platform::Field(param, 2);
        if (!parity.empty()) {
            switch (parity.back()) {
            case 'E': s[kPortParity] = 2; break;
            case 'N': s[kPortParity] = 1; break;
            case 'O': s[kPortParity] = 3; break;
            default: break;  // anything else leaves the parity as it was
            }
        }
        s[kPortStopBits] = Atoi(platform::Field(param, 3));
    };
    if (com1) {
        storeParameters(0);
        if (g_nDeviceIdAlt == 84) {  // the three-port product: every port starts alike
            storeParameters(1);
            storeParameters(2);
        }
    } else {
        storeParameters(1);
    }

    (com1 ? g_nPlc1NoOfByte : g_nPlc2NoOfByte) =
        platform::GetPrivateProfileInt(section, "NoOfByte", -1, file);

    // Advance-setting items (at most four are kept).
    int* spMin = com1 ? g_anSpecialDataMin1 : g_anSpecialDataMin2;
    int* spMax = com1 ? g_anSpecialDataMax1 : g_anSpecialDataMax2;
    int* spValue = com1 ? g_anPlc1SpecialValue : g_anPlc2SpecialValue;
    StringArray& spName = com1 ? g_arrPlc1SpName : g_arrPlc2SpName;
    StringArray& spDefault = com1 ? g_arrPlc1SpDefault : g_arrPlc2SpDefault;
    const int special = platform::GetPrivateProfileInt("Plc Info", "SpecialData", -1, file);
    StringArray defaults;  // of this file's items
    for (int i = 1; i <= special && i <= 4; ++i) {
        std::vector<std::string> f = platform::Split(
            platform::GetPrivateProfileString("Plc Info", "Sp" + std::to_string(i),
                                              kCorruptPlcFile, 100, file), ',');
        spName.push_back(platform::Field(f, 0));
        spMin[i - 1] = Atoi(platform::Field(f, 1));
        spMax[i - 1] = Atoi(platform::Field(f, 2));
        spDefault.push_back(platform::Field(f, 3));
        defaults.push_back(platform::Field(f, 3));
        spValue[i - 1] = Atoi(platform::Field(f, 4));
    }
    // The project's values start at the items' defaults; they are kept in the order
    // Sp2, Sp3, Sp1.
    int* adv = com1 ? g_ProjectSettings.g_anAdvSetting1 : g_ProjectSettings.g_anAdvSetting2;
    if (special >= 1 && special <= 3) adv[2] = Atoi(defaults[0]);
    if (special >= 2 && special <= 3) adv[0] = Atoi(defaults[1]);
    if (special == 3) adv[1] = Atoi(defaults[2]);

    (com1 ? g_nPlc1NoOfWord : g_nPlc2NoOfWord) =
        platform::GetPrivateProfileInt("Plc Info", "NoOfWord", -1, file);
}

int CPlcRegisterTables::LoadPlcFileCom1() {
    LoadPlcFile(1);
    return 0;
}

int CPlcRegisterTables::LoadPlcFileCom2() {
    LoadPlcFile(2);
    return 0;
}

void CPlcRegisterTables::SetBlockWordLimit(bool slaveMode) {
    if (slaveMode)
        g_nBlockWordLimit = g_bCom2Driver135 ? 65535 : 255;
    else
        g_nBlockWordLimit = std::min(g_nPlc1NoOfWord, g_nPlc2NoOfWord);
}

// ---------------------------------------------------------------------------------------
// Lookup and validation

int CPlcRegisterTables::FindRegisterByPrefix(const std::string& text, int port) const {
    const StringArray& prefix = Port(port).prefix;
    for (size_t k = text.size(); k >= 1; --k) {
        int first = -1, found = 0;
        for (size_t i = 0; i < prefix.size(); ++i) {
            if (prefix[i].size() == k && Leads(prefix[i], text)) {
                if (first < 0) first = static_cast<int>(i);
                ++found;
            }
        }
        if (found == 1) return first;
        if (found > 1) return SelectAmongSamePrefix(text, port);
    }
    return -1;
}

int CPlcRegisterTables::SelectAmongSamePrefix(const std::string& text, int port) const {
    const StringArray& prefix = Port(port).prefix;
    if (port == 2 && g_bCom2IsCAN) {
        for (size_t i = 0; i < prefix.size(); ++i)
            if (Leads(prefix[i], text)) return static_cast<int>(i);
        return -1;
    }
    // Among the types with the longest matching prefix, the first whose ranges accept
    // the address wins.
    for (size_t k = text.size(); k >= 1; --k) {
        int first = -1, found = 0;
        for (size_t i = 0; i < prefix.size(); ++i) {
            if (prefix[i].size() == k && Leads(prefix[i], text)) {
                if (first < 0) first = static_cast<int>(i);
                ++found;
            }
        }
        if (found == 0) continue;
        if (found == 1) return first;
        for (size_t j = static_cast<size_t>(first); j < prefix.size(); ++j) {
            if (prefix[j] != prefix[first]) continue;
            int r = port == 1 ? ValidateAddressCom1(text, static_cast<int>(j))
                              : ValidateAddressCom2(text, static_cast<int>(j));
            if (r == 0) return static_cast<int>(j);
        }
        return -1;
    }
    return -1;
}

CPlcRegisterTables::AddressParts CPlcRegisterTables::SplitAddress(std::string text, int port,
                                                                  int index, bool trimRight) const {
    const PortTables t = Port(port);
    if (trimRight) text = RemoveTrailingBlanks(text);
    // A timer or counter address may end in the letter its register allows.
    size_t pos = SuffixPosition(text);
    if (pos != std::string::npos && (text[0] == 'T' || text[0] == 'C')) {
        const std::string& f7 = t.colonMin[index];
        const std::string& f9 = t.slashMin[index];
        if ((text[pos] == 'A' && (f7 == "A*" || f9 == "A*")) ||
            (text[pos] == 'P' && (f7 == "P*" || f9 == "P*")))
            text.erase(pos);
    }
    size_t n = text.size();
    size_t c = std::min(text.find(':'), n);
    size_t s = std::min(text.find('/'), n);
    if (c == n) {  // no ':' - the '/' takes its place
        c = s;
        s = n;
    }
    AddressParts parts;
    size_t start = t.prefix[index].size();
    if (start < c) parts.number = text.substr(start, c - start);
    if (c < n && s > c + 1) parts.colon = text.substr(c + 1, s - c - 1);
    if (s < n) parts.slash = text.substr(s + 1);
    return parts;
}

int CPlcRegisterTables::ValidateAddress(std::string text, int port, int index) const {
    const PortTables t = Port(port);
    if (!InRange(t.prefix, index)) return 1;
    if (port == 1) text = RemoveTrailingBlanks(text);

    // A suffix letter on a timer or counter address must be allowed by its register.
    size_t pos = SuffixPosition(text);
    if (pos != std::string::npos && (text[0] == 'T' || text[0] == 'C')) {
        const std::string& f7 = t.colonMin[index];
        const std::string& f9 = t.slashMin[index];
        if (text[pos] == 'A') {
            if (f7 != "A*" && f9 != "A*") return -1;
            text.erase(pos);
        } else if (text[pos] == 'P') {
            if (f7 != "P*" && f9 != "P*") return -1;
            text.erase(pos);
        }
    }
    // The bit of a word register ("_" and its number) is checked on its own elsewhere;
    // the word address is what the ranges apply to.
    if (size_t underscore = text.find('_'); underscore != std::string::npos) text.erase(underscore);

    AddressParts parts = SplitAddress(text, port, index, false);
    int code = Atoi(t.radix[index]);
    if (code == 5) code = 1;
    const bool checkRanges = t.regWidth >= 4;
    CNumConverter conv;
    int result = 0;
    auto outside = [&](const std::string& part, const std::string& lo, const std::string& hi) {
        if (!DigitsBelongTo(part, code)) return true;
        int v = conv.TextToNumber(part, code);
        return v > conv.TextToNumber(hi, code) || v < conv.TextToNumber(lo, code);
    };
    auto fail = [&]() {
        result = 1;
        if (port == 2) ShowInfoText("");
    };

    if (parts.number.empty()) return 1;
    if (checkRanges && outside(parts.number, t.min[index], t.max[index])) fail();
    if (!IsMarker(t.colonMin[index])) {
        if (parts.colon.empty()) return 1;
        if (checkRanges && outside(parts.colon, t.colonMin[index], t.colonMax[index])) fail();
    }
    if (!IsMarker(t.slashMin[index])) {
        if (parts.slash.empty()) return 1;
        if (checkRanges && outside(parts.slash, t.slashMin[index], t.slashMax[index])) fail();
    }
    return result;
}

int CPlcRegisterTables::ValidateAddressCom1(std::string text, int index) const {
    return ValidateAddress(std::move(text), 1, index);
}

int CPlcRegisterTables::ValidateAddressCom2(const std::string& text, int index) const {
    return ValidateAddress(text, 2, index);
}

int CPlcRegisterTables::GetRegisterIndexForPort(const std::string& text, int group, int port) const {
    std::string t = RemoveTrailing(text, '*');
    if (t.empty() || (port != 1 && port != 2)) return -1;
    const PortTables p = Port(port);
    for (size_t k = std::min<size_t>(t.size(), 9); k >= 1; --k) {
        for (size_t i = 0; i < p.prefix.size(); ++i) {
            if (p.prefix[i].size() != k || !Leads(p.prefix[i], t)) continue;
            int kind = Atoi(p.kind[i]);
            bool registerGroup = kind == 1 || kind == 3 || kind == 4;
            bool coilGroup = kind == 0 || kind == 2;
            if ((group == 0 && registerGroup) || (group == 1 && coilGroup)) return static_cast<int>(i);
        }
    }
    return -1;
}

int CPlcRegisterTables::IsAllDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return 0;
    return 1;
}

int CPlcRegisterTables::ValidateBlockEntry(const std::string& cellText) const {
    IBlockEditorHost* host = GetBlockEditorHost();
    auto cell = [&](int column) {
        return host ? RemoveTrailingBlanks(host->GetOlderBlockCellText(g_nBlockEditRow, column))
                    : std::string();
    };
    int errors = 0;
    auto report = [&](const std::string& message) {
        ShowInfoText(message);
        ++errors;
    };

    switch (g_nBlockEditCol) {
    case 4:
    case 7: {
        std::string plc = cell(g_nBlockEditCol == 4 ? 2 : 5);
        if (plc.empty()) {
            ShowInfoText("PLC not selected !");
            return -1;
        }
        std::string entry = platform::Trim(cellText);
        for (int port = 1; port <= 2; ++port) {
            if (plc != (port == 1 ? g_strPLC1Name : g_strPLC2Name)) continue;
            int i = FindRegisterByPrefix(entry, port);
            if (i == -1)
                report("Invalid Prefix. Please enter valid data. To see details, click on 'Get PLC Address' Button.");
            else if ((port == 1 ? ValidateAddressCom1(entry, i) : ValidateAddressCom2(entry, i)) == 1)
                ++errors;
        }
        break;
    }
    case 1: {
        const int limit = g_nBlockWordLimit;
        const std::string both = platform::Format(
            "For word operation, valid entry is 1- %d. For bit operation, valid entry is 1 - %d. Please enter valid data.",
            limit, limit);
        if (!IsAllDigits(cellText)) {
            report(both);
        } else {
            int value = Atoi(cellText);
            if (value > limit || value == 0) {
                if (g_bBlockExSlaveMode == 1)
                    report(both);
                else
                    report(platform::Format(
                        "For word operation, valid entry is 1- %d. For bit operation, valid entry is 1. Please enter valid data.",
                        limit));
            }
        }
        break;
    }
    case 3:
        if (!IsAllDigits(cellText))
            report("Valid range is 1 to  255. Please enter valid data.");
        else if (Atoi(cellText) > 255)
            report("Valid range is 1 to 255. Please enter valid data.");
        break;
    case 6:
        if (!IsAllDigits(cellText) || Atoi(cellText) > 255)
            report("Valid range is 1 to 255. Please enter valid data.");
        break;
    case 8:
        if (!IsAllDigits(cellText) || Atoi(cellText) > 99 || Atoi(cellText) == 0)
            report("Valid range is 1 to 99. Please enter valid data.");
        break;
    default:
        break;
    }
    return errors;
}

int CPlcRegisterTables::IsBitSuffixOutOfRange(const std::string& text) {
    size_t underscore = text.find('_');
    if (underscore == std::string::npos) return 0;
    return Atoi(text.substr(underscore + 1)) > 15 ? 1 : 0;
}

int CPlcRegisterTables::ValidateNewBlockEntry(const std::string& cellText) const {
    IBlockEditorHost* host = GetBlockEditorHost();
    int errors = 0;
    auto report = [&](const std::string& message) {
        ShowNewInfoText(message);
        ++errors;
    };
    const int column = g_nNewBlockEditCol;
    const bool digits = IsAllDigits(cellText) == 1;
    const int value = Atoi(cellText);

    switch (column) {
    case 4:
    case 7: {
        std::string plc = host ? RemoveTrailingBlanks(host->GetNewerBlockCellText(g_nNewBlockEditRow, column == 4 ? 2 : 5))
                               : std::string();
        if (plc.empty()) {
            ShowNewInfoText("PLC not selected !");
            return -1;
        }
        std::string entry = platform::Trim(cellText);
        for (int port = 1; port <= 2; ++port) {
            if (plc != (port == 1 ? g_strPLC1Name : g_strPLC2Name)) continue;
            int i = FindRegisterByPrefix(entry, port);
            if (i == -1) {
                report("Invalid Prefix. Please enter valid data. To see details, click on 'Get PLC Address' Button.");
                continue;
            }
            if ((port == 1 ? ValidateAddressCom1(entry, i) : ValidateAddressCom2(entry, i)) > 0) ++errors;
            if (IsBitSuffixOutOfRange(entry)) {
                if (host) host->MessageBox("Invalid Bit Value. Please enter valid data.", "Invalid Bit", 0x40);
                ++errors;
            }
        }
        break;
    }
    case 1: {
        const int limit = g_nBlockWordLimit;
        const std::string both = platform::Format(
            "For word operation, valid entry is 1- %d. For bit operation, valid entry is 1 - %d. Please enter valid data.",
            limit, limit);
        if (!digits)
            report(both);
        else if (value == 0 || value > limit)
            report(g_bSlaveMode == 1 ? both
                                     : platform::Format("For word operation, valid entry is 1- %d. For bit operation, valid entry is 1. Please enter valid data.",
                                                        limit));
        break;
    }
    case 3:
    case 6:
        if (!digits || value > 255) report("Valid range is 0 to 255. Please enter valid data.");
        break;
    case 8:
        if (!digits || value > 99 || value == 0) report("Valid range is 1 to 99. Please enter valid data.");
        break;
    case 9:
        if (!digits || value > 255) report("Valid range is 1 to 255. Please enter valid data.");
        break;
    default:
        break;
    }
    return errors;
}

std::string CPlcRegisterTables::ReadPgnLength(const std::string& address) {
    const size_t n = address.size();
    const size_t keep = n > 9 ? n - 6 : (n >= 5 ? n - 5 : 0);
    const std::string key = "0x" + address.substr(n - keep);
    const std::string file = deffiles::PgnLengthInf(g_szProductName);
    std::string value = platform::GetPrivateProfileString("PGN Info", key, deffiles::kCorruptFile, 80, file);
    // The last field that is not empty; trailing commas are skipped.
    while (!value.empty() && value.back() == ',') value.pop_back();
    size_t comma = value.rfind(',');
    return comma == std::string::npos ? value : value.substr(comma + 1);
}

std::string CPlcRegisterTables::PgnDirectionText(const std::string& address) {
    return address.size() >= 2 && address[1] == '0' ? "Input" : "Output";
}

int CPlcRegisterTables::CompareAddressArgs(const std::string& a1, const std::string& a2,
                                           const std::string& a3, const std::string& a4,
                                           const std::string& a5, const std::string& a6,
                                           const std::string& a7, const std::string& a8) {
    int empty = 0;
    for (const std::string* a : {&a1, &a2, &a3, &a4, &a5, &a6, &a7, &a8})
        if (a->empty()) ++empty;
    return empty;
}

int CPlcRegisterTables::CompileCheckBlock(int row) const {
    IBlockEditorHost* host = GetBlockEditorHost();
    std::string cell[9];
    for (int c = 1; c <= 8; ++c)
        cell[c] = host ? RemoveTrailingBlanks(host->GetOlderBlockCellText(row, c)) : std::string();

    int missing = CompareAddressArgs(cell[1], cell[2], cell[3], cell[4], cell[5], cell[6], cell[7], cell[8]);
    if (missing > 0) {
        ShowInfoText(platform::Format("Error while compiling block %d. The block is incomplete. ", row + 1));
        return missing + 1;
    }
    if (cell[2] == cell[5]) {
        ShowInfoText(platform::Format("Error while compiling block %d. Same PLCs are selected on both ends.", row + 1));
        return 1;
    }
    int kinds[2];
    for (int side = 0; side < 2; ++side) {
        const std::string& plc = cell[side == 0 ? 2 : 5];
        const std::string address = platform::Trim(cell[side == 0 ? 4 : 7]);
        const int port = plc == g_strPLC1Name ? 1 : 2;
        if (FindRegisterByPrefix(address, port) == -1) {
            ShowInfoText("Invalid Prefix");
            return 1;
        }
        kinds[side] = GetRegisterKind(address, port);
    }
    const int source = kinds[0], destination = kinds[1];
    if (g_bBlockExSlaveMode != 1) {
        if (destination == 2) {
            ShowInfoText("Destination address can not be read only coil type. Please select read-write coil type.");
            return 1;
        }
        if (destination == 3) {
            ShowInfoText("Destination address can not be read only register type. Please select read-write register type.");
            return 1;
        }
    }
    const bool sourceCoil = source == 0 || source == 2;
    const bool sourceRegister = source == 1 || source == 3;
    const bool destinationCoil = destination == 0 || destination == 2;
    const bool destinationRegister = destination == 1 || destination == 3 || destination == 4;
    if (sourceCoil && destinationRegister) {
        ShowInfoText("Can not copy a coil to a register.");
        return 1;
    }
    if (sourceRegister && destinationCoil) {
        ShowInfoText("Can not copy a register to a coil.");
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// Register keys, kinds and formatting

std::string CPlcRegisterTables::ParseAddress(const std::string& text, int port) const {
    int r = FindRegisterByPrefix(text, port);
    if (r < 0) return std::string();
    const PortTables t = Port(port);
    AddressParts parts = SplitAddress(text, port, r, true);
    auto fill = [](const std::string& part, const std::string& widthOf) {
        return FitStringToWidth(StripLeadingZeros(part), static_cast<unsigned>(widthOf.size()));
    };
    std::string key = t.prefix[r] + fill(parts.number, t.min[r]);
    key += IsMarker(t.colonMin[r]) ? t.colonMin[r] : fill(parts.colon, t.colonMin[r]);
    key += IsMarker(t.slashMin[r]) ? t.slashMin[r] : fill(parts.slash, t.slashMin[r]);
    if (key.size() < 9) key.append(9 - key.size(), '*');
    return key;
}

std::string CPlcRegisterTables::ParseAddressCom1(const std::string& text) const { return ParseAddress(text, 1); }
std::string CPlcRegisterTables::ParseAddressCom2(const std::string& text) const { return ParseAddress(text, 2); }

int CPlcRegisterTables::GetRegisterKind(const std::string& text, int port) const {
    int p = port == 1 ? 1 : 2;
    int r = FindRegisterByPrefix(text, p);
    if (r < 0) return -1;
    return Atoi(Port(p).kind[r]);
}

int CPlcRegisterTables::IsCoilAddress(const std::string& text, int port) const {
    int kind = GetRegisterKind(text, port);
    return (kind == 1 || kind == 3 || kind == 4) ? 0 : 1;
}

std::string CPlcRegisterTables::FormatAddress(const std::string& number, const std::string& second,
                                              const std::string& third, int index, int port) const {
    const PortTables t = Port(port);
    if (!InRange(t.prefix, index)) return number;
    std::string result = number;
    if (IsMarker(t.colonMin[index])) {
        result = RemoveTrailing(result + second, '*');
    } else {
        int kind = Atoi(t.kind[index]);
        result += (kind == 0 || kind == 2) ? '/' : ':';
        result += second;
    }
    if (IsMarker(t.slashMin[index]))
        result = RemoveTrailing(result + third, '*');
    else
        result = number + ":" + second + "/" + third;
    return result;
}

std::string CPlcRegisterTables::FormatAddressCom1(const std::string& number, const std::string& second,
                                                  const std::string& third, int index) const {
    return FormatAddress(number, second, third, index, 1);
}

std::string CPlcRegisterTables::FormatAddressCom2(const std::string& number, const std::string& second,
                                                  const std::string& third, int index) const {
    return FormatAddress(number, second, third, index, 2);
}

// ---------------------------------------------------------------------------------------
// Stepping, range texts, parts, zero fill, reset

namespace {
std::string Step(std::string text, int code, bool up) {
    if (code != 0 && code != 1 && code != 2 && code != 5) return text;
    const bool hex = code == 1 || code == 5;
    const char top = code == 2 ? '7' : '9';
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        char& c = *it;
        if (up) {
            if (hex && c == '9') { c = 'A'; return text; }
            if (c == (hex ? 'F' : top)) { c = '0'; continue; }  // carry on
            ++c;
        } else {
            if (hex && c == 'A') { c = '9'; return text; }
            if (c == '0') { c = hex ? 'F' : top; continue; }  // borrow on
            --c;
        }
        return text;
    }
    return text;  // wrapped past the largest (or below the smallest) value
}
}  // namespace

std::string CPlcRegisterTables::IncrementAddressText(const std::string& text, int code) {
    return Step(text, code, true);
}

std::string CPlcRegisterTables::DecrementAddressText(const std::string& text, int code) {
    return Step(text, code, false);
}

std::string CPlcRegisterTables::RangeText(int index, int port) const {
    const PortTables t = Port(port);
    if (!InRange(t.prefix, index)) return std::string();
    std::string text = "(" + t.min[index] + "-" + t.max[index] + ")";
    if (!IsMarker(t.colonMin[index])) text += "(" + t.colonMin[index] + "-" + t.colonMax[index] + ")";
    if (!IsMarker(t.slashMin[index])) text += "(" + t.slashMin[index] + "-" + t.slashMax[index] + ")";
    return text;
}

std::string CPlcRegisterTables::GetRegisterRangeTextCom1(int index) const { return RangeText(index, 1); }
std::string CPlcRegisterTables::GetRegisterRangeTextCom2(int index) const { return RangeText(index, 2); }

#define ADDRESS_PART(Name, port, member, trim)                                          \
    std::string CPlcRegisterTables::Name(const std::string& text, int index) const {    \
        if (!InRange(Port(port).prefix, index)) return std::string();                   \
        return SplitAddress(text, port, index, trim).member;                            \
    }
ADDRESS_PART(GetAddressNumberPartCom1, 1, number, true)
ADDRESS_PART(GetAddressColonPartCom1, 1, colon, true)
ADDRESS_PART(GetAddressSlashPartCom1, 1, slash, true)
ADDRESS_PART(GetAddressNumberPartCom2, 2, number, false)
ADDRESS_PART(GetAddressColonPartCom2, 2, colon, false)
ADDRESS_PART(GetAddressSlashPartCom2, 2, slash, false)
#undef ADDRESS_PART

std::string CPlcRegisterTables::FitStringToWidth(const std::string& text, unsigned width) {
    if (text.size() >= width) return text;
    return std::string(width - text.size(), '0') + text;
}

void CPlcRegisterTables::ResetProject() {
    for (StringArray* a : {&g_arrPlc1RegPrefix, &g_arrPlc1RegMin, &g_arrPlc1RegMax, &g_arrPlc2RegPrefix,
                           &g_arrPlc2RegColonMin, &g_arrPlc2RegColonMax, &g_arrPlc1RegColonMin,
                           &g_arrPlc1RegColonMax, &g_arrPlc2RegMin, &g_arrPlc2RegMax,
                           &g_arrPlc1RegSlashMin, &g_arrPlc1RegSlashMax, &g_arrPlc2RegSlashMin,
                           &g_arrPlc2RegSlashMax, &g_arrPlc1RegName, &g_arrPlc2RegName,
                           &g_arrPlc1RegRadix, &g_arrPlc1RegKind, &g_arrPlc2RegRadix, &g_arrPlc2RegKind,
                           &g_arrPlc1SpName, &g_arrPlc1SpDefault, &g_arrPlc2SpName, &g_arrPlc2SpDefault})
        a->clear();
    // The advance-setting items' limits and offsets go with their names: a file without
    // them must not inherit the previous project's.
    for (int* a : {g_anSpecialDataMin1, g_anSpecialDataMax1, g_anPlc1SpecialValue, g_anSpecialDataMin2,
                   g_anSpecialDataMax2, g_anPlc2SpecialValue})
        std::fill(a, a + 4, 0);

    CProjectSettings& s = g_ProjectSettings;
    s.g_strCtrlWordAddr.clear();
    s.g_strErrBitAddr1.clear();
    s.g_strErrBitAddr2.clear();
    s.g_strCtrlWordShown.clear();
    s.g_bCtrlWordEnabled = 0;
    s.g_nCtrlWordSide = 0;
    s.g_bErrBit1Enabled = 0;
    s.g_bErrBit2Enabled = 0;
    for (int port = 0; port < 2; ++port)
        for (int f = 0; f < 4; ++f) s.g_anPortSettings[port][f] = 0;
    for (int i = 0; i < 3; ++i) s.g_anAdvSetting1[i] = s.g_anAdvSetting2[i] = 0;
    s.g_strProjAuthor = s.g_strProjTitle = s.g_strProjCreated = s.g_strProjModified =
        s.g_strProjDescription = " ";

    s.g_nProjFileVersion = 0;
    g_bBlockExSaved = 0;
    g_bBlockExSlaveMode = 0;
    g_bSlaveMode = 0;
    s.g_nCtrlWordStation = 1;
    s.g_nCtrlWordWords = 1;
}
