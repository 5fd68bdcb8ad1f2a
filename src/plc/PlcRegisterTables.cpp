#include "plc/PlcRegisterTables.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/BlockEditorHost.h"
#include "plc/DefinitionFiles.h"
#include "plc/NumConverter.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <algorithm>
#include <set>

using platform::Atoi;

CPlcRegisterTables g_PlcRegisterTables;

namespace {

const char kCorruptPlcFile[] = "Corrupt PLC file ";

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
    m_lookup = LookupCache();
    const bool com1 = port == 1;
    const std::string& file = com1 ? g_strPlc1Inf : g_strPlc2Inf;
    const std::string& section = com1 ? g_strPlc1Section : g_strPlc2Section;
    // Found once: every key below is read from the same file.
    const std::string source = platform::ResolvePath(file);
    PortTables t = Port(port);

    const int count = platform::BoundedCount(platform::GetPrivateProfileInt(section, "RegisterCount", -1, source),
                                             platform::kMaxListCount, file, "RegisterCount");
    (com1 ? g_nPlc1RegWidth : g_nPlc2RegWidth) =
        platform::GetPrivateProfileInt(section, "RegisterWidth", -1, source);

    // Coils first, then registers, each group in file order: register indices depend on it.
    StringArray* tables[10] = {&t.name, &t.kind, &t.radix, &t.prefix, &t.min,
                               &t.max, &t.colonMin, &t.colonMax, &t.slashMin, &t.slashMax};
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 1; n <= count; ++n) {
            std::string record = platform::GetPrivateProfileString(
                section, "Register" + std::to_string(n), kCorruptPlcFile, 100, source);
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
    name = platform::GetPrivateProfileString("Plc Info", "Plc Name", kCorruptPlcFile, 80, source);
    id = platform::GetPrivateProfileString("Plc Info", "Plc Code", kCorruptPlcFile, 80, source);
    driverId = id;
    modelNo = platform::GetPrivateProfileString(section, "ModelNo", kCorruptPlcFile, 80, source);

    // Default serial parameters: baud, data bits, parity letter, stop bits.
    std::vector<std::string> param = platform::Split(
        platform::GetPrivateProfileString("Plc Info", "Parameter", kCorruptPlcFile, 80, source), ',');
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
        platform::GetPrivateProfileInt(section, "NoOfByte", -1, source);

    // Advance-setting items (at most four are kept).
    int* spMin = com1 ? g_anSpecialDataMin1 : g_anSpecialDataMin2;
    int* spMax = com1 ? g_anSpecialDataMax1 : g_anSpecialDataMax2;
    int* spValue = com1 ? g_anPlc1SpecialValue : g_anPlc2SpecialValue;
    StringArray& spName = com1 ? g_arrPlc1SpName : g_arrPlc2SpName;
    StringArray& spDefault = com1 ? g_arrPlc1SpDefault : g_arrPlc2SpDefault;
    const int special = platform::GetPrivateProfileInt("Plc Info", "SpecialData", -1, source);
    StringArray defaults;  // of this file's items
    for (int i = 1; i <= special && i <= 4; ++i) {
        std::vector<std::string> f = platform::Split(
            platform::GetPrivateProfileString("Plc Info", "Sp" + std::to_string(i),
                                              kCorruptPlcFile, 100, source), ',');
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
        platform::GetPrivateProfileInt("Plc Info", "NoOfWord", -1, source);
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

const CPlcRegisterTables::LookupIndex& CPlcRegisterTables::Lookup(int port) const {
    const PortTables t = Port(port);
    LookupIndex& x = m_lookup.port[port == 1 ? 0 : 1];
    const StringArray* tables[7] = {&t.prefix, &t.kind, &t.radix, &t.min, &t.max, &t.colonMin, &t.slashMin};
    bool current = x.built;
    for (int i = 0; i < 7 && current; ++i)
        current = x.data[i] == tables[i]->data() && x.size[i] == tables[i]->size();
    if (current) return x;

    x = LookupIndex();
    x.built = true;
    for (int i = 0; i < 7; ++i) {
        x.data[i] = tables[i]->data();
        x.size[i] = tables[i]->size();
    }
    auto field = [](const StringArray& table, size_t i) -> const std::string& {
        static const std::string none;
        return i < table.size() ? table[i] : none;
    };
    CNumConverter conv;
    for (size_t i = 0; i < t.prefix.size(); ++i) {
        const std::string& prefix = t.prefix[i];
        if (prefix.empty()) continue;  // never matches
        auto [it, fresh] = x.byPrefix.emplace(prefix, static_cast<int>(x.groups.size()));
        if (fresh) x.groups.emplace_back();
        x.longest = std::max(x.longest, prefix.size());
        PrefixGroup& g = x.groups[static_cast<size_t>(it->second)];
        const int index = static_cast<int>(i);
        g.members.push_back(index);
        const int kind = Atoi(field(t.kind, i));
        if ((kind == 1 || kind == 3 || kind == 4) && g.firstRegister < 0) g.firstRegister = index;
        if ((kind == 0 || kind == 2) && g.firstCoil < 0) g.firstCoil = index;
        int code = Atoi(field(t.radix, i));
        if (code == 5) code = 1;
        g.lo.push_back(conv.TextToNumber(field(t.min, i), code));
        g.hi.push_back(conv.TextToNumber(field(t.max, i), code));
        const std::string& f7 = field(t.colonMin, i);
        const std::string& f9 = field(t.slashMin, i);
        const int key = (f7 == "A*" || f9 == "A*") | (f7 == "P*" || f9 == "P*") << 1 |
                        (code >= 0 && code <= 2 ? code : 3) << 2;
        g.subsetOf.push_back(key);  // the key for now; the subset's position below
    }
    for (PrefixGroup& g : x.groups) {
        int slot[16];
        std::fill(slot, slot + 16, -1);
        for (size_t pos = 0; pos < g.members.size(); ++pos) {
            int& s = slot[g.subsetOf[pos]];
            if (s < 0) {
                s = static_cast<int>(g.subsets.size());
                g.subsets.emplace_back();
            }
            g.subsets[static_cast<size_t>(s)].positions.push_back(static_cast<int>(pos));
            g.subsetOf[pos] = s;
        }
        for (PrefixGroup::Subset& sub : g.subsets) {
            // Sweep the range ends in order, keeping the members whose range is open.
            std::vector<std::pair<int64_t, int>> events;  // (where, +position+1 opens / -position-1 closes)
            for (int pos : sub.positions) {
                const int64_t lo = g.lo[static_cast<size_t>(pos)], hi = g.hi[static_cast<size_t>(pos)];
                if (lo > hi) continue;
                events.emplace_back(lo, pos + 1);
                events.emplace_back(hi + 1, -pos - 1);
            }
            std::sort(events.begin(), events.end());
            std::set<int> open;
            for (size_t e = 0; e < events.size();) {
                const int64_t where = events[e].first;
                for (; e < events.size() && events[e].first == where; ++e) {
                    if (events[e].second > 0) open.insert(events[e].second - 1);
                    else open.erase(-events[e].second - 1);
                }
                sub.bounds.push_back(where);
                sub.first.push_back(open.empty() ? -1 : *open.begin());
            }
        }
    }
    return x;
}

const CPlcRegisterTables::PrefixGroup* CPlcRegisterTables::LongestGroup(const std::string& text,
                                                                        const LookupIndex& x) const {
    for (size_t k = std::min(text.size(), x.longest); k >= 1; --k) {
        auto it = x.byPrefix.find(text.substr(0, k));
        if (it != x.byPrefix.end()) return &x.groups[static_cast<size_t>(it->second)];
    }
    return nullptr;
}

int CPlcRegisterTables::FindRegisterByPrefix(const std::string& text, int port) const {
    const PrefixGroup* g = LongestGroup(text, Lookup(port));
    if (!g) return -1;
    if (g->members.size() == 1) return g->members.front();
    return SelectAmongSamePrefix(text, port);
}

int CPlcRegisterTables::SelectAmongSamePrefix(const std::string& text, int port) const {
    const LookupIndex& x = Lookup(port);
    if (port == 2 && g_bCom2IsCAN) {
        // The first register in table order whose prefix leads the text, of any length.
        int best = -1;
        for (size_t k = 1; k <= std::min(text.size(), x.longest); ++k) {
            auto it = x.byPrefix.find(text.substr(0, k));
            if (it == x.byPrefix.end()) continue;
            const int first = x.groups[static_cast<size_t>(it->second)].members.front();
            if (best < 0 || first < best) best = first;
        }
        return best;
    }
    // Among the types with the longest matching prefix, the first whose ranges accept
    // the address wins.
    const PrefixGroup* g = LongestGroup(text, x);
    if (!g) return -1;
    if (g->members.size() == 1) return g->members.front();
    return FirstAccepting(text, port, *g);
}

// The first member of the group that accepts the text, as a walk validating each in turn
// would find it, including the walk's clearing of the information text on COM2 - but
// without validating the members whose number range cannot hold the address.
int CPlcRegisterTables::FirstAccepting(const std::string& text, int port, const PrefixGroup& g) const {
    const int p = port == 1 ? 1 : 2;
    auto validate = [&](size_t pos) {
        const int j = g.members[pos];
        return p == 1 ? ValidateAddressCom1(text, j) : ValidateAddressCom2(text, j);
    };
    const size_t n = g.members.size();
    if (Port(p).regWidth < 4) {  // no ranges: only the shape of the address counts
        for (size_t pos = 0; pos < n; ++pos)
            if (validate(pos) == 0) return g.members[pos];
        return -1;
    }

    // What the address is to each subset: refused without a word (suffix letter not
    // allowed, or no number), refused by every member's range check (digits outside the
    // number system), or a number that each member's range holds or not.
    enum How { kSilent, kOutside, kNumber };
    struct Seen {
        How how = kSilent;
        int64_t value = 0;
    };
    std::vector<Seen> seen(g.subsets.size());
    const PortTables t = Port(p);
    CNumConverter conv;
    for (size_t s = 0; s < g.subsets.size(); ++s) {
        const int rep = g.members[static_cast<size_t>(g.subsets[s].positions.front())];
        std::string word = text;
        if (PrepareForRanges(word, p, rep) != 0) continue;
        const AddressParts parts = SplitAddress(word, p, rep, false);
        if (parts.number.empty()) continue;
        int code = Atoi(t.radix[static_cast<size_t>(rep)]);
        if (code == 5) code = 1;
        if (!DigitsBelongTo(parts.number, code)) {
            seen[s].how = kOutside;
            continue;
        }
        seen[s].how = kNumber;
        seen[s].value = conv.TextToNumber(parts.number, code);
    }
    auto covers = [&](size_t pos) {
        const Seen& v = seen[static_cast<size_t>(g.subsetOf[pos])];
        return v.how == kNumber && g.lo[pos] <= v.value && v.value <= g.hi[pos];
    };

    // The first member whose range holds the number.
    size_t candidate = n;
    for (size_t s = 0; s < g.subsets.size(); ++s) {
        if (seen[s].how != kNumber) continue;
        const PrefixGroup::Subset& sub = g.subsets[s];
        const auto after = std::upper_bound(sub.bounds.begin(), sub.bounds.end(), seen[s].value);
        if (after == sub.bounds.begin()) continue;
        const int first = sub.first[static_cast<size_t>(after - sub.bounds.begin() - 1)];
        if (first >= 0) candidate = std::min(candidate, static_cast<size_t>(first));
    }
    // Every member passed over failed a range check, and so cleared the information text.
    bool cleared = false;
    for (size_t s = 0; s < g.subsets.size(); ++s)
        if (seen[s].how != kSilent && static_cast<size_t>(g.subsets[s].positions.front()) < candidate)
            cleared = true;
    int result = -1;
    for (size_t pos = candidate; pos < n; ++pos) {
        if (pos != candidate && !covers(pos)) {
            if (seen[static_cast<size_t>(g.subsetOf[pos])].how != kSilent) cleared = true;
            continue;
        }
        if (validate(pos) == 0) {
            result = g.members[pos];
            break;
        }
    }
    if (cleared && p == 2) ShowInfoText("");
    return result;
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

int CPlcRegisterTables::PrepareForRanges(std::string& text, int port, int index) const {
    const PortTables t = Port(port);
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
    return 0;
}

int CPlcRegisterTables::ValidateAddress(std::string text, int port, int index) const {
    const PortTables t = Port(port);
    if (!InRange(t.prefix, index)) return 1;
    if (PrepareForRanges(text, port, index) != 0) return -1;

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
    const LookupIndex& x = Lookup(port);
    for (size_t k = std::min({t.size(), size_t(9), x.longest}); k >= 1; --k) {
        auto it = x.byPrefix.find(t.substr(0, k));
        if (it == x.byPrefix.end()) continue;
        const PrefixGroup& g = x.groups[static_cast<size_t>(it->second)];
        const int r = group == 0 ? g.firstRegister : group == 1 ? g.firstCoil : -1;
        if (r >= 0) return r;
    }
    return -1;
}

int CPlcRegisterTables::IsAllDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return 0;
    return 1;
}

std::string CPlcRegisterTables::NumberCellMessage(int column, const std::string& text, bool newer, bool slave) const {
    const bool digits = IsAllDigits(text) == 1;  // the empty text too, as the number 0
    const int value = Atoi(text);
    switch (column) {
    case 1: {
        const int limit = g_nBlockWordLimit;
        const std::string both = platform::Format(
            "For word operation, valid entry is 1- %d. For bit operation, valid entry is 1 - %d. Please enter valid data.",
            limit, limit);
        if (!digits) return both;
        if (value == 0 || value > limit)
            return slave ? both
                         : platform::Format(
                               "For word operation, valid entry is 1- %d. For bit operation, valid entry is 1. Please enter valid data.",
                               limit);
        return std::string();
    }
    case 3:
        if (newer) return !digits || value > 255 ? "Valid range is 0 to 255. Please enter valid data." : std::string();
        if (!digits) return "Valid range is 1 to  255. Please enter valid data.";
        return value > 255 ? "Valid range is 1 to 255. Please enter valid data." : std::string();
    case 6:
        if (!digits || value > 255)
            return newer ? "Valid range is 0 to 255. Please enter valid data." : "Valid range is 1 to 255. Please enter valid data.";
        return std::string();
    case 8:
        return !digits || value > 99 || value == 0 ? "Valid range is 1 to 99. Please enter valid data." : std::string();
    case 9:
        if (!newer) return std::string();
        return !digits || value > 255 ? "Valid range is 1 to 255. Please enter valid data." : std::string();
    default:
        return std::string();
    }
}

namespace {

const char* const kAddressOutOfRange =
    "Address out of range. Please enter valid data. To see details, click on 'Get PLC Address' Button.";

}  // namespace

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
            else if ((port == 1 ? ValidateAddressCom1(entry, i) : ValidateAddressCom2(entry, i)) == 1 ||
                     HasPartsBeyondRegister(entry, port, i))
                report(kAddressOutOfRange);  // a refusal is always told
        }
        break;
    }
    case 1:
    case 3:
    case 6:
    case 8:
        if (const std::string message = NumberCellMessage(g_nBlockEditCol, cellText, false, g_bBlockExSlaveMode == 1);
            !message.empty())
            report(message);
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

