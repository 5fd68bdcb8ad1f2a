#include "projectfiles/OlderProjectReader.h"

#include <algorithm>
#include <cstring>

#include "model/BlockRows.h"
#include "model/ProjectFileFormat.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "projectfiles/OlderProjectFile.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectOpenSteps.h"
#include "res/StringTable.h"
#include "ui/Backend.h"

using namespace prjfile;

namespace {

const char kZavaMessage[] =
    "You are trying to open a project that is created for Zava Dorazuduvoz.\nIf you want to open this project, please "
    "go back to product selection screen and select Zava Dorazuduvoz product.";

int ShowBox(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "Quorvex", flags); }

void StorePort(int port, const unsigned char* b, int baudPort) {
    int* ps = g_ProjectSettings.g_anPortSettings[port];
    ps[kPortBaud] = OlderCodeToBaud(b[0], baudPort);
    ps[kPortDataBits] = CodeToDataBits(b[1]);
    ps[kPortStopBits] = b[2];
    ps[kPortParity] = b[3];
}

// The product a file is opened for: the one its number names, or the one the person
// chooses when the file carries no product marks. false when none was chosen.
bool ChooseProduct(const OlderProjectFile& file, const ProjectOpenHooks& hooks, std::string& product,
                   unsigned& deviceId) {
    product = g_szProductName;
    deviceId = g_nDeviceId;
    FindProductByNumber(file.productNo, product, deviceId);
    if (file.productStar1 == '*' && file.productStar2 == '*') return true;
    return hooks.askProduct && hooks.askProduct(product);
}

std::string ProductMessage(int productNo) {
    const char* names[] = {nullptr,
                           "QVX-00",
                           "QVX-S7",
                           "QVX-S8",
                           "QVX-100 (LonWorks Quorvex)",
                           "FC2A-QVX (RURI Quorvex)",
                           "USB to DH485 Quorvex",
                           "QVX-01 to QVX-16",
                           "DF1 to DH485 Converter (Using QVX-00)",
                           "QVX-300(CAN Quorvex)"};
    if (productNo >= 1 && productNo <= 9) {
        const std::string name = names[productNo];
        return "You are trying to open a project that is created for " + name +
               ".\nIf you want to open this project, please go back to product selection screen and select " + name +
               " product.";
    }
    return kZavaMessage;
}

bool IsProjectFile(const OlderProjectFile& file) { return file.tag == std::string(kFileTag, kTagWidth); }

// The five project texts at the offset as the writer leaves them: each text, then (when
// shorter than its field) a zero byte and "*" up to the field's end.
bool TextsAt(const std::string& bytes, size_t offset) {
    if (offset + kProjectTextsSize != bytes.size()) return false;
    for (size_t width : kProjectTextWidths) {
        const char* field = bytes.data() + offset;
        if (const char* zero = static_cast<const char*>(std::memchr(field, '\0', width)))
            for (const char* p = zero + 1; p < field + width; ++p)
                if (*p != kProjectTextFill) return false;
        offset += width;
    }
    return true;
}

// What is wrong with a file whose rows do not fit, or whose length is not the one its
// block count gives: the count, when the file's length holds another number of whole
// rows (and, in a "Ver2.00" file, ends in the texts); else the cut or the extra bytes.
std::string DamageText(const std::string& bytes, const OlderProjectFile& file, bool slaveMode) {
    if (file.needed == 0)
        return "its block count of " + std::to_string(file.blockCount) + " is more than the " +
               std::to_string(kMaxBlocks) + " blocks a project holds.";
    const size_t width = OlderRowWidth(slaveMode);
    const size_t texts = file.versionDigit == 2 ? kProjectTextsSize : 0;
    if (bytes.size() >= kBlockRowsOffset + texts && (bytes.size() - kBlockRowsOffset - texts) % width == 0) {
        const size_t held = (bytes.size() - kBlockRowsOffset - texts) / width;
        // A "Ver2.00" file must end in its texts. A "Ver1.00" file of whole rows is taken
        // for a wrong count: a cut lands on a row's end only by chance.
        if (held <= size_t(kMaxBlocks) && (texts == 0 || TextsAt(bytes, bytes.size() - texts)))
            return "its block count is " + std::to_string(file.blockCount) + ", but the file holds " +
                   std::to_string(held) + " block row" + (held == 1 ? "" : "s") +
                   " (the count is wrong, the file is whole).";
    }
    if (bytes.size() > file.needed)
        return "its last " + std::to_string(bytes.size() - file.needed) + " bytes follow the " +
               std::to_string(file.blockCount) + " block rows" + (texts ? " and the texts" : "") +
               " its block count gives: they belong to no part of the project.";
    return CutShortText(bytes.size(), file.needed);
}

}  // namespace

