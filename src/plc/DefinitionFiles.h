#pragma once
// The definition tree beside the program: products.inf, ProductStatus.inf, ToolTips.inf,
// CustomizeInfo.inf, plclist.inf, each product's data.inf, CANDrivers.inf and
// PGNLength.inf. Every read goes to the file (nothing is cached), with the defaults the
// system has always used for a missing file or key.
#include <string>
#include <vector>

namespace deffiles {

// Defaults of missing text keys.
inline constexpr const char* kCorruptProductFile = "Corrupt Product file ";
inline constexpr const char* kCorruptPlcFile = "Corrupt PLC file ";
inline constexpr const char* kCorruptDataFile = "Corrupt Data file ";
inline constexpr const char* kCorruptFile = "Corrupt file ";

// Paths, built from the program folder with backslashes as the system writes them.
std::string ProductsInf();       // Products\products.inf
std::string ProductStatusInf();  // Products\ProductStatus.inf
std::string ToolTipsInf();       // Products\ToolTips.inf
std::string CustomizeInfoInf();  // Products\CustomizeInfo.inf
std::string PlcListInf();        // Products\plclist.inf
std::string ProductFolder(const std::string& product);  // without a trailing backslash
std::string DataInf(const std::string& product);        // <product>\Data\data.inf
std::string PlcFolder(const std::string& product);      // <product>\Plc\ (with backslash)
std::string ProjectsFolder(const std::string& product); // <product>\Projects\ (with backslash)
std::string CanDriversInf(const std::string& product);  // <product>\Plc\CANDrivers.inf
std::string PgnLengthInf(const std::string& product);   // <product>\Plc\PGNLength.inf
// The PLC definition file of a PLC number: <product>\Plc\<number>00_004.inf
std::string PlcDefinitionFile(const std::string& product, const std::string& plcNo);

// One key; text keys are cut at the buffer size less one.
std::string ReadText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& def, size_t bufferSize = 80);
int ReadInt(const std::string& file, const std::string& section, const std::string& key,
            int def = -1);
// [Plc Info] "Slave" of a PLC definition file: 1 for a slave driver, -1 when the file has
// no such key.
int ReadSlaveKey(const std::string& plcFile);
// The older editor's slave mode of a PLC pair: the COM2 file's key decides, else the COM1
// file's; 0 when neither has one.
int OlderPairSlaveKey(const std::string& com1File, const std::string& com2File);
// "Product" + 3 -> "Product3"
std::string NumberedKey(const std::string& base, int n);

// products.inf [ProductList]
int ReadProductCount();                      // atoi of the text, 0 when missing
std::string ReadProductName(int n);          // default "1"
// A numbered value of product n ("ProductNo", "DeviceID", "ProjectVersion",
// "ProductFirmwareVersion", "ProductBlockSize", "ProductStatus", ...), default "1".
std::string ReadProductValue(const std::string& base, int n, const std::string& def = "1");
// "Product" n "DSize"
std::string ReadProductDSize(int n);
// The entry whose name is the product (the last such entry), or 0.
int FindProductEntry(const std::string& product);
// The entry whose DeviceID is the id, or 0.
int FindProductEntryByDeviceId(unsigned deviceId);

// products.inf [ProjectFile] and [Com]
int ReadRecentProjectCount();  // integer, -1 when missing
std::string ReadRecentProject(int n, size_t bufferSize = 300);
int ReadProductsComPort();     // integer, -1 when missing

// ProductStatus.inf: "New" (exactly) selects the newer generation.
std::string ReadProductStatus(const std::string& product);  // default "NA"
bool IsNewGeneration(const std::string& product);

// ToolTips.inf and CustomizeInfo.inf
std::string ReadToolTip(const std::string& product);  // 1024 bytes, default "1"
std::string ReadAboutText(const std::string& key);    // 200 bytes, "Information Not Available "

// plclist.inf [PLCList]
int ReadPlcListCount();
std::string ReadPlcListNo(int n);
std::string ReadPlcListHelp(int n);

// data.inf of a product
struct ProtocolEntry {
    std::string name;   // shown in the protocol tree; also the name of its own section
    std::string plcNo;  // names the PLC definition file
};
// The protocols of a port (1 = [PlcCom1], 2 = [PlcCom2]).
std::vector<ProtocolEntry> ReadProtocols(const std::string& product, int port);
std::string ReadProtocolPlcNo(const std::string& product, const std::string& entry);
int ReadDataComPort(const std::string& product);        // [Com] "Port", -1 when missing
int ReadDataProjectVersion(const std::string& product); // [ProjectFile] "ProjectVersion"
int ReadMacAddressShow(const std::string& product);     // [MAC Address] "Show"

// Plc\CANDrivers.inf: the driver ids whose COM2 side uses the parameter-group layout.
std::vector<std::string> ReadCanDrivers(const std::string& product);
bool IsCanDriver(const std::string& product, const std::string& driverId);

// Plc\PGNLength.inf [PGN Info]: the value of a group's key ("0x...").
std::string ReadPgnEntry(const std::string& product, const std::string& pgnKey);

}  // namespace deffiles