int CPlcRegisterTables::Com2HasCanDriver() const {
    // As the address dialog decides: the driver list when there is one, else the flag as it stands.
    if (g_arrCanDrivers.empty()) return g_bCom2IsCAN == 1 ? 1 : 0;
    return std::find(g_arrCanDrivers.begin(), g_arrCanDrivers.end(), g_strPlc2DriverId) != g_arrCanDrivers.end() ? 1 : 0;
}

CPlcRegisterTables::BitFault CPlcRegisterTables::CheckAddressBit(const std::string& address, int port) const {
    const size_t underscore = address.find('_');
    if (underscore == std::string::npos) return kBitTaken;
    const std::string bit = address.substr(underscore + 1);
    if (bit.empty() || IsAllDigits(bit) != 1) return kBitValue;
    const size_t first = bit.find_first_not_of('0');
    // Leading zeros are kept as typed; the value is what counts.
    if (first != std::string::npos && (bit.size() - first > 2 || Atoi(bit.substr(first)) > 15)) return kBitValue;
    if (Com2HasCanDriver() == 1) return kBitWithCan;
    if (IsCoilAddress(address, port) == 1) return kBitOnCoil;
    return kBitTaken;
}

CPlcRegisterTables::AddressFault CPlcRegisterTables::CheckBlockAddress(const std::string& address, int port,
                                                                       bool newer, BitFault* bitFault) const {
    if (bitFault) *bitFault = kBitTaken;
    // The characters the cell edits keep.
    for (char c : address) {
        const bool kept = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ':' || c == '/' || (newer && c == '_');
        if (!kept) return kAddressCharacters;
    }
    const int r = FindRegisterByPrefix(address, port);
    if (r == -1) return kAddressPrefix;
    if ((port == 1 ? ValidateAddressCom1(address, r) : ValidateAddressCom2(address, r)) > 0 ||
        HasPartsBeyondRegister(address, port, r))
        return kAddressRange;
    if (newer) {
        const BitFault fault = CheckAddressBit(address, port);
        if (bitFault) *bitFault = fault;
        if (fault != kBitTaken) return kAddressBit;
    }
    return kAddressTaken;
}

