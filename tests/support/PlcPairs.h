// The products of the sample tree and every pair of a protocol model on each port, for the
// tests that walk every pair the program offers.
#pragma once

#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct PlcPair {
    std::string product;
    unsigned deviceId;
    std::pair<std::string, std::string> ports[2];  // protocol and model
};

// Every pair of every product; with `newerOnly` only those of the newer project layout.
inline std::vector<PlcPair> EveryPlcPair(bool newerOnly) {
    std::vector<PlcPair> pairs;
    for (int n = 1; n <= deffiles::ReadProductCount(); ++n) {
        const std::string product = deffiles::ReadText(deffiles::ProductsInf(), "ProductList",
                                                       deffiles::NumberedKey("Product", n), "", 256);
        const unsigned deviceId = unsigned(std::stoi(deffiles::ReadProductValue("DeviceID", n, "0")));
        if (newerOnly && (deviceId == 84 || deffiles::ReadDataProjectVersion(product) == 2)) continue;
        std::vector<std::pair<std::string, std::string>> models[2];
        for (int port = 1; port <= 2; ++port)
            for (const deffiles::ProtocolEntry& entry : deffiles::ReadProtocols(product, port)) {
                const std::string file = deffiles::PlcDefinitionFile(product, entry.plcNo);
                for (int m = 1; m <= deffiles::ReadInt(file, "Plc Info", "Plc Model count"); ++m)
                    models[port - 1].push_back(
                        {entry.name, deffiles::ReadText(file, "Plc Info", deffiles::NumberedKey("Plc", m), "", 256)});
            }
        for (const auto& one : models[0])
            for (const auto& two : models[1]) pairs.push_back({product, deviceId, {one, two}});
    }
    return pairs;
}

// The key of the address as register type r of the port (1 or 2) names it: its prefix, then
// each part without leading zeros filled to the width of the type's lowest part, a part the
// type marks ("**", "A*", "P*") by its mark, '*' up to nine. The unit must get this key for
// an address composed on type r, whichever type a lookup of the text would find.
inline std::string KeyOfType(int port, int r, const std::string& address) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool one = port == 1;
    const size_t i = size_t(r);
    const std::string parts[3] = {
        one ? t.GetAddressNumberPartCom1(address, r) : t.GetAddressNumberPartCom2(address, r),
        one ? t.GetAddressColonPartCom1(address, r) : t.GetAddressColonPartCom2(address, r),
        one ? t.GetAddressSlashPartCom1(address, r) : t.GetAddressSlashPartCom2(address, r)};
    const std::string lowest[3] = {(one ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin)[i],
                                   (one ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin)[i],
                                   (one ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin)[i]};
    std::string key = (one ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[i];
    for (int p = 0; p < 3; ++p) {
        if (p > 0 && CPlcRegisterTables::IsMarker(lowest[p])) {
            key += lowest[p];
            continue;
        }
        const std::string digits = parts[p].substr(std::min(parts[p].find_first_not_of('0'), parts[p].size()));
        key += CPlcRegisterTables::FitStringToWidth(digits, unsigned(lowest[p].size()));
    }
    key.resize(std::max<size_t>(key.size(), 9), '*');
    return key.substr(0, 9);
}

}  // namespace testsupport