ProjectOpenResult OpenOlderProject(const std::string& path, const ProjectOpenHooks& hooks) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    auto refuse = [](const std::string& text) {
        if (!text.empty()) ShowBox(text);
        g_bBlockListEdited = 0;
        g_bProductSelected = g_bProductSelected2 = 1;
        return ProjectOpenResult::NotOpened;
    };
    if (g_szProductName == "Zava Dorazuduvoz") g_nDeviceId = g_nDeviceIdAlt = 84;
    if (g_nDeviceId == 84) return ProjectOpenResult::ThreePort;

    std::string bytes;
    if (!ReadProjectFileShown(path, bytes)) return refuse("");
    OlderProjectFile file;
    ParseOlderProjectHead(bytes, file);
    // A file that is no project names no product: said before any product is asked for.
    if (!IsProjectFile(file)) return refuse(LoadString(IDS_NOT_FOR_QUORVEX));
    if (file.productNo == 84) {
        ShowBox(kZavaMessage, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return ProjectOpenResult::NotOpened;
    }
    std::string product;
    unsigned deviceId = 0;
    // Without a product chosen the file cannot be placed: nothing is opened.
    if (!ChooseProduct(file, hooks, product, deviceId)) return refuse("");
    const int pv = deffiles::ReadDataProjectVersion(product);
    if (pv >= 4) {
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        return ProjectOpenResult::NewerEditor;
    }
    if (file.versionDigit <= 0 || file.versionDigit > pv) return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH));
    // A file cut inside its settings would read as another PLC pair: said for what it is.
    if (bytes.size() < kBlockRowsOffset) {
        ShowDamagedProject(path, CutShortText(bytes.size(), kBlockRowsOffset));
        return refuse("");
    }
    PlcIdentity plc;
    if (!ReadPlcIdentity(product, file.settings, false, 80, plc)) return refuse(LoadString(IDS_PLC_FILE_ERROR));
    // The row width follows the slave mode of the file's PLC pair, as the block list will.
    const int slave = deffiles::OlderPairSlaveKey(plc.file1, plc.file2);
    if (ParseOlderProjectRows(bytes, slave == 1, file.versionDigit == 2, file) != OlderParse::Ok ||
        bytes.size() != file.needed) {
        ShowDamagedProject(path, DamageText(bytes, file, slave == 1));
        return refuse("");
    }

    // The file is sound: from here on it becomes the open project, in place of all else.
    ResetOpenProject();
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    s.g_nProjFileVersion = pv;
    ApplyPlcIdentity(plc);
    g_bBlockExUntitled = 0;  // an opened project has its rows: no default row
    g_bBlockExSlaveMode = slave;
    LoadPlcRegisters(plc, true);

    const unsigned char* b = file.settings;
    StorePort(0, b + 4, 0);
    StorePort(1, b + 8, 1);
    ApplyControlRecord(b);
    ApplyAddressTexts(file.ctrlWordAddr, file.errBitAddr1, file.errBitAddr2, file.advSetting2);
    DistinguishPlcNames();
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    // The rows, numbered 1, 2, ... as the list shows them.
    g_OlderBlockListRows.clear();
    for (size_t i = 0; i < file.rows.size() && i < size_t(kMaxBlocks); ++i) {
        g_OlderBlockListRows.push_back(file.rows[i]);
        g_OlderBlockListRows.back()[kOlderColBlockNo] = std::to_string(i + 1);
    }
    if (file.hasTexts) ApplyProjectTexts(file.texts);
    s.g_strProjPath = path;
    g_strPrjFileLastIo = path;
    ReadPcComPort(product);
    g_bBlockExSaved = 1;
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    if (g_bBlockExSlaveMode == 1) t.g_nBlockWordLimit = 255;
    g_bBlockListEdited = 0;
    g_bProductSelected = g_bProductSelected2 = 1;
    return ProjectOpenResult::Opened;
}

