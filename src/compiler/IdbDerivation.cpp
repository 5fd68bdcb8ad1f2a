#include "compiler/IdbDerivation.h"

#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "compiler/BlockAddress.h"
#include "plc/DefinitionFiles.h"
#include "plc/NumConverter.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>

namespace {

std::string Left(const std::string& s, long n) {
    if (n <= 0) return std::string();
    return s.substr(0, std::min(static_cast<size_t>(n), s.size()));
}

std::string Right(const std::string& s, long n) {
    if (n <= 0) return std::string();
    size_t k = std::min(static_cast<size_t>(n), s.size());
    return s.substr(s.size() - k);
}

void InsertAt(std::string& s, long position, char c) {
    if (position < 0) return;
    s.insert(std::min(static_cast<size_t>(position), s.size()), 1, c);
}

bool EndsInTimerLetter(const std::string& t) { return !t.empty() && (t.back() == 'A' || t.back() == 'P'); }

}  // namespace

IdbEntries CollectIdbEntries(const BlockRows& rows, bool idbCom1, bool idbCom2) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    IdbEntries out;
    out.kindCom1.assign(rows.size(), 0);
    out.kindCom2.assign(rows.size(), 0);
    for (size_t i = 0; i < rows.size(); ++i) {
        const BlockRow& row = rows[i];
        const bool com1Sourced = row[kColSourcePlc] == t.g_strPLC1Name;
        const IdbEntry com1{com1Sourced ? row[kColSourceAddr] : row[kColDestAddr],
                            com1Sourced ? row[kColSourceId] : row[kColDestId], row[kColWords]};
        const IdbEntry com2{com1Sourced ? row[kColDestAddr] : row[kColSourceAddr],
                            com1Sourced ? row[kColDestId] : row[kColSourceId], row[kColWords]};
        if (idbCom1) out.kindCom1[i] = t.GetRegisterKind(com1.address, 1);
        if (idbCom2) out.kindCom2[i] = t.GetRegisterKind(com2.address, 2);
        if (idbCom1 && out.kindCom1[i] != 4) out.com1.push_back(com1);
        if (idbCom2 && out.kindCom2[i] != 4) out.com2.push_back(com2);
    }
    const CProjectSettings& s = g_ProjectSettings;
    if (s.g_bCtrlWordEnabled == 1) {
        IdbEntry control{s.g_strCtrlWordShown, platform::Format("%d", s.g_nCtrlWordStation),
                         platform::Format("%d", s.g_nCtrlWordWords)};
        if (s.g_nCtrlWordSide == 0 && idbCom1) out.com1.push_back(control);
        if (s.g_nCtrlWordSide == 1 && idbCom2) out.com2.push_back(control);
    }
    return out;
}

std::string FormatRowStartAddress(int number, const std::string& templ, size_t prefixLength, bool hexadecimal) {
    const std::string N = platform::Format(hexadecimal ? "%X" : "%d", number);
    const long n = static_cast<long>(N.size());
    const size_t colon = templ.find(':');
    const bool letter = EndsInTimerLetter(templ) && !hexadecimal;  // in hexadecimal, A is a digit

    if (colon == std::string::npos) {
        std::string t = letter ? templ.substr(0, templ.size() - 1) : templ;
        long keep = std::max(static_cast<long>(t.size()) - n, static_cast<long>(prefixLength));
        std::string result = Left(t, keep) + N;
        if (letter) result += templ.back();
        return result;
    }

    const long c = static_cast<long>(colon);
    const size_t slashPos = templ.find('/');
    const long s = slashPos == std::string::npos ? static_cast<long>(templ.size()) : static_cast<long>(slashPos);
    const long a = static_cast<long>(templ.size()) - c - 1;
    const std::string P = Left(templ, letter ? c - 1 : c);
    std::string text;
    bool insertColon = true, insertSlash = false;
    // A number longer than the template's digits never overwrites the prefix: the text
    // keeps it and the separators move right by what was kept.
    long shift = 0;
    auto keep = [&](const std::string& from, long k) {
        shift = std::max(0L, static_cast<long>(prefixLength) - k);
        return Left(from, k + shift);
    };

    if (a == 6) {
        insertColon = n >= 6;
        insertSlash = n >= 3;
        switch (n) {
        case 1: text = Left(templ, s + 2) + N; break;
        case 2: text = Left(templ, s + 1) + N; break;
        case 3: text = keep(templ, s - 1) + N; break;
        case 4: text = keep(templ, s - 2) + N; break;
        case 5: text = keep(templ, c + 1) + N; break;
        case 6: text = keep(templ, c - 1) + N; break;
        case 7: text = keep(templ, c - 2) + N; break;
        case 8: text = keep(templ, 1) + N; break;
        default: text = Left(templ, c); break;  // longer numbers are left out
        }
    } else if (a == 3) {
        if (n == 1) text = P + "00" + N;
        else if (n == 2) text = P + "0" + N;
        else if (n <= 6) text = keep(templ, c - (n - 3)) + N;
        else text = P;
    } else {
        const std::string R = P + N;
        if (letter) text = Left(R, c - 1) + Right(R, a) + templ.back();
        else if (n <= 5) text = Left(R, c) + Right(R, a);
        else if (n <= 8) text = keep(R, c - (n - 5)) + Right(R, c + (n - 4));
        else text = P;
    }
    if (insertColon) InsertAt(text, c + shift, ':');
    if (insertSlash) InsertAt(text, s + shift, '/');
    return text;
}

