#include "compiler/UploadDecode.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/ProjectFileFormat.h"
#include "model/RunTimeState.h"
#include "plc/FeatureKeys.h"
#include "plc/DefinitionFiles.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "model/IpAddress.h"
#include "model/TableResets.h"
#include "model/ProjectReset.h"
#include "plc/OpenProjectReset.h"

std::string g_szUploadIdbFile1;
std::string g_szUploadIdbFile2;

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr size_t kBlockRecordUsed = 32;  // the bytes of a block record the decode reads
constexpr size_t kImageHeader = 3;       // lead byte and block count
constexpr size_t kFeatureHeader = 5;
const char* const kCorruptPlcFile = "Corrupt PLC file ";

using uploaddecode::RegisterText;
using uploaddecode::Staged;

std::string RawText(const uint8_t* bytes, size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

// Bytes of the image from pos, zero-filled to `size` when the image ends first.
std::vector<uint8_t> Slice(const std::string& image, size_t pos, size_t size) {
    std::vector<uint8_t> out(size, 0);
    if (pos < image.size()) {
        size_t n = std::min(size, image.size() - pos);
        std::memcpy(out.data(), image.data() + pos, n);
    }
    return out;
}

int Mod256(int value) { return ((value % 256) + 256) % 256; }

}  // namespace