ProjectOpenResult OpenThreePortProject(const std::string& path, const ProjectOpenHooks& hooks, bool& showSheet) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    showSheet = true;
    auto refuse = [&](const std::string& text, bool sheet) {
        if (!text.empty()) ShowBox(text);
        showSheet = sheet;
        return ProjectOpenResult::NotOpened;
    };

    std::string bytes;
    if (!ReadProjectFileShown(path, bytes)) return refuse("", true);
    OlderProjectFile file;
    ParseOlderProjectHead(bytes, file);
    // A file that is no project belongs to no product: said so, not sent to another.
    if (!IsProjectFile(file)) return refuse(LoadString(IDS_NOT_FOR_QUORVEX), true);
    if (file.productNo != 84) {
        ShowBox(ProductMessage(file.productNo), ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return refuse("", false);
    }
    std::string product;
    unsigned deviceId = 0;
    if (!ChooseProduct(file, hooks, product, deviceId)) return refuse("", false);
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    const int pv = deffiles::ReadDataProjectVersion(product);
    const int v = file.versionDigit;
    if (v <= 0 || v > pv) return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH), true);
    if (bytes.size() < kBlockRowsOffset) {
        ShowDamagedProject(path, CutShortText(bytes.size(), kBlockRowsOffset));
        return refuse("", true);
    }
    PlcIdentity plc;
    if (!ReadPlcIdentity(product, file.settings, false, 80, plc)) return refuse(LoadString(IDS_PLC_FILE_ERROR), false);
    // The rows' width does not matter: the product keeps none.
    if (ParseOlderProjectRows(bytes, false, v == 2, file) != OlderParse::Ok) {
        ShowDamagedProject(path, DamageText(bytes, file, false));
        return refuse("", true);
    }
    int fileVersion = pv;
    bool converted = false;
    if (pv > v)
        converted = ShowBox(LoadString(IDS_CONVERT_ON_OPEN), ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
    if (!converted) fileVersion = v;

    ResetOpenProject();
    s.g_nProjFileVersion = fileVersion;
    ApplyPlcIdentity(plc);
    LoadPlcRegisters(plc, false);
    const unsigned char* b = file.settings;
    StorePort(0, b + 4, 0);
    StorePort(1, b + 8, 1);
    StorePort(2, b + 12, 2);
    for (int p = 0; p < 3; ++p) s.g_anPortTimeout[p] = b[16 + p];
    ApplyAddressTexts(file.ctrlWordAddr, file.errBitAddr1, file.errBitAddr2, file.advSetting2);
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    if (file.hasTexts) ApplyProjectTexts(file.texts);
    if (pv > v && converted) {
        s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
        s.g_strProjTitle = s.g_strProjAuthor = s.g_strProjDescription = std::string(8, ' ');
    }
    s.g_strProjPath = path;
    g_strPrjFileLastIo = path;
    ReadPcComPort(product);
    g_bBlockExSaved = g_bProjectSaved = 1;
    g_bBlockExUntitled = g_bUntitled = 0;
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    if (g_bBlockExSlaveMode == 1 || g_bSlaveMode == 1) t.g_nBlockWordLimit = g_bCom2Driver135 == 1 ? 65535 : 255;
    return ProjectOpenResult::Opened;
}