std::vector<IdbRow> DeriveIdbRows(const std::vector<IdbEntry>& entries, int port, int limit) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const int L = limit < 1 ? 10 : limit;  // a limit below 1 counts as the default
    std::vector<IdbRow> rows;

    std::vector<int> reg(entries.size()), stationOf(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        reg[i] = t.FindRegisterByPrefix(AddressPrefixPart(entries[i].address), port);
        stationOf[i] = platform::Atoi(entries[i].station);
    }

    std::vector<bool> taken(entries.size(), false);
    for (size_t first = 0; first < entries.size(); ++first) {
        if (taken[first]) continue;
        std::vector<size_t> group;
        for (size_t i = first; i < entries.size(); ++i) {
            if (!taken[i] && reg[i] == reg[first]) {
                taken[i] = true;
                group.push_back(i);
            }
        }
        const int r = reg[first];
        if (r < 0) continue;  // no register: nothing the unit could poll

        // Sort by station with the exchange sort the unit's tables have always had.
        auto station = [&](size_t member) { return stationOf[member]; };
        for (size_t x = 0; x < group.size(); ++x)
            for (size_t y = 0; y < x; ++y)
                if (station(group[y]) > station(group[x])) std::swap(group[x], group[y]);

        const std::string& plcId = port == 1 ? t.g_strPLC1Id : t.g_strPLC2Id;
        const int radix = platform::Atoi((port == 1 ? t.g_arrPlc1RegRadix : t.g_arrPlc2RegRadix)[static_cast<size_t>(r)]);
        // Mixed registers (code 5) carry hexadecimal digits.
        const int code = radix == 5 ? 1 : radix;
        const bool hexadecimal = code == 1;
        const size_t prefixLength = (port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[static_cast<size_t>(r)].size();

        for (size_t runStart = 0; runStart < group.size();) {
            size_t runEnd = runStart;
            while (runEnd < group.size() && station(group[runEnd]) == station(group[runStart])) ++runEnd;

            bool halving = plcId == "126" || plcId == "77" || plcId == "29";
            for (size_t m = runStart; m < runEnd; ++m)
                if (IsTimerCounterRegister(entries[group[m]].address, port)) halving = false;

            struct Item {
                double value;
                int words;
                std::string address;
            };
            std::vector<Item> items;
            for (size_t m = runStart; m < runEnd; ++m) {
                const IdbEntry& e = entries[group[m]];
                std::string address = e.address;
                std::string words = e.words;
                if (HasUnderscore(address)) {
                    words = AddressNumberText(SplitAtUnderscore(address), e.words);
                    address = AddressPrefixPart(address);
                }
                std::string colon = port == 1 ? t.GetAddressColonPartCom1(address, r) : t.GetAddressColonPartCom2(address, r);
                std::string text = (port == 1 ? t.GetAddressNumberPartCom1(address, r) : t.GetAddressNumberPartCom2(address, r));
                if (!colon.empty()) {
                    text += colon;
                    if (port == 2) text += t.GetAddressSlashPartCom2(address, r);
                }
                double value = CNumConverter().TextToDouble(text, code);
                if (halving) value /= 2.0;
                // No register runs past 32 bits: a number beyond (a damaged file) polls nothing.
                if (!(value >= 0.0 && value <= 4294967295.0)) continue;
                items.push_back({value, platform::Atoi(words), address});
            }
            if (items.empty()) {
                runStart = runEnd;
                continue;
            }
            std::stable_sort(items.begin(), items.end(), [](const Item& x, const Item& y) { return y.value > x.value; });
            const std::string templ = items.front().address;
            const std::string stationText = entries[group[runStart]].station;

            std::vector<Item> pending = items;
            long long s = static_cast<long long>(std::trunc(pending.front().value));
            while (!pending.empty()) {
                bool full = false;
                std::vector<Item> placed, left;
                bool stop = false;
                for (const Item& it : pending) {
                    if (stop || it.value > static_cast<double>(s + L - 1)) {
                        stop = true;
                        left.push_back(it);
                    } else if (it.value + it.words > static_cast<double>(s + L)) {
                        full = true;
                        left.push_back(it);
                    } else {
                        placed.push_back(it);
                    }
                }
                long long end = s;
                for (const Item& it : placed)
                    end = std::max(end, static_cast<long long>(std::trunc(it.value)) + it.words);
                const long long shown = halving ? s * 2 : s;
                // A row that starts where the lowest entry starts is named by that entry's
                // own address: rewriting it could only lose its form (a bit part, a
                // register sharing its prefix with another).
                const bool atTemplate = !halving && static_cast<double>(s) == items.front().value;
                rows.push_back({stationText,
                                atTemplate ? templ
                                           : FormatRowStartAddress(static_cast<int>(shown), templ, prefixLength, hexadecimal),
                                full ? L : static_cast<int>(end - s)});
                pending = left;
                if (pending.empty()) break;
                s += L;
                const long long next = static_cast<long long>(std::trunc(pending.front().value));
                if (pending.front().value > static_cast<double>(s)) s = next;
            }
            runStart = runEnd;
        }
    }
    return rows;
}

