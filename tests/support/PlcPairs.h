// The products of the sample tree and every pair of a protocol model on each port, for the
// tests that walk every pair the program offers.
#pragma once

#include "plc/DefinitionFiles.h"

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

}  // namespace testsupport
