#include "compiler/ProjectImage.h"

#include "model/ExtendedTables.h"
#include "model/ProjectFileFormat.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/BlockAddress.h"
#include "compiler/IdbImage.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "model/IpAddress.h"

#include <algorithm>

using platform::Atoi;
using prjfile::FieldWriter;

namespace {

// The first nine characters of a register text, filled with '*'.
std::string Nine(std::string text) {
    text = text.substr(0, 9);
    text.append(9 - text.size(), '*');
    return text;
}

std::string RegisterText(const std::string& address, int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return Nine(port == 1 ? t.ParseAddressCom1(address) : t.ParseAddressCom2(address));
}

int BitNumber(const std::string& address) {
    size_t underscore = address.find('_');
    if (underscore == std::string::npos) return 0xFF;
    int bit = Atoi(address.substr(underscore + 1));
    return bit < 16 ? bit : 0;
}


}  // namespace

int ImageBaudCode(int rate, int port, bool newer) {
    return prjfile::BaudToCode(rate, port, newer ? 27 : 17);
}

int ImageDataBitsCode(int bits) { return prjfile::DataBitsToCode(bits) & 0xFF; }

std::string BuildSetupRecord(bool newer) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    std::string record(kSetupRecordSize, '\0');
    FieldWriter w(record);

    w.Byte(s.g_bCtrlWordEnabled);
    w.Byte(s.g_nCtrlWordSide);
    std::string control = s.g_bCtrlWordEnabled
                              ? (s.g_nCtrlWordSide == 0 ? t.ParseAddressCom1(s.g_strCtrlWordAddr)
                                                        : t.ParseAddressCom2(s.g_strCtrlWordAddr))
                              : std::string();
    w.Raw(Nine(control));
    w.Byte(s.g_bErrBit1Enabled);
    w.Raw(Nine(s.g_bErrBit1Enabled ? t.ParseAddressCom1(s.g_strErrBitAddr1) : " "));
    w.Byte(s.g_bErrBit2Enabled);
    w.Raw(Nine(s.g_bErrBit2Enabled ? t.ParseAddressCom2(s.g_strErrBitAddr2) : " "));

    int& slaveFlag = newer ? g_bSlaveMode : g_bBlockExSlaveMode;
    const bool slave1 = deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1, slave2 = deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1;
    if (slave1 || slave2) slaveFlag = 1;
    w.Byte(slave1 ? 2 : slave2 ? 1 : slaveFlag);

    auto port = [&](int p) {
        const int* ps = s.g_anPortSettings[p];
        w.Byte(ImageBaudCode(ps[kPortBaud], p, newer));
        w.Byte(ImageDataBitsCode(ps[kPortDataBits]));
        w.Byte(ps[kPortParity]);
        w.Byte(ps[kPortStopBits]);
    };
    port(0);
    port(1);
    const bool threePorts = newer ? g_nDeviceId == 84 : (g_nDeviceId == 84 || g_nDeviceIdAlt == 84);
    if (threePorts) {
        port(2);
        for (int p = 0; p < 3; ++p) w.Byte(s.g_anPortTimeout[p]);
        w.Byte(0);
    } else {
        // Items 1, 2, 3 are kept as elements 2, 0, 1; each goes out with its offset.
        const int order[3] = {2, 0, 1};
        for (int i = 0; i < 3; ++i) w.Byte(s.g_anAdvSetting1[order[i]] + t.g_anPlc1SpecialValue[i]);
        for (int i = 0; i < 3; ++i) w.Byte(s.g_anAdvSetting2[order[i]] + t.g_anPlc2SpecialValue[i]);
        w.Byte(newer ? s.g_nCtrlWordStation : 0);
        w.Byte(newer ? s.g_nCtrlWordWords : 0);
    }

    const int count = deffiles::ReadProductCount();
    for (int n = 1; n <= count; ++n) {
        if (deffiles::ReadProductName(n) != g_szProductName) continue;
        s.g_nProductNo = Atoi(deffiles::ReadProductValue("ProductNo", n));
        s.g_nProjectVersion = Atoi(deffiles::ReadProductValue("ProjectVersion", n));
        break;
    }
    w.Byte('*');
    w.Byte(s.g_nProductNo);
    w.Byte(s.g_nProjectVersion);
    w.Byte('*');
    if (newer) {
        w.Byte(s.g_nErrBit1);
        w.Byte(s.g_nErrBit2);
        w.Seek(60);
        w.Byte(g_bExtendedSetup == 1 ? 1 : 0);
        w.Seek(62);
        int entry = deffiles::FindProductEntry(g_szProductName);
        w.U16BE(static_cast<unsigned>(entry ? Atoi(deffiles::ReadProductDSize(entry)) : 1));
    }
    return record;
}