bool CPlcRegisterTables::HasPartsBeyondRegister(const std::string& address, int port, int index) const {
    const PortTables t = Port(port == 1 ? 1 : 2);
    if (!InRange(t.prefix, index)) return false;
    const std::string word = address.substr(0, address.find('_'));
    const auto marks = std::count_if(word.begin(), word.end(), [](char c) { return c == ':' || c == '/'; });
    const int parts = (IsMarker(t.colonMin[index]) ? 0 : 1) + (IsMarker(t.slashMin[index]) ? 0 : 1);
    return marks > parts;
}

std::string CPlcRegisterTables::BlockPlcCellMessage(const std::string& plc) const {
    if (plc == g_strPLC1Name || plc == g_strPLC2Name) return std::string();
    return "The PLC " + plc + " is not one of the project's PLCs. Please select valid data.";
}

std::string CPlcRegisterTables::BlockAddressFaultText(int row, const std::string& address, AddressFault fault,
                                                      BitFault bit) {
    const int block = row + 1;
    if (fault == kAddressPrefix) return "Invalid Prefix";
    if (fault == kAddressBit) {
        if (bit == kBitOnCoil)
            return platform::Format("Error while compiling block %d. Only a register address can carry a bit.", block);
        if (bit == kBitWithCan)
            return platform::Format("Error while compiling block %d. No address can carry a bit while COM2 has a CAN driver.",
                                    block);
        return platform::Format("Error while compiling block %d. Invalid Bit Value. Please enter valid data.", block);
    }
    return platform::Format("Error while compiling block %d. The address %s is not valid. Please enter valid data.", block,
                            address.c_str());
}