void AddDefCommRegisterForRow(int port, const IdbRow& row, int paneRows) {
    CDefCommRegTables& d = g_DefCommRegs;
    StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
    StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
    StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
    uint8_t* data = port == 1 ? d.g_abAttachRegData1 : d.g_abAttachRegData2;

    if (paneRows == 1) {
        station.clear();
        addr.clear();
        codes.clear();
        if (port == 2) g_EthNodeTable.g_arrNodeAddress.clear();
    } else if (!station.empty() && platform::Atoi(row.station) <= platform::Atoi(station.back())) {
        return;
    }
    const size_t index = station.size();
    if (index >= 150) return;  // the register data holds 150 stations
    station.push_back(row.station);
    addr.push_back(row.start);
    data[index] = static_cast<uint8_t>(g_PlcRegisterTables.IsCoilAddress(row.start, port));
    std::string key = port == 1 ? g_PlcRegisterTables.ParseAddressCom1(row.start)
                                : g_PlcRegisterTables.ParseAddressCom2(row.start);
    codes.push_back(key.substr(0, 9));
    if (port == 2) g_EthNodeTable.g_arrNodeAddress.push_back(row.station);
}


namespace {
constexpr int kDefaultIdbLimit = 10;
}  // namespace

void LoadIdbSwitches() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    auto read = [](const std::string& inf, int& on, int& limit) {
        on = 0;
        limit = kDefaultIdbLimit;
        if (inf.empty()) return;
        on = platform::EqualsNoCase(deffiles::ReadText(inf, "Plc Info", "IDB", "NA"), "True") ? 1 : 0;
        limit = deffiles::ReadInt(inf, "Plc Info", "limit", kDefaultIdbLimit);
        if (limit < 1) limit = kDefaultIdbLimit;
    };
    read(t.g_strPlc1Inf, g_IdbSwitches.m_bIdbCom1, g_IdbSwitches.m_nIdbLimitCom1);
    read(t.g_strPlc2Inf, g_IdbSwitches.m_bIdbCom2, g_IdbSwitches.m_nIdbLimitCom2);
}

int IdbRowLimit(int port) {
    const int limit = port == 1 ? g_IdbSwitches.m_nIdbLimitCom1 : g_IdbSwitches.m_nIdbLimitCom2;
    return limit < 1 ? kDefaultIdbLimit : limit;
}
