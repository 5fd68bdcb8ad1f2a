#include "plc/DefinitionFiles.h"

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace deffiles {

namespace {
std::string Root() { return platform::GetProgramFolder(); }
}  // namespace

std::string ProductsInf() { return Root() + "Products\\products.inf"; }
std::string ProductStatusInf() { return Root() + "Products\\ProductStatus.inf"; }
std::string ToolTipsInf() { return Root() + "Products\\ToolTips.inf"; }
std::string CustomizeInfoInf() { return Root() + "Products\\CustomizeInfo.inf"; }
std::string PlcListInf() { return Root() + "Products\\plclist.inf"; }
std::string ProductFolder(const std::string& product) { return Root() + product; }
std::string DataInf(const std::string& product) { return ProductFolder(product) + "\\Data\\data.inf"; }
std::string PlcFolder(const std::string& product) { return ProductFolder(product) + "\\Plc\\"; }
std::string ProjectsFolder(const std::string& product) { return ProductFolder(product) + "\\Projects\\"; }
std::string CanDriversInf(const std::string& product) { return PlcFolder(product) + "CANDrivers.inf"; }
std::string PgnLengthInf(const std::string& product) { return PlcFolder(product) + "PGNLength.inf"; }
std::string PlcDefinitionFile(const std::string& product, const std::string& plcNo) {
    return PlcFolder(product) + plcNo + "00_004.inf";
}

std::string ReadText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& def, size_t bufferSize) {
    return platform::GetPrivateProfileString(section, key, def, bufferSize, file);
}

int ReadInt(const std::string& file, const std::string& section, const std::string& key, int def) {
    return platform::GetPrivateProfileInt(section, key, def, file);
}

int ReadSlaveKey(const std::string& plcFile) { return ReadInt(plcFile, "Plc Info", "Slave", -1); }

int OlderPairSlaveKey(const std::string& com1File, const std::string& com2File) {
    int slave = ReadSlaveKey(com2File);
    if (slave == -1) slave = ReadSlaveKey(com1File);
    return slave == -1 ? 0 : slave;
}

std::string NumberedKey(const std::string& base, int n) { return base + std::to_string(n); }

int ReadProductCount() {
    return platform::BoundedCount(
        platform::Atoi(ReadText(ProductsInf(), "ProductList", "ProductCount", kCorruptProductFile, 260)),
        platform::kMaxListCount, ProductsInf(), "ProductCount");
}

std::string ReadProductName(int n) {
    return ReadText(ProductsInf(), "ProductList", NumberedKey("Product", n), "1", 260);
}

std::string ReadProductValue(const std::string& base, int n, const std::string& def) {
    return ReadText(ProductsInf(), "ProductList", NumberedKey(base, n), def);
}

std::string ReadProductDSize(int n) {
    return ReadText(ProductsInf(), "ProductList", NumberedKey("Product", n) + "DSize", "1");
}

int FindProductEntry(const std::string& product) {
    int found = 0;
    const int count = ReadProductCount();
    for (int n = 1; n <= count; ++n)
        if (ReadProductName(n) == product) found = n;  // a later equal name wins
    return found;
}

int FindProductEntryByDeviceId(unsigned deviceId) {
    const int count = ReadProductCount();
    for (int n = 1; n <= count; ++n)
        if (platform::Atoi(ReadProductValue("DeviceID", n)) == static_cast<int>(deviceId)) return n;
    return 0;
}

int ReadRecentProjectCount() { return ReadInt(ProductsInf(), "ProjectFile", "ProjectCount", -1); }

std::string ReadRecentProject(int n, size_t bufferSize) {
    return ReadText(ProductsInf(), "ProjectFile", NumberedKey("Prj", n), kCorruptDataFile, bufferSize);
}

int ReadProductsComPort() { return ReadInt(ProductsInf(), "Com", "Port", -1); }

std::string ReadProductStatus(const std::string& product) {
    return ReadText(ProductStatusInf(), product, "Status", "NA");
}

bool IsNewGeneration(const std::string& product) { return ReadProductStatus(product) == "New"; }

std::string ReadToolTip(const std::string& product) {
    return ReadText(ToolTipsInf(), product, "ToolTip", "1", 1024);
}

std::string ReadAboutText(const std::string& key) {
    return ReadText(CustomizeInfoInf(), "AboutBox", key, "Information Not Available ", 200);
}

int ReadPlcListCount() {
    return platform::BoundedCount(platform::Atoi(ReadText(PlcListInf(), "PLCList", "PLCCount", kCorruptProductFile)),
                                  platform::kMaxListCount, PlcListInf(), "PLCCount");
}
std::string ReadPlcListNo(int n) { return ReadText(PlcListInf(), "PLCList", NumberedKey("PLCNo", n), "1"); }
std::string ReadPlcListHelp(int n) { return ReadText(PlcListInf(), "PLCList", NumberedKey("PLCHelp", n), "1"); }

std::vector<ProtocolEntry> ReadProtocols(const std::string& product, int port) {
    const std::string file = DataInf(product);
    const std::string section = port == 1 ? "PlcCom1" : "PlcCom2";
    std::vector<ProtocolEntry> entries;
    const int count = platform::BoundedCount(platform::Atoi(ReadText(file, section, "PlcCount", kCorruptPlcFile)),
                                             platform::kMaxListCount, file, "PlcCount");
    for (int n = 1; n <= count; ++n) {
        ProtocolEntry e;
        e.name = ReadText(file, section, NumberedKey("Plc", n), "1");
        e.plcNo = ReadProtocolPlcNo(product, e.name);
        entries.push_back(e);
    }
    return entries;
}

std::string ReadProtocolPlcNo(const std::string& product, const std::string& entry) {
    return ReadText(DataInf(product), entry, "PlcNo", kCorruptPlcFile);
}

int ReadDataComPort(const std::string& product) { return ReadInt(DataInf(product), "Com", "Port", -1); }
int ReadDataProjectVersion(const std::string& product) {
    return ReadInt(DataInf(product), "ProjectFile", "ProjectVersion", -1);
}
int ReadMacAddressShow(const std::string& product) {
    return ReadInt(DataInf(product), "MAC Address", "Show", -1);
}

std::vector<std::string> ReadCanDrivers(const std::string& product) {
    const std::string file = CanDriversInf(product);
    std::vector<std::string> ids;
    const int count = platform::BoundedCount(ReadInt(file, "CANDrivers", "PlcCount", -1), platform::kMaxListCount,
                                             file, "PlcCount");
    for (int n = 1; n <= count; ++n) ids.push_back(ReadText(file, "CANDrivers", NumberedKey("Plc", n), "NA", 10));
    return ids;
}

bool IsCanDriver(const std::string& product, const std::string& driverId) {
    for (const std::string& id : ReadCanDrivers(product))
        if (id == driverId) return true;
    return false;
}

std::string ReadPgnEntry(const std::string& product, const std::string& pgnKey) {
    return ReadText(PgnLengthInf(product), "PGN Info", pgnKey, kCorruptFile);
}

}  // namespace deffiles
