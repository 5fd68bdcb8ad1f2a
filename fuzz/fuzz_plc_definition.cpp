// PLC definition files above the profile layer: the register tables with their prefixes,
// radixes and widths, addresses parsed, checked and formatted with what the file gives,
// the feature keys and general-entity items, the protocol lists of data.inf, and the CAN
// and PGN files. The input is every one of these files at once.
#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "plc/FeatureKeys.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string g_root;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_root = "/tmp/quorvex-fuzz-plc-" + std::to_string(getpid()) + "/";
    platform::MakeDirectories(g_root + "FZ/Plc");
    platform::MakeDirectories(g_root + "FZ/Data");
    platform::MakeDirectories(g_root + "Products");
    platform::WriteFileBytes(g_root + "Products/products.inf", "[ProductList]\r\nProductCount=1\r\nProduct1=FZ\r\n");
    platform::SetProgramFolder(g_root);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    g_szProductName = g_szProductPath = "FZ";
    const std::string plc = deffiles::PlcDefinitionFile("FZ", "1");
    for (const std::string& file : {plc, deffiles::DataInf("FZ"), deffiles::CanDriversInf("FZ"), deffiles::PgnLengthInf("FZ")})
        if (FILE* f = std::fopen(platform::ResolvePath(file).c_str(), "wb")) {  // no flush: fast runs
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
            // A time stamp of its own, long past: the file counts as settled and is
            // parsed once, as the program's definition files are.
            static long run = 0;
            const struct timespec times[2] = {{1000000 + ++run, 0}, {1000000 + run, 0}};
            utimensat(AT_FDCWD, platform::ResolvePath(file).c_str(), times, 0);
        }

    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_strPlc1Inf = t.g_strPlc2Inf = plc;
    t.g_strPlc1Section = platform::GetPrivateProfileString("Plc Info", "Plc1", "Standard", 80, plc);
    t.g_strPlc2Section = platform::GetPrivateProfileString("Plc Info", "Plc2", t.g_strPlc1Section, 80, plc);
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();
    LoadExtendedSetupKeys();
    LoadGeneralEntityDefs();

    // Addresses made of each register's own prefix and limits.
    for (int port : {1, 2}) {
        const int count = t.RegisterCount(port);
        for (int i = 0; i < count && i < 64; ++i) {
            const std::string range = port == 1 ? t.GetRegisterRangeTextCom1(i) : t.GetRegisterRangeTextCom2(i);
            const std::string& prefix = (port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[size_t(i)];
            const std::string& low = (port == 1 ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin)[size_t(i)];
            for (const std::string& text : {prefix + low, prefix + low + ":1/2", prefix, range}) {
                if (port == 1) {
                    (void)t.ValidateAddressCom1(text, i);
                    (void)t.ParseAddressCom1(text);
                    (void)t.FormatAddressCom1(t.GetAddressNumberPartCom1(text, i), t.GetAddressColonPartCom1(text, i),
                                              t.GetAddressSlashPartCom1(text, i), i);
                } else {
                    (void)t.ValidateAddressCom2(text, i);
                    (void)t.ParseAddressCom2(text);
                    (void)t.FormatAddressCom2(t.GetAddressNumberPartCom2(text, i), t.GetAddressColonPartCom2(text, i),
                                              t.GetAddressSlashPartCom2(text, i), i);
                }
                (void)t.GetRegisterKind(text, port);
                (void)t.FindRegisterByPrefix(text, port);
                (void)CPlcRegisterTables::IncrementAddressText(text, i % 3);
                (void)CPlcRegisterTables::ReadPgnLength(text);
            }
        }
    }
    for (int port : {1, 2}) (void)deffiles::ReadProtocols("FZ", port);
    (void)deffiles::ReadCanDrivers("FZ");
    (void)platform::TakeFileProblems();
    return 0;
}
