#include "projectfiles/ProjectFileSections.h"

#include "model/ExtendedTables.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "model/IpAddress.h"

#include <algorithm>
#include <cstring>

namespace prjfile {

namespace {

const std::string& At(const StringArray& a, size_t i, const std::string& fallback) {
    return i < a.size() ? a[i] : fallback;
}

std::string RegisterKey(const std::string& address, int port) {
    std::string key = port == 1 ? g_PlcRegisterTables.ParseAddressCom1(address)
                                : g_PlcRegisterTables.ParseAddressCom2(address);
    return key.substr(0, 9);
}

// Reads the section code; when it is another, the position stays where it was.
bool SectionCode(FieldReader& r, int code) {
    size_t start = r.Tell();
    if (r.Remaining() == 0) return false;
    if (r.Byte() == code) return true;
    r.Seek(start);
    return false;
}

}  // namespace

void WriteNodeTableSection(FieldWriter& w) {
    const CEthNodeTable& t = g_EthNodeTable;
    size_t n = std::min({t.g_arrNodeIp.size(), t.g_arrNodeAddress.size(), kMaxNodes});
    w.Byte(static_cast<int>(n));
    static const std::string kDefaultPort = "502";
    for (size_t i = 0; i < n; ++i) {
        w.Byte(platform::Atoi(t.g_arrNodeAddress[i]));
        w.U16BE(static_cast<unsigned>(platform::Atoi(At(t.g_arrNodePort, i, kDefaultPort))));
        uint8_t a, b, c, d;
        ParseIpAddress(t.g_arrNodeIp[i], a, b, c, d);
        w.Byte(a);
        w.Byte(b);
        w.Byte(c);
        w.Byte(d);
    }
}

void WriteTagTableSection(FieldWriter& w) {
    const CEipTagTable& t = g_EipTagTable;
    size_t n = std::min(t.g_arrTagCode.size(), size_t(255));
    w.Byte(static_cast<int>(n));
    static const std::string kNone;
    for (size_t i = 0; i < n; ++i) {
        w.Text(t.g_arrTagCode[i], 9);
        w.Byte(t.g_awTagSize[i] & 0xFF);
        w.Byte(t.g_abTagType[i]);
        std::string name = At(t.g_arrTagName, i, kNone).substr(0, kMaxTagName);
        w.Byte(static_cast<int>(name.size()));
        w.Raw(name);
    }
}

void WriteRecipeSection(FieldWriter& w) {
    const CRecipeTables& t = g_RecipeTables;
    size_t n = std::min(t.g_arrRecipeAddr.size(), size_t(kMaxRecipeRows));
    w.Byte(kRecipeSectionCode);
    w.Byte(static_cast<int>(n));
    for (size_t i = 0; i < n; ++i) {
        w.Byte(t.g_abRecipePort[i]);
        w.Byte(t.g_abRecipeCol1[i]);
        w.Byte(t.g_abRecipeCol2[i]);
        std::string address = t.g_arrRecipeAddr[i].substr(0, kMaxRecipeAddress);
        w.Byte(static_cast<int>(address.size()));
        w.Raw(address);
        w.U16LE(t.g_awRecipeValue[i]);
    }
}

void WriteAttachRegSection(FieldWriter& w, int port) {
    CDefCommRegTables& d = g_DefCommRegs;
    const StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
    const StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
    StringArray& words = port == 1 ? d.g_arrAttachRegWords1 : d.g_arrAttachRegWords2;
    StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
    size_t n = std::min(addr.size(), size_t(255));
    const bool noWords = words.empty();
    codes.clear();
    w.Byte(port == 1 ? kAttachRegCom1SectionCode : kAttachRegCom2SectionCode);
    w.Byte(static_cast<int>(n));
    static const std::string kZero = "0", kOne = "1";
    for (size_t i = 0; i < n; ++i) {
        codes.push_back(RegisterKey(addr[i], port));
        if (noWords) words.push_back("1");
        w.Byte(platform::Atoi(At(station, i, kZero)));
        std::string address = addr[i].substr(0, kMaxAttachRegAddress);
        w.Byte(static_cast<int>(address.size()));
        w.Raw(address);
        w.Byte(platform::Atoi(At(words, i, kOne)));
    }
}

void WriteGeneralEntitySections(FieldWriter& w) {
    const CGeneralEntityTables& g = g_GeneralEntity;
    auto section = [&](int code, int count, int length, const uint8_t* values) {
        size_t len = static_cast<size_t>(std::clamp(length, 0, static_cast<int>(kMaxExtSetupBytes)));
        w.Byte(code);
        w.Byte(count);
        w.Byte(static_cast<int>(len));
        w.Raw(std::string(reinterpret_cast<const char*>(values), len));
    };
    if (g_bGeneralEntityCom1 == 1)
        section(kGeneralEntityCom1SectionCode, g.g_nGeneralEntityCount1, g.g_nExtSetupLen1, g.g_abExtSetup1);
    if (g_bGeneralEntityCom2 == 1)
        section(kGeneralEntityCom2SectionCode, g.g_nGeneralEntityCount2, g.g_nExtSetupLen2, g.g_abExtSetup2);
}

bool ReadNodeTableSection(FieldReader& r) {
    CEthNodeTable& t = g_EthNodeTable;
    t.g_arrNodeAddress.clear();
    t.g_arrNodePort.clear();
    t.g_arrNodeIp.clear();
    size_t n = static_cast<size_t>(r.Byte());
    if (!r.Ok() || n > kMaxNodes) return false;
    for (size_t i = 0; i < n; ++i) {
        int address = r.Byte();
        unsigned port = r.U16BE();
        int a = r.Byte(), b = r.Byte(), c = r.Byte(), d = r.Byte();
        if (!r.Ok()) return false;
        t.g_arrNodeAddress.push_back(std::to_string(address));
        t.g_arrNodePort.push_back(std::to_string(port));
        t.g_arrNodeIp.push_back(FormatIpAddress(a, b, c, d));
    }
    return true;
}

bool ReadTagTableSection(FieldReader& r) {
    CEipTagTable& t = g_EipTagTable;
    t.g_arrTagCode.clear();
    t.g_arrTagName.clear();
    std::memset(t.g_awTagSize, 0, sizeof t.g_awTagSize);
    std::memset(t.g_abTagType, 0, sizeof t.g_abTagType);
    size_t n = static_cast<size_t>(r.Byte());
    if (!r.Ok()) return false;
    for (size_t i = 0; i < n; ++i) {
        std::string code = r.Text(9);
        t.g_awTagSize[i] = static_cast<uint16_t>(r.Byte());
        t.g_abTagType[i] = static_cast<uint8_t>(r.Byte());
        size_t length = static_cast<size_t>(r.Byte());
        if (!r.Ok() || length > kMaxTagName) return false;
        std::string name = r.Raw(length);
        if (!r.Ok()) return false;
        t.g_arrTagCode.push_back(code);
        t.g_arrTagName.push_back(name);
    }
    return true;
}

bool ReadRecipeSection(FieldReader& r) {
    CRecipeTables& t = g_RecipeTables;
    if (!SectionCode(r, kRecipeSectionCode)) return r.Ok();
    t.g_nRecipeCode = kRecipeSectionCode;
    size_t n = static_cast<size_t>(r.Byte());
    if (!r.Ok() || n > static_cast<size_t>(kMaxRecipeRows)) return false;
    for (size_t i = 0; i < n; ++i) {
        t.g_abRecipePort[i] = static_cast<uint8_t>(r.Byte());
        t.g_abRecipeCol1[i] = static_cast<uint8_t>(r.Byte());
        t.g_abRecipeCol2[i] = static_cast<uint8_t>(r.Byte());
        size_t length = static_cast<size_t>(r.Byte());
        if (!r.Ok() || length > kMaxRecipeAddress) return false;
        t.g_arrRecipeAddr.push_back(r.Raw(length));
        // The register key and kind the unit's image carries follow from the address, as
        // when the recipe table is confirmed: without them a reopened project sends no recipe.
        const int side = t.g_abRecipePort[i] == 1 ? 1 : 2;
        t.g_arrRecipeRegCode.push_back(RegisterKey(t.g_arrRecipeAddr.back(), side));
        t.g_abRecipeIsCoil[i] = static_cast<uint8_t>(g_PlcRegisterTables.IsCoilAddress(t.g_arrRecipeAddr.back(), side));
        t.g_awRecipeValue[i] = static_cast<uint16_t>(r.U16LE());
        if (!r.Ok()) return false;
    }
    if (n == 0) g_nRecipeState = 1;  // the recipe dialog starts with one default row
    return true;
}

bool ReadAttachRegSection(FieldReader& r, int port) {
    CDefCommRegTables& d = g_DefCommRegs;
    StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
    StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
    StringArray& words = port == 1 ? d.g_arrAttachRegWords1 : d.g_arrAttachRegWords2;
    StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
    const int code = port == 1 ? kAttachRegCom1SectionCode : kAttachRegCom2SectionCode;
    words.assign(kMaxAttachRegRows, "1");
    if (!SectionCode(r, code)) return r.Ok();
    (port == 1 ? d.g_nAttachRegCode1 : d.g_nAttachRegCode2) = static_cast<uint8_t>(code);
    size_t n = static_cast<size_t>(r.Byte());
    if (!r.Ok() || n > kMaxAttachRegRows) return false;
    for (size_t i = 0; i < n; ++i) {
        int stationId = r.Byte();
        size_t length = static_cast<size_t>(r.Byte());
        if (!r.Ok() || length > kMaxAttachRegAddress) return false;
        std::string address = r.Raw(length);
        int count = r.Byte();
        if (!r.Ok()) return false;
        station.push_back(std::to_string(stationId));
        addr.push_back(address);
        codes.push_back(RegisterKey(address, port));
        words[i] = std::to_string(count);
    }
    return true;
}

bool ReadGeneralEntitySection(FieldReader& r, int port) {
    CGeneralEntityTables& g = g_GeneralEntity;
    const int code = port == 1 ? kGeneralEntityCom1SectionCode : kGeneralEntityCom2SectionCode;
    int& entityCode = port == 1 ? g.g_nGeneralEntityCode1 : g.g_nGeneralEntityCode2;
    int& length = port == 1 ? g.g_nExtSetupLen1 : g.g_nExtSetupLen2;
    uint8_t* values = port == 1 ? g.g_abExtSetup1 : g.g_abExtSetup2;
    int& error = port == 1 ? g_bExtSetupError1 : g_bExtSetupError2;
    if (!SectionCode(r, code)) return r.Ok();
    entityCode = code;
    r.Byte();  // the item count: the PLC definition file gives it
    size_t len = static_cast<size_t>(r.Byte());
    if (!r.Ok() || len > kMaxExtSetupBytes) return false;
    length = static_cast<int>(len);
    std::memset(values, 0, kMaxExtSetupBytes);
    std::string bytes = r.Raw(len);
    if (!r.Ok()) return false;
    std::memcpy(values, bytes.data(), len);
    if (len == 0) error = 1;
    return true;
}

bool ReadGeneralEntitySections(FieldReader& r) {
    if (g_bGeneralEntityCom1 == 1 && !ReadGeneralEntitySection(r, 1)) return false;
    if (g_bGeneralEntityCom2 == 1 && !ReadGeneralEntitySection(r, 2)) return false;
    return true;
}

}  // namespace prjfile