int CPlcRegisterTables::ValidateNewBlockEntry(const std::string& cellText) const {
    IBlockEditorHost* host = GetBlockEditorHost();
    int errors = 0;
    auto report = [&](const std::string& message) {
        ShowNewInfoText(message);
        ++errors;
    };
    const int column = g_nNewBlockEditCol;

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
            if ((port == 1 ? ValidateAddressCom1(entry, i) : ValidateAddressCom2(entry, i)) > 0 ||
                HasPartsBeyondRegister(entry, port, i))
                report(kAddressOutOfRange);  // a refusal is always told
            // Only a word register carries a bit, only 0 to 15, and none while COM2 has a CAN driver.
            // (Letters after '_' read as 0 here; the edit refuses them before this check.)
            const BitFault fault = CheckAddressBit(entry, port);
            if (fault == kBitOnCoil || fault == kBitWithCan || IsBitSuffixOutOfRange(entry)) {
                ShowNewInfoText("Invalid Bit Value. Please enter valid data.");
                if (host) host->MessageBox("Invalid Bit Value. Please enter valid data.", "Invalid Bit", 0x40);
                ++errors;
            }
        }
        break;
    }
    case 1:
    case 3:
    case 6:
    case 8:
    case 9:
        if (const std::string message = NumberCellMessage(column, cellText, true, g_bSlaveMode == 1); !message.empty())
            report(message);
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
    std::string raw[9], cell[9];
    for (int c = 1; c <= 8; ++c) {
        raw[c] = host ? host->GetOlderBlockCellText(row, c) : std::string();
        cell[c] = RemoveTrailingBlanks(raw[c]);
    }

    int missing = CompareAddressArgs(cell[1], cell[2], cell[3], cell[4], cell[5], cell[6], cell[7], cell[8]);
    if (missing > 0) {
        ShowInfoText(platform::Format("Error while compiling block %d. The block is incomplete. ", row + 1));
        return missing + 1;
    }
    if (cell[2] == cell[5]) {
        ShowInfoText(platform::Format("Error while compiling block %d. Same PLCs are selected on both ends.", row + 1));
        return 1;
    }
    // A block read from a file is judged as the image reads it: every cell as it stands,
    // held to the rule of its cell editor, so that what passes is sent as the cell shows it.
    for (int c : {2, 5}) {
        if (const std::string message = BlockPlcCellMessage(raw[c]); !message.empty()) {
            ShowInfoText(platform::Format("Error while compiling block %d. ", row + 1) + message);
            return 1;
        }
    }
    for (int c : {1, 3, 6, 8}) {
        if (const std::string message = NumberCellMessage(c, raw[c], false, g_bBlockExSlaveMode == 1); !message.empty()) {
            ShowInfoText(platform::Format("Error while compiling block %d. ", row + 1) + message);
            return 1;
        }
    }
    int kinds[2];
    for (int side = 0; side < 2; ++side) {
        const std::string& plc = cell[side == 0 ? 2 : 5];
        const std::string& address = raw[side == 0 ? 4 : 7];
        const int port = plc == g_strPLC1Name ? 1 : 2;
        // No bit, no character the edit drops (a blank or tab around the address neither),
        // the register's ranges.
        const AddressFault fault = CheckBlockAddress(address, port, false);
        if (fault != kAddressCharacters && FindRegisterByPrefix(address, port) == -1) {
            ShowInfoText("Invalid Prefix");
            return 1;
        }
        if (fault != kAddressTaken) {
            ShowInfoText(BlockAddressFaultText(row, address, fault, kBitTaken));
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
    m_lookup = LookupCache();
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