namespace uploaddecode {

std::string RegisterText(const uint8_t* bytes) {
    size_t n = 0;
    while (n < 9 && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

void DecodePortSettings(CProjectSettings& s, const CPlcRegisterTables& t, const uint8_t* r) {
    const bool threePorts = g_nDeviceId == kThreePortProduct;
    for (int p = 0; p < (threePorts ? 3 : 2); ++p)
        for (int f = 0; f < 4; ++f) s.g_anPortSettings[p][f] = r[32 + 4 * p + f];
    if (threePorts) {
        for (int p = 0; p < 3; ++p) s.g_anPortTimeout[p] = r[44 + p];
        return;
    }
    // Items 1, 2, 3 are kept as elements 2, 0, 1; each came with its PLC special value added
    // (as a byte), which is taken off here.
    const int order[3] = {2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        s.g_anAdvSetting1[order[i]] = Mod256(r[40 + i] - t.g_anPlc1SpecialValue[i]);
        s.g_anAdvSetting2[order[i]] = Mod256(r[43 + i] - t.g_anPlc2SpecialValue[i]);
    }
}

}  // namespace uploaddecode

// ---------------------------------------------------------------------------------------
// The model copy

void UploadModel::SwapWithGlobals() {
    using std::swap;
    swap(tables, g_PlcRegisterTables);
    swap(settings, g_ProjectSettings);
    swap(productName, g_szProductName);
    swap(productPath, g_szProductPath);
    swap(productNameCopy, g_szProductNameCopy);
    swap(nodes, g_EthNodeTable);
    swap(tags, g_EipTagTable);
    swap(recipes, g_RecipeTables);
    swap(defCommRegs, g_DefCommRegs);
    swap(generalEntity, g_GeneralEntity);
    swap(extendedSetup, g_bExtendedSetup);
    swap(featureCount, g_nFeatureCount);
    swap(ethernetSetting, g_bEthernetSetting);
    swap(tagTable, g_bTagTable);
    swap(recipesCom1, g_bRecipesCom1);
    swap(recipesCom2, g_bRecipesCom2);
    swap(attachRegCom1, g_bAttachRegCom1);
    swap(attachRegCom2, g_bAttachRegCom2);
    swap(generalEntityCom1, g_bGeneralEntityCom1);
    swap(generalEntityCom2, g_bGeneralEntityCom2);
    swap(usesPlc141, g_bUsesPlc141);
    swap(defCommRegFill, g_bDefCommRegFill);
    swap(extSetupError1, g_bExtSetupError1);
    swap(extSetupError2, g_bExtSetupError2);
    swap(recipeState, g_nRecipeState);
    swap(newProject, g_bNewProject);
    swap(com2IsCan, g_bCom2IsCAN);
    swap(blockExSaved, g_bBlockExSaved);
    swap(blockExSlaveMode, g_bBlockExSlaveMode);
    swap(slaveMode, g_bSlaveMode);
}

UploadModel UploadModel::FromGlobals() {
    UploadModel copy;
    copy.SwapWithGlobals();    // the copy holds the globals, the globals the defaults
    UploadModel model = copy;  // keep one
    copy.SwapWithGlobals();    // and put the globals back
    return model;
}

UploadModel UploadModel::Fresh() {
    UploadModel model = FromGlobals();
    {
        Staged staged(model);
        ResetProjectSettingsAndFeatures();
        // The register tables stay until the unit's identities load its own; the reset
        // gives the settings what a new project starts with.
        const CPlcRegisterTables tables = g_PlcRegisterTables;
        g_PlcRegisterTables.ResetProject();
        g_PlcRegisterTables = tables;
    }
    return model;
}

// ---------------------------------------------------------------------------------------
// Decoder

CUploadDecoder::CUploadDecoder(IUploadDecodeHost& host) : m_host(host) {
    m_result.model = UploadModel::Fresh();
}

std::string CUploadDecoder::DecodeAddress(const std::string& text, int kind, int port,
                                          bool tryOtherKind) const {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    if (tryOtherKind && t.GetRegisterIndexForPort(text, kind, port) < 0 &&
        t.GetRegisterIndexForPort(text, 1 - kind, port) >= 0)
        kind = 1 - kind;
    // An unknown register keeps the text as it came.
    return RebuildIdbAddress(text, port, kind == 1);
}

int CUploadDecoder::DecodeIdentities(const uint8_t* b) {
    bool failed = false;
    {
        Staged staged(m_result.model);
        CPlcRegisterTables& t = g_PlcRegisterTables;
        g_szProductPath = g_szProductName;
        g_szProductNameCopy = g_szProductName;
        t.g_strPLC1Id = std::to_string(b[0]);
        t.g_strPlc1Inf = deffiles::PlcDefinitionFile(g_szProductName, t.g_strPLC1Id);
        t.g_strPlc1ModelNo = std::to_string(b[1]);
        t.g_strPLC2Id = std::to_string(b[2]);
        t.g_strPlc2Inf = deffiles::PlcDefinitionFile(g_szProductName, t.g_strPLC2Id);
        t.g_strPlc2ModelNo = std::to_string(b[3]);

        auto section = [&](const std::string& file, const std::string& model) {
            return platform::GetPrivateProfileString("Plc Info", "Plc" + model, kCorruptPlcFile, 80, file);
        };
        t.g_strPlc1Section = section(t.g_strPlc1Inf, t.g_strPlc1ModelNo);
        if (platform::Trim(t.g_strPlc1Section) == "Corrupt PLC file") failed = true;
        if (!failed) {
            t.g_strPlc2Section = section(t.g_strPlc2Inf, t.g_strPlc2ModelNo);
            if (platform::Trim(t.g_strPlc2Section) == "Corrupt PLC file") failed = true;
        }
        if (!failed) {
            t.g_strPLC1Name = platform::GetPrivateProfileString("Plc Info", "Plc Name", kCorruptPlcFile, 80, t.g_strPlc1Inf);
            t.g_strPLC2Name = platform::GetPrivateProfileString("Plc Info", "Plc Name", kCorruptPlcFile, 80, t.g_strPlc2Inf);
            if (g_nDeviceId != kThreePortProduct) {
                t.ResetProject();
            } else {
                // The three-port product keeps its settings, but its register tables are
                // loaded afresh all the same: loading appends to them.
                CProjectSettings keep = g_ProjectSettings;
                const int saved = g_bBlockExSaved, slave = g_bBlockExSlaveMode;
                t.ResetProject();
                g_ProjectSettings = keep;
                g_bBlockExSaved = saved;
                g_bBlockExSlaveMode = slave;
            }
            t.g_nPlc1RegWidth = platform::GetPrivateProfileInt(t.g_strPlc1Section, "RegisterWidth", -1, t.g_strPlc1Inf);
            t.g_nPlc2RegWidth = platform::GetPrivateProfileInt(t.g_strPlc2Section, "RegisterWidth", -1, t.g_strPlc2Inf);
            t.LoadPlcFileCom1();
            t.LoadPlcFileCom2();
            if (t.g_strPLC1Name == t.g_strPLC2Name && g_nDeviceId != kThreePortProduct) {
                const std::string name = t.g_strPLC1Name;
                t.g_strPLC1Name = "Com1 " + name;
                t.g_strPLC2Name = "Com2 " + name;
            }
            t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
        }
    }
    if (failed) {
        m_host.ShowMessage(kMsgPlcFileError, "", 0);
        return -1;
    }
    return 0;
}

void CUploadDecoder::DecodeSetup(const uint8_t* r) {
    UploadModel& m = m_result.model;
    {
        Staged staged(m);
        CProjectSettings& s = g_ProjectSettings;
        const CPlcRegisterTables& t = g_PlcRegisterTables;

        s.g_bCtrlWordEnabled = r[0];
        s.g_nCtrlWordSide = r[1];
        if (r[0] == 1) s.g_strCtrlWordAddr = DecodeAddress(RegisterText(r + 2), 0, r[1] == 0 ? 1 : 2);
        s.g_bErrBit1Enabled = r[11];
        if (r[11] == 1) s.g_strErrBitAddr1 = DecodeAddress(RegisterText(r + 12), r[52] <= 15 ? 0 : 1, 1);
        s.g_bErrBit2Enabled = r[21];
        if (r[21] == 1) s.g_strErrBitAddr2 = DecodeAddress(RegisterText(r + 22), r[53] <= 15 ? 0 : 1, 2);

        uploaddecode::DecodePortSettings(s, t, r);
        if (g_nDeviceId != kThreePortProduct) {
            s.g_nCtrlWordStation = r[46];
            s.g_nCtrlWordWords = r[47];
        }
        s.g_nProductNo = r[49];
        s.g_nProjectVersion = r[50];
        s.g_nErrBit1 = r[52];
        s.g_nErrBit2 = r[53];
        g_bExtendedSetup = r[60];
        m_bExtendedSetupRecord = r[60];

        const int entry = deffiles::FindProductEntryByDeviceId(g_nDeviceId);
        m_nRecordSize = entry ? platform::Atoi(deffiles::ReadProductValue("ProductBlockSize", entry)) : 0;

        const int count = deffiles::ReadProductCount();
        for (int n = 1; n <= count; ++n) {
            if (platform::Atoi(deffiles::ReadProductValue("ProductNo", n)) != s.g_nProductNo) continue;
            g_szProductName = g_szProductPath = g_szProductNameCopy = deffiles::ReadProductName(n);
            break;
        }
    }
    // The question runs with the open project in place.
    if (r[48] != '*' || r[51] != '*') {
        std::string product;
        if (m_host.AskProductForProject(product))
            m.productName = m.productPath = m.productNameCopy = product;
    }
}

void CUploadDecoder::ApplySlaveModeWordLimit() {
    // The slave mode is the uploaded PLC pair's, by the rule the editor follows: either
    // PLC's definition may make it the slave.
    UploadModel& m = m_result.model;
    m.slaveMode = deffiles::ReadSlaveKey(m.tables.g_strPlc1Inf) == 1 || deffiles::ReadSlaveKey(m.tables.g_strPlc2Inf) == 1;
    if (m.slaveMode != 1) return;
    m.tables.g_nBlockWordLimit = m.tables.g_strPlc2DriverId == "135" ? 65535 : 255;
}

int CUploadDecoder::DecodeImage(const std::string& image) {
    std::string error;
    {
        Staged staged(m_result.model);
        if (m_nRecordSize < 0) {
            const int entry = deffiles::FindProductEntryByDeviceId(g_nDeviceId);
            m_nRecordSize = entry ? platform::Atoi(deffiles::ReadProductValue("ProductBlockSize", entry)) : 0;
        }
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        const CProjectSettings& s = g_ProjectSettings;
        UploadedProject& out = m_result;
        out.rows.clear();

        if (image.size() < kImageHeader) {
            error = kMsgReadUploadFile;
        } else if (m_nRecordSize < 1 || m_nRecordSize > static_cast<int>(kMaxRecordSize)) {
            error = "Invalid block record size " + std::to_string(m_nRecordSize) +
                    " (ProductBlockSize) in the product file. The uploaded project was not taken over.";
        }
        const auto* bytes = reinterpret_cast<const uint8_t*>(image.data());
        const size_t blocks = error.empty() ? bytes[1] + 256u * bytes[2] : 0;
        const size_t recordSize = static_cast<size_t>(std::max(m_nRecordSize, 0));
        size_t pos = kImageHeader;

        // Block records.
        for (size_t i = 0; i < blocks && error.empty(); ++i, pos += recordSize) {
            if (pos >= image.size()) {  // the image ends before the records it declares
                error = kMsgReadFile;
                break;
            }
            std::vector<uint8_t> rec = Slice(image, pos, std::max(kBlockRecordUsed, recordSize));
            std::fill(rec.begin() + static_cast<long>(std::min(recordSize, rec.size())), rec.end(), 0);
            if (i >= static_cast<size_t>(kMaxBlocks)) continue;  // the list holds 255 rows

            BlockRow row;
            int number = rec[0] | rec[1] << 8;
            if (number > 255) number &= 0xFF;
            row[kColBlockNo] = g_nDeviceId == 81 ? platform::Format("%d              ", number)
                                                 : std::to_string(number);
            const bool forward = rec[2] != 0;
            row[kColSourcePlc] = forward ? t.g_strPLC1Name : t.g_strPLC2Name;
            row[kColDestPlc] = forward ? t.g_strPLC2Name : t.g_strPLC1Name;
            row[kColSourceId] = std::to_string(rec[4]);
            const int kind = rec[3] ? 1 : 0;
            const int sourcePort = forward ? 1 : 2, destPort = forward ? 2 : 1;
            const int plc1Bit = rec[27], plc2Bit = rec[28];
            const int sourceBit = forward ? plc1Bit : plc2Bit, destBit = forward ? plc2Bit : plc1Bit;
            const bool version4 = s.g_nProjectVersion == 4;
            std::string source = DecodeAddress(RegisterText(&rec[5]), kind, sourcePort, version4 && sourceBit <= 15);
            row[kColWords] = std::to_string(rec[14] << 8 | rec[15]);
            row[kColDestId] = std::to_string(rec[16]);
            std::string dest = DecodeAddress(RegisterText(&rec[17]), kind, destPort, version4 && destBit <= 15);
            row[kColRepeatCycle] = std::to_string(rec[26]);
            if (s.g_nProjectVersion == 3) {
                row[kColSourceAddr] = source;
                row[kColDestAddr] = dest;
                row[kColControlBit] = std::to_string(i);
            } else if (version4) {
                if (destBit <= 15) dest += "_" + std::to_string(destBit);
                if (sourceBit <= 15) source += "_" + std::to_string(sourceBit);
                row[kColDestAddr] = dest;
                row[kColSourceAddr] = source;
                row[kColControlBit] = std::to_string(rec[29]);
            }
            out.rows.push_back(row);
        }

        // Internal-database parts: a row width of 19, the row count, the rows.
        std::string* files[2] = {&out.idbImage1, &out.idbImage2};
        for (int port = 0; port < 2 && error.empty(); ++port) {
            if (pos + 2 > image.size()) {
                error = kMsgReadFile;
                break;
            }
            const size_t width = bytes[pos], count = bytes[pos + 1];
            pos += 2;
            if (width != kIdbRowSize || pos + width * count > image.size()) {
                error = kMsgReadFile;
                break;
            }
            files[port]->clear();
            if (count != 0) {
                *files[port] = image.substr(pos, width * count);
                *files[port] += static_cast<char>(count);
            }
            pos += width * count;
        }

        if (error.empty()) {
            g_bCom2IsCAN = deffiles::IsCanDriver(g_szProductName, t.g_strPlc2DriverId) ? 1 : 0;
            out.idbRows1 = DecodeIdbImage(out.idbImage1, 1, g_bCom2IsCAN == 1, t.g_strPLC2Id);
            out.idbRows2 = DecodeIdbImage(out.idbImage2, 2, g_bCom2IsCAN == 1, t.g_strPLC2Id);

            g_bNewProject = g_nRecipeState = g_bDefCommRegFill = 0;
            g_bExtSetupError1 = g_bExtSetupError2 = 0;
            g_bEthernetSetting = g_bTagTable = g_bRecipesCom1 = g_bRecipesCom2 = 0;
            g_bAttachRegCom1 = g_bAttachRegCom2 = g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
            g_nFeatureCount = 0;

            const int extended = m_bExtendedSetupRecord >= 0 ? m_bExtendedSetupRecord : g_bExtendedSetup;
            if (extended == 1) {
                if (DecodeFeatures(image, pos) != 0) error = kMsgReadFile;
            } else {
                LoadExtendedSetupKeys();
            }
        }
        if (error.empty()) out.imageDecoded = true;
    }
    if (!error.empty()) {
        m_host.ShowMessage(error, "", 0);
        return -1;
    }
    return 0;
}

int CUploadDecoder::DecodeFeatures(const std::string& image, size_t& pos) {
    if (pos >= image.size()) return -1;
    const size_t count = static_cast<uint8_t>(image[pos++]);
    ClearRecipeTables();
    ResetDefCommRegisters();
    ResetGeneralEntity();
    LoadExtendedSetupKeys();

    // Each body is bounded by the image; rows beyond what a table holds are passed over.
    auto body = [&](size_t size, std::vector<uint8_t>& out) {
        if (pos + size > image.size()) return false;
        out.assign(image.begin() + static_cast<long>(pos), image.begin() + static_cast<long>(pos + size));
        pos += size;
        return true;
    };
    for (size_t f = 0; f < count; ++f) {
        std::vector<uint8_t> h;
        if (!body(kFeatureHeader, h)) return -1;
        const size_t n = h[3], w = h[4];
        std::vector<uint8_t> b;
        switch (h[0]) {
        case 1: {
            g_bEthernetSetting = 1;
            g_bNewProject = 0;
            CEthNodeTable& nodes = g_EthNodeTable;
            nodes.g_nEthNodeEntityCode = h[0];
            if (!body(n * w, b)) return -1;
            nodes.g_arrNodeAddress.clear();
            nodes.g_arrNodePort.clear();
            nodes.g_arrNodeIp.clear();
            for (size_t j = 0; j < n && j < kMaxNodes && 7 * j + 7 <= b.size(); ++j) {
                const uint8_t* node = &b[7 * j];
                nodes.g_arrNodeAddress.push_back(std::to_string(node[0]));
                nodes.g_arrNodePort.push_back(std::to_string(node[1] << 8 | node[2]));
                nodes.g_arrNodeIp.push_back(FormatIpAddress(node[3], node[4], node[5], node[6]));
            }
            break;
        }
        case 2: {
            g_bTagTable = 1;
            CEipTagTable& tags = g_EipTagTable;
            tags.g_nTagTableEntityCode = h[0];
            tags.g_arrTagCode.clear();
            tags.g_arrTagName.clear();
            std::memset(tags.g_awTagSize, 0, sizeof tags.g_awTagSize);
            std::memset(tags.g_abTagType, 0, sizeof tags.g_abTagType);
            for (size_t j = 0; j < n; ++j) {
                std::vector<uint8_t> entry, name;
                if (!body(12, entry) || !body(entry[11], name)) return -1;
                if (j >= kMaxTags) continue;
                tags.g_arrTagCode.push_back(RegisterText(entry.data()));
                tags.g_abTagType[j] = entry[9];
                tags.g_awTagSize[j] = entry[10];
                tags.g_arrTagName.push_back(RawText(name.data(), name.size()));
            }
            break;
        }
        case 3: {
            g_bRecipesCom1 = g_bRecipesCom2 = 1;
            g_nRecipeState = 0;
            CRecipeTables& rec = g_RecipeTables;
            rec.g_nRecipeCode = h[0];
            if (!body(n * w, b)) return -1;
            for (size_t j = 0; j < n && j < kMaxRegisterRows; ++j) {
                std::vector<uint8_t> row = Slice(std::string(b.begin(), b.end()), j * w, std::max<size_t>(w, 15));
                std::fill(row.begin() + static_cast<long>(std::min<size_t>(w, row.size())), row.end(), 0);
                rec.g_abRecipePort[j] = row[0];
                rec.g_abRecipeCol1[j] = row[1];
                rec.g_abRecipeCol2[j] = row[2];
                const std::string text = RegisterText(&row[3]);
                rec.g_arrRecipeRegCode.push_back(RawText(&row[3], 9));
                rec.g_arrRecipeAddr.push_back(row[0] == 1 || row[0] == 2 ? DecodeAddress(text, row[14], row[0]) : text);
                rec.g_awRecipeValue[j] = static_cast<uint16_t>(row[12] | row[13] << 8);
                rec.g_abRecipeIsCoil[j] = row[14];
            }
            break;
        }
        case 4:
        case 5: {
            const int port = h[0] == 4 ? 1 : 2;
            CDefCommRegTables& d = g_DefCommRegs;
            (port == 1 ? g_bAttachRegCom1 : g_bAttachRegCom2) = 1;
            g_bDefCommRegFill = 0;
            (port == 1 ? d.g_nAttachRegCode1 : d.g_nAttachRegCode2) = h[0];
            StringArray& station = port == 1 ? d.g_arrAttachRegStation1 : d.g_arrAttachRegStation2;
            StringArray& codes = port == 1 ? d.g_arrAttachRegCode1 : d.g_arrAttachRegCode2;
            StringArray& addr = port == 1 ? d.g_arrAttachRegAddr1 : d.g_arrAttachRegAddr2;
            StringArray& words = port == 1 ? d.g_arrAttachRegWords1 : d.g_arrAttachRegWords2;
            uint8_t* data = port == 1 ? d.g_abAttachRegData1 : d.g_abAttachRegData2;
            words.assign(kMaxWordCounts, "1");
            if (!body(n * w, b)) return -1;
            for (size_t j = 0; j < n && j < kMaxRegisterRows; ++j) {
                std::vector<uint8_t> row = Slice(std::string(b.begin(), b.end()), j * w, std::max<size_t>(w, 12));
                std::fill(row.begin() + static_cast<long>(std::min<size_t>(w, row.size())), row.end(), 0);
                station.push_back(std::to_string(row[0]));
                codes.push_back(RawText(&row[1], 9));
                addr.push_back(DecodeAddress(RegisterText(&row[1]), row[10], port));
                data[j] = row[10];
                words[j] = std::to_string(row[11]);
            }
            break;
        }
        case 6:
        case 7: {
            const bool com1 = h[0] == 6;
            CGeneralEntityTables& g = g_GeneralEntity;
            (com1 ? g_bGeneralEntityCom1 : g_bGeneralEntityCom2) = 1;
            (com1 ? g_bExtSetupError1 : g_bExtSetupError2) = 0;
            (com1 ? g.g_nGeneralEntityCode1 : g.g_nGeneralEntityCode2) = h[0];
            const size_t length = h[1] | h[2] << 8;
            if (!body(length, b)) return -1;
            uint8_t* values = com1 ? g.g_abExtSetup1 : g.g_abExtSetup2;
            const size_t kept = std::min(length, kMaxExtSetup);
            if (kept > 0) std::memcpy(values, b.data(), kept);
            (com1 ? g.g_nExtSetupLen1 : g.g_nExtSetupLen2) = static_cast<int>(kept);
            (com1 ? g.g_nGeneralEntityCount1 : g.g_nGeneralEntityCount2) = h[3];
            break;
        }
        default:
            break;  // only the header
        }
    }
    // The next download writes one block per feature switched on, whatever the image held.
    g_nFeatureCount = (g_bEthernetSetting == 1) + (g_bTagTable == 1) + (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) +
                      (g_bAttachRegCom1 == 1) + (g_bAttachRegCom2 == 1) + (g_bGeneralEntityCom1 == 1) +
                      (g_bGeneralEntityCom2 == 1);
    return 0;
}

void CUploadDecoder::ConvertPortCodes() {
    CProjectSettings& s = m_result.model.settings;
    for (int p = 0; p < 3; ++p) {
        s.g_anPortSettings[p][kPortBaud] = prjfile::CodeToBaud(s.g_anPortSettings[p][kPortBaud], p);
        s.g_anPortSettings[p][kPortDataBits] = prjfile::CodeToDataBits(s.g_anPortSettings[p][kPortDataBits]);
    }
}

void CUploadDecoder::SetTitle() {
    m_result.title = "Untitled - Quorvex - " + m_result.model.productNameCopy;
}

void ApplyUploadedProject(const UploadedProject& project, IUploadDecodeHost& host) {
    ResetOpenProject();
    UploadModel model = project.model;
    model.SwapWithGlobals();
    g_BlockListRows.assign(project.rows.begin(), project.rows.begin() + std::min<size_t>(project.rows.size(), kMaxBlocks));
    // Numbered as the list numbers the rows of an opened file, so that a save of the
    // project taken over and a save of the file reopened write the same bytes.
    for (size_t i = 0; i < g_BlockListRows.size(); ++i) g_BlockListRows[i][kColBlockNo] = std::to_string(i + 1) + std::string(14, ' ');
    if (!project.imageDecoded) return;
    const std::string* images[2] = {&project.idbImage1, &project.idbImage2};
    std::string* paths[2] = {&g_szUploadIdbFile1, &g_szUploadIdbFile2};
    for (int port = 1; port <= 2; ++port) {
        const std::string path = WorkingIdbPath(g_szProductName, port);
        if (!platform::WriteFileBytes(platform::ResolvePath(path), *images[port - 1]))
            host.ShowMessage(kMsgCreateIntermediate, "", 0);
        *paths[port - 1] = path;
    }
    g_bIdbModified = 1;
}