std::string BuildNewerBlockRecord(const BlockRow& row, const BlockLinks& links) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::string record;
    FieldWriter w(record);
    const int block = Atoi(row[kColBlockNo]);
    if (block < 255) {
        w.Byte(block);
        w.Byte(0);
    } else {
        w.Byte(block % 256);
        w.Byte(block % 256);
    }
    const bool forward = row[kColSourcePlc] == t.g_strPLC1Name;
    const int sourcePort = forward ? 1 : 2, destPort = forward ? 2 : 1;
    const std::string& plc1Address = forward ? row[kColSourceAddr] : row[kColDestAddr];
    const std::string& plc2Address = forward ? row[kColDestAddr] : row[kColSourceAddr];
    w.Byte(forward ? 1 : 0);
    w.Byte(t.IsCoilAddress(plc1Address, 1) || t.IsCoilAddress(plc2Address, 2) ? 1 : 0);
    w.Byte(Atoi(row[kColSourceId]));
    w.Raw(RegisterText(AddressPrefixPart(row[kColSourceAddr]), sourcePort));
    w.U16BE(static_cast<unsigned>(Atoi(row[kColWords])) & 0xFFFF);
    w.Byte(Atoi(row[kColDestId]));
    w.Raw(RegisterText(AddressPrefixPart(row[kColDestAddr]), destPort));
    w.Byte(Atoi(row[kColRepeatCycle]));
    w.Byte(BitNumber(plc1Address));
    w.Byte(BitNumber(plc2Address));
    w.Byte(Atoi(row[kColControlBit]));
    const bool known = block >= 0 && block <= kMaxBlocks;
    w.Byte(known ? static_cast<int>(links.linkFlag[block]) : 0);
    w.Byte(known ? static_cast<int>(links.linkedBlock[block]) : 0);
    return record;
}

std::string BuildOlderBlockRecord(const OlderBlockRow& row) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::string record;
    FieldWriter w(record);
    const int block = Atoi(row[0]);
    if (block < 265) {
        w.Byte(block);
        w.Byte(0);
    } else {
        w.Byte(block % 256);
        w.Byte(block % 256);
    }
    const bool forward = row[2] == t.g_strPLC1Name;
    const int sourcePort = forward ? 1 : 2, destPort = forward ? 2 : 1;
    w.Byte(forward ? 1 : 0);
    w.Byte(t.IsCoilAddress(row[4], sourcePort) ? 1 : 0);
    w.Byte(Atoi(row[3]));
    w.Raw(RegisterText(row[4], sourcePort));
    w.Byte(Atoi(row[1]));
    w.Byte(Atoi(row[6]));
    w.Raw(RegisterText(row[7], destPort));
    w.Byte(Atoi(row[8]));
    return record;
}

namespace {
template <class Rows, class Build>
std::string BuildImage(bool newer, const Rows& rows, Build build) {
    std::string image;
    FieldWriter w(image);
    w.Seek(kSetupRecordOffset);
    w.Raw(BuildSetupRecord(newer));
    w.Seek(kImageBlockCountOffset);
    w.Byte(static_cast<int>(rows.size()));
    w.Byte(0);
    const bool threePorts = newer ? g_nDeviceId == 84 : (g_nDeviceId == 84 || g_nDeviceIdAlt == 84);
    if (!threePorts)
        for (const auto& row : rows) w.Raw(build(row));
    return image;
}
}  // namespace

std::string BuildNewerProjectImage(const BlockRows& rows, const BlockLinks& links) {
    return BuildImage(true, rows, [&](const BlockRow& row) { return BuildNewerBlockRecord(row, links); });
}

std::string BuildOlderProjectImage(const std::vector<OlderBlockRow>& rows) {
    return BuildImage(false, rows, [](const OlderBlockRow& row) { return BuildOlderBlockRecord(row); });
}

