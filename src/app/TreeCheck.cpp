#include "app/TreeCheck.h"

#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <cstdio>

int RunTreeCheck(int, char**) {
    std::printf("Program folder: %s\n", platform::GetProgramFolder().c_str());
    const int count = deffiles::ReadProductCount();
    std::printf("Products: %d\n", count);
    int problems = 0;
    for (int n = 1; n <= count; ++n) {
        const std::string product = deffiles::ReadProductName(n);
        std::printf("\n%s  DeviceID %s  %s generation\n", product.c_str(),
                    deffiles::ReadProductValue("DeviceID", n).c_str(),
                    deffiles::IsNewGeneration(product) ? "newer" : "older");
        if (!platform::DirectoryExists(deffiles::ProductFolder(product))) {
            std::printf("  missing product folder\n");
            ++problems;
            continue;
        }
        for (int port = 1; port <= 2; ++port) {
            for (const deffiles::ProtocolEntry& e : deffiles::ReadProtocols(product, port)) {
                const std::string file = deffiles::PlcDefinitionFile(product, e.plcNo);
                if (!platform::FileExists(file)) {
                    std::printf("  COM%d %-28s PLC %s: missing %s\n", port, e.name.c_str(),
                                e.plcNo.c_str(), file.c_str());
                    ++problems;
                    continue;
                }
                const std::string model = deffiles::ReadText(file, "Plc Info", "Plc1", "");
                CPlcRegisterTables tables;
                tables.ResetProject();
                tables.g_strPlc1Inf = file;
                tables.g_strPlc1Section = model;
                tables.LoadPlcFileCom1();
                std::printf("  COM%d %-28s PLC %-4s %-24s model %-12s %d register types\n", port,
                            e.name.c_str(), e.plcNo.c_str(), tables.g_strPLC1Name.c_str(),
                            model.c_str(), tables.RegisterCount(1));
            }
        }
    }
    std::printf("\n%s\n", problems ? "The tree has problems." : "The tree is complete.");
    return problems ? 1 : 0;
}