std::string BuildFeatureBlocks() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::string out;
    FieldWriter w(out);
    // The count byte says how many blocks follow: it is set once they are written.
    w.Byte(0);
    int blocks = 0;
    auto block = [&](int code, const std::string& rows, int count, int width) {
        ++blocks;
        w.Byte(code);
        w.Byte(static_cast<int>(rows.size() & 0xFF));
        w.Byte(static_cast<int>((rows.size() >> 8) & 0xFF));
        w.Byte(count);
        w.Byte(width);
        w.Raw(rows);
    };

    if (g_bEthernetSetting == 1) {
        const CEthNodeTable& n = g_EthNodeTable;
        const size_t count = std::min({n.g_arrNodeIp.size(), n.g_arrNodeAddress.size(), kMaxEthNodes});
        std::string rows;
        FieldWriter r(rows);
        for (size_t i = 0; i < count; ++i) {
            r.Byte(Atoi(n.g_arrNodeAddress[i]));
            r.U16BE(static_cast<unsigned>(Atoi(i < n.g_arrNodePort.size() ? n.g_arrNodePort[i] : "502")));
            uint8_t a, b, c, d;
            ParseIpAddress(n.g_arrNodeIp[i], a, b, c, d);
            r.Byte(a);
            r.Byte(b);
            r.Byte(c);
            r.Byte(d);
        }
        block(1, rows, static_cast<int>(count), 7);
    }
    if (g_bTagTable == 1) {
        const CEipTagTable& tags = g_EipTagTable;
        const size_t count = std::min<size_t>(tags.g_arrTagCode.size(), 255);
        std::string rows;
        FieldWriter r(rows);
        for (size_t i = 0; i < count; ++i) {
            const std::string name = i < tags.g_arrTagName.size() ? tags.g_arrTagName[i] : std::string();
            r.Text(tags.g_arrTagCode[i], 9);  // the code in exactly nine bytes, as the unit reads it
            r.Byte(tags.g_abTagType[i]);
            r.Byte(tags.g_awTagSize[i] & 0xFF);
            r.Byte(static_cast<int>(name.size()));
            r.Raw(name);
        }
        block(2, rows, static_cast<int>(count), 0);
    }
    if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) {
        const CRecipeTables& rec = g_RecipeTables;
        const size_t count = std::min<size_t>(rec.g_arrRecipeRegCode.size(), kMaxRecipeRows);
        std::string rows;
        FieldWriter r(rows);
        for (size_t i = 0; i < count; ++i) {
            r.Byte(rec.g_abRecipePort[i]);
            r.Byte(rec.g_abRecipeCol1[i]);
            r.Byte(rec.g_abRecipeCol2[i]);
            r.Raw(Nine(rec.g_arrRecipeRegCode[i]));
            r.U16LE(rec.g_awRecipeValue[i]);
            r.Byte(rec.g_abRecipeIsCoil[i]);
        }
        block(3, rows, static_cast<int>(count), 15);
    }
    for (int port = 1; port <= 2; ++port) {
        if ((port == 1 ? g_bAttachRegCom1 : g_bAttachRegCom2) != 1) continue;
        const CDefCommRegTables& d = g_DefCommRegs;
        const StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
        const StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
        const StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
        const StringArray& words = port == 1 ? d.g_arrAttachRegWords1 : d.g_arrAttachRegWords2;
        const size_t count = std::min<size_t>(station.size(), 255);
        std::string rows;
        FieldWriter r(rows);
        for (size_t i = 0; i < count; ++i) {
            r.Byte(Atoi(station[i]));
            r.Raw(Nine(i < codes.size() ? codes[i] : std::string()));
            r.Byte(i < addr.size() ? t.IsCoilAddress(addr[i], port) : 0);
            r.Byte(Atoi(i < words.size() ? words[i] : "1"));
        }
        block(port == 1 ? 4 : 5, rows, static_cast<int>(count), 12);
    }
    const CGeneralEntityTables& g = g_GeneralEntity;
    if (g_bGeneralEntityCom1 == 1) {
        size_t len = static_cast<size_t>(std::clamp(g.g_nExtSetupLen1, 0, 200));
        block(6, std::string(reinterpret_cast<const char*>(g.g_abExtSetup1), len), g.g_nGeneralEntityCount1, 0);
    }
    if (g_bGeneralEntityCom2 == 1) {
        size_t len = static_cast<size_t>(std::clamp(g.g_nExtSetupLen2, 0, 200));
        block(7, std::string(reinterpret_cast<const char*>(g.g_abExtSetup2), len), g.g_nGeneralEntityCount2, 0);
    }
    out[0] = static_cast<char>(blocks);
    return out;
}

std::string ComposeDownloadImage(const std::string& projectImage, const std::string& idbImage1,
                                 const std::string& idbImage2) {
    std::string out = projectImage;
    for (const std::string* idb : {&idbImage1, &idbImage2}) {
        out += static_cast<char>(kIdbRowSize);
        if (idb->empty()) {
            out += '\0';
            continue;
        }
        // The image's last byte is its row count; the rows stand in front of it.
        const unsigned char n = static_cast<unsigned char>(idb->back());
        const size_t available = (idb->size() - 1) / kIdbRowSize;
        const size_t rows = std::min<size_t>(n, available);
        out += static_cast<char>(rows);
        out += idb->substr(0, rows * kIdbRowSize);
    }
    if (g_bExtendedSetup == 1) out += BuildFeatureBlocks();
    return out;
}

std::string ImageWorkFolder() { return deffiles::ProjectsFolder(g_szProductName); }
void ScanProjectBlocks(const BlockRows& rows, BlockLinks& links) {
    if (g_nDeviceId == 84) return;
    const int slavePort = deffiles::ReadSlaveKey(g_PlcRegisterTables.g_strPlc1Inf) == 1 ? 1 : 2;
    ScanBlocks(rows, g_bSlaveMode == 1, slavePort, links);
}

bool WriteNewerProjectImage(const BlockRows& rows, std::string* image) {
    BlockLinks links;
    ScanProjectBlocks(rows, links);
    const std::string bytes = BuildNewerProjectImage(rows, links);
    if (image) *image = bytes;
    return platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), bytes);
}

bool WriteOlderProjectImage(const std::vector<OlderBlockRow>& rows, std::string* image) {
    const std::string bytes = BuildOlderProjectImage(rows);
    if (image) *image = bytes;
    return platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), bytes);
}

std::string WritePrjPath() { return ImageWorkFolder() + "WritePrj.hex"; }
std::string DummyPrjPath() { return ImageWorkFolder() + "DummyPrj.hex"; }
